#include "inspect/ResourceTemplates.h"
#include "TemplateBytes.h"

#include <gtest/gtest.h>

using namespace salva::readers;
using templatebytes::Bytes;

namespace {

constexpr uint32_t kPopup = 0x80C00000, kSetFont = 0x40, kNoFailCreate = 0x10;

// A header with no menu and no class of its own; the caption follows.
Bytes Classic(uint32_t style, uint16_t controls) { return Bytes().D(style).D(0).W(controls).W(0).W(0).W(120).W(40).W(0).W(0); }
Bytes Extended(uint16_t version, uint16_t signature) {
    return Bytes().W(version).W(signature).D(0).D(0).D(kPopup).W(0).W(0).W(0).W(120).W(40).W(0).W(0);
}
// A classic control of class `cls` (an ordinal, or a name) with its text.
Bytes& Control(Bytes& t, const std::u16string& cls, const std::u16string& text, uint16_t extra = 0,
               uint32_t style = 0x50000000) {
    t.Align4().D(style).D(0).W(1).W(1).W(40).W(14).W(1);
    (cls.size() == 1 ? t.W(0xFFFF).W(cls[0]) : t.S(cls)).S(text).W(extra);
    return t;
}
std::optional<DialogTemplate> Read(const Bytes& t) { return ReadDialogTemplate(t.b.data(), t.b.size()); }
// A classic item; a popup has no id.
Bytes& Item(Bytes& t, uint16_t flags, const std::u16string& text) {
    t.W(flags);
    return (flags & 0x10 ? t : t.W(7)).S(text);
}

}  // namespace

TEST(DialogTemplates, DamagedTemplatesAreRefused) {
    Bytes good = Classic(kPopup, 2).S(u"Caption"), tooMany = Classic(kPopup, 3).S(u"Caption");
    Control(Control(good, u"\x80", u"OK"), u"\x80", u"");
    Control(tooMany, u"\x80", u"OK");
    Bytes data = Classic(kPopup, 1).S(u"Caption");
    Control(data, u"\x80", u"OK", 40);
    // Without the signature the system reads a classic template; its count lies in the extended style.
    Bytes classicReading = Extended(1, 0xFFFE).S(u"Caption");
    classicReading.b[8] = 5;
    const struct {
        const char* what;
        Bytes bytes;
        bool read;
    } cases[] = {
        {"classic, two buttons", good, true},
        {"extended, font", Extended(1, 0xFFFF).S(u"F").W(9).W(700).W(0x0101).S(u"Tahoma"), true},
        {"caption runs off the end", Classic(kPopup, 0).S(u"No end", false), false},
        {"three controls counted, one there", tooMany, false},
        {"creation data past the end", data, false},
        {"extended signature, version 2", Extended(2, 0xFFFF).S(u"Caption"), false},
        {"no signature: a classic template", classicReading, false},
        {"typeface runs off the end", Classic(kPopup | kSetFont, 0).S(u"C").W(8).S(u"MS Shell", false), false},
        {"point size 0x7FFF", Classic(kPopup | kSetFont, 0).S(u"C").W(0x7FFF).S(u"MS Shell"), false},
        {"caption as a number", Classic(kPopup, 0).W(0xFFFF).W(5), false},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.bytes).has_value(), c.read) << c.what;
}

TEST(DialogTemplates, PreviewReadsNothingMoreFromTheFileAndCreatesSystemControlsOnly) {
    // A menu by name, an icon static naming a resource, a button titled by number.
    Bytes t = Bytes().D(kPopup).D(0).W(2).W(0).W(0).W(120).W(40).S(u"MAINMENU").W(0).S(u"Caption");
    Control(t, u"\x82", u"APPICON", 0, 0x50000003).Align4().D(0x50000000).D(0).W(0).W(0).W(9).W(9).W(2);
    t.W(0xFFFF).W(0x80).W(0xFFFF).W(7).W(0);
    auto preview = PreviewDialogTemplate(*Read(t));
    ASSERT_TRUE(preview.has_value());
    ASSERT_EQ(preview->controls.size(), 2u);
    EXPECT_EQ(preview->menu.kind, TemplateField::Kind::None);
    EXPECT_EQ(preview->controls[0].title.kind, TemplateField::Kind::None);
    EXPECT_EQ(preview->controls[1].title.kind, TemplateField::Kind::None);
    // A class the program registered is never created; DS_NOFAILCREATE leaves such a control out.
    for (uint32_t style : {kPopup, kPopup | kNoFailCreate}) {
        Bytes own = Classic(style, 2).S(u"Caption");
        Control(Control(own, u"\x80", u"OK"), u"SalvaPictureBox", u"");
        preview = PreviewDialogTemplate(*Read(own));
        EXPECT_EQ(preview.has_value(), style != kPopup);
        if (preview) EXPECT_EQ(preview->controls.size(), 1u);
    }
    EXPECT_FALSE(PreviewDialogTemplate(*Read(Bytes().D(kPopup).D(0).W(0).W(0).W(0).W(9).W(9).W(0).S(u"Own").W(0))));
}

TEST(MenuTemplates, DamagedTemplatesAreRefusedAndSoundOnesReadToTheirLastItem) {
    Bytes good = Bytes().W(0).W(0);
    Item(Item(Item(good, 0x10, u"&File"), 0, u"&Open"), 0x80, u"E&xit");
    Item(good, 0x80, u"&Help");
    Bytes trailing = good;
    trailing.W(0x1234);
    Bytes nested = Bytes().W(0).W(0);
    Item(Item(nested, 0x90, u"&File"), 0, u"&Open");
    // Extended items: type, state, id, flags, text, DWORD alignment, and a popup's help id.
    const Bytes ex = Bytes().W(1).W(4).D(0).D(0).D(0).D(7).W(0x81).S(u"P").Align4().D(0).D(0).D(0).D(8).W(0x80).S(u"I");
    const Bytes noHelp = Bytes().W(1).W(4).D(0).D(0).D(0).D(7).W(0x81).S(u"P").Align4();
    auto deep = [](size_t levels) {
        Bytes d = Bytes().W(0).W(0);
        for (size_t i = 0; i < levels; ++i) Item(d, 0x90, u"P");
        return Item(d, 0x80, u"I");
    };
    const struct {
        const char* what;
        Bytes bytes;
        size_t length;
    } cases[] = {
        {"classic, a popup and an item", good, good.b.size()},
        {"bytes after the last item are not read", trailing, good.b.size()},
        {"last item's text runs off the end", Bytes().W(0).W(0).W(0x80).W(7).S(u"Exit", false), 0},
        {"nested popup past the end", nested, 0},
        {"extended, a popup with its help id", ex, ex.b.size()},
        {"extended popup without its help id", noHelp, 0},
        {"version 2", Bytes().W(2).W(0).W(0x80).W(1).W(0), 0},
        {"popups as deep as the limit", deep(kMenuTemplateDepthLimit), deep(kMenuTemplateDepthLimit).b.size()},
        {"popups deeper than the limit", deep(kMenuTemplateDepthLimit + 1), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckMenuTemplate(c.bytes.b.data(), c.bytes.b.size()), c.length) << c.what;
        const std::vector<uint32_t> copy = CheckedMenuTemplate(c.bytes.b.data(), c.bytes.b.size());
        ASSERT_EQ(copy.size(), (c.length + 3) / 4) << c.what;
        EXPECT_TRUE(std::equal(c.bytes.b.begin(), c.bytes.b.begin() + c.length, reinterpret_cast<const uint8_t*>(copy.data())))
            << c.what;
    }
}
