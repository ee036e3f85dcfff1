// The open and save dialogs driven from another thread as a user would: names typed into the
// dialog owned by the main window, OK or Cancel pressed; the hook's layout with a pane of the
// test's own; the hook's preview calls and the path answer's checks through a stand-in dialog.
#include "MainWinTest.h"
#include "../services/WineHost.h"
#include "services/FileListInfoText.h"
#include "services/OpenDialogPane.h"
#include "services/OpenDialogRules.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include <commdlg.h>
#include <atomic>
#include <functional>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;
namespace dialogs = salva::mSubClassOpen_SaveFileBox;

namespace {

// The name box: an edit box in the template Wine uses with a hook, the edit box inside a
// combo in the one it uses without.
HWND NameBox(HWND dialog) {
    if (HWND edit = FindControl(dialog, 0x480)) return edit;
    HWND combo = FindControl(dialog, 0x47c);
    return combo ? reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0)) : nullptr;
}

void TypeName(HWND dialog, const std::wstring& text) {
    ::SendMessageW(NameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void Press(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::wstring FolderOf(HWND dialog) {
    std::vector<wchar_t> b(MAX_PATH * 2, L'\0');
    ::SendMessageW(dialog, CDM_GETFOLDERPATH, b.size(), reinterpret_cast<LPARAM>(b.data()));
    std::wstring s = b.data();
    if (s.size() > 3 && s.back() == L'\\') s.pop_back();
    return s;
}

// Types a folder and presses OK, unless the dialog already shows it; true once it does.
bool BrowseTo(HWND dialog, std::wstring folder) {
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    if (lstrcmpiW(FolderOf(dialog).c_str(), folder.c_str()) == 0) return true;
    TypeName(dialog, folder);
    Press(dialog, IDOK);
    return testsupport::WaitUntil("the file dialog to show the folder " + testsupport::Narrow(folder), 10000,
                                  [&] { return lstrcmpiW(FolderOf(dialog).c_str(), folder.c_str()) == 0; });
}

// After OK the dialog closes, or a question owned by it comes up, answered Yes: true then.
bool AnsweredOverwriteQuestion(HWND dialog) {
    for (int i = 0; i < 500 && ::IsWindow(dialog); ++i) {
        if (HWND ask = WaitForOwnedWindow(dialog, L"#32770", 20)) {
            ::PostMessageW(ask, WM_COMMAND, IDYES, 0);
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> Items(FrmCopy& f) {
    std::vector<std::wstring> items;
    for (int i = 0; i < f.FileListCount(); ++i) items.push_back(f.FileListItem(i));
    return items;
}

std::string Joined(const std::vector<std::wstring>& items) {
    std::wstring all;
    for (const auto& s : items) all += s + L"|";
    return Narrow(all);
}

// A preview pane of the test's own: a plain window of known size that writes down its calls
// (all made on the dialog's thread, read there after the dialog has closed).
class TestPane : public salva::OpenDialogPane {
public:
    static constexpr int kWidth = 150, kHeight = 120;
    ~TestPane() override { Unload(); }
    HWND Window() override {
        if (!window_) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"SalvaTestPane";
            ::RegisterClassW(&wc);
            window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_BORDER, 0, 0, kWidth, kHeight, nullptr,
                                        nullptr, wc.hInstance, nullptr);
        }
        return window_;
    }
    SIZE InnerSize() override {
        ++layouts;
        RECT rc{};
        ::GetClientRect(window_, &rc);
        return SIZE{rc.right, rc.bottom};
    }
    SIZE OuterSize() override { return SIZE{kWidth, kHeight}; }
    bool OpenMediaFile(const std::wstring& path) override {
        calls += L"open " + path + L";";
        return true;
    }
    void ShowFileFacts(const std::wstring& path) override { calls += L"facts " + path + L";"; }
    void StopPlay() override { calls += L"stop;"; }
    void Unload() override {
        if (!window_) return;
        calls += L"unload;";
        ::DestroyWindow(window_);
        window_ = nullptr;
    }
    std::wstring calls;
    std::atomic<int> layouts{0};

private:
    HWND window_ = nullptr;
};

struct PaneScope {
    explicit PaneScope(salva::OpenDialogPane* pane) { salva::SetOpenDialogPane(pane); }
    ~PaneScope() { salva::SetOpenDialogPane(nullptr); }
};

}  // namespace

TEST(OpenDialog, OneFileThreeQuotedNamesInOrderAndCancel) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    for (const wchar_t* n : {L"a.dat", L"b.dat", L"c.dat"}) ASSERT_TRUE(WriteBytes(h.dir / n, Pattern(1000)));
    f.AddFileListItem(L"C:\\old.dat");

    Watcher one([&] { return WaitForOwnedWindow(f.Window()); },
                [&](HWND d) {
                    TypeName(d, h.dir / L"b.dat");
                    Press(d, IDOK);
                });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdSourceFile), BM_CLICK, 0, 0);
    one.Join();
    ASSERT_TRUE(one.found()) << "no open dialog owned by the main window";
    EXPECT_EQ(Narrow(h.dir / L"b.dat") + "|", Joined(Items(f))) << "the list is emptied first, then one item";
    EXPECT_EQ(Narrow(L"文件总数:1个  总计大小:0MB [1,000字节]"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblFilesInfo))));

    bool browsed = false;
    Watcher three([&] { return WaitForOwnedWindow(f.Window()); },
                  [&](HWND d) {
                      browsed = BrowseTo(d, h.dir.path());
                      TypeName(d, L"\"c.dat\" \"a.dat\" \"b.dat\"");
                      Press(d, IDOK);
                  });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdSourceFile), BM_CLICK, 0, 0);
    three.Join();
    EXPECT_TRUE(browsed);
    EXPECT_EQ(Narrow(h.dir / L"c.dat") + "|" + Narrow(h.dir / L"a.dat") + "|" + Narrow(h.dir / L"b.dat") + "|",
              Joined(Items(f)));
    EXPECT_EQ(Narrow(h.dir / L"c.dat"), Narrow(f.FileListText())) << "the first item becomes current";
    EXPECT_EQ(Narrow(L"文件总数:3个  总计大小:0MB [3,000字节]"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblFilesInfo))));

    // Cancel: the list stays emptied by the button, nothing is added.
    Watcher cancel([&] { return WaitForOwnedWindow(f.Window()); }, [&](HWND d) { Press(d, IDCANCEL); });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdSourceFile), BM_CLICK, 0, 0);
    cancel.Join();
    EXPECT_TRUE(cancel.found());
    EXPECT_EQ(0, f.FileListCount());
}

TEST(OpenDialog, NamesInADriveRootGetOneBackslash) {
    const wchar_t letter = wine_host::FreeDriveLetter(L'M');
    if (!letter) GTEST_SKIP() << "no free drive letter";
    TempDir folder;
    ASSERT_TRUE(WriteBytes(folder / L"x.dat", Pattern(10)));
    ASSERT_TRUE(WriteBytes(folder / L"y.dat", Pattern(10)));
    wine_host::MappedDrive drive(letter, DRIVE_FIXED, wine_host::UnixPath(folder.path()));
    if (!drive.ok()) GTEST_SKIP() << "the mount manager did not map a drive";
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    Watcher w([&] { return WaitForOwnedWindow(f.Window()); },
              [&](HWND d) {
                  BrowseTo(d, drive.root());
                  TypeName(d, L"\"x.dat\" \"y.dat\"");
                  Press(d, IDOK);
              });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdSourceFile), BM_CLICK, 0, 0);
    w.Join();
    EXPECT_EQ(Narrow(drive.root() + L"x.dat|" + drive.root() + L"y.dat|"), Joined(Items(f)));
}

TEST(SaveDialog, ProposesTheNamePartAndNeverAsksBeforeOverwriting) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring target = h.dir / L"exists.dat";
    ASSERT_TRUE(WriteBytes(target, Pattern(10)));
    f.SetFileListText(L"D:\\MPEGAV\\AVSEQ01.DAT");
    ::SetWindowTextW(f.Control(FrmCopy::IDC_txtFileCopy), L"old");

    std::wstring proposed;
    bool prompted = false;
    Watcher w([&] { return WaitForOwnedWindow(f.Window()); },
              [&](HWND d) {
                  proposed = WindowText(NameBox(d));
                  TypeName(d, target);
                  Press(d, IDOK);
                  prompted = AnsweredOverwriteQuestion(d);
              });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdDestinationPath), BM_CLICK, 0, 0);
    w.Join();
    ASSERT_TRUE(w.found());
    EXPECT_EQ("AVSEQ01.DAT", Narrow(proposed));
    EXPECT_FALSE(prompted);
    EXPECT_EQ(Narrow(target), Narrow(TextOf(f.Control(FrmCopy::IDC_txtFileCopy))));

    // Cancel leaves the box as the button emptied it; an empty list text proposes nothing.
    f.SetFileListText(L"");
    Watcher cancel([&] { return WaitForOwnedWindow(f.Window()); },
                   [&](HWND d) {
                       proposed = WindowText(NameBox(d));
                       Press(d, IDCANCEL);
                   });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdDestinationPath), BM_CLICK, 0, 0);
    cancel.Join();
    EXPECT_EQ("", Narrow(proposed));
    EXPECT_EQ("", Narrow(TextOf(f.Control(FrmCopy::IDC_txtFileCopy))));

    // The plain save dialog asks before replacing.
    Watcher plain([&] { return WaitForOwnedWindow(f.Window()); },
                  [&](HWND d) {
                      TypeName(d, target);
                      Press(d, IDOK);
                      prompted = AnsweredOverwriteQuestion(d);
                  });
    EXPECT_EQ(Narrow(target), Narrow(dialogs::AskSaveFileNamePlain(L"保存", std::wstring(L"*.*\0*.*\0", 8))));
    plain.Join();
    EXPECT_TRUE(prompted) << "no overwrite question";
}

// Wine's dialog builds the path of a typed name in a buffer of MAX_PATH characters and ended
// the program when it overran it: each dialog now refuses such a path with a message and goes on.
TEST(FileDialogs, ATypedPathTooLongIsRefusedAndTheDialogGoesOn) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring fits = h.dir / L"fits.dat", filter(L"*.*\0*.*\0", 8);
    ASSERT_TRUE(WriteBytes(fits, Pattern(10)));
    auto click = [&](int id) { ::SendMessageW(f.Control(id), BM_CLICK, 0, 0); };
    const std::vector<std::function<std::wstring()>> runs = {
        [&] { return click(FrmCopy::IDC_cmdSourceFile), f.FileListText(); },
        [&] { return click(FrmCopy::IDC_cmdDestinationPath), TextOf(f.Control(FrmCopy::IDC_txtFileCopy)); },
        [&] { return dialogs::AskOpenFileName(L"打开", filter); },
        [&] { return dialogs::AskSaveFileNamePlain(L"保存", filter); },
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        std::wstring told;
        Watcher w([&] { return WaitForOwnedWindow(f.Window()); },
                  [&](HWND d) {
                      TypeName(d, h.dir / (std::wstring(320 - h.dir.path().size(), L'n') + L".dat"));
                      Press(d, IDOK);
                      HWND box = WaitForOwnedWindow(d, L"#32770", 5000);
                      told = ChildTexts(box);
                      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                      testsupport::WaitUntil("the message box to close", 5000, [&] { return !::IsWindow(box); });
                      TypeName(d, fits);
                      Press(d, IDOK);
                      AnsweredOverwriteQuestion(d);
                  });
        EXPECT_EQ(Narrow(fits), Narrow(runs[i]())) << i;
        w.Join();
        EXPECT_NE(std::wstring::npos, told.find(L"文件路径太长：共 325 个字符")) << i << ": " << Narrow(told);
    }
}

// A modal window of the program (the properties window) holds the main window disabled; the
// dialogs it asks for must not give the main window its input back when they close.
TEST(OpenDialog, UnderAModalWindowOwnedByItAndTheMainWindowStaysDisabled) {
    Harness h;
    h.Create(SW_SHOW);
    FrmCopy& f = *h.frm;
    HWND modal = ::CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 200, 120,
                                   f.Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, modal);
    ::EnableWindow(f.Window(), FALSE);
    ::SetActiveWindow(modal);
    HWND owner = nullptr;
    auto ownedDialog = [&] {
        for (int i = 0; i < 100; ++i)
            for (HWND o : {modal, f.Window()})
                if (HWND d = WaitForOwnedWindow(o, L"#32770", 50)) return d;
        return HWND{};
    };
    auto cancel = [&](HWND d) {
        owner = ::GetWindow(d, GW_OWNER);
        Press(d, IDCANCEL);
    };
    for (bool save : {false, true}) {
        owner = nullptr;
        // The second time with no window active, as a dialog closed before it ever was leaves it.
        if (save) ::SetActiveWindow(nullptr);
        Watcher w(ownedDialog, cancel);
        const std::wstring filter(L"*.*\0*.*\0", 8);
        const std::wstring path =
            save ? dialogs::AskSaveFileNamePlain(L"保存", filter) : dialogs::AskOpenFileName(L"打开", filter);
        w.Join();
        ASSERT_TRUE(w.found()) << "save " << save;
        EXPECT_EQ(modal, owner) << "save " << save;
        EXPECT_EQ("", Narrow(path));
        EXPECT_FALSE(::IsWindowEnabled(f.Window())) << "save " << save;
    }
    ::EnableWindow(f.Window(), TRUE);
    ::DestroyWindow(modal);
}

TEST(OpenDialogHook, SizeAndPaneSlotAfterInitDoneThenStopAndUnload) {
    TestPane pane;
    PaneScope scope(&pane);
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    RECT dialogRect{}, client{}, paneRect{};
    HWND paneParent = nullptr;
    std::string places;
    Watcher w([&] { return WaitForOwnedWindow(f.Window()); },
              [&](HWND d) {
                  // Laid out once at WM_INITDIALOG and once more at CDN_INITDONE.
                  testsupport::WaitUntil("the pane's second layout", 10000, [&] { return pane.layouts >= 2; });
                  ::SendMessageW(d, WM_NULL, 0, 0);
                  ::GetWindowRect(d, &dialogRect);
                  ::GetClientRect(d, &client);
                  HWND p = ::FindWindowExW(d, nullptr, L"SalvaTestPane", nullptr);
                  paneParent = p ? ::GetAncestor(p, GA_PARENT) : nullptr;
                  ::GetWindowRect(p, &paneRect);
                  ::MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&paneRect), 2);
                  // Name box, type box, OK and Cancel where the layout puts them.
                  for (int id : {0x480, 0x470, IDOK, IDCANCEL}) {
                      RECT r{};
                      ::GetWindowRect(::GetDlgItem(d, id), &r);
                      ::MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&r), 2);
                      places += std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                std::to_string(r.right - r.left) + " ";
                  }
                  Press(d, IDCANCEL);
              });
    ::SendMessageW(f.Control(FrmCopy::IDC_cmdSourceFile), BM_CLICK, 0, 0);
    w.Join();
    ASSERT_TRUE(w.found());
    EXPECT_EQ(518, dialogRect.right - dialogRect.left);
    EXPECT_EQ(296, dialogRect.bottom - dialogRect.top);
    EXPECT_EQ("76,209,225 76,234,225 320,208,75 320,234,75 ", places);
    ASSERT_NE(nullptr, paneParent) << "the pane is not inside the dialog";
    // A 1-pixel border: inner 148 x 118, outer 150 x 120.
    EXPECT_EQ(client.right - (TestPane::kWidth - 2), paneRect.left);
    EXPECT_EQ(client.bottom - (TestPane::kHeight - 2) - 64, paneRect.top);
    EXPECT_EQ(TestPane::kWidth, paneRect.right - paneRect.left);
    EXPECT_EQ(TestPane::kHeight, paneRect.bottom - paneRect.top);
    // Closing the dialog stops and unloads the pane.
    EXPECT_NE(std::wstring::npos, pane.calls.find(L"stop;unload;")) << Narrow(pane.calls);
}

namespace {

// Stands in for the dialog: answers CDM_GETFILEPATH with `path`, or with `count` and no text.
struct FakeDialog {
    static std::wstring path;
    static LRESULT count;
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m != CDM_GETFILEPATH) return ::DefWindowProcW(h, m, wp, lp);
        if (count) return count;
        auto* out = reinterpret_cast<wchar_t*>(lp);
        const size_t n = std::min(path.size(), static_cast<size_t>(wp) - 1);
        std::copy(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n), out);
        out[n] = L'\0';
        return static_cast<LRESULT>(path.size() + 1);
    }
};
std::wstring FakeDialog::path;
LRESULT FakeDialog::count = 0;

}  // namespace

TEST(OpenDialogHook, SelectionPreviewsOnlyFilesThatOpenOnceItRestsAndTrustsNoOversizedAnswer) {
    TestPane pane;
    PaneScope scope(&pane);
    TempDir dir;
    const std::wstring file = dir / L"clip.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(100)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = FakeDialog::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SalvaFakeFileDialog";
    ::RegisterClassW(&wc);
    salva::unique_hwnd dialog(::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                wc.hInstance, nullptr));
    salva::unique_hwnd child(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, dialog.get(), nullptr,
                                               wc.hInstance, nullptr));
    auto select = [&] {
        OFNOTIFYW n{};
        n.hdr.hwndFrom = dialog.get();
        n.hdr.code = static_cast<UINT>(CDN_SELCHANGE);
        EXPECT_EQ(0u, dialogs::OpenSaveDialogHook(child.get(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n)));
    };

    // The hook's timer runs from this thread's messages.
    auto opened = [&](size_t opens) {
        auto count = [&] {
            size_t n = 0;
            for (size_t at = pane.calls.find(L"open "); at != std::wstring::npos; at = pane.calls.find(L"open ", at + 1))
                ++n;
            return n;
        };
        return testsupport::PumpUntil("the pane to open the selected file", 15000, [&] { return count() >= opens; });
    };

    FakeDialog::path = file;
    select();
    EXPECT_EQ("stop;", Narrow(pane.calls)) << "the facts and the media wait for the selection to rest";
    ASSERT_TRUE(opened(1)) << Narrow(pane.calls);
    EXPECT_EQ(Narrow(L"stop;facts " + file + L";stop;open " + file + L";"), Narrow(pane.calls));
    pane.calls.clear();
    FakeDialog::path = dir.path();  // a folder keeps the preview
    select();
    FakeDialog::path = dir / L"gone.dat";
    select();
    EXPECT_EQ("", Narrow(pane.calls));

    // A burst of selections, as a held key makes them: the facts and the media of the last
    // only, once the selection rests.
    std::wstring want;
    for (int i = 0; i < 5; ++i) {
        FakeDialog::path = dir / (L"clip" + std::to_wstring(i) + L".dat");
        ASSERT_TRUE(WriteBytes(FakeDialog::path, Pattern(10)));
        select();
        want += L"stop;";
    }
    ASSERT_TRUE(opened(1)) << Narrow(pane.calls);
    EXPECT_EQ(Narrow(want + L"facts " + FakeDialog::path + L";stop;open " + FakeDialog::path + L";"),
              Narrow(pane.calls));

    // The answer at start-up: a count far beyond the buffer, nothing written.
    FakeDialog::count = 32792;
    EXPECT_EQ("", Narrow(dialogs::GetDialogFilePath(dialog.get(), CDM_GETFILEPATH, 260)));
    FakeDialog::count = 0;
    FakeDialog::path = file;
    EXPECT_EQ(Narrow(file), Narrow(dialogs::GetDialogFilePath(dialog.get(), CDM_GETFILEPATH, 260)));
    // A path longer than the buffer is not cut to a different file's name.
    FakeDialog::path = dir.path() + L"\\" + std::wstring(300, L'n') + L".dat";
    EXPECT_EQ("", Narrow(dialogs::GetDialogFilePath(dialog.get(), CDM_GETFILEPATH, 260)));
    FakeDialog::count = -1;
    EXPECT_EQ("", Narrow(dialogs::GetDialogFilePath(dialog.get(), CDM_GETFILEPATH, 260)));
}

TEST(CanOpenFile, FoldersTrailingBackslashAndBlanks) {
    TempDir dir;
    const std::wstring file = dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(10)));
    EXPECT_TRUE(dialogs::CanOpenFile(file));
    EXPECT_TRUE(dialogs::CanOpenFile(L"  " + file + L"  "));
    EXPECT_TRUE(dialogs::CanOpenFile(file + L"\\"));
    EXPECT_FALSE(dialogs::CanOpenFile(dir.path()));
    EXPECT_FALSE(dialogs::CanOpenFile(dir.path() + L"\\"));
    EXPECT_FALSE(dialogs::CanOpenFile(dir / L"missing.dat"));
    EXPECT_FALSE(dialogs::CanOpenFile(L"   "));
}

TEST(OpenDialogRules, ChildCountsSplitEdgesCornerAndPictureNames) {
    namespace rules = salva::open_dialog_rules;
    // The 3rd and 4th statics, the 2nd combo, the 2nd and 3rd buttons move; every one counts,
    // the class compared with its case.
    rules::ChildCounters counters;
    std::string moved;
    for (const wchar_t* c : {L"Static", L"ComboBox", L"Static", L"Static", L"ComboBox", L"Button", L"Button",
                             L"Button", L"Button", L"static", L"Static"}) {
        rules::Placement p;
        if (rules::ChildPlacement(c, 20, counters, p)) moved += Narrow(c) + "@" + std::to_string(p.y) + " ";
    }
    EXPECT_EQ("Static@214 ComboBox@234 Button@208 Button@234 Static@236 ", moved);

    const auto typed = rules::SplitOpenDialogResult(L"  C:\\typed.dat  ");
    EXPECT_TRUE(typed.hasEditText && typed.items.empty());
    EXPECT_EQ("C:\\typed.dat", Narrow(typed.editText));
    const auto cut = rules::SplitOpenDialogResult(std::wstring(L"C:\\v\0b.dat\0\0junk\0\0", 19));
    ASSERT_EQ(1u, cut.items.size()) << "an empty piece ends the list";
    EXPECT_EQ("C:\\v\\b.dat", Narrow(cut.items[0]));

    // A typed name joined to the folder or its drive, the default extension added; several
    // quoted names are not one path.
    EXPECT_EQ(10u, rules::TypedPathLength(L"C:\\d", L" \"a\" ", L"dat"));
    EXPECT_EQ(8u, rules::TypedPathLength(L"C:\\d", L"\\x.dat", L"dat"));
    EXPECT_EQ(0u, rules::TypedPathLength(L"C:\\d", L"\"a.dat\" \"b.dat\"", L"dat"));

    const POINT at = rules::CentredCorner(RECT{100, 50, 601, 351}, 1280, 1024);
    EXPECT_EQ(389, at.x);
    EXPECT_EQ(361, at.y);

    for (const wchar_t* name : {L"a.ico", L"A.CUR", L"x.Bmp", L"x.dib", L"p.jpg", L"g.GIF", L"m.wmf", L"e.emf"})
        EXPECT_TRUE(salva::file_list_info::IsPictureFileName(name)) << Narrow(name);
    for (const wchar_t* name : {L"p.jpeg", L"clip.dat", L"gi", L""})
        EXPECT_FALSE(salva::file_list_info::IsPictureFileName(name)) << Narrow(name);
}
