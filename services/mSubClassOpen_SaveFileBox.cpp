#include "services/mSubClassOpen_SaveFileBox.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include "services/MainWindow.h"
#include "services/OpenDialogPane.h"
#include "services/OpenDialogRules.h"
#include "services/Text.h"
#include "services/TrimAtNul.h"
#include "services/WindowSubclass.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include <commdlg.h>
#include <cstring>
#include <vector>

namespace salva::mSubClassOpen_SaveFileBox {

namespace rules = open_dialog_rules;

namespace {

constexpr DWORD kAddFilesFlags = OFN_LONGNAMES | OFN_NODEREFERENCELINKS | OFN_EXPLORER | OFN_CREATEPROMPT |
                                 OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
// The dialogs without the source dialog's layout still get a hook: the one that guards the
// name box (NameGuardHook).
constexpr DWORD kSaveFlags = OFN_LONGNAMES | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
constexpr DWORD kOpenFlags = OFN_LONGNAMES | OFN_NODEREFERENCELINKS | OFN_EXPLORER | OFN_CREATEPROMPT |
                             OFN_HIDEREADONLY | OFN_ENABLEHOOK;
constexpr DWORD kSavePlainFlags = kSaveFlags | OFN_OVERWRITEPROMPT;

// Room for a multiple selection: the folder and every name.
constexpr size_t kLargeFileBuffer = 32767;
constexpr size_t kNameRoom = 255;
constexpr size_t kFileTitleChars = 515;
// The hook asks for the selected path in MAX_PATH characters.
constexpr uint32_t kSelectedPathChars = MAX_PATH;
// The name box: an edit box in the template Wine uses with a hook, a combo box in the other.
constexpr int kNameEdit = 0x480;
constexpr int kNameCombo = 0x47C;

// One record for every dialog of the program: each call sets the fields it needs, the others
// keep what an earlier call left. The buffers it points at live as long as it does. Blanks in
// the file buffer would show in the name box, so the buffers are NUL-filled.
struct DialogRecord {
    OPENFILENAMEW ofn{};
    std::vector<wchar_t> file;
    std::vector<wchar_t> fileTitle;
    std::wstring filter;
    std::wstring title;
};

UINT_PTR CALLBACK NameGuardHook(HWND window, UINT message, WPARAM, LPARAM);

DialogRecord& Record() {
    static DialogRecord r;
    return r;
}

// An enabled, shown window of this thread that `main` owns, directly or through others; the
// topmost such one.
HWND EnabledWindowOwnedBy(HWND main) {
    struct Query { HWND main, found; } q{main, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* q = reinterpret_cast<Query*>(p);
            if (!::IsWindowVisible(h) || !::IsWindowEnabled(h)) return TRUE;
            for (HWND o = ::GetWindow(h, GW_OWNER); o; o = ::GetWindow(o, GW_OWNER))
                if (o == q->main) {
                    q->found = h;
                    return FALSE;
                }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

// The main window owns the dialogs. While a modal window of the program holds it disabled,
// that window does instead: a dialog enables its owner again when it closes, which would free
// the main window under the modal one. The active window says which one it is, unless the
// activation went elsewhere (a dialog closed before it was ever active gives it back to none).
HWND DialogOwner() {
    MainWindow* main = TheMainWindow();
    HWND owner = main ? main->Handle() : nullptr;
    if (owner && !::IsWindowEnabled(owner)) {
        HWND active = ::GetActiveWindow();
        if (active && active != owner && ::IsWindowEnabled(active)) return active;
        if (HWND modal = EnabledWindowOwnedBy(owner)) return modal;
    }
    return owner;
}

void FillRecord(const std::wstring& title, const std::wstring& filter, const std::wstring& initialName,
                size_t room, DWORD flags, bool withHook) {
    static const wchar_t kNoInitialDir[] = L"";
    static const wchar_t kDefaultExt[] = L"dat\0";
    DialogRecord& r = Record();
    r.filter = filter;
    // The dialog reads the filter up to a double NUL.
    r.filter.append(2, L'\0');
    r.title = title;
    r.file.assign(initialName.size() + room + 2, L'\0');
    std::copy(initialName.begin(), initialName.end(), r.file.begin());
    r.fileTitle.assign(kFileTitleChars, L'\0');

    OPENFILENAMEW& o = r.ofn;
    // The 76-byte form every Windows version takes.
    o.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    o.hwndOwner = DialogOwner();
    o.lpstrFilter = r.filter.c_str();
    o.nFilterIndex = 1;
    o.lpstrFile = r.file.data();
    o.nMaxFile = static_cast<DWORD>(r.file.size());
    o.lpstrFileTitle = r.fileTitle.data();
    o.nMaxFileTitle = static_cast<DWORD>(r.fileTitle.size());
    o.lpstrInitialDir = kNoInitialDir;
    o.lpstrTitle = r.title.c_str();
    o.Flags = flags;
    o.lpstrDefExt = kDefaultExt;
    o.lpfnHook = withHook ? OpenSaveDialogHook : NameGuardHook;
}

std::wstring FileBufferText() {
    const DialogRecord& r = Record();
    return std::wstring(r.file.data(), r.file.size());
}

// The chosen path of a single-selection dialog.
std::wstring ChosenPath() { return TrimAtNul(Trim(FileBufferText())); }

// The dialog's own size and place: centred as it stood, then given the program's size.
void CentreAndSize(HWND dialog) {
    RECT r{};
    if (!::GetWindowRect(dialog, &r)) return;
    const POINT at = rules::CentredCorner(r, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::MoveWindow(dialog, at.x, at.y, rules::kDialogWidth, rules::kDialogHeight, TRUE);
}

// The preview pane beside the file view, and the dialog's own children where the program
// wants them.
void LayOutChildren(HWND dialog) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    if (OpenDialogPane* pane = CurrentOpenDialogPane()) {
        if (HWND w = pane->Window()) {
            const rules::Placement slot = rules::PaneSlot(client.right, client.bottom, pane->InnerSize(), pane->OuterSize());
            EmbedPreviewPane(w, dialog, slot.x, slot.y, slot.width, slot.height);
        }
    }
    rules::ChildCounters counters;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[5] = {};
        ::GetClassNameW(child, cls, 5);
        RECT r{};
        ::GetWindowRect(child, &r);
        rules::Placement p;
        if (rules::ChildPlacement(cls, r.bottom - r.top, counters, p)) ::MoveWindow(child, p.x, p.y, p.width, p.height, TRUE);
    }
}

// The selection the pane shows once it has rested: first its facts, then the media, both from
// one timer. One modal dialog at a time.
constexpr UINT_PTR kPreviewTimer = 0x5A1;
struct RestingSelection {
    std::wstring path;
    bool factsShown = false;
};
RestingSelection& Resting() {
    static RestingSelection selection;
    return selection;
}

void CALLBACK ShowRestingSelection(HWND window, UINT, UINT_PTR id, DWORD) {
    RestingSelection& resting = Resting();
    OpenDialogPane* pane = CurrentOpenDialogPane();
    if (!pane || resting.path.empty() || !CanOpenFile(resting.path)) {
        ::KillTimer(window, id);
        resting = RestingSelection{};
        return;
    }
    if (!resting.factsShown) {
        resting.factsShown = true;
        ::SetTimer(window, id, rules::kPreviewRestMs - rules::kFactsRestMs, ShowRestingSelection);
        pane->ShowFileFacts(resting.path);
        return;
    }
    ::KillTimer(window, id);
    const std::wstring path = std::move(resting.path);
    resting = RestingSelection{};
    pane->StopPlay();
    pane->OpenMediaFile(path);
}

// The subclass of the dialog that is open; one modal dialog at a time.
WindowSubclass& NameGuard() {
    static WindowSubclass guard;
    return guard;
}

// True, after telling the user, when OK would hand the dialog a name it makes too long a path
// of: one it cannot build without overrunning its own buffer, or one the file buffer cannot hold.
bool RefuseLongName(HWND dialog) {
    HWND box = ::GetDlgItem(dialog, kNameEdit);
    if (!box) box = ::GetDlgItem(dialog, kNameCombo);
    if (!box) return false;
    std::vector<wchar_t> folder(2 * MAX_PATH, L'\0');
    const LRESULT n = ::SendMessageW(dialog, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data()));
    const std::wstring dir = n > 0 && static_cast<size_t>(n) <= folder.size() ? folder.data() : L"";
    const OPENFILENAMEW& o = Record().ofn;
    size_t limit = MAX_PATH - 1;
    if (!(o.Flags & OFN_ALLOWMULTISELECT) && o.nMaxFile > 0) limit = std::min<size_t>(limit, o.nMaxFile - 1);
    const size_t length = rules::TypedPathLength(dir, WindowTextOf(box), o.lpstrDefExt ? o.lpstrDefExt : L"");
    if (length <= limit) return false;
    const std::wstring text = L"文件路径太长：共 " + std::to_wstring(length) + L" 个字符，对话框最多只能接受 " +
                              std::to_wstring(limit) + L" 个字符。\r\n请选择较短的文件夹或文件名。";
    ::MessageBoxW(dialog, text.c_str(), L"提醒！", MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(box);
    return true;
}

// Puts the name box's guard on the dialog: OK (the button or Enter) with too long a name keeps
// the dialog open.
void GuardNameBox(HWND dialog) {
    NameGuard().Remove();
    NameGuard().Install(dialog, [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(wp) == IDOK && RefuseLongName(h)) return 0;
        if (m == WM_NCDESTROY) NameGuard().Remove();
        return NameGuard().CallPrevious(h, m, wp, lp);
    });
}

// Hook of the dialogs without the source dialog's layout: the name box's guard only.
UINT_PTR CALLBACK NameGuardHook(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG)
        if (HWND dialog = ::GetParent(window)) GuardNameBox(dialog);
    return 0;
}

}  // namespace

void AddFilesByOpenDialog(const std::wstring& title, const std::wstring& filter, bool withHook) {
    FillRecord(title, filter, L"", kLargeFileBuffer, kAddFilesFlags, withHook);
    if (!::GetOpenFileNameW(&Record().ofn)) return;
    MainWindow* main = TheMainWindow();
    if (!main) return;
    const rules::OpenDialogResult chosen = rules::SplitOpenDialogResult(FileBufferText());
    if (chosen.hasEditText) {
        main->SetFileListText(chosen.editText);
        return;
    }
    for (const std::wstring& path : chosen.items) main->AddFileListItem(path);
    UpdateFileListInfo();
}

void AskSaveFileName(const std::wstring& title, const std::wstring& filter, bool withHook) {
    MainWindow* main = TheMainWindow();
    if (!main) return;
    const std::wstring suggested = FileSystem().GetFileName(main->FileListText());
    // The source dialog's layout hook never runs here (withHook or not): only the name guard.
    (void)withHook;
    FillRecord(title, filter, suggested, kNameRoom, kSaveFlags, false);
    BOOL chosen = ::GetSaveFileNameW(&Record().ofn);
    // A proposed name the dialog refuses (the list's text may be a message, not a path) would
    // keep the dialog from opening at all: ask again without one.
    if (!chosen && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME && !suggested.empty()) {
        FillRecord(title, filter, L"", kNameRoom, kSaveFlags, false);
        chosen = ::GetSaveFileNameW(&Record().ofn);
    }
    if (chosen) main->SetTargetText(ChosenPath());
}

std::wstring AskOpenFileName(const std::wstring& title, const std::wstring& filter) {
    FillRecord(title, filter, L"", kLargeFileBuffer, kOpenFlags, false);
    const std::wstring path = ::GetOpenFileNameW(&Record().ofn) ? ChosenPath() : std::wstring();
    mDoEvents::PumpMessages();
    return path;
}

std::wstring AskSaveFileNamePlain(const std::wstring& title, const std::wstring& filter) {
    FillRecord(title, filter, L"", kNameRoom, kSavePlainFlags, false);
    const std::wstring path = ::GetSaveFileNameW(&Record().ofn) ? ChosenPath() : std::wstring();
    mDoEvents::PumpMessages();
    return path;
}

bool CanOpenFile(const std::wstring& path) {
    std::wstring p = Trim(path);
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    if (p.empty()) return false;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open.
    unique_hfile file(::CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

UINT_PTR CALLBACK OpenSaveDialogHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
    HWND dialog = ::GetParent(window);
    switch (message) {
    case WM_INITDIALOG:
        if (!dialog) break;
        GuardNameBox(dialog);
        CentreAndSize(dialog);
        LayOutChildren(dialog);
        break;
    case WM_NOTIFY: {
        if (!lParam) break;
        NMHDR header{};
        std::memcpy(&header, reinterpret_cast<const void*>(lParam), sizeof(header));
        if (header.code == static_cast<UINT>(CDN_INITDONE)) {
            // Wine shrinks the dialog again after WM_INITDIALOG; its size and the layout are
            // set once more when it is ready.
            if (!dialog) break;
            ::SetWindowPos(dialog, nullptr, 0, 0, rules::kDialogWidth, rules::kDialogHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            LayOutChildren(dialog);
        } else if (header.code == static_cast<UINT>(CDN_SELCHANGE)) {
            OpenDialogPane* pane = CurrentOpenDialogPane();
            if (!pane) break;
            const std::wstring path = GetDialogFilePath(header.hwndFrom, CDM_GETFILEPATH, kSelectedPathChars);
            // A folder or an unreadable file leaves the previous preview in place. Another file
            // stops it at once; its facts and media wait until the selection rests (each change
            // starts the one timer again).
            if (CanOpenFile(path)) {
                pane->StopPlay();
                Resting() = RestingSelection{path, false};
                ::SetTimer(window, kPreviewTimer, rules::kFactsRestMs, ShowRestingSelection);
            }
        }
        break;
    }
    case WM_DESTROY:
        ::KillTimer(window, kPreviewTimer);
        Resting() = RestingSelection{};
        if (OpenDialogPane* pane = CurrentOpenDialogPane()) {
            pane->StopPlay();
            pane->Unload();
        }
        break;
    default:
        break;
    }
    return 0;
}

std::wstring GetDialogFilePath(HWND dialog, UINT message, uint32_t size) {
    if (!dialog || size == 0) return {};
    std::vector<wchar_t> buffer(size, L'\0');
    const LRESULT answer = ::SendMessageW(dialog, message, size, reinterpret_cast<LPARAM>(buffer.data()));
    return rules::PathFromAnswer(buffer, size, static_cast<intptr_t>(answer));
}

void EmbedPreviewPane(HWND child, HWND parent, int x, int y, int width, int height) {
    ::SetParent(child, parent);
    ::ShowWindow(child, SW_SHOWNORMAL);
    ::MoveWindow(child, x, y, width, height, TRUE);
}

}  // namespace salva::mSubClassOpen_SaveFileBox
