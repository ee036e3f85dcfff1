// The rename popup beside the real main window's file list: found by its class while it runs
// modally, renamed by typing and Enter, shaped as a balloon; refused names, a change of case,
// moving it away and a press outside it.
#include "MainWinTest.h"
#include "copier/frmDialog.h"
#include <commctrl.h>
#include <algorithm>

using namespace mainwintest;
using namespace testsupport;
using salva::frmDialog;

namespace {

// Long waits: a loaded machine can take many seconds to open a window, and a window nobody
// answers keeps the test in its modal loop for good.
HWND FindPopup() { return WaitForWindow(nullptr, frmDialog::ClassName(), 120000); }

HWND NameBox(HWND popup) { return FindControl(popup, frmDialog::IDC_txtNewFileName); }

std::vector<std::wstring> Items(salva::FrmCopy& f) {
    std::vector<std::wstring> items;
    for (int i = 0; i < f.FileListCount(); ++i) items.push_back(f.FileListItem(i));
    return items;
}

// The main window's list with a file whose name is `name` as its current item.
struct RenameSetup {
    Harness h;
    std::wstring file;
    explicit RenameSetup(const std::wstring& name, size_t bytes = 100) {
        h.Create();
        file = h.dir / name;
        EXPECT_TRUE(WriteBytes(file, Pattern(bytes)));
    }
    salva::FrmCopy& f() { return *h.frm; }
};

}  // namespace

TEST(RenamePopup, TypedNameAndEnterRenameAndReplaceTheEntryOfTheOldPath) {
    RenameSetup s(L"clip.vob");
    salva::FrmCopy& f = s.f();
    const std::wstring gone = s.h.dir / L"gone.dat";  // listed, its file vanished earlier
    f.AddFileListItem(gone);
    f.AddFileListItem(s.file);
    f.AddFileListItem(s.h.dir / L"last.dat");
    f.SetFileListText(s.file);

    std::wstring proposed, title;
    bool tailIn = false, bandOut = true, bodyIn = false, cornerOut = true;
    Watcher w(FindPopup, [&](HWND popup) {
        HWND box = NameBox(popup);
        proposed = WindowText(box);
        title = WindowText(FindControl(popup, frmDialog::IDC_lblTitle));
        // The list lies in the screen's upper left quarter: the tail hangs at the top left.
        RECT rc{};
        ::GetClientRect(popup, &rc);
        salva::unique_hrgn rgn(::CreateRectRgn(0, 0, 0, 0));
        if (::GetWindowRgn(popup, rgn.get()) != ERROR) {
            tailIn = ::PtInRegion(rgn.get(), 19, 12) != FALSE;
            bandOut = ::PtInRegion(rgn.get(), 60, 8) != FALSE;
            bodyIn = ::PtInRegion(rgn.get(), rc.right / 2, rc.bottom / 2) != FALSE;
            cornerOut = ::PtInRegion(rgn.get(), 1, 17) != FALSE;
        }
        ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"  new.vob  "));
        ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    });
    salva::ShowRenamePopup();
    w.Join();
    ASSERT_TRUE(w.found()) << "no popup of class " << Narrow(frmDialog::ClassName());
    EXPECT_EQ(L"N[01]clip.vob", proposed);
    EXPECT_EQ(0u, title.find(L"重命名：")) << Narrow(title);
    EXPECT_TRUE(tailIn) << "the tail belongs to the window";
    EXPECT_FALSE(bandOut) << "the top band beside the tail lies outside";
    EXPECT_TRUE(bodyIn);
    EXPECT_FALSE(cornerOut) << "the body's corners are rounded off";

    const std::wstring renamed = s.h.dir / L"new.vob";
    EXPECT_EQ(-1, FileLength(s.file));
    EXPECT_EQ(100, FileLength(renamed));
    const std::vector<std::wstring> expected{gone, renamed, s.h.dir / L"last.dat"};
    EXPECT_EQ(expected, Items(f));
    EXPECT_EQ(renamed, f.FileListText());
    EXPECT_EQ(nullptr, ::FindWindowW(frmDialog::ClassName(), nullptr));
}

TEST(RenamePopup, NamesTheFileCannotTakeAreRefusedAndTheListLeftAlone) {
    RenameSetup s(L"a.dat");
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    for (const wchar_t* typed : {L"", L"   ", L"..\\up.dat", L"sub/b.dat", L"x:y.dat", L"NUL.dat", L"b.dat.", L"CON"}) {
        frmDialog popup(f);
        ASSERT_TRUE(popup.Load(f.FileListCombo()));
        HWND box = popup.Control(frmDialog::IDC_txtNewFileName);
        ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(nullptr, popup.Window()) << "a refused rename still closes the popup";
        EXPECT_EQ(100, FileLength(s.file)) << Narrow(typed);
        EXPECT_EQ(std::vector<std::wstring>{s.file}, Items(f)) << Narrow(typed);
        EXPECT_EQ(s.file, f.FileListText());
    }
    EXPECT_EQ(-1, FileLength(s.h.dir / L"up.dat"));
}

TEST(RenamePopup, AChangeOfCaseOnlyUpdatesTheEntry) {
    RenameSetup s(L"song.mp3");
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    // Wine's file system keeps the old case of a name whatever it is asked; the rename is
    // taken as done, as the system does it.
    std::vector<std::wstring> renames;
    frmDialog popup(f, [&](const std::wstring& from, const std::wstring& to) {
        renames.push_back(from + L">" + to);
        return true;
    });
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    // An MP3 without a tag shows no tag lines.
    const std::wstring facts = WindowText(popup.Control(frmDialog::IDC_lblText));
    EXPECT_EQ(std::wstring::npos, facts.find(L"曲名：")) << Narrow(facts);
    EXPECT_EQ(0u, facts.find(L"文件大小：100字节\r\n文件类型：")) << Narrow(facts);
    HWND box = popup.Control(frmDialog::IDC_txtNewFileName);
    ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"SONG.MP3"));
    ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    const std::wstring upper = s.h.dir / L"SONG.MP3";
    EXPECT_EQ(std::vector<std::wstring>{s.file + L">" + upper}, renames);
    EXPECT_EQ(std::vector<std::wstring>{upper}, Items(f));
    EXPECT_EQ(upper, f.FileListText());
}

TEST(RenamePopup, ATaggedMp3ShowsItsTagLines) {
    RenameSetup s(L"tagged.mp3");
    std::vector<uint8_t> bytes = Pattern(100);
    std::string tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, 4, "Song");
    tag.replace(33, 6, "Singer");
    tag.replace(93, 4, "2001");
    tag[126] = 7;   // track
    tag[127] = 17;  // Rock
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    ASSERT_TRUE(WriteBytes(s.file, bytes));
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    frmDialog popup(f);
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    const std::wstring facts = WindowText(popup.Control(frmDialog::IDC_lblText));
    EXPECT_NE(std::wstring::npos, facts.find(L"\r\n曲名：Song\r\n艺人：Singer\r\n")) << Narrow(facts);
    EXPECT_NE(std::wstring::npos, facts.find(L"年份：2001  流派：Rock  音轨序号：7")) << Narrow(facts);
}

TEST(RenamePopup, LongTitleWrapsAndWidensThePopupWhichClosesOnceMoved) {
    // A path of more than 72 characters, wide ones among them: three title lines, wider than
    // the popup was designed.
    RenameSetup s(std::wstring(40, L'文') + L".dat");
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    frmDialog popup(f);
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    const std::wstring caption = L"重命名：" + s.file;
    ASSERT_GT(caption.size(), 72u);
    const std::wstring title = WindowText(popup.Control(frmDialog::IDC_lblTitle));
    EXPECT_EQ(caption.substr(0, 36) + L"\r\n" + caption.substr(36, 36) + L"\r\n" + caption.substr(72) + L"\r\n", title);
    RECT label{}, window{};
    ::GetWindowRect(popup.Control(frmDialog::IDC_lblTitle), &label);
    ::GetWindowRect(popup.Window(), &window);
    EXPECT_EQ(10, window.right - label.right) << "10 pixels stay free right of a wide title";
    EXPECT_EQ(salva::BalloonTopLeft, popup.Style());

    Pump(700);
    ASSERT_NE(nullptr, popup.Window()) << "a popup where it was placed stays";
    ::SetWindowPos(popup.Window(), nullptr, window.left + 5, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(5000, [&] { return popup.Window() == nullptr; });
    EXPECT_EQ(nullptr, popup.Window()) << "moved away, the popup closes";
    EXPECT_EQ(100, FileLength(s.file));
}

TEST(RenamePopup, AWideFactsLineWidensThePopup) {
    // A short path with an unknown extension of 60 letters: the type line is the widest.
    RenameSetup s(L"a." + std::wstring(60, L'x'));
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    frmDialog popup(f);
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    RECT title{}, facts{}, window{};
    ::GetWindowRect(popup.Control(frmDialog::IDC_lblTitle), &title);
    ::GetWindowRect(popup.Control(frmDialog::IDC_lblText), &facts);
    ::GetWindowRect(popup.Window(), &window);
    ASSERT_GT(facts.right, title.right) << Narrow(WindowText(popup.Control(frmDialog::IDC_lblText)));
    EXPECT_EQ(10, window.right - facts.right) << "10 pixels stay free right of the widest line";
}

TEST(RenamePopup, APressOutsideClosesItAndReachesNothing) {
    RenameSetup s(L"a.dat");
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    HWND setUp = f.Control(salva::FrmCopy::IDC_picSetUp);
    bool closedByPress = false;
    // The press comes once the popup's own loop runs: its name box has the focus just
    // before. A press that came earlier would be handled by whatever loop was running then.
    Watcher w(FindPopup, [&](HWND popup) {
        GUITHREADINFO gui{sizeof(gui)};
        const DWORD thread = ::GetWindowThreadProcessId(popup, nullptr);
        testsupport::WaitUntil("the rename popup's name box to have the focus", 120000, [&] {
            return ::GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == NameBox(popup);
        }, 10);
        ::Sleep(100);
        ::PostMessageW(setUp, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        // A popup the press did not close is closed here, so the test fails instead of hanging.
        testsupport::WaitUntil("the press to close the rename popup", 20000, [&] { return !::IsWindow(popup); }, 10);
        closedByPress = !::IsWindow(popup);
        if (!closedByPress) ::PostMessageW(popup, WM_CLOSE, 0, 0);
    });
    salva::ShowRenamePopup();
    w.Join();
    ASSERT_TRUE(w.found());
    EXPECT_TRUE(closedByPress);
    EXPECT_EQ(nullptr, ::FindWindowW(frmDialog::ClassName(), nullptr));
    EXPECT_NE(setUp, ::GetCapture()) << "the press did not reach the button";
    EXPECT_EQ(100, FileLength(s.file));
    EXPECT_EQ(std::vector<std::wstring>{s.file}, Items(f));
}

TEST(RenamePopup, ButtonsHoverAndCancelLeavesTheFileAlone) {
    RenameSetup s(L"a.dat");
    salva::FrmCopy& f = s.f();
    f.AddFileListItem(s.file);
    f.SetFileListText(s.file);
    frmDialog popup(f);
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    ::ShowWindow(popup.Window(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(popup.Window());
    // The name box's tip keeps the proposed name.
    HWND box = popup.Control(frmDialog::IDC_txtNewFileName);
    const std::vector<HWND> tips = TipWindowsOf(box);
    ASSERT_EQ(1u, tips.size());
    EXPECT_EQ(L"N[01]a.dat", TipText(tips[0], box));

    HWND ok = popup.Control(frmDialog::IDC_PicOK);
    salva::PictureBox& okBox = *salva::PictureBox::FromWindow(ok);
    EXPECT_EQ(RGB(245, 246, 212), ::GetPixel(okBox.dc(), 5, 11)) << "normal look";
    RECT r{};
    ::GetWindowRect(ok, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageW(ok, WM_MOUSEMOVE, 0, MAKELPARAM(30, 11));
    EXPECT_EQ(ok, ::GetCapture()) << "hovering holds the mouse";
    EXPECT_EQ(RGB(245, 246, 200), ::GetPixel(okBox.dc(), 5, 11)) << "hot look";
    ::SetCursorPos(r.right + 40, r.bottom + 40);
    ::SendMessageW(ok, WM_MOUSEMOVE, 0, MAKELPARAM(70, 60));
    EXPECT_NE(ok, ::GetCapture());
    EXPECT_EQ(RGB(245, 246, 212), ::GetPixel(okBox.dc(), 5, 11));

    ::SendMessageW(popup.Control(frmDialog::IDC_PicCancel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(nullptr, popup.Window());
    EXPECT_EQ(100, FileLength(s.file));
    EXPECT_EQ(std::vector<std::wstring>{s.file}, Items(f));
}

TEST(RenamePopup, AFileGoneBeforeLoadingLeavesTheDesignTexts) {
    Harness h;
    h.Create();
    salva::FrmCopy& f = *h.frm;
    const std::wstring gone = h.dir / L"gone.dat";
    f.AddFileListItem(gone);
    f.SetFileListText(gone);
    frmDialog popup(f);
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    EXPECT_EQ(L"Title\r\n", WindowText(popup.Control(frmDialog::IDC_lblTitle)));
    EXPECT_EQ(L"Text", WindowText(popup.Control(frmDialog::IDC_lblText)));
    EXPECT_EQ(L"新的文件名", WindowText(popup.Control(frmDialog::IDC_txtNewFileName)));
    EXPECT_EQ(salva::BalloonTopLeft, popup.Style()) << "placed and shaped all the same";
    salva::unique_hrgn rgn(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(ERROR, ::GetWindowRgn(popup.Window(), rgn.get()));
}

TEST(RenamePopup, OpenedFromTheFileMenuOfARightPressOnTheList) {
    Harness h;
    h.configure = [&h](salva::FrmCopy::Options& o) {
        o.windows.rename = [&h] {
            h.order.push_back("rename");
            salva::ShowRenamePopup();
        };
    };
    h.Create(SW_SHOW);
    salva::FrmCopy& f = *h.frm;
    const std::wstring file = h.dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(100)));
    f.AddFileListItem(file);
    f.SetFileListText(file);
    Watcher popup(FindPopup, [](HWND w) {
        HWND box = NameBox(w);
        ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"b.dat"));
        ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    });
    // The rename item chosen by its mnemonic, as the menu reads typed characters.
    std::wstring first;
    Watcher menu(
        [] { return WaitForOpenMenu(120000); },
        [&](HWND m) {
            wchar_t caption[64] = {};
            ::GetMenuStringW(reinterpret_cast<HMENU>(::SendMessageW(m, MN_GETHMENU, 0, 0)), 0, caption, 64,
                             MF_BYPOSITION);
            first = caption;
            ::PostMessageW(m, WM_CHAR, L'r', 1);
        });
    ::SendMessageW(f.FileListCombo(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.Handle()),
                   MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN));
    menu.Join();
    popup.Join();
    ASSERT_TRUE(menu.found()) << "the right press opens the file menu";
    EXPECT_EQ(L"打开当前文件(&O)", first);
    ASSERT_TRUE(popup.found()) << "its rename item opens the popup";
    EXPECT_EQ(std::vector<std::wstring>{h.dir / L"b.dat"}, Items(f));
    EXPECT_EQ(100, FileLength(h.dir / L"b.dat"));
    // The preview lets go of the file before the popup can rename it.
    const auto rename = std::find(h.order.begin(), h.order.end(), "rename");
    ASSERT_NE(h.order.end(), rename);
    ASSERT_NE(h.order.begin(), rename);
    EXPECT_EQ("unloadPreview", *(rename - 1));
}
