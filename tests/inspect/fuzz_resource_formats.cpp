#include "FuzzInput.h"
#include "inspect/AviClipCheck.h"
#include "inspect/ResourceDirectory.h"
#include "inspect/ResourceFormats.h"
#include "inspect/ResourceImageChecks.h"
#include "inspect/VersionBlock.h"
#include <set>
#include <tuple>

using namespace salva;
using namespace salva::readers;

namespace {

wchar_t Latin(unsigned char b) { return static_cast<wchar_t>(b); }
std::wstring Ansi(const char* p, size_t n) { return std::wstring(p, p + n); }

size_t Lines(const std::wstring& text) {
    size_t n = 0;
    for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2) ++n;
    return n;
}

// The reader of one resource type over the resource's bytes.
void Typed(uint16_t type, uint16_t name, const ResourceBytes& bytes) {
    // A block holds 16 strings; line breaks inside them end lines of their own.
    if (type == 6) fuzzinput::Require(Lines(StringTableText(bytes, name)) <= 16 + bytes.size() / 2);
    if (type == 9) fuzzinput::Require(Lines(AcceleratorText(bytes)) == bytes.size() / 8);
    if (type == 11) fuzzinput::Require(MessageTableText(bytes, Ansi).size() <= 4 * bytes.size());
    if (type == 16) {
        fuzzinput::Require(VersionTranslationKey(bytes.data(), bytes.size()).size() == (bytes.size() < 4 ? 0u : 8u));
        fuzzinput::Require(VersionInfoText(bytes).size() <= bytes.size());
    }
}

// The checks made before the system sees an image, a picture or a clip: whatever the bytes, a
// check reads only them, and what it passes lies within them.
void Checked(const ResourceBytes& bytes) {
    for (DibUse use : {DibUse::Bitmap, DibUse::IconImage}) {
        DibLayout l;
        if (CheckDib(bytes.data(), bytes.size(), use, &l))
            fuzzinput::Require(l.bitsAt + l.bitsBytes <= bytes.size() &&
                               l.colourTableAt + l.colours * l.colourBytes <= l.bitsAt);
    }
    CheckIconImage(bytes, false);
    CheckIconImage(bytes, true);
    CheckPng(bytes.data(), bytes.size());
    for (bool cursor : {false, true})
        fuzzinput::Require(ReadIconGroup(bytes, cursor).size() <= bytes.size() / 14);
    CheckPictureData(bytes);
    CheckAviClip(bytes);
}

// The hex dump every other resource gets.
void Dump(const ResourceBytes& bytes) {
    const std::wstring dump = HexDumpText(bytes.data(), bytes.size(), Latin);
    const size_t shown = bytes.size() < kHexDumpMaxBytes ? bytes.size() : kHexDumpMaxBytes;
    fuzzinput::Require(dump.size() == (shown + 15) / 16 * kHexDumpRowChars);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An executable: each resource's bytes through the reader its type has, the checks and the
    // hex dump. Entries that share their bytes are read once: a directory may point thousands
    // of them at one place, and the same bytes would only be read again.
    MemoryByteStore file(data, size);
    const ResourceDirectory dir = ReadResourceDirectory(file);
    std::set<std::pair<uint64_t, uint32_t>> places;
    std::set<std::tuple<uint16_t, uint64_t, uint32_t>> typed;
    for (const ResourceType& t : dir.types)
        for (const ResourceName& n : t.names)
            for (const ResourceData& d : n.languages) {
                const uint16_t type = t.key.named ? 0 : t.key.id;
                const bool newPlace = places.insert({d.offset, d.size}).second;
                const bool newType = typed.insert({type, d.offset, d.size}).second;
                if (!newPlace && !newType) continue;
                const ResourceBytes bytes(data + d.offset, data + d.offset + d.size);
                if (newType) Typed(type, n.key.id, bytes);
                if (newPlace) {
                    Checked(bytes);
                    Dump(bytes);
                }
            }
    // Any other input: the second byte is the string block, the rest are the bytes for each reader.
    if (dir.types.empty() && size >= 2) {
        const ResourceBytes bytes(data + 2, data + size);
        for (uint16_t type : {6, 9, 11, 16}) Typed(type, data[1], bytes);
        Checked(bytes);
        Dump(bytes);
    }
    return 0;
}
