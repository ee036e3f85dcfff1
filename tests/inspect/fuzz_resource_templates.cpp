#include "FuzzInput.h"
#include "inspect/ResourceTemplates.h"

#include <cstring>

using namespace salva::readers;

namespace {

const uint8_t* Bytes(const std::vector<uint32_t>& words) { return reinterpret_cast<const uint8_t*>(words.data()); }

// What the system would get: a template that reads back as itself, inside the limits.
void Dialog(const uint8_t* data, size_t size) {
    const auto dialog = ReadDialogTemplate(data, size);
    if (!dialog) return;
    fuzzinput::Require(dialog->controls.size() <= kDialogControlLimit);
    const std::vector<uint32_t> words = WriteDialogTemplate(*dialog);
    const auto again = ReadDialogTemplate(Bytes(words), words.size() * 4);
    fuzzinput::Require(again && WriteDialogTemplate(*again) == words);
    const auto preview = PreviewDialogTemplate(*dialog);
    if (!preview) return;
    fuzzinput::Require(preview->menu.kind == TemplateField::Kind::None &&
                       preview->className.kind == TemplateField::Kind::None);
    const std::vector<uint32_t> shown = WriteDialogTemplate(*preview);
    fuzzinput::Require(ReadDialogTemplate(Bytes(shown), shown.size() * 4).has_value());
}

// The copy holds exactly the bytes checked, and they check the same on their own.
void Menu(const uint8_t* data, size_t size) {
    const size_t length = CheckMenuTemplate(data, size);
    fuzzinput::Require(length <= size);
    const std::vector<uint32_t> copy = CheckedMenuTemplate(data, size);
    fuzzinput::Require(copy.size() == (length + 3) / 4);
    if (length == 0) return;
    fuzzinput::Require(std::memcmp(copy.data(), data, length) == 0);
    fuzzinput::Require(CheckMenuTemplate(Bytes(copy), length) == length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each input as a dialog and as a menu template, in a buffer of exactly its size.
    Dialog(data, size);
    Menu(data, size);
    return 0;
}
