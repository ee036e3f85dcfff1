// The main window's popup menus opened on the real window and read back from another thread:
// the file menu's items, states and look, the CD menu's items and look, the icons given to the
// popup-menu object, the title bar's and the door buttons' ways into the menus, and a menu
// drawn by the registered library itself.
#include "MainWinTest.h"
#include "services/mT3D.h"
#include <algorithm>
#include <cwctype>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

struct Expected {
    const wchar_t* caption;  // null: a separator
    bool listCommand;        // enabled only while the list holds items
};

const Expected kFileMenu[] = {
    {L"打开当前文件(&O)", true},    {L"允许预览文件(&V)", false},  {nullptr, false},
    {L"加文件到列表(&D)", false},   {L"从列表中清除(&N)", true},   {L"清除所有文件(&L)", true},
    {nullptr, false},               {L"删除当前文件(&K)   ", true}, {L"重命名该文件(&R)", true},
    {nullptr, false},               {L"复制该文件到(&C)...", true}, {L"移动该文件到(&M)...", true},
    {nullptr, false},               {L"查找目标文件(&F)", true},    {L"查看文件属性(&P)", true},
    {nullptr, false},               {L"复制所有文件到(&A)...", true}, {nullptr, false},
    {L"&Exit  Salvadisk", false},   {L"&About Salvadisk", false},
};

// Captions as the popup-menu object compares them: no blanks or control characters, any case.
std::wstring Key(const std::wstring& s) {
    std::wstring k;
    for (wchar_t c : s)
        if (c > L' ') k += static_cast<wchar_t>(std::towupper(c));
    return k;
}

std::wstring Hex(COLORREF c) {
    wchar_t b[16];
    wsprintfW(b, L"%06lX", static_cast<unsigned long>(c));
    return b;
}
std::wstring Sys(int index) { return Hex(mT3D::GetSystemColor(index)); }

std::vector<std::wstring> FileLook() {
    return {L"VerticalTitleBarTitle=Salvadisk",
            L"VerticalTitleBarWidth=16",
            L"VerticalTitleBarFontName=17",
            L"VerticalTitleBarFontSize=14",
            L"VTBarGradientTopToBottom=True",
            L"VerticalTitleBarStartColor=" + Sys(COLOR_GRADIENTINACTIVECAPTION),
            L"VerticalTitleBarEndColor=" + Sys(COLOR_HIGHLIGHT),
            L"VerticalTitleBarTextColor=" + Sys(COLOR_GRADIENTINACTIVECAPTION),
            L"IsMenuItemGradient=True",
            L"MenuItemStartColor=" + Sys(COLOR_GRADIENTINACTIVECAPTION),
            L"MenuItemEndColor=" + Sys(COLOR_HIGHLIGHT),
            L"MenuItemHighLightColor=" + Sys(COLOR_HIGHLIGHTTEXT),
            L"MenuItemBackColor=" + Sys(COLOR_MENU),
            L"SetMenuItem3DEffect(0,True)",
            L"SetMenuDisplayStyle(170,False)"};
}

std::vector<std::wstring> CdLook() {
    return {L"VerticalTitleBarTitle=CD-ROM",
            L"VerticalTitleBarWidth=22",
            L"VTBarGradientLeftToRight=True",
            L"MenuItemHighLightColor=" + Hex(RGB(0, 92, 128)),
            L"VerticalTitleBarStartColor=" + Hex(RGB(216, 228, 248)),
            L"VerticalTitleBarEndColor=" + Hex(RGB(49, 106, 197)),
            L"VerticalTitleBarTextColor=" + Hex(RGB(0, 92, 128)),
            L"MenuItemFillColor=" + Hex(RGB(216, 228, 248)),
            L"MenuItemFrameColor=" + Hex(RGB(236, 233, 216)),
            L"MenuItemBorderColor=" + Hex(RGB(49, 106, 197)),
            L"MenuItemBackColor=" + Hex(RGB(249, 248, 247)),
            L"SetMenuDisplayStyle(204,False)"};
}

void ExpectCalls(const std::vector<std::wstring>& want, const std::vector<std::wstring>& got) {
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(Narrow(want[i]), Narrow(got[i])) << "call " << i;
}

// Opens a menu with `open` while a watcher reads it and presses `keys`.
std::vector<MenuItem> OpenAndRead(const std::function<void()>& open, std::vector<WPARAM> keys = {VK_ESCAPE}) {
    MenuWatcher watcher(std::move(keys));
    open();
    watcher.Join();
    EXPECT_TRUE(watcher.found()) << "no popup menu opened";
    return watcher.items;
}

// Every route wired to a recording stand-in.
struct Routes {
    std::vector<std::string> calls;
    void Wire(FrmCopy::Options& o) {
        o.windows.rename = [this] { calls.push_back("rename"); };
        o.windows.fileProperty = [this](const std::wstring&) {
            calls.push_back("fileProperty");
            return true;
        };
        o.windows.about = [this] { calls.push_back("about"); };
        o.windows.copyAllFiles = [this] { calls.push_back("copyAllFiles"); };
        o.windows.chooseFolderToAdd = [this] {
            calls.push_back("chooseFolderToAdd");
            return FrmCopy::FolderSearch{};
        };
        o.windows.openPreview = [this](const std::wstring&) {
            calls.push_back("openPreview");
            return false;
        };
    }
};

struct Doors {
    std::vector<std::wstring> sent;
    void Wire(FrmCopy::Options& o) {
        o.cdSender = [this](const std::wstring& command, wchar_t*, UINT) -> DWORD {
            sent.push_back(command);
            return 0;
        };
        o.cdDrives = [] { return std::vector<std::wstring>{L"D:\\", L"E:\\"}; };
    }
};

}  // namespace

TEST(PopupMenus, FileMenuItemsLookAndIconsWithAnEmptyListAndUnwiredWindows) {
    Harness h;
    h.Create();
    h.recorder.calls.clear();
    const auto items = OpenAndRead([&] { h.frm->ShowPopupMenu(0); });
    ExpectCalls(FileLook(), h.recorder.calls);
    ASSERT_EQ(std::size(kFileMenu), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const Expected& e = kFileMenu[i];
        if (!e.caption) {
            EXPECT_TRUE(items[i].separator) << "item " << i;
            continue;
        }
        EXPECT_EQ(Narrow(e.caption), Narrow(items[i].caption)) << "item " << i;
        // Nothing listed, and no window behind add, about, rename, properties and copy all.
        const bool wantEnabled = !e.listCommand && i != 3 && i != 19;
        EXPECT_EQ(wantEnabled, items[i].enabled) << Narrow(e.caption);
        EXPECT_FALSE(items[i].checked) << Narrow(e.caption);
    }
}

TEST(PopupMenus, IconsReachTheMenuObjectUnderTheItemsCaptions) {
    Harness h;
    h.Create();
    // The captions the window gave the menu object with a picture at load.
    std::vector<std::wstring> iconKeys;
    for (const std::wstring& c : h.recorder.calls) {
        if (c.rfind(L"SetMenuItemIcon(", 0) != 0) continue;
        EXPECT_NE(std::wstring::npos, c.find(L",icon,C0C0C0)")) << Narrow(c);
        iconKeys.push_back(Key(c.substr(16, c.find(L',') - 16)));
    }
    ASSERT_EQ(13u, iconKeys.size());
    const auto hasIcon = [&](const std::wstring& caption) {
        return std::find(iconKeys.begin(), iconKeys.end(), Key(caption)) != iconKeys.end();
    };
    const std::vector<MenuItem> file = ReadMenu(h.frm->FileMenu());
    const size_t withIcon[] = {0, 3, 7, 8, 10, 11, 13, 14, 19};
    for (size_t i = 0; i < file.size(); ++i) {
        const bool want = std::find(std::begin(withIcon), std::end(withIcon), i) != std::end(withIcon);
        EXPECT_EQ(want, hasIcon(file[i].caption)) << Narrow(file[i].caption);
    }
    // The CD menu's first four entries: the two door commands and the two submenus.
    Doors doors;
    Harness cd;
    cd.configure = [&](FrmCopy::Options& o) { doors.Wire(o); };
    cd.Create();
    const auto items = OpenAndRead([&] { cd.frm->ShowPopupMenu(1); });
    ASSERT_EQ(5u, items.size());
    for (size_t i : {0u, 1u, 3u, 4u}) EXPECT_TRUE(hasIcon(items[i].caption)) << Narrow(items[i].caption);
}

TEST(PopupMenus, CdMenuThenFileMenuEachSetTheirOwnLook) {
    Doors doors;
    Harness h;
    h.configure = [&](FrmCopy::Options& o) { doors.Wire(o); };
    h.Create();
    h.recorder.calls.clear();
    const auto items = OpenAndRead([&] { h.frm->ShowPopupMenu(1); });
    ExpectCalls(CdLook(), h.recorder.calls);
    ASSERT_EQ(5u, items.size());
    EXPECT_EQ(Narrow(L"弹出[&E] 所有CD-ROM"), Narrow(items[0].caption));
    EXPECT_EQ(Narrow(L"关闭[&C] 所有CD-ROM"), Narrow(items[1].caption));
    EXPECT_TRUE(items[2].separator);
    EXPECT_EQ(Narrow(L"弹出    CD-ROM"), Narrow(items[3].caption));
    EXPECT_TRUE(items[3].submenu);
    EXPECT_EQ(Narrow(L"关闭    CD-ROM"), Narrow(items[4].caption));
    EXPECT_TRUE(items[4].submenu);
    EXPECT_TRUE(doors.sent.empty()) << "a closed menu sends no door command";

    h.recorder.calls.clear();
    OpenAndRead([&] { h.frm->ShowPopupMenu(0); });
    ExpectCalls(FileLook(), h.recorder.calls);

    // Other kinds open nothing and touch nothing.
    h.recorder.calls.clear();
    h.frm->ShowPopupMenu(2);
    h.frm->ShowPopupMenu(-1);
    EXPECT_TRUE(h.recorder.calls.empty());
}

TEST(PopupMenus, ListedFileAndWiredWindowsEnableTheCommandsAndAKeyChoosesOne) {
    Routes routes;
    Harness h;
    h.configure = [&](FrmCopy::Options& o) { routes.Wire(o); };
    h.Create();
    const std::wstring file = h.dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(100)));
    h.frm->AddFileListItem(file);
    h.frm->SetFileListText(file);
    const auto items = OpenAndRead([&] { h.frm->ShowPopupMenu(0); });
    ASSERT_EQ(std::size(kFileMenu), items.size());
    for (size_t i = 0; i < items.size(); ++i)
        if (kFileMenu[i].caption) {
            EXPECT_TRUE(items[i].enabled) << Narrow(kFileMenu[i].caption);
        }
    // Up picks the last item, About; Enter runs it as the menu closes.
    OpenAndRead([&] { h.frm->ShowPopupMenu(0); }, {VK_UP, VK_RETURN});
    ASSERT_EQ(1u, routes.calls.size());
    EXPECT_EQ("about", routes.calls[0]);
}

TEST(PopupMenus, TitleBarIconLeftClickAndRightClickLeftOfTheButtons) {
    Harness h;
    h.Create();
    HWND bar = h.frm->Control(FrmCopy::IDC_picHTitleBar);
    RECT rc{};
    ::GetClientRect(bar, &rc);
    const int w = rc.right;
    const auto click = [&](UINT down, UINT up, int x) {
        ::SendMessageW(bar, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, 5));
        ::SendMessageW(bar, up, 0, MAKELPARAM(x, 5));
    };
    const auto opened = [&] {
        for (const std::wstring& c : h.recorder.calls)
            if (c == L"VerticalTitleBarTitle=Salvadisk") return true;
        return false;
    };
    // No menu: the look is never set.
    for (int x : {0, w - 108, w - 60}) {
        h.recorder.calls.clear();
        click(WM_RBUTTONDOWN, WM_RBUTTONUP, x);
        EXPECT_FALSE(opened()) << "right click at " << x;
    }
    for (int x : {18, 30}) {
        h.recorder.calls.clear();
        click(WM_LBUTTONDOWN, WM_LBUTTONUP, x);
        EXPECT_FALSE(opened()) << "left click at " << x;
    }
    h.recorder.calls.clear();
    OpenAndRead([&] { click(WM_LBUTTONDOWN, WM_LBUTTONUP, 5); });
    EXPECT_TRUE(opened()) << "window icon";
    for (int x : {1, 40, w - 109}) {
        h.recorder.calls.clear();
        OpenAndRead([&] { click(WM_RBUTTONDOWN, WM_RBUTTONUP, x); });
        EXPECT_TRUE(opened()) << "right click at " << x;
    }
}

TEST(PopupMenus, DoorButtonsRightClickOpensTheCdMenuLeftClickMovesTheFirstDoor) {
    Doors doors;
    Harness h;
    h.configure = [&](FrmCopy::Options& o) { doors.Wire(o); };
    h.Create();
    for (int id : {FrmCopy::IDC_optOpenCD, FrmCopy::IDC_optCloseCD}) {
        HWND button = h.frm->Control(id);
        const auto items = OpenAndRead([&] {
            ::SendMessageW(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
            ::SendMessageW(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        });
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(Narrow(L"弹出[&E] 所有CD-ROM"), Narrow(items[0].caption));
        EXPECT_TRUE(doors.sent.empty()) << Narrow(doors.sent.empty() ? L"" : doors.sent[0]);
    }
    // The frame's left edge, one pixel outside the button on the main window.
    const auto frameEdge = [&](HWND button) {
        RECT rc{};
        ::GetWindowRect(button, &rc);
        ::MapWindowPoints(nullptr, h.frm->Window(), reinterpret_cast<POINT*>(&rc), 2);
        salva::unique_window_dc dc = salva::unique_window_dc::client(h.frm->Window());
        return ::GetPixel(dc.get(), rc.left - 1, rc.top + 5);
    };
    const COLORREF face = mT3D::GetSystemColor(COLOR_BTNFACE);
    const COLORREF sunken = mT3D::FrameShadesFor(face, mT3D::Frame3DSunken).light;
    const COLORREF raised = mT3D::FrameShadesFor(face, mT3D::Frame3DRaised).light;
    ASSERT_NE(sunken, raised);
    const auto leftClick = [&](int id) {
        HWND button = h.frm->Control(id);
        ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(Hex(sunken), Hex(frameEdge(button))) << "pressed";
        ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(Hex(raised), Hex(frameEdge(button))) << "released";
    };
    leftClick(FrmCopy::IDC_optOpenCD);
    leftClick(FrmCopy::IDC_optCloseCD);
    ASSERT_EQ(2u, doors.sent.size());
    EXPECT_EQ("set CDAudio door open", Narrow(doors.sent[0]));
    EXPECT_EQ("set CDAudio door closed", Narrow(doors.sent[1]));
}

TEST(PopupMenus, AltLettersOfTheDoorCaptionsMoveTheFirstDoor) {
    Doors doors;
    Harness h;
    h.configure = [&](FrmCopy::Options& o) { doors.Wire(o); };
    h.Create();
    // Alt+A, Alt+B (no button has it), Alt+Z typed in the target box.
    HWND box = h.frm->Control(FrmCopy::IDC_txtFileCopy);
    ::SetFocus(box);
    for (wchar_t key : {L'a', L'b', L'z'}) ::SendMessageW(box, WM_SYSCHAR, key, KF_ALTDOWN << 16);
    ASSERT_EQ(2u, doors.sent.size());
    EXPECT_EQ("set CDAudio door open", Narrow(doors.sent[0]));
    EXPECT_EQ("set CDAudio door closed", Narrow(doors.sent[1]));
}

TEST(PopupMenus, TheRegisteredLibraryDrawsTheFileMenu) {
    InitOnce();
    RegisteredServer velmora(L"Velmora.dll");
    ASSERT_EQ(S_OK, velmora.result());
    Harness h(false);
    h.Create();
    ASSERT_NE(nullptr, h.frm->PopupMenus());
    const auto items = OpenAndRead([&] { h.frm->ShowPopupMenu(0); });
    ASSERT_EQ(std::size(kFileMenu), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_TRUE(items[i].ownerDrawn) << "item " << i;
        if (kFileMenu[i].caption) {
            EXPECT_EQ(Narrow(kFileMenu[i].caption), Narrow(items[i].caption));
        }
    }
}
