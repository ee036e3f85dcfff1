#include "services/mSubClassBrowserFolder.h"
#include "services/BrowseFolderRules.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include "services/TrimAtNul.h"
#include "services/frmChooseDialog.h"
#include "services/frmSearchDialog.h"
#include "services/mDoEvents.h"
#include <shlobj.h>

namespace salva::mSubClassBrowserFolder {

namespace rules = browse_folder_rules;

namespace {

// The module's values live as long as the program.
struct Values {
    std::wstring searchPattern;
    bool includeSubFolders = false;
    bool copyToSameDir = false;
    bool optionsPanelUsed = false;
    RECT layout{};  // the last picker rectangle read
};

Values& V() {
    static Values v;
    return v;
}

frmSearchDialog& SearchPanel() {
    static frmSearchDialog panel;
    return panel;
}

frmChooseDialog& ChoosePanel() {
    static frmChooseDialog panel;
    return panel;
}

int ScreenDpiX() {
    auto screen = unique_window_dc::client(nullptr);
    return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
}

// Reads the picker's rectangle into the module's layout rectangle.
bool ReadPickerRect(HWND picker) {
    RECT r{};
    if (!::GetWindowRect(picker, &r)) return false;
    V().layout = r;
    return true;
}

void PlacePanel(HWND panel, HWND picker, int left, int margin) {
    if (!panel) return;
    // A window of its own until now: as a child it moves with the picker and goes with it.
    const LONG_PTR style = ::GetWindowLongPtrW(panel, GWL_STYLE);
    ::SetWindowLongPtrW(panel, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
    ::SetParent(panel, picker);
    ::ShowWindow(panel, SW_SHOWNORMAL);
    RECT own{};
    ::GetWindowRect(panel, &own);
    const POINT at = rules::PanelCorner(left, margin, V().layout, ScreenDpiX());
    ::MoveWindow(panel, at.x, at.y, own.right - own.left, own.bottom - own.top, TRUE);
}

void LayOutPicker(HWND picker, rules::PickerKind kind) {
    if (!ReadPickerRect(picker)) return;
    RECT client{};
    ::GetClientRect(picker, &client);
    const RECT b = rules::PickerBounds(kind, V().layout, client.right, ::GetSystemMetrics(SM_CXSCREEN),
                                       ::GetSystemMetrics(SM_CYSCREEN));
    ::MoveWindow(picker, b.left, b.top, b.right - b.left, b.bottom - b.top, TRUE);
    rules::ChildCounters counters;
    for (HWND child = ::GetWindow(picker, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        RECT r{};
        ::GetWindowRect(child, &r);
        rules::Placement p;
        if (rules::ChildPlacement(kind, TrimAtNul(cls, 16), SIZE{r.right - r.left, r.bottom - r.top}, counters, p))
            ::MoveWindow(child, p.x, p.y, p.width, p.height, TRUE);
    }
}

template <typename Panel>
std::wstring Browse(HWND owner, const std::wstring& title, FolderPickerCallback callback, Panel& panel) {
    const std::wstring result = ShowFolderPicker(owner, title, BIF_RETURNONLYFSDIRS, callback);
    panel.Unload();
    mDoEvents::PumpMessages();
    return result;
}

}  // namespace

std::wstring BrowseForFolderWithSearchOptions(HWND owner, const std::wstring& title) {
    return Browse(owner, title, BrowseSearchCallback, SearchPanel());
}

std::wstring BrowseForFolderWithChooseOptions(HWND owner, const std::wstring& title) {
    return Browse(owner, title, BrowseChooseCallback, ChoosePanel());
}

std::wstring GetSearchPattern() { return V().optionsPanelUsed ? V().searchPattern : std::wstring(); }
bool GetSearchSubFolders() { return V().optionsPanelUsed && V().includeSubFolders; }
bool GetCopyToSameDir() { return V().optionsPanelUsed && V().copyToSameDir; }

void StoreSearchPattern(const std::wstring& pattern) { V().searchPattern = pattern; }
void StoreIncludeSubFolders(bool include) { V().includeSubFolders = include; }
void StoreCopyToSameDir(bool sameDir) { V().copyToSameDir = sameDir; }

int CALLBACK BrowseSearchCallback(HWND picker, UINT message, LPARAM, LPARAM) {
    if (message != BFFM_INITIALIZED) return 0;
    EmbedSearchDialog(SearchPanel(), picker, rules::kSearchPanelLeft, rules::kPanelMargin);
    LayOutPicker(picker, rules::PickerKind::Search);
    return 0;
}

int CALLBACK BrowseChooseCallback(HWND picker, UINT message, LPARAM, LPARAM) {
    if (message != BFFM_INITIALIZED) return 0;
    EmbedChooseDialog(ChoosePanel(), picker, rules::kChoosePanelLeft, rules::kPanelMargin);
    LayOutPicker(picker, rules::PickerKind::Choose);
    return 0;
}

void EmbedSearchDialog(frmSearchDialog& panel, HWND picker, int16_t left, int16_t margin) {
    if (!ReadPickerRect(picker)) return;
    V().optionsPanelUsed = true;
    if (!panel.Load()) return;
    V().searchPattern = panel.PatternText();
    V().includeSubFolders = panel.SubFoldersTicked();
    PlacePanel(panel.Window(), picker, left, margin);
}

void EmbedChooseDialog(frmChooseDialog& panel, HWND picker, int16_t left, int16_t margin) {
    if (!ReadPickerRect(picker)) return;
    V().optionsPanelUsed = true;
    if (!panel.Load()) return;
    V().copyToSameDir = panel.CopyToSameDirTicked();
    PlacePanel(panel.Window(), picker, left, margin);
}

}  // namespace salva::mSubClassBrowserFolder
