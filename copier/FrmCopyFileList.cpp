// The main window's file list: files dropped on the window, the list's reactions to a new
// current text, a chosen item and a key, and the list commands of the file menu.
#include "copier/FileDropTarget.h"
#include "copier/FileListRules.h"
#include "copier/FrmCopy.h"
#include "copier/TargetName.h"
#include "services/FileSystem.h"
#include "services/ModalHold.h"
#include "services/WaitCursor.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include "services/mFindFiles.h"
#include "services/mGetOSverioninfo.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include <commctrl.h>

namespace salva {

namespace {

// The commands that act on the current file or on every listed file: enabled while the list
// holds items.
const int kListCommands[] = {
    FrmCopy::IDM_mnuOpenFile,   FrmCopy::IDM_mnuClearSelectedItem, FrmCopy::IDM_mnuClearAllListItem,
    FrmCopy::IDM_mnuDelSeletedItem, FrmCopy::IDM_mnuReName,     FrmCopy::IDM_mnuCopyTo,
    FrmCopy::IDM_mnuMoveTo,     FrmCopy::IDM_mnuFindFile,          FrmCopy::IDM_mnuFileroperty,
    FrmCopy::IDM_mnuCopyAllFilesTo,
};

// Controls that take no drops: the title bar and the small pictures.
const int kRefuseDrops[] = {
    FrmCopy::IDC_picHTitleBar, FrmCopy::IDC_PicSmallIcon_16, FrmCopy::IDC_PicSmallIcon_16A,
    FrmCopy::IDC_PicSmallIcon_16B, FrmCopy::IDC_Image1_4,
};

void EnableItem(HMENU menu, int id, bool enabled) {
    ::EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void FrmCopy::SetUpFileList() {
    HWND combo = Control(IDC_cmbFileCopy);
    if (HWND edit = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0))) {
        fileListEditSubclass_.Install(edit, [this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if ((m == WM_KEYDOWN && cmbFileCopy_KeyDown(wp)) || (m == WM_CHAR && wp == L'\r' && CurrentFileExists()))
                return 0;
            return fileListEditSubclass_.CallPrevious(w, m, wp, lp);
        });
    }
    const auto handler = [this](bool drop) {
        return [this, drop](IDataObject* data, POINT pt, DWORD& effect) {
            if (!AcceptsDropAt(pt))
                effect = DROPEFFECT_NONE;
            else if (drop)
                cmbFileCopy_OLEDragDrop(data, effect);
            else
                cmbFileCopy_OLEDragOver(data, effect);
        };
    };
    dropTarget_ = new FileDropTarget(handler(false), handler(true));
    dropTarget_->Register(hwnd_);
    UpdateListMenus();
}

void FrmCopy::TearDownFileList() {
    fileListEditSubclass_.Remove();
    if (dropTarget_) {
        dropTarget_->Revoke();
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
}

IDropTarget* FrmCopy::DropTarget() const { return dropTarget_; }

// ---------------------------------------------------------------------------------------------
// The items

namespace {

uint64_t LengthOrNothing(const std::wstring& path) {
    uint64_t length = 0;
    return FileLength64(path, length) ? length : 0;
}

bool InsertListItem(HWND combo, int at, const std::wstring& path) {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = at;
    item.pszText = const_cast<wchar_t*>(path.c_str());
    return ::SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0;
}

}  // namespace

bool FrmCopy::AddFileListItem(const std::wstring& path) { return AddFileListItem(path, LengthOrNothing(path)); }

bool FrmCopy::AddFileListItem(const std::wstring& path, uint64_t size) {
    if (!InsertListItem(Control(IDC_cmbFileCopy), -1, path)) return false;
    listed_.push_back({path, size});
    return true;
}

void FrmCopy::ReplaceFileListItem(int index, const std::wstring& path) {
    if (!RemoveFileListItem(index)) return;
    if (InsertListItem(Control(IDC_cmbFileCopy), index, path))
        listed_.insert(listed_.begin() + index, {path, LengthOrNothing(path)});
}

bool FrmCopy::RemoveFileListItem(int index) {
    if (index < 0 || index >= FileListCount()) return false;
    if (::SendMessageW(Control(IDC_cmbFileCopy), CBEM_DELETEITEM, static_cast<WPARAM>(index), 0) == CB_ERR) return false;
    listed_.erase(listed_.begin() + index);
    return true;
}

void FrmCopy::RemoveFileListItems(const std::vector<size_t>& ascending) {
    if (ascending.empty()) return;
    HWND combo = Control(IDC_cmbFileCopy);
    // From the last down: no removal shifts an item still to go.
    std::vector<bool> gone(listed_.size(), false);
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
        if (*it >= listed_.size()) continue;
        if (::SendMessageW(combo, CBEM_DELETEITEM, static_cast<WPARAM>(*it), 0) != CB_ERR) gone[*it] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < listed_.size(); ++i)
        if (!gone[i]) listed_[kept++] = std::move(listed_[i]);
    listed_.resize(kept);
}

void FrmCopy::ClearFileListItems() {
    ::SendMessageW(Control(IDC_cmbFileCopy), CB_RESETCONTENT, 0, 0);
    listed_.clear();
}

int FrmCopy::FileListCount() const { return static_cast<int>(listed_.size()); }

std::wstring FrmCopy::FileListItem(int index) const {
    if (index < 0 || index >= FileListCount()) return {};
    return listed_[static_cast<size_t>(index)].path;
}

uint64_t FrmCopy::FileListBytes() const {
    uint64_t total = 0;
    for (const ListedFile& f : listed_) total += f.size;
    return total;
}

void FrmCopy::MeasureListedFiles() {
    for (ListedFile& f : listed_) f.size = LengthOrNothing(f.path);
}

void FrmCopy::HoldFileListRedraw(bool hold) {
    HWND combo = Control(IDC_cmbFileCopy);
    // Held on the inner combo too, which hands it on to its drop-down list: under Wine an
    // append then costs about a third less.
    HWND inner = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    if (hold) {
        if (listRedrawHolds_++ > 0) return;
        ::SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
        if (inner) ::SendMessageW(inner, WM_SETREDRAW, FALSE, 0);
    } else if (listRedrawHolds_ > 0 && --listRedrawHolds_ == 0) {
        if (inner) ::SendMessageW(inner, WM_SETREDRAW, TRUE, 0);
        ::SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

// ---------------------------------------------------------------------------------------------
// Drop

bool FrmCopy::AcceptsDropAt(POINT screen) const {
    // Held disabled by a modal window (properties, search, about, the batch copy), the window
    // takes no drops either; nor while a copy, running or paused, holds the list locked.
    if (!::IsWindowEnabled(hwnd_) || !::IsWindowEnabled(Control(IDC_cmbFileCopy))) return false;
    for (HWND w = ::WindowFromPoint(screen); w; w = ::GetParent(w)) {
        if (w == hwnd_) return true;
        for (int id : kRefuseDrops)
            if (w == Control(id)) return false;
        if (!(::GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) return false;
    }
    return false;
}

void FrmCopy::cmbFileCopy_OLEDragOver(IDataObject* data, DWORD& effect) {
    effect = FileDropTarget::HasFileList(data) ? (effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
}

void FrmCopy::cmbFileCopy_OLEDragDrop(IDataObject* data, DWORD& effect) {
    cmbFileCopy_OLEDragOver(data, effect);
    if (effect == DROPEFFECT_NONE) return;
    wait_cursor_scope wait(IDC_APPSTARTING);
    const std::vector<std::wstring> paths = FileDropTarget::DroppedPaths(data);
    std::vector<std::wstring> names;
    names.reserve(listed_.size());
    for (const ListedFile& f : listed_) names.push_back(f.path);
    const DropPlan plan = PlanDrop(names, paths);
    file_list_batch_scope batch(*this);
    RemoveFileListItems(plan.removed);
    const FileSystem fs;
    // A name the system opens as another file (a trailing dot or blank) or as a device is not
    // listed: it would be shown, measured and copied as something else.
    std::wstring refused;
    for (size_t i : plan.append) {
        const std::wstring& p = paths[i];
        if (const std::wstring why = NameRefusal(p); !why.empty()) {
            refused += (refused.empty() ? L"" : L"\r\n") + why;
            continue;
        }
        if (!fs.FileExists(p) || fs.FolderExists(p)) continue;
        AddFileListItem(p);
        // Each append costs the list control round trips to the system: a long drop lets
        // waiting messages through as it goes.
        mDoEvents::PumpWhenDue();
    }
    mSubClassOpen_SaveFileBox::UpdateFileListInfo();
    // The other program waits until the drop returns: the box comes after that.
    if (!refused.empty()) {
        dropRefusals_ += (dropRefusals_.empty() ? L"" : L"\r\n") + refused;
        ::PostMessageW(hwnd_, kTellDropRefusals, 0, 0);
    }
}

void FrmCopy::TellDropRefusals() {
    const std::wstring refused = std::exchange(dropRefusals_, std::wstring());
    if (!refused.empty()) ShowMessage(L"下列文件没有加入文件列表：\r\n" + refused, L"提醒！", MB_OK | MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------------------------------------
// The list's own events

bool FrmCopy::OnFileListCommand(int id, int code) {
    if (id != IDC_cmbFileCopy) return false;
    switch (code) {
    case CBN_EDITCHANGE:
        if (!settingListText_) cmbFileCopy_Change();
        break;
    case CBN_SELENDOK:
        cmbFileCopy_Click();
        break;
    default:
        break;
    }
    return true;
}

bool FrmCopy::CurrentFileExists() const { return FileSystem().FileExists(FileListText()); }

bool FrmCopy::CopyInHand() const { return engine_->Running() || engine_->State().Paused; }

void FrmCopy::cmbFileCopy_Change() {
    // The list and the text box inside it: erasing the list alone would blank the text.
    ::RedrawWindow(Control(IDC_cmbFileCopy), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateListMenus();
    if (FileListCount() == 0 || !CurrentFileExists()) return;
    const std::wstring current = FileListText();
    PrepareMediaFile(current);
    StopPreview();
    if (PreviewOn) PreviewLoaded = options_.windows.openPreview ? options_.windows.openPreview(current) : false;
    picHTitleBar_Paint();
}

void FrmCopy::cmbFileCopy_Click() {
    const int count = FileListCount();
    if (count == 0) return;
    wait_cursor_scope wait;
    HWND combo = Control(IDC_cmbFileCopy);
    const int selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= count) return;
    const std::wstring chosen = FileListItem(selected);
    const std::wstring target = WindowTextOf(Control(IDC_txtFileCopy));
    if (!target.empty()) SetTargetText(TargetFollowing(target, chosen));
    SetFileListText(chosen);
    mSubClassOpen_SaveFileBox::ShowCurrentItemInfo(selected + 1);
}

bool FrmCopy::cmbFileCopy_KeyDown(WPARAM key) {
    if (!CurrentFileExists()) return false;
    if (key == VK_DELETE) return true;  // the list's text is never cut by the key
    if (key == VK_RETURN) {
        FileSystem().OpenFile(FileListText(), hwnd_);
        return true;
    }
    return false;
}

void FrmCopy::UpdateListMenus() {
    HMENU menu = mnuFile_.get();
    if (!menu) return;
    const bool items = FileListCount() > 0;
    for (int id : kListCommands) EnableItem(menu, id, items);
    // The copy's own file stays where it is while the copy is running or paused.
    if (CopyInHand())
        for (int id : {IDM_mnuDelSeletedItem, IDM_mnuMoveTo, IDM_mnuReName, IDM_mnuCopyAllFilesTo})
            EnableItem(menu, id, false);
    // Commands whose window is not there.
    const CommandWindows& w = options_.windows;
    if (!w.rename) EnableItem(menu, IDM_mnuReName, false);
    if (!w.fileProperty) EnableItem(menu, IDM_mnuFileroperty, false);
    if (!w.copyAllFiles) EnableItem(menu, IDM_mnuCopyAllFilesTo, false);
    EnableItem(menu, IDM_mnuAddFileToListItem, static_cast<bool>(w.chooseFolderToAdd));
    EnableItem(menu, IDM_mnuAboutMe, static_cast<bool>(w.about));
    PreviewOn = (::GetMenuState(menu, IDM_mnuPreview, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void FrmCopy::PrepareMediaFile(const std::wstring& path) {
    if (FileListCount() == 0) return;
    const FileSystem fs;
    uint64_t length = 0;
    if (!FileLength64(path, length)) return;
    if (!ReadsAheadForPreview(path, static_cast<int64_t>(length), fs.GetDriveType(path))) return;
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    // Only brings the start of the file into the system's cache.
    char head[kReadAheadBytes];
    DWORD got = 0;
    ::ReadFile(file.get(), head, sizeof(head), &got, nullptr);
}

void FrmCopy::RemoveCurrentListItem() {
    if (FileListCount() == 0) return;
    const std::wstring current = FileListText();
    for (int i = 0; i < FileListCount(); ++i) {
        if (FileListItem(i) == current) {
            RemoveFileListItem(i);
            break;
        }
    }
    if (FileListCount() == 0)
        RefreshWindow();
    else
        mSubClassOpen_SaveFileBox::UpdateFileListInfo();
    const std::wstring target = WindowTextOf(Control(IDC_txtFileCopy));
    if (!target.empty()) SetTargetText(TargetFollowing(target, FileListText()));
}

// ---------------------------------------------------------------------------------------------
// Commands of the file menu

bool FrmCopy::OnFileMenuCommand(int id) {
    switch (id) {
    case IDM_mnuOpenFile: mnuOpenFile_Click(); break;
    case IDM_mnuPreview: mnuPreview_Click(); break;
    case IDM_mnuAddFileToListItem: mnuAddFileToListItem_Click(); break;
    case IDM_mnuClearSelectedItem: mnuClearSelectedItem_Click(); break;
    case IDM_mnuClearAllListItem: mnuClearAllListItem_Click(); break;
    case IDM_mnuDelSeletedItem: mnuDelSeletedItem_Click(); break;
    case IDM_mnuReName: mnuReName_Click(); break;
    case IDM_mnuCopyTo: mnuCopyTo_Click(); break;
    case IDM_mnuMoveTo: mnuMoveTo_Click(); break;
    case IDM_mnuFindFile: mnuFindFile_Click(); break;
    case IDM_mnuFileroperty: mnuFileroperty_Click(); break;
    case IDM_mnuCopyAllFilesTo: mnuCopyAllFilesTo_Click(); break;
    case IDM_mnuExit: mnuExit_Click(); break;
    case IDM_mnuAboutMe: mnuAboutMe_Click(); break;
    default: return false;
    }
    return true;
}

void FrmCopy::mnuAddFileToListItem_Click() {
    if (FileListFull(mGetOSverioninfo::GetOSPlatform(), FileListCount())) {
        ShowMessage(L"文件数目已超出了允许的最大范围，不能再添加文件到列表！", L"提醒！", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!options_.windows.chooseFolderToAdd) return;
    const FolderSearch choice = options_.windows.chooseFolderToAdd();
    if (choice.folder.empty()) return;
    mFindFiles::FindFiles(choice.folder, choice.pattern, choice.subFolders, *this);
    mSubClassOpen_SaveFileBox::UpdateFileListInfo();
}

void FrmCopy::mnuClearAllListItem_Click() {
    if (FileListCount() == 0) return;
    wait_cursor_scope wait;
    RefreshWindow();
}

void FrmCopy::mnuClearSelectedItem_Click() { RemoveCurrentListItem(); }

void FrmCopy::mnuCopyAllFilesTo_Click() {
    if (CopyInHand() || !options_.windows.copyAllFiles) return;
    if (FileListCount() == 0 || !CurrentFileExists()) return;
    window_hold_scope hold(hwnd_);
    batchRunning_ = true;
    options_.windows.copyAllFiles();
    batchRunning_ = false;
}

void FrmCopy::mnuCopyTo_Click() {
    if (FileListCount() == 0 || !CurrentFileExists()) return;
    FileSystem().FileCopyTo(hwnd_, FileListText());
}

void FrmCopy::mnuMoveTo_Click() {
    if (CopyInHand() || FileListCount() == 0 || !CurrentFileExists()) return;
    const std::wstring path = FileListText();
    const FileSystem fs;
    fs.FileMoveTo(hwnd_, path);
    // A file that stayed (moved into its own folder, refused) stays listed, as after a delete.
    if (!fs.FileExists(path)) RemoveCurrentListItem();
}

void FrmCopy::mnuDelSeletedItem_Click() {
    if (CopyInHand() || FileListCount() == 0) return;
    StopPreview();
    const std::wstring path = FileListText();
    const FileSystem fs;
    if (!fs.FileExists(path)) return;
    const int answer = ShowMessage(DeleteQuestion(path), L"提醒！", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDYES)
        fs.FileDeleted(path);
    else if (answer == IDNO)
        fs.FileDelToRecycle(path);
    else
        return;
    // A file the system kept (in use, protected) stays listed.
    if (!fs.FileExists(path)) RemoveCurrentListItem();
}

void FrmCopy::mnuReName_Click() {
    if (CopyInHand() || !options_.windows.rename) return;
    if (FileListCount() == 0 || !CurrentFileExists()) return;
    if (options_.unloadPreview) options_.unloadPreview();
    PumpMessages();
    options_.windows.rename();
}

void FrmCopy::mnuPreview_Click() {
    HMENU menu = mnuFile_.get();
    const bool on = (::GetMenuState(menu, IDM_mnuPreview, MF_BYCOMMAND) & MF_CHECKED) == 0;
    ::CheckMenuItem(menu, IDM_mnuPreview, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    PreviewOn = on;
    cmbFileCopy_Change();
}

void FrmCopy::mnuExit_Click() { ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

}  // namespace salva
