// Dialog and menu templates of an executable file, read by the program itself before the system
// sees them: every field, string, count and nested level is held inside the resource's own bytes,
// and only a template read whole goes to the system, from a copy made here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace salva::readers {

// A field that is a name or a number: absent (a single 0 word), 0xFFFF and a number, or a text.
struct TemplateField {
    enum class Kind { None, Number, Text };
    Kind kind = Kind::None;
    uint16_t number = 0;
    std::u16string text;
};

struct DialogControl {
    uint32_t helpId = 0;  // extended templates only
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;  // 16 bits in a classic template
    TemplateField className;
    TemplateField title;
};

struct DialogTemplate {
    bool extended = false;  // version 1, signature 0xFFFF
    uint32_t helpId = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    TemplateField menu;
    TemplateField className;
    std::u16string title;
    // The font, with DS_SETFONT (DS_SHELLFONT holds it): weight, italic and character set are
    // stored in extended templates only.
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    uint8_t italic = 0;
    uint8_t charset = 0;
    std::u16string typeface;
    std::vector<DialogControl> controls;
};

// More controls than a dialog can sensibly hold take the system seconds to create one by one.
constexpr size_t kDialogControlLimit = 1024;
// Glyphs of a larger font take the system more memory to draw than a preview is worth; 0x7FFF,
// which the system reads as "the message box font, no more font fields", lies above it too.
constexpr uint16_t kDialogPointSizeLimit = 144;

// The dialog template at the start of the bytes, classic or extended. Nothing when a field,
// string or control runs past the bytes, the count names more controls than they hold or more
// than the limit, the point size is over its limit, the header carries the extended signature
// under another version, or the caption starts as a number would (the system readers do not
// agree on that layout). Controls start on DWORD boundaries from the start of the bytes, so the
// bytes read are those of a template at an aligned address; a control's creation data is
// stepped over.
std::optional<DialogTemplate> ReadDialogTemplate(const uint8_t* data, size_t size);

// What of a template the browser lets the system create: without the menu (which the system
// would load from the module by name) and with every control text that names a resource (a
// number, or the picture of an icon or bitmap static) emptied, so that the system reads nothing
// more from the file; and only the system's own control classes, which no program registers as
// its own. A template of a class of its own, or with a control of another class, is refused;
// with DS_NOFAILCREATE such controls are left out instead, as the system would leave them.
std::optional<DialogTemplate> PreviewDialogTemplate(DialogTemplate dialog);

// The template in the system's layout, each control on a DWORD boundary and without creation
// data, in DWORDs so that it starts aligned.
std::vector<uint32_t> WriteDialogTemplate(const DialogTemplate& dialog);

// Popups nested deeper, or more items in all, are not created.
constexpr size_t kMenuTemplateDepthLimit = 64;
constexpr size_t kMenuTemplateItemLimit = 4096;

// The number of bytes the system reads of the menu template at the start of the bytes: the
// header (classic, version 0, or extended, version 1) and every item through the last one of
// the top level. 0 when an item, text or popup level runs past the bytes, the version is
// another, or the limits are passed. Extended items are aligned from the start of the bytes.
size_t CheckMenuTemplate(const uint8_t* data, size_t size);

// Exactly the bytes the check read, in DWORDs so that they start aligned; empty when the check
// fails.
std::vector<uint32_t> CheckedMenuTemplate(const uint8_t* data, size_t size);

}  // namespace salva::readers
