// The main window with the program's own command windows, as the program starts it: the file
// menu's properties, about, copy-all, add-folder and rename commands each reach their window.
#include "MainWinTest.h"
#include "copier/ProgramWindows.h"
#include "copier/frmDialog.h"
#include "inspect/ResourceBrowserPage.h"
#include "inspect/frmFileProperty.h"
#include "windows/frmSplash.h"
#include <atomic>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h_.configure = salva::UseProgramWindows;
        h_.Create(SW_SHOW);
        f_ = h_.frm.get();
    }
    void Command(int id) { ::SendMessageW(f_->Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // The list holds the one file, current.
    void ListOnly(const std::wstring& path) {
        f_->RefreshWindow();
        f_->AddFileListItem(path);
        f_->SetFileListText(path);
    }
    bool MainEnabled() const { return ::IsWindowEnabled(f_->Window()) != FALSE; }

    Harness h_;
    FrmCopy* f_ = nullptr;
};

std::wstring TestProgramFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1);
}

// A dialog owned by one of the windows, waited for up to ten seconds.
HWND DialogOwnedBy(std::initializer_list<HWND> owners) {
    for (int i = 0; i < 100; ++i)
        for (HWND o : owners)
            if (HWND d = WaitForOwnedWindow(o, L"#32770", 25)) return d;
    return nullptr;
}

bool WaitGone(HWND w) {
    return testsupport::WaitUntil("the window to go", 10000, [&] { return !::IsWindow(w); });
}

void Cancel(HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }

}  // namespace

TEST_F(ProgramWindowsTest, PropertiesOfALibraryBrowseItsResourcesAndTheMainWindowWaitsThroughItsDialogs) {
    const std::wstring dll = h_.dir / L"restest.dll";
    ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"restest.dll").c_str(), dll.c_str(), FALSE));
    ListOnly(dll);
    std::atomic<bool> pageShown{false}, waitedInWindow{false}, waitedAfterDialog{false}, dialogOwnedByWindow{false};
    Watcher props([] { return WaitForWindow(nullptr, salva::frmFileProperty::ClassName()); },
                  [&](HWND window) {
                      waitedInWindow = !MainEnabled();
                      HWND open = FindControl(window, salva::ResourceBrowserPage::kCmdOpen);
                      pageShown = open != nullptr;
                      if (open) {
                          ::PostMessageW(open, BM_CLICK, 0, 0);
                          HWND d = DialogOwnedBy({window, f_->Window()});
                          dialogOwnedByWindow = d && ::GetWindow(d, GW_OWNER) == window;
                          if (d) {
                              Cancel(d);
                              WaitGone(d);
                          }
                          waitedAfterDialog = !MainEnabled();
                      }
                      ::PostMessageW(::GetDlgItem(window, salva::frmFileProperty::IDC_CMDCANCEL), BM_CLICK, 0, 0);
                  });
    Command(FrmCopy::IDM_mnuFileroperty);
    props.Join();
    ASSERT_TRUE(props.found()) << "no properties window";
    EXPECT_TRUE(pageShown) << "the Summary tab holds no resource browser";
    EXPECT_TRUE(waitedInWindow);
    EXPECT_TRUE(dialogOwnedByWindow);
    EXPECT_TRUE(waitedAfterDialog) << "the open dialog gave the main window its input back";
    EXPECT_TRUE(MainEnabled());
}

TEST_F(ProgramWindowsTest, AboutBoxShowsTheProgramsPicture) {
    const HICON picture = reinterpret_cast<HICON>(::SendMessageW(f_->Window(), WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(nullptr, picture);
    HICON shown = nullptr;
    Watcher about(salva::frmSplash::kCaption, [&](HWND box) {
        shown = reinterpret_cast<HICON>(
            ::SendMessageW(::GetDlgItem(box, salva::frmSplash::IDC_IMAGE2), STM_GETICON, 0, 0));
        ::PostMessageW(::GetDlgItem(box, salva::frmSplash::IDC_CMDOK), BM_CLICK, 0, 0);
    });
    Command(FrmCopy::IDM_mnuAboutMe);
    about.Join();
    ASSERT_TRUE(about.found());
    EXPECT_EQ(picture, shown);
}

TEST_F(ProgramWindowsTest, CopyAllAndAddFolderOpenTheirPickersAndCancelChangesNothing) {
    const std::wstring file = h_.dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(100)));
    ListOnly(file);
    std::atomic<bool> mainWaited{false};
    Watcher copyAll([] { return WaitForWindow(nullptr, L"#32770"); },
                    [&](HWND picker) {
                        mainWaited = !MainEnabled();
                        Cancel(picker);
                    });
    Command(FrmCopy::IDM_mnuCopyAllFilesTo);
    copyAll.Join();
    ASSERT_TRUE(copyAll.found()) << "copy all opened no folder picker";
    EXPECT_TRUE(mainWaited);
    EXPECT_TRUE(MainEnabled());

    Watcher add([&] { return WaitForOwnedWindow(f_->Window()); }, Cancel);
    Command(FrmCopy::IDM_mnuAddFileToListItem);
    add.Join();
    ASSERT_TRUE(add.found()) << "add a folder opened no folder picker";
    ASSERT_EQ(1, f_->FileListCount());
    EXPECT_EQ(Narrow(file), Narrow(f_->FileListItem(0)));
}

TEST_F(ProgramWindowsTest, RenameOpensThePopupOfTheCurrentFileAndCancelLeavesIt) {
    const std::wstring file = h_.dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(100)));
    ListOnly(file);
    Watcher popup([] { return WaitForWindow(nullptr, salva::frmDialog::ClassName()); },
                  [](HWND w) {
                      ::PostMessageW(::GetDlgItem(w, salva::frmDialog::IDC_PicCancel), WM_LBUTTONDOWN, MK_LBUTTON,
                                     MAKELPARAM(10, 10));
                  });
    Command(FrmCopy::IDM_mnuReName);
    popup.Join();
    ASSERT_TRUE(popup.found()) << "rename opened no popup";
    EXPECT_EQ(100, FileLength(file));
    ASSERT_EQ(1, f_->FileListCount());
    EXPECT_EQ(Narrow(file), Narrow(f_->FileListItem(0)));
}
