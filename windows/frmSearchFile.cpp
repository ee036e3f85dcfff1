#include "frmSearchFile.h"
#include "SearchHistory.h"
#include "services/FileSystem.h"
#include "services/MainWindow.h"
#include "services/ModalLoop.h"
#include "services/Text.h"
#include "services/ToolTips.h"
#include "services/TrimAtNul.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include "services/mT3D.h"
#include <shellapi.h>
#include <algorithm>
#include <exception>
#include <optional>

namespace salva {
namespace {

const wchar_t kCaption[] = L"文件搜索";
const wchar_t kDescription[] =
    L"该文件搜索对话框允许你在硬盘、网上邻居上搜索所有你需要的文件，并在Salvadisk程序的组合列表框中显示出来，"
    L"此时你可以根据需要进行添加、清除、复制、移动、删除、重命名文件等操作。";
const wchar_t kEmptyInput[] = L"要搜索的文件与文件搜索的范围不能为空.";
const wchar_t kNothingFound[] = L"没有找到所需要的文件";
const wchar_t kBrowseTitle[] = L"选择文件搜索范围";
const wchar_t kHistoryFileName[] = L"Salvadisksearch.ini";
// Profile values are read through a buffer of this many characters.
const DWORD kProfileValueRoom = 255;

const int kClientWidth = 440;
const int kClientHeight = 356;

struct ControlDesign {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, y, w, h;
};

constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCombo = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;

// In tab order.
const ControlDesign kControls[] = {
    {frmSearchFile::IDC_PicShow, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, 10, 10, 32, 32},
    {frmSearchFile::IDC_lblTitle, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 52, 8, 380, 48},
    {frmSearchFile::IDC_Line1, L"STATIC", L"", SS_ETCHEDHORZ, 10, 60, 420, 2},
    {frmSearchFile::IDC_lblTitle1, L"STATIC", L"输入要搜索的文件：[例如 *.DAT]", SS_LEFT | SS_NOPREFIX, 10, 70, 330, 16},
    {frmSearchFile::IDC_cmbFileSearchChoose, L"COMBOBOX", L"", kCombo, 10, 88, 330, 200},
    {frmSearchFile::IDC_lblTitle2, L"STATIC", L"选择文件搜索范围：", SS_LEFT | SS_NOPREFIX, 10, 118, 330, 16},
    {frmSearchFile::IDC_cmbFileSearchWide, L"COMBOBOX", L"", kCombo, 10, 136, 330, 200},
    {frmSearchFile::IDC_cmdFileBrower, L"BUTTON", L"浏 览[&B]...", kButton, 350, 135, 80, 24},
    {frmSearchFile::IDC_chkSubFolder, L"BUTTON", L"包含子文件夹[&S]", kCheck | WS_GROUP, 10, 170, 200, 18},
    {frmSearchFile::IDC_chkSearchFileSize_1, L"BUTTON", L"1KB到10M之间[&K]", kCheck, 10, 194, 200, 18},
    {frmSearchFile::IDC_chkSearchFileSize_2, L"BUTTON", L"10M-100M之间[&M]", kCheck, 10, 218, 200, 18},
    {frmSearchFile::IDC_chkSearchFileSize_3, L"BUTTON", L"1OOM到1G之间[&G]", kCheck, 10, 242, 200, 18},
    {frmSearchFile::IDC_chkReadOnlyFile, L"BUTTON", L"搜索只读文件[&R]", kCheck, 230, 170, 200, 18},
    {frmSearchFile::IDC_chkHideFile, L"BUTTON", L"搜索隐藏文件[&H]", kCheck, 230, 194, 200, 18},
    {frmSearchFile::IDC_chkSystemFile, L"BUTTON", L"搜索系统文件[&T]", kCheck, 230, 218, 200, 18},
    {frmSearchFile::IDC_chkArchiveFile, L"BUTTON", L"搜索存档文件[&A]", kCheck, 230, 242, 200, 18},
    {frmSearchFile::IDC_chkCompressFile, L"BUTTON", L"搜索压缩文件[&C]", kCheck, 230, 266, 200, 18},
    {frmSearchFile::IDC_Line2, L"STATIC", L"", SS_ETCHEDHORZ, 10, 292, 420, 2},
    {frmSearchFile::IDC_lblFilePath, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 10, 300, 420, 16},
    {frmSearchFile::IDC_cmdFileSearch, L"BUTTON", L"立即搜索[&I]", kButton | WS_GROUP, 104, 322, 104, 26},
    {frmSearchFile::IDC_cmdFileStopSearch, L"BUTTON", L"停止搜索[&P]", kButton, 216, 322, 104, 26},
    {frmSearchFile::IDC_cmdExit, L"BUTTON", L"确 定[&O]   ", kButton, 328, 322, 104, 26},
};

struct ButtonTip {
    int id;
    const wchar_t* text;
};
const ButtonTip kTips[] = {
    {frmSearchFile::IDC_cmdFileSearch, L"立即搜索"},
    {frmSearchFile::IDC_cmdFileBrower, L"浏览目录以选择文件搜索范围"},
    {frmSearchFile::IDC_cmdFileStopSearch, L"停止搜索"},
    {frmSearchFile::IDC_cmdExit, L"确定退出"},
};

const int kSizeBoxIds[3] = {frmSearchFile::IDC_chkSearchFileSize_1, frmSearchFile::IDC_chkSearchFileSize_2,
                            frmSearchFile::IDC_chkSearchFileSize_3};

std::wstring ComboItem(HWND combo, int index) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void AddComboItem(HWND combo, const std::wstring& text) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

frmSearchFile::frmSearchFile() : historyFile_(DefaultHistoryFilePath()) {}

frmSearchFile::~frmSearchFile() {
    // Destroyed here, while the window's own handlers can still run its unload.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::wstring frmSearchFile::GetSystemDir() {
    std::wstring dir;
    const UINT needed = ::GetSystemDirectoryW(nullptr, 0);
    if (needed > 0) {
        std::wstring buffer(needed, L'\0');
        const UINT got = ::GetSystemDirectoryW(&buffer[0], needed);
        if (got > 0 && got < needed) dir = buffer.substr(0, got);
    }
    if (dir.empty() || dir.back() != L'\\') dir += L'\\';
    return dir;
}

std::wstring frmSearchFile::DefaultHistoryFilePath() { return GetSystemDir() + kHistoryFileName; }

bool frmSearchFile::Load(HWND owner) {
    if (hwnd_) return true;
    unloadDone_ = false;
    RECT r{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // Centred over the owner, or over the screen without one.
    RECT over{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (owner) ::GetWindowRect(owner, &over);
    const int x = std::max(0L, over.left + (over.right - over.left - w) / 2);
    const int y = std::max(0L, over.top + (over.bottom - over.top - h) / 2);
    if (!CreateWindowOf(exStyle, kCaption, style, x, y, w, h, owner)) return false;
    Form_Load();
    return true;
}

void frmSearchFile::ShowModal(HWND owner) {
    if (Load(owner)) RunModal(hwnd_, true);
}

void frmSearchFile::CreateControls() {
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    for (const ControlDesign& c : kControls) {
        ::CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.w, c.h, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), inst, nullptr);
    }
    SetChecked(IDC_chkSubFolder, true);

    HICON large = nullptr;
    if (::ExtractIconExW(L"shell32.dll", 22, &large, nullptr, 1) == 1 && large) picture_.reset(large);
    ::SendMessageW(Control(IDC_PicShow), STM_SETICON,
                   reinterpret_cast<WPARAM>(picture_ ? picture_.get() : ::LoadIconW(nullptr, IDI_INFORMATION)), 0);

    // Enter in the pattern's edit field starts the search; the field asks for the key so that
    // the dialog keys leave it there.
    HWND patternEdit = ::GetWindow(Control(IDC_cmbFileSearchChoose), GW_CHILD);
    patternEdit_.Install(patternEdit, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        switch (msg) {
        case WM_GETDLGCODE:
            if (wp == VK_RETURN) return patternEdit_.CallPrevious(h, msg, wp, lp) | DLGC_WANTALLKEYS;
            break;
        case WM_KEYDOWN:
            if (wp == VK_RETURN) {
                cmbFileSearchChoose_KeyDown(wp);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wp == L'\r') return 0;
            break;
        }
        return patternEdit_.CallPrevious(h, msg, wp, lp);
    });
    for (size_t i = 0; i < sizeBoxes_.size(); ++i) {
        WindowSubclass& box = sizeBoxes_[i];
        const int id = kSizeBoxIds[i];
        box.Install(Control(id), [this, &box, id](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            switch (msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                chkSearchFileSize_MouseDown(id);
                break;
            }
            return box.CallPrevious(h, msg, wp, lp);
        });
    }
}

void frmSearchFile::Form_Load() {
    mT3D::ApplyWindowFontRule(hwnd_);
    for (const ButtonTip& tip : kTips) {
        // The tip window stays with its button after the object goes.
        ToolTips tips;
        tips.OwnerhWnd(Control(tip.id));
        tips.ToolTipsTitle(L"");
        tips.ToolTipsText(tip.text);
        tips.CreateToolTipsWindow();
    }
    ::SetWindowTextW(Control(IDC_lblTitle), kDescription);
    FillDriveList();
    LoadSearchHistory();
    focus_ = Control(IDC_cmbFileSearchChoose);
}

void frmSearchFile::Form_Paint() {
    paint_scope paint(hwnd_);
    for (int id : {IDC_cmdFileSearch, IDC_cmdFileBrower, IDC_cmdFileStopSearch, IDC_cmdExit})
        mT3D::DrawControlFrame3D(hwnd_, Control(id), 1, mT3D::Frame3DSunken);
    for (int id : {IDC_cmbFileSearchChoose, IDC_cmbFileSearchWide})
        mT3D::DrawControlFrame3D(hwnd_, Control(id), 1, mT3D::Frame3DRaised, 0x80000000u | COLOR_WINDOW);
}

bool frmSearchFile::Form_QueryUnload() { return !isSearching_; }

void frmSearchFile::Form_Unload() {
    if (unloadDone_) return;
    unloadDone_ = true;
    SaveSearchHistory();
}

void frmSearchFile::FillDriveList() {
    HWND scope = Control(IDC_cmbFileSearchWide);
    // The list comes in a buffer sized from the length the system reports.
    for (const std::wstring& root : LogicalDriveRoots()) AddComboItem(scope, UpperCase(root));
    ::SetWindowTextW(scope, ComboItem(scope, 0).c_str());
}

uint32_t frmSearchFile::GetAttributeMask() const {
    file_search::AttributeBoxes boxes;
    boxes.readOnly = Checked(IDC_chkReadOnlyFile);
    boxes.hidden = Checked(IDC_chkHideFile);
    boxes.system = Checked(IDC_chkSystemFile);
    boxes.archive = Checked(IDC_chkArchiveFile);
    boxes.compressed = Checked(IDC_chkCompressFile);
    return file_search::AttributeMask(boxes);
}

// ---- Buttons and boxes ---------------------------------------------------------------------

void frmSearchFile::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_cmdFileSearch: cmdFileSearch_Click(); break;
    case IDC_cmdFileStopSearch: cmdFileStopSearch_Click(); break;
    case IDC_cmdFileBrower: cmdFileBrower_Click(); break;
    case IDC_cmdExit: cmdExit_Click(); break;
    default: break;
    }
}

void frmSearchFile::cmdFileSearch_Click() {
    // A click that reaches the button while a walk runs (through the walk's own message
    // handling) starts nothing.
    if (isSearching_) return;
    stopRequested_ = false;
    SearchFiles(WindowTextOf(Control(IDC_cmbFileSearchWide)), WindowTextOf(Control(IDC_cmbFileSearchChoose)));
    isSearching_ = false;
    criteria_.exactMatch = false;
}

void frmSearchFile::cmdFileStopSearch_Click() {
    // Search and Browse come back once the stopped walk has unwound.
    stopRequested_ = true;
}

void frmSearchFile::cmdFileBrower_Click() {
    const std::wstring folder = FileSystem().GetBrowseDirectoryWin9X(hwnd_, kBrowseTitle);
    if (!folder.empty()) ::SetWindowTextW(Control(IDC_cmbFileSearchWide), folder.c_str());
}

void frmSearchFile::cmdExit_Click() {
    if (isSearching_) return;
    ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void frmSearchFile::cmbFileSearchChoose_KeyDown(WPARAM key) {
    if (key != VK_RETURN) return;
    HWND combo = Control(IDC_cmbFileSearchChoose);
    if (::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    if (::IsWindowEnabled(Control(IDC_cmdFileSearch))) cmdFileSearch_Click();
}

void frmSearchFile::chkSearchFileSize_MouseDown(int id) {
    // Under the mouse the size boxes act as one group; the pressed box then toggles as usual.
    std::vector<int> others;
    for (int other : kSizeBoxIds)
        if (other != id) others.push_back(other);
    if (Checked(others[0]) || Checked(others[1]))
        for (int other : others) SetChecked(other, false);
}

// ---- The search ----------------------------------------------------------------------------

void frmSearchFile::SearchFiles(const std::wstring& scope, const std::wstring& pattern) {
    if (scope.empty() || pattern.empty()) {
        ShowStatus(kEmptyInput);
        mDoEvents::PumpMessages();
        mT3D::SleepMs(2000);
        ShowStatus(L"");
        return;
    }
    isSearching_ = true;
    ::EnableWindow(Control(IDC_cmdFileSearch), FALSE);
    ::EnableWindow(Control(IDC_cmdFileBrower), FALSE);
    MainWindow* main = TheMainWindow();
    if (main) main->RefreshWindow();
    AddComboItem(Control(IDC_cmbFileSearchChoose), pattern);
    criteria_.pattern = pattern;
    criteria_.exactMatch = file_search::IsExactPattern(pattern);
    criteria_.attributeMask = GetAttributeMask();
    // The first examined path shows at once.
    pathShownAt_ = ::GetTickCount() - kPathIntervalMs;
    try {
        std::optional<file_list_batch_scope> batch;
        if (main) batch.emplace(*main);
        SearchFolder(file_search::ScopeFolder(scope));
    } catch (const std::exception&) {
        // What was found so far stays in the list.
    }
    if (!unshownPath_.empty()) ShowStatus(unshownPath_);
    unshownPath_.clear();
    ShowStatus(file_search::FoundText(foundCount_));
    main = TheMainWindow();
    if (main && foundCount_ == 0) {
        main->RefreshWindow();
        main->SetFileListText(kNothingFound);
    } else if (main) {
        mSubClassOpen_SaveFileBox::UpdateFileListInfo();
    }
    foundCount_ = 0;
    isSearching_ = false;
    criteria_.exactMatch = false;
    ::EnableWindow(Control(IDC_cmdFileSearch), TRUE);
    ::EnableWindow(Control(IDC_cmdFileBrower), TRUE);
}

void frmSearchFile::SearchFolder(const std::wstring& folder) { mFindFiles::WalkFolder(folder, *this); }

mFindFiles::EntryStep frmSearchFile::Entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) {
    using mFindFiles::EntryStep;
    // After Stop no entry is examined and no folder entered: each level ends at its next entry.
    if (stopRequested_) return EntryStep::EndFolder;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // The box is read again for every entry, so a change applies from the next one on.
        if (Checked(IDC_chkSubFolder)) return EntryStep::EnterFolder;
        ShowExaminedPath(path);
        return EntryStep::Next;
    }
    try {
        const std::wstring name = TrimAtNul(entry.cFileName, MAX_PATH);
        // The length comes with the listing, at any size.
        const uint64_t size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        const file_search::SizeBoxes sizeBoxes{Checked(IDC_chkSearchFileSize_1), Checked(IDC_chkSearchFileSize_2),
                                               Checked(IDC_chkSearchFileSize_3)};
        if (file_search::AcceptsFile(criteria_, name, size, entry.dwFileAttributes, sizeBoxes) &&
            !AddFoundFile(path, size))
            return EntryStep::EndFolder;
    } catch (const std::exception&) {
        // A file that cannot be examined is passed over alone.
        return EntryStep::Next;
    }
    ShowExaminedPath(path);
    return EntryStep::Next;
}

bool frmSearchFile::AddFoundFile(const std::wstring& path, uint64_t size) {
    MainWindow* main = TheMainWindow();
    if (!main || !main->AddFileListItem(path, size)) return false;
    ++foundCount_;
    return true;
}

void frmSearchFile::ShowExaminedPath(const std::wstring& path) {
    // The label paints at once on every change: a walk through thousands of entries shows only
    // some of them, and the last one when it ends.
    const DWORD now = ::GetTickCount();
    if (now - pathShownAt_ < kPathIntervalMs) {
        unshownPath_ = path;
        return;
    }
    pathShownAt_ = now;
    unshownPath_.clear();
    ShowStatus(path);
}

// ---- Pattern history -----------------------------------------------------------------------

std::wstring frmSearchFile::ReadINIfile(const std::wstring& file, const std::wstring& section,
                                        const std::wstring& key, const std::wstring& defaultValue) const {
    wchar_t buffer[kProfileValueRoom] = {};
    const DWORD got = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                 kProfileValueRoom, file.c_str());
    if (got == 0) return {};
    return TrimAtNul(buffer, kProfileValueRoom);
}

bool frmSearchFile::WriteINIfile(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& value) const {
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

void frmSearchFile::LoadSearchHistory() {
    HWND combo = Control(IDC_cmbFileSearchChoose);
    for (int i = 0; i < search_history::kMaxEntries; ++i) {
        const std::wstring value =
            ReadINIfile(historyFile_, search_history::kSection, search_history::Key(i), ComboItem(combo, i));
        if (value.empty()) break;
        AddComboItem(combo, value);
    }
    ::SetWindowTextW(combo, ComboItem(combo, 0).c_str());
}

void frmSearchFile::SaveSearchHistory() {
    const auto writes = search_history::Writes(PatternList());
    if (writes.empty()) return;
    std::vector<std::wstring> patterns;
    for (const auto& write : writes) patterns.push_back(write.second);
    search_history::PrepareHistoryFile(historyFile_, patterns);
    for (const auto& [key, value] : writes)
        WriteINIfile(historyFile_, search_history::kSection, key, value);
}

std::vector<std::wstring> frmSearchFile::PatternList() const {
    HWND combo = Control(IDC_cmbFileSearchChoose);
    std::vector<std::wstring> list;
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) list.push_back(ComboItem(combo, i));
    return list;
}

// ---- Helpers and messages ------------------------------------------------------------------

bool frmSearchFile::Checked(int id) const {
    return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmSearchFile::SetChecked(int id, bool checked) {
    ::SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void frmSearchFile::ShowStatus(const std::wstring& text) { ::SetWindowTextW(Control(IDC_lblFilePath), text.c_str()); }

LRESULT frmSearchFile::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_PAINT:
        Form_Paint();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_ACTIVATE:
        // The keyboard focus comes back to the control that had it, as in a dialog box.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus)) focus_ = focus;
        } else if (::IsWindow(focus_) && ::IsChild(hwnd_, focus_)) {
            ::SetFocus(focus_);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (Form_QueryUnload()) ::DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        // Also when something else destroys the window: the history is stored all the same.
        Form_Unload();
        patternEdit_.Remove();
        for (WindowSubclass& box : sizeBoxes_) box.Remove();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
