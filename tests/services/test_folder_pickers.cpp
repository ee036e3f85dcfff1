// The two folder pickers with their option panels, driven from another thread as a user
// would: the panel filled in, a folder chosen in the tree, OK or Cancel pressed.
#include "services/BrowseFolderRules.h"
#include "services/frmChooseDialog.h"
#include "services/frmSearchDialog.h"
#include "services/mSubClassBrowserFolder.h"
#include "TestSupport.h"
#include <commctrl.h>
#include <atomic>
#include <functional>

namespace picker = salva::mSubClassBrowserFolder;
namespace rules = salva::browse_folder_rules;
using testsupport::Narrow;
using testsupport::TempDir;

namespace {

// A child's rectangle in the picker's client area.
RECT ClientRectOf(HWND picker, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND NthChild(HWND picker, const wchar_t* cls, int n) {
    HWND h = nullptr;
    for (int i = 0; i < n; ++i) h = ::FindWindowExW(picker, h, cls, nullptr);
    return h;
}

// What the watcher saw of the open picker.
struct Seen {
    RECT picker{};
    RECT tree{}, ok{}, cancel{}, title{}, panel{};
    bool panelFound = false;
    bool selected = false;
};

// Waits for the picker, notes its layout, lets `fill` work on the panel, then chooses
// `folder` and presses OK (Cancel when `folder` is empty). The picker's call returns only once
// the picker is answered, so the watch lasts until the picker shows or the call has returned
// (Join): a watch that gave up first would leave the test waiting in the picker for ever, and
// the first picker of a process can take longer than any fixed watch on a slow, busy machine.
class PickerUser {
public:
    PickerUser(const wchar_t* panelClass, std::wstring folder, std::function<void(HWND panel)> fill)
        : watcher_([this] {
                       HWND p = nullptr;
                       while (!testsupport::WaitUntil("the folder picker (still waiting while its call runs)", 10000,
                                                      [&] {
                                                          p = testsupport::FindShownWindow(nullptr, L"#32770");
                                                          return p || returned_;
                                                      })) {
                       }
                       return p;
                   },
                   [this, panelClass, folder, fill](HWND p) {
                       ::GetWindowRect(p, &seen_.picker);
                       seen_.tree = ClientRectOf(p, ::FindWindowExW(p, nullptr, WC_TREEVIEWW, nullptr));
                       seen_.ok = ClientRectOf(p, NthChild(p, L"Button", 1));
                       seen_.cancel = ClientRectOf(p, NthChild(p, L"Button", 2));
                       seen_.title = ClientRectOf(p, NthChild(p, L"Static", 1));
                       HWND panel = ::FindWindowExW(p, nullptr, panelClass, nullptr);
                       seen_.panelFound = panel != nullptr && ::IsWindowVisible(panel);
                       if (panel) {
                           seen_.panel = ClientRectOf(p, panel);
                           fill(panel);
                       }
                       if (folder.empty()) {
                           ::PostMessageW(p, WM_COMMAND, IDCANCEL, 0);
                           return;
                       }
                       seen_.selected = testsupport::SelectFolderInPicker(p, folder);
                       ::PostMessageW(p, WM_COMMAND, seen_.selected ? IDOK : IDCANCEL, 0);
                   }) {}
    const Seen& Join() {
        returned_ = true;
        watcher_.Join();
        EXPECT_TRUE(watcher_.found()) << "no folder picker showed up";
        return seen_;
    }

private:
    Seen seen_;
    std::atomic<bool> returned_{false};
    testsupport::Watcher watcher_;
};

void Type(HWND panel, const wchar_t* text) {
    ::SendMessageW(::GetDlgItem(panel, salva::frmSearchDialog::IDC_txtText), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(text));
}

void Click(HWND panel, int id) { ::SendMessageW(::GetDlgItem(panel, id), BM_CLICK, 0, 0); }

}  // namespace

// Runs first in this process: no panel has been shown yet.
TEST(FolderPickers, GettersAreEmptyBeforeAnyPanelWasShown) {
    EXPECT_EQ(L"", picker::GetSearchPattern());
    EXPECT_FALSE(picker::GetSearchSubFolders());
    EXPECT_FALSE(picker::GetCopyToSameDir());
    // Values stored by a panel count only once a panel has been embedded.
    picker::StoreSearchPattern(L"*.VOB");
    picker::StoreCopyToSameDir(true);
    EXPECT_EQ(L"", picker::GetSearchPattern());
    EXPECT_FALSE(picker::GetCopyToSameDir());
}

TEST(FolderPickers, SearchPickerIsLaidOutAndReturnsFolderPatternAndSubfolders) {
    TempDir dir;
    PickerUser user(salva::frmSearchDialog::ClassName(), dir.path(), [](HWND panel) {
        Type(panel, L"*.DAT");
        Click(panel, salva::frmSearchDialog::IDC_chkSubFolder);
    });
    const std::wstring chosen = picker::BrowseForFolderWithSearchOptions(nullptr, L"选择待添加的文件目录");
    const Seen& s = user.Join();
    ASSERT_TRUE(s.selected);
    EXPECT_EQ(dir.path(), chosen) << Narrow(chosen);
    EXPECT_EQ(L"*.DAT", picker::GetSearchPattern());
    EXPECT_TRUE(picker::GetSearchSubFolders());

    const int w = s.picker.right - s.picker.left, h = s.picker.bottom - s.picker.top;
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - w) / 2, s.picker.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - (h - 26)) / 2, s.picker.top) << "height " << h;
    EXPECT_EQ(6, s.tree.left);
    EXPECT_EQ(50, s.tree.top);
    EXPECT_EQ(306, s.tree.right - s.tree.left);
    EXPECT_EQ(190, s.tree.bottom - s.tree.top);
    EXPECT_EQ(150, s.ok.left);
    EXPECT_EQ(266, s.ok.top);
    EXPECT_EQ(234, s.cancel.left);
    EXPECT_EQ(266, s.cancel.top);
    EXPECT_EQ(6, s.title.left);
    EXPECT_EQ(20, s.title.top);
    // The panel at the picker's left edge, 70 pixels above its bottom before it grew.
    ASSERT_TRUE(s.panelFound);
    EXPECT_EQ(0, s.panel.left);
    EXPECT_EQ(h - 26 - 70, s.panel.top);
    // The whole tree lies inside the picker.
    EXPECT_LE(s.tree.right, w - 2) << "picker " << w << " wide";
}

TEST(FolderPickers, CancelReturnsNothingButKeepsWhatWasTyped) {
    PickerUser user(salva::frmSearchDialog::ClassName(), L"", [](HWND panel) { Type(panel, L"*.VOB"); });
    const std::wstring chosen = picker::BrowseForFolderWithSearchOptions(nullptr, L"选择待添加的文件目录");
    user.Join();
    EXPECT_EQ(L"", chosen);
    EXPECT_EQ(L"*.VOB", picker::GetSearchPattern());
    // A fresh panel starts with an empty pattern and the box not ticked.
    EXPECT_FALSE(picker::GetSearchSubFolders());
}

TEST(FolderPickers, ChoosePickerReturnsFolderAndSameFolderChoiceLeavingThePatternAlone) {
    TempDir dir;
    const std::wstring before = picker::GetSearchPattern();
    PickerUser user(salva::frmChooseDialog::ClassName(), dir.path(),
                    [](HWND panel) { Click(panel, salva::frmChooseDialog::IDC_chkCopyToSameDir); });
    const std::wstring chosen = picker::BrowseForFolderWithChooseOptions(nullptr, L"选择文件保存路径");
    const Seen& s = user.Join();
    ASSERT_TRUE(s.selected);
    EXPECT_EQ(dir.path(), chosen) << Narrow(chosen);
    EXPECT_TRUE(picker::GetCopyToSameDir());
    EXPECT_EQ(before, picker::GetSearchPattern());

    const int h = s.picker.bottom - s.picker.top;
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - (h - 22)) / 2, s.picker.top);
    EXPECT_EQ(136, s.ok.left);
    EXPECT_EQ(272, s.ok.top);
    EXPECT_EQ(226, s.cancel.left);
    EXPECT_EQ(6, s.tree.left);
    ASSERT_TRUE(s.panelFound);
    EXPECT_EQ(::MulDiv(166, 96, 1440), s.panel.left);
    EXPECT_EQ(h - 22 - 70, s.panel.top);

    // The next picker's panel starts unticked again, and that is what it delivers.
    PickerUser again(salva::frmChooseDialog::ClassName(), L"", [](HWND) {});
    picker::BrowseForFolderWithChooseOptions(nullptr, L"选择文件保存路径");
    again.Join();
    EXPECT_FALSE(picker::GetCopyToSameDir());
}

TEST(FolderPickers, DriveRootKeepsItsBackslash) {
    PickerUser user(salva::frmChooseDialog::ClassName(), L"Z:\\", [](HWND) {});
    const std::wstring chosen = picker::BrowseForFolderWithChooseOptions(nullptr, L"选择文件保存路径");
    ASSERT_TRUE(user.Join().selected);
    EXPECT_EQ(L"Z:\\", chosen) << Narrow(chosen);
}

TEST(FolderPickerRules, NarrowPickerWidensForTheTreeAndOnlyTheFirstTitleAndTwoButtonsMove) {
    const RECT r{100, 50, 391, 392};  // 291 x 342, as Wine opens it
    const RECT b = rules::PickerBounds(rules::PickerKind::Search, r, 285, 1280, 1024);
    EXPECT_EQ(291 + (rules::kMinClientWidth - 285), b.right - b.left);
    EXPECT_EQ((1280 - (b.right - b.left)) / 2, b.left);
    EXPECT_EQ((1024 - 342) / 2, b.top);
    EXPECT_EQ(342 + 26, b.bottom - b.top);
    const RECT wide = rules::PickerBounds(rules::PickerKind::Choose, RECT{0, 0, 400, 300}, 394, 1280, 1024);
    EXPECT_EQ(400, wide.right - wide.left);
    EXPECT_EQ(322, wide.bottom - wide.top);

    rules::ChildCounters c;
    rules::Placement p;
    EXPECT_TRUE(rules::ChildPlacement(rules::PickerKind::Choose, L"Static", SIZE{270, 39}, c, p));
    EXPECT_EQ(6, p.x);
    EXPECT_EQ(270, p.width);
    EXPECT_FALSE(rules::ChildPlacement(rules::PickerKind::Choose, L"Static", SIZE{270, 20}, c, p));
    EXPECT_TRUE(rules::ChildPlacement(rules::PickerKind::Choose, L"Button", SIZE{75, 23}, c, p));
    EXPECT_TRUE(rules::ChildPlacement(rules::PickerKind::Choose, L"Button", SIZE{75, 23}, c, p));
    EXPECT_EQ(226, p.x);
    EXPECT_FALSE(rules::ChildPlacement(rules::PickerKind::Choose, L"Button", SIZE{75, 23}, c, p));
    EXPECT_FALSE(rules::ChildPlacement(rules::PickerKind::Choose, L"static", SIZE{1, 1}, c, p));
    // Wine's 88-pixel OK button ends before Cancel instead of covering 4 pixels of it.
    rules::ChildCounters wine;
    rules::Placement ok, cancel;
    ASSERT_TRUE(rules::ChildPlacement(rules::PickerKind::Search, L"Button", SIZE{88, 23}, wine, ok) &&
                rules::ChildPlacement(rules::PickerKind::Search, L"Button", SIZE{88, 23}, wine, cancel));
    EXPECT_LT(ok.x + ok.width, cancel.x) << ok.x << "+" << ok.width << " vs " << cancel.x;
    EXPECT_TRUE(rules::ChildPlacement(rules::PickerKind::Search, L"SysTreeView32", SIZE{1, 1}, c, p));
    EXPECT_EQ(306, p.width);
    EXPECT_EQ(190, p.height);
    EXPECT_FALSE(rules::ChildPlacement(rules::PickerKind::Search, L"SysTree", SIZE{1, 1}, c, p));
}
