#include "inspect/ResourceTemplates.h"
#include "TemplateBytes.h"

#include <gtest/gtest.h>
#include <cstring>

using namespace salva::readers;
using templatebytes::Bytes;

namespace {

constexpr uint32_t kPopupCaption = 0x80C00000;  // WS_POPUP | WS_CAPTION
constexpr uint32_t kSetFont = 0x40, kNoFailCreate = 0x10;

// A classic header: no menu, no class of its own, then the caption as given.
Bytes Classic(uint32_t style, uint16_t controls) {
    Bytes t;
    t.D(style).D(0).W(controls).W(0).W(0).W(120).W(40).W(0).W(0);
    return t;
}

Bytes Extended(uint32_t style, uint16_t controls, uint16_t version = 1, uint16_t signature = 0xFFFF) {
    Bytes t;
    t.W(version).W(signature).D(0).D(0).D(style).W(controls).W(0).W(0).W(120).W(40).W(0).W(0);
    return t;
}

// A classic control of class ordinal `cls` with a text.
Bytes& Control(Bytes& t, uint16_t cls, const std::u16string& text, uint16_t extra = 0, uint32_t style = 0x50000000) {
    t.Align4().D(style).D(0).W(10).W(10).W(40).W(14).W(1).W(0xFFFF).W(cls).S(text).W(extra);
    return t;
}

Bytes& MenuItem(Bytes& t, uint16_t flags, uint16_t id, const std::u16string& text) {
    t.W(flags);
    if (!(flags & 0x10)) t.W(id);
    return t.S(text);
}

// An extended item: type, state, id, resource flags, text, and a help id for a popup.
Bytes& MenuExItem(Bytes& t, uint16_t info, const std::u16string& text, bool helpId = true) {
    t.D(0).D(0).D(7).W(info).S(text).Align4();
    if ((info & 1) && helpId) t.D(0);
    return t;
}

}  // namespace

TEST(DialogTemplates, DamagedTemplatesAreRefusedAndSoundOnesReadWhole) {
    Bytes good = Classic(kPopupCaption, 1).S(u"Caption");
    Control(good, 0x80, u"OK");
    Bytes font = Extended(kPopupCaption | kSetFont, 1).S(u"Fonted").W(9).W(700).W(0x0101).S(u"Tahoma");
    font.Align4().D(0).D(0).D(0x50000000).W(1).W(2).W(3).W(4).D(1001).W(0xFFFF).W(0x82).S(u"Hi").W(4).D(0xABCD);
    Bytes open = Classic(kPopupCaption, 0).S(u"No end", false);
    Bytes tooMany = Classic(kPopupCaption, 3).S(u"Caption");
    Control(tooMany, 0x80, u"OK");
    Bytes data = Classic(kPopupCaption, 1).S(u"Caption");
    Control(data, 0x80, u"OK", 40);
    Bytes version2 = Extended(kPopupCaption, 0, 2).S(u"Caption");
    // Without the signature the system reads a classic template, whose control count lies where
    // the extended one keeps its extended style.
    Bytes signature = Extended(kPopupCaption, 0, 1, 0xFFFE).S(u"Caption");
    signature.b[8] = 5;
    Bytes face = Classic(kPopupCaption | kSetFont, 0).S(u"Caption").W(8).S(u"MS Shell", false);
    Bytes huge = Classic(kPopupCaption | kSetFont, 0).S(u"Caption").W(0x7FFF).S(u"MS Shell");
    Bytes numbered = Classic(kPopupCaption, 0).W(0xFFFF).W(5);
    Bytes controlText = Classic(kPopupCaption, 1).S(u"Caption");
    controlText.Align4().D(0).D(0).W(0).W(0).W(1).W(1).W(1).W(0xFFFF).W(0x80).S(u"OK", false);
    const struct {
        const char* what;
        const Bytes& bytes;
        bool read;
    } cases[] = {
        {"classic, one button", good, true},
        {"extended, font, creation data", font, true},
        {"caption runs off the end", open, false},
        {"three controls counted, one there", tooMany, false},
        {"creation data past the end", data, false},
        {"extended signature, version 2", version2, false},
        {"version 1, signature 0xFFFE, read as classic", signature, false},
        {"typeface runs off the end", face, false},
        {"point size 0x7FFF", huge, false},
        {"caption as a number", numbered, false},
        {"control text runs off the end", controlText, false},
    };
    for (const auto& c : cases) {
        const auto dialog = ReadDialogTemplate(c.bytes.b.data(), c.bytes.b.size());
        EXPECT_EQ(dialog.has_value(), c.read) << c.what;
        if (!dialog) continue;
        // What the system gets reads back as the same template.
        const std::vector<uint32_t> words = WriteDialogTemplate(*dialog);
        const auto again = ReadDialogTemplate(reinterpret_cast<const uint8_t*>(words.data()), words.size() * 4);
        ASSERT_TRUE(again.has_value()) << c.what;
        EXPECT_EQ(WriteDialogTemplate(*again), words) << c.what;
    }
    const auto f = ReadDialogTemplate(font.b.data(), font.b.size());
    ASSERT_TRUE(f.has_value());
    EXPECT_TRUE(f->title == u"Fonted" && f->pointSize == 9 && f->weight == 700 && f->italic == 1 && f->charset == 1 &&
                f->typeface == u"Tahoma");
    ASSERT_EQ(f->controls.size(), 1u);
    EXPECT_TRUE(f->controls[0].id == 1001 && f->controls[0].cy == 4 && f->controls[0].title.text == u"Hi");
}

TEST(DialogTemplates, PreviewReadsNothingMoreFromTheFile) {
    // A menu by name, an icon static naming a resource, a button titled by number.
    Bytes t;
    t.D(kPopupCaption).D(0).W(2).W(0).W(0).W(120).W(40).S(u"MAINMENU").W(0).S(u"Caption");
    Control(t, 0x82, u"APPICON", 0, 0x50000003);
    t.Align4().D(0x50000000).D(0).W(0).W(0).W(9).W(9).W(2).W(0xFFFF).W(0x80).W(0xFFFF).W(7).W(0);
    auto preview = PreviewDialogTemplate(*ReadDialogTemplate(t.b.data(), t.b.size()));
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->menu.kind, TemplateField::Kind::None);
    ASSERT_EQ(preview->controls.size(), 2u);
    EXPECT_EQ(preview->controls[0].title.kind, TemplateField::Kind::None);
    EXPECT_EQ(preview->controls[1].title.kind, TemplateField::Kind::None);

    // A class of the program's own is never created; DS_NOFAILCREATE leaves such a control out.
    for (uint32_t style : {kPopupCaption, kPopupCaption | kNoFailCreate}) {
        Bytes own = Classic(style, 2).S(u"Caption");
        Control(own, 0x80, u"OK");
        own.Align4().D(0x50000000).D(0).W(0).W(0).W(9).W(9).W(2).S(u"SalvaPictureBox").S(u"").W(0);
        preview = PreviewDialogTemplate(*ReadDialogTemplate(own.b.data(), own.b.size()));
        EXPECT_EQ(preview.has_value(), (style & kNoFailCreate) != 0) << style;
        if (preview) EXPECT_EQ(preview->controls.size(), 1u);
    }
    Bytes classed;
    classed.D(kPopupCaption).D(0).W(0).W(0).W(0).W(120).W(40).W(0).S(u"OwnClass").S(u"Caption");
    EXPECT_FALSE(PreviewDialogTemplate(*ReadDialogTemplate(classed.b.data(), classed.b.size())).has_value());
}

TEST(MenuTemplates, DamagedTemplatesAreRefusedAndSoundOnesReadToTheirLastItem) {
    Bytes good;
    good.W(0).W(0);
    MenuItem(good, 0x10, 0, u"&File");
    MenuItem(good, 0, 100, u"&Open");
    MenuItem(good, 0x80, 101, u"E&xit");
    MenuItem(good, 0x80, 102, u"&Help");
    Bytes trailing = good;
    trailing.W(0x1234);
    Bytes open;
    open.W(0).W(0);
    MenuItem(open, 0, 100, u"One");
    open.W(0x80).W(101).S(u"Two", false);
    Bytes nested;
    nested.W(0).W(0);
    MenuItem(nested, 0x90, 0, u"&File");
    MenuItem(nested, 0, 100, u"&Open");
    Bytes ex;
    ex.W(1).W(4).D(0);
    MenuExItem(ex, 0x81, u"&File");
    MenuExItem(ex, 0x80, u"&Open");
    Bytes noHelp;
    noHelp.W(1).W(4).D(0);
    MenuExItem(noHelp, 0x81, u"&File", false);
    Bytes version2 = ex;
    version2.b[0] = 2;
    auto deep = [](size_t levels) {
        Bytes d;
        d.W(0).W(0);
        for (size_t i = 0; i < levels; ++i) MenuItem(d, 0x90, 0, u"P");
        MenuItem(d, 0x80, 1, u"I");
        return d;
    };
    const Bytes deepest = deep(kMenuTemplateDepthLimit), tooDeep = deep(kMenuTemplateDepthLimit + 1);
    const struct {
        const char* what;
        const Bytes& bytes;
        size_t length;
    } cases[] = {
        {"classic, a popup and an item", good, good.b.size()},
        {"bytes after the last item are not read", trailing, good.b.size()},
        {"last item's text runs off the end", open, 0},
        {"nested popup never ends", nested, 0},
        {"extended, a popup with its help id", ex, ex.b.size()},
        {"extended popup without its help id", noHelp, 0},
        {"version 2", version2, 0},
        {"popups as deep as the limit", deepest, deepest.b.size()},
        {"popups deeper than the limit", tooDeep, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckMenuTemplate(c.bytes.b.data(), c.bytes.b.size()), c.length) << c.what;
        const std::vector<uint32_t> copy = CheckedMenuTemplate(c.bytes.b.data(), c.bytes.b.size());
        EXPECT_EQ(copy.size(), (c.length + 3) / 4) << c.what;
        if (c.length) EXPECT_EQ(0, std::memcmp(copy.data(), c.bytes.b.data(), c.length)) << c.what;
    }
}
