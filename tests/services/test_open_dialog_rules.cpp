// The dialogs' and the information panel's rules over plain values: splitting a multiple
// selection, the hook's child layout and pane slot, trusting a path answer, and the texts.
#include "TestSupport.h"
#include "services/FileListInfoText.h"
#include "services/OpenDialogRules.h"

using namespace salva::open_dialog_rules;
using namespace salva::file_list_info;
using testsupport::Narrow;

namespace {
std::wstring Buffer(const wchar_t* text, size_t length, size_t room) {
    std::wstring b(text, length);
    b.append(room, L'\0');
    return b;
}
std::string Joined(const OpenDialogResult& r) {
    std::wstring all;
    for (const auto& s : r.items) all += s + L"|";
    return Narrow(all);
}
}  // namespace

TEST(OpenDialogRules, SplitsSelectionsAtTheirNuls) {
    EXPECT_EQ("C:\\v\\a.dat|", Joined(SplitOpenDialogResult(Buffer(L"C:\\v\\a.dat", 10, 40))));
    EXPECT_EQ("C:\\v\\b.dat|C:\\v\\a.dat|", Joined(SplitOpenDialogResult(Buffer(L"C:\\v\0b.dat\0a.dat", 16, 40))));
    EXPECT_EQ("Z:\\b.dat|Z:\\a.dat|", Joined(SplitOpenDialogResult(Buffer(L"Z:\\\0b.dat\0a.dat", 15, 40))));
    // An empty piece ends the list, whatever follows it.
    EXPECT_EQ("C:\\v\\b.dat|", Joined(SplitOpenDialogResult(Buffer(L"C:\\v\0b.dat\0\0junk", 17, 4))));
    const OpenDialogResult plain = SplitOpenDialogResult(L"  C:\\typed.dat  ");
    EXPECT_TRUE(plain.hasEditText);
    EXPECT_TRUE(plain.items.empty());
    EXPECT_EQ("C:\\typed.dat", Narrow(plain.editText));
    EXPECT_TRUE(SplitOpenDialogResult(Buffer(L"", 0, 10)).items.empty());
}

TEST(OpenDialogRules, ChildLayoutCountsEveryChildOfAKind) {
    const wchar_t* const children[] = {L"Static", L"ComboBox", L"Static", L"ListBox", L"Static", L"Edit",
                                       L"Static", L"ComboBox", L"Button", L"Button", L"Button", L"Button",
                                       L"static", L"SHELLDLL_DefView"};
    ChildCounters counters;
    std::string moved;
    for (const wchar_t* c : children) {
        Placement p;
        if (ChildPlacement(c, 20, counters, p))
            moved += Narrow(c) + "@" + std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.width) +
                     "," + std::to_string(p.height) + " ";
    }
    EXPECT_EQ("ListBox@10,32,306,166 Static@4,214,72,20 Edit@76,209,225,20 Static@4,236,72,20 "
              "ComboBox@76,234,225,20 Button@320,208,75,20 Button@320,234,75,20 ",
              moved);
}

TEST(OpenDialogRules, CornerPaneSlotAndPathAnswers) {
    const POINT at = CentredCorner(RECT{100, 50, 601, 351}, 1280, 1024);
    EXPECT_EQ(389, at.x);  // (1280 + 100 - 601) / 2, toward zero
    EXPECT_EQ(361, at.y);
    const Placement slot = PaneSlot(510, 262, SIZE{176, 150}, SIZE{180, 154});
    EXPECT_EQ(334, slot.x);
    EXPECT_EQ(48, slot.y);
    EXPECT_EQ(180, slot.width);
    EXPECT_EQ(154, slot.height);

    std::vector<wchar_t> buffer(8, L'\0');
    const wchar_t path[] = L"C:\\a.b";
    std::copy(path, path + 6, buffer.begin());
    EXPECT_EQ("C:\\a.b", Narrow(PathFromAnswer(buffer, 8, 7)));
    EXPECT_EQ("C:\\a", Narrow(PathFromAnswer(buffer, 8, 5)));
    EXPECT_EQ("", Narrow(PathFromAnswer(buffer, 8, 9))) << "a count beyond the buffer";
    EXPECT_EQ("", Narrow(PathFromAnswer(buffer, 8, 0)));
    EXPECT_EQ("", Narrow(PathFromAnswer(buffer, 8, -5)));
    EXPECT_EQ("", Narrow(PathFromAnswer(buffer, 260, 7))) << "a capacity beyond the buffer";
}

TEST(FileListInfoText, PictureNamesAndTexts) {
    for (const wchar_t* name : {L"a.ico", L"A.CUR", L"x.Bmp", L"x.dib", L"p.jpg", L"g.GIF", L"m.wmf", L"e.emf", L"ajpg"})
        EXPECT_TRUE(IsPictureFileName(name)) << Narrow(name);
    for (const wchar_t* name : {L"p.jpeg", L"clip.dat", L"gi", L"", L"a.png"}) EXPECT_FALSE(IsPictureFileName(name)) << Narrow(name);

    EXPECT_EQ(Narrow(L"  大小：1,500KB [1,536,000字节]  类型：dat 文件  属性：存档"),
              Narrow(SizeTypeAttributesText(1536000, L"dat 文件", L"存档")));
    EXPECT_EQ(Narrow(L"  大小：0KB [1,023字节]  类型：  属性："), Narrow(SizeTypeAttributesText(1023, L"", L"")));
    EXPECT_EQ(Narrow(L"  修改时间：m  访问时间：a"), Narrow(TimesText(L"m", L"a")));
    EXPECT_EQ(Narrow(L"文件总数:3个  总计大小:12MB [13,107,200字节]"), Narrow(TotalsText(3, 13107200)));
    EXPECT_EQ(Narrow(L"文件总数:2个  总计大小:0MB [0字节]"), Narrow(TotalsText(2, 0)));
    EXPECT_EQ(Narrow(L"文件总数:1个  总计大小:5,120MB [5,368,709,120字节]"), Narrow(TotalsText(1, 5ULL << 30)));
}
