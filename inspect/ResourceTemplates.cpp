#include "inspect/ResourceTemplates.h"

#include <algorithm>
#include <cstring>

namespace salva::readers {

namespace {

constexpr uint32_t kSetFont = 0x40;        // DS_SETFONT
constexpr uint32_t kNoFailCreate = 0x10;   // DS_NOFAILCREATE
constexpr uint16_t kMenuPopup = 0x10;      // MF_POPUP
constexpr uint16_t kMenuEnd = 0x80;        // MF_END
constexpr uint16_t kMenuExPopup = 0x01;

// Reads little-endian fields in order; a read past the end fails and every later one with it.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t at() const { return at_; }
    bool Has(size_t n) {
        if (ok_ && size_ - at_ < n) ok_ = false;
        return ok_;
    }
    uint16_t Word() {
        if (!Has(2)) return 0;
        const uint16_t v = static_cast<uint16_t>(data_[at_] | data_[at_ + 1] << 8);
        at_ += 2;
        return v;
    }
    uint32_t Dword() {
        const uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    uint8_t Byte() {
        if (!Has(1)) return 0;
        return data_[at_++];
    }
    uint16_t PeekWord() {
        if (!Has(2)) return 0;
        return static_cast<uint16_t>(data_[at_] | data_[at_ + 1] << 8);
    }
    void Skip(size_t n) {
        if (Has(n)) at_ += n;
    }
    // Moves to the next multiple of `n` from the start, where the system's reader goes next. No
    // byte is read: padding that would run past the end fails only at the next read.
    void Align(size_t n) { at_ = std::min(size_, at_ + (n - at_ % n) % n); }
    // UTF-16 up to its NUL, which must lie inside the bytes.
    std::u16string Text() {
        std::u16string text;
        for (uint16_t c = Word(); ok_ && c != 0; c = Word()) text.push_back(static_cast<char16_t>(c));
        return text;
    }
    TemplateField Field() {
        TemplateField f;
        const uint16_t first = PeekWord();
        if (!ok_) return f;
        if (first == 0) {
            Word();
        } else if (first == 0xFFFF) {
            Word();
            f.kind = TemplateField::Kind::Number;
            f.number = Word();
        } else {
            f.kind = TemplateField::Kind::Text;
            f.text = Text();
        }
        return f;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

class Writer {
public:
    void Word(uint16_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Dword(uint32_t v) {
        Word(static_cast<uint16_t>(v));
        Word(static_cast<uint16_t>(v >> 16));
    }
    void Byte(uint8_t v) { bytes_.push_back(v); }
    void Text(const std::u16string& t) {
        for (char16_t c : t) Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void Field(const TemplateField& f) {
        if (f.kind == TemplateField::Kind::Number) {
            Word(0xFFFF);
            Word(f.number);
        } else if (f.kind == TemplateField::Kind::Text && !f.text.empty()) {
            Text(f.text);
        } else {
            Word(0);
        }
    }
    void Align(size_t n) {
        while (bytes_.size() % n) bytes_.push_back(0);
    }
    std::vector<uint32_t> Words() const {
        std::vector<uint32_t> words((bytes_.size() + 3) / 4);
        if (!bytes_.empty()) std::memcpy(words.data(), bytes_.data(), bytes_.size());
        return words;
    }

private:
    std::vector<uint8_t> bytes_;
};

bool SameAscii(const std::u16string& text, const char* name) {
    const size_t n = std::strlen(name);
    if (text.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        char d = name[i];
        if (d >= 'A' && d <= 'Z') d = static_cast<char>(d - 'A' + 'a');
        if (c != static_cast<unsigned char>(d)) return false;
    }
    return true;
}

// The controls of the system and its common controls library that read nothing but their text
// and styles when a dialog creates them.
bool IsSystemControl(const TemplateField& cls) {
    if (cls.kind == TemplateField::Kind::Number) return cls.number >= 0x80 && cls.number <= 0x85;
    if (cls.kind != TemplateField::Kind::Text) return false;
    static const char* const names[] = {
        "Button",          "Edit",              "Static",           "ListBox",           "ScrollBar",
        "ComboBox",        "SysListView32",     "SysTreeView32",    "SysTabControl32",   "SysHeader32",
        "msctls_progress32", "msctls_trackbar32", "msctls_updown32", "msctls_hotkey32",   "msctls_statusbar32",
        "SysDateTimePick32", "SysMonthCal32",   "SysIPAddress32",   "ComboBoxEx32"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return SameAscii(cls.text, n); });
}

bool IsStatic(const TemplateField& cls) {
    return (cls.kind == TemplateField::Kind::Number && cls.number == 0x82) ||
           (cls.kind == TemplateField::Kind::Text && SameAscii(cls.text, "Static"));
}

// SS_ICON and SS_BITMAP: the text is the name of a resource of the dialog's module.
bool ShowsResourcePicture(const DialogControl& c) {
    const uint32_t type = c.style & 0x1F;  // SS_TYPEMASK
    return IsStatic(c.className) && (type == 0x03 || type == 0x0E);
}

}  // namespace

std::optional<DialogTemplate> ReadDialogTemplate(const uint8_t* data, size_t size) {
    Cursor in(data, size);
    DialogTemplate d;
    const uint16_t version = in.Word(), signature = in.Word();
    if (!in.ok()) return std::nullopt;
    size_t count = 0;
    if (signature == 0xFFFF) {
        if (version != 1) return std::nullopt;
        d.extended = true;
        d.helpId = in.Dword();
        d.exStyle = in.Dword();
        d.style = in.Dword();
    } else {
        d.style = version | static_cast<uint32_t>(signature) << 16;
        d.exStyle = in.Dword();
    }
    count = in.Word();
    d.x = static_cast<int16_t>(in.Word());
    d.y = static_cast<int16_t>(in.Word());
    d.cx = static_cast<int16_t>(in.Word());
    d.cy = static_cast<int16_t>(in.Word());
    d.menu = in.Field();
    d.className = in.Field();
    if (in.PeekWord() == 0xFFFF) return std::nullopt;
    d.title = in.Text();
    if (d.style & kSetFont) {
        d.pointSize = in.Word();
        if (d.pointSize > kDialogPointSizeLimit) return std::nullopt;
        if (d.extended) {
            d.weight = in.Word();
            d.italic = in.Byte();
            d.charset = in.Byte();
        }
        d.typeface = in.Text();
    }
    if (!in.ok() || count > kDialogControlLimit) return std::nullopt;
    for (size_t i = 0; i < count && in.ok(); ++i) {
        in.Align(4);
        DialogControl c;
        if (d.extended) {
            c.helpId = in.Dword();
            c.exStyle = in.Dword();
            c.style = in.Dword();
        } else {
            c.style = in.Dword();
            c.exStyle = in.Dword();
        }
        c.x = static_cast<int16_t>(in.Word());
        c.y = static_cast<int16_t>(in.Word());
        c.cx = static_cast<int16_t>(in.Word());
        c.cy = static_cast<int16_t>(in.Word());
        c.id = d.extended ? in.Dword() : in.Word();
        c.className = in.Field();
        c.title = in.Field();
        in.Skip(in.Word());
        d.controls.push_back(std::move(c));
    }
    if (!in.ok()) return std::nullopt;
    return d;
}

std::optional<DialogTemplate> PreviewDialogTemplate(DialogTemplate dialog) {
    if (dialog.className.kind != TemplateField::Kind::None) return std::nullopt;
    dialog.menu = {};
    std::vector<DialogControl> kept;
    for (DialogControl& c : dialog.controls) {
        if (!IsSystemControl(c.className)) {
            if (!(dialog.style & kNoFailCreate)) return std::nullopt;
            continue;
        }
        if (c.title.kind == TemplateField::Kind::Number || ShowsResourcePicture(c)) c.title = {};
        kept.push_back(std::move(c));
    }
    dialog.controls = std::move(kept);
    return dialog;
}

std::vector<uint32_t> WriteDialogTemplate(const DialogTemplate& d) {
    Writer out;
    // An extended template puts the help id first and the style after the extended style.
    auto styles = [&](uint32_t helpId, uint32_t exStyle, uint32_t style) {
        if (d.extended) {
            out.Dword(helpId);
            out.Dword(exStyle);
            out.Dword(style);
        } else {
            out.Dword(style);
            out.Dword(exStyle);
        }
    };
    if (d.extended) {
        out.Word(1);
        out.Word(0xFFFF);
    }
    styles(d.helpId, d.exStyle, d.style);
    out.Word(static_cast<uint16_t>(d.controls.size()));
    for (int16_t v : {d.x, d.y, d.cx, d.cy}) out.Word(static_cast<uint16_t>(v));
    out.Field(d.menu);
    out.Field(d.className);
    out.Text(d.title);
    if (d.style & kSetFont) {
        out.Word(d.pointSize);
        if (d.extended) {
            out.Word(d.weight);
            out.Byte(d.italic);
            out.Byte(d.charset);
        }
        out.Text(d.typeface);
    }
    for (const DialogControl& c : d.controls) {
        out.Align(4);
        styles(c.helpId, c.exStyle, c.style);
        for (int16_t v : {c.x, c.y, c.cx, c.cy}) out.Word(static_cast<uint16_t>(v));
        if (d.extended) out.Dword(c.id);
        else out.Word(static_cast<uint16_t>(c.id));
        out.Field(c.className);
        out.Field(c.title);
        out.Word(0);
    }
    return out.Words();
}

size_t CheckMenuTemplate(const uint8_t* data, size_t size) {
    Cursor in(data, size);
    const uint16_t version = in.Word();
    const uint16_t offset = in.Word();
    if (!in.ok() || version > 1) return 0;
    const bool extended = version == 1;
    // Extended items are read aligned from the first one on; where that one is not, the system
    // readers part ways.
    if (extended && offset % 4 != 0) return 0;
    in.Skip(offset);
    // For each open popup level, whether the popup that opened it was the last item of its own
    // level: the level above ends with it.
    std::vector<bool> openedByLast;
    size_t items = 0;
    while (in.ok()) {
        if (++items > kMenuTemplateItemLimit) return 0;
        bool popup = false, last = false;
        if (extended) {
            in.Skip(12);  // type, state, id
            const uint16_t info = in.Word();
            in.Text();
            in.Align(4);
            popup = (info & kMenuExPopup) != 0;
            last = (info & kMenuEnd) != 0;
            if (popup) in.Skip(4);  // help id
        } else {
            const uint16_t flags = in.Word();
            popup = (flags & kMenuPopup) != 0;
            last = (flags & kMenuEnd) != 0;
            if (!popup) in.Skip(2);  // id
            in.Text();
        }
        if (!in.ok()) return 0;
        const size_t end = in.at();
        if (popup) {
            if (openedByLast.size() >= kMenuTemplateDepthLimit) return 0;
            openedByLast.push_back(last);
            continue;
        }
        if (!last) continue;
        // The level ends, and with it every level whose popup was the last of its own.
        for (;;) {
            if (openedByLast.empty()) return end;
            const bool above = openedByLast.back();
            openedByLast.pop_back();
            if (!above) break;
        }
    }
    return 0;
}

std::vector<uint32_t> CheckedMenuTemplate(const uint8_t* data, size_t size) {
    const size_t n = CheckMenuTemplate(data, size);
    std::vector<uint32_t> words((n + 3) / 4);
    if (n) std::memcpy(words.data(), data, n);
    return words;
}

}  // namespace salva::readers
