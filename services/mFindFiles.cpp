#include "mFindFiles.h"
#include "Holders.h"
#include "TrimAtNul.h"
#include "mDoEvents.h"
#include "Text.h"
#include "WaitCursor.h"
#include <commctrl.h>
#include <exception>

namespace salva::mFindFiles {
namespace {

void WalkLevel(std::wstring folder, const std::wstring& pattern, bool recurse, const AddItem& add) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    WIN32_FIND_DATAW entry{};
    // Each level owns its search handle, so a walk into a subfolder cannot disturb this one.
    unique_hfind search(::FindFirstFileW((folder + L"*.*").c_str(), &entry));
    if (!search) return;
    try {
        do {
            const std::wstring name = TrimAtNul(entry.cFileName, MAX_PATH);
            if (name != L"." && name != L"..") {
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    if (PatternMatches(name, pattern)) add(folder + name);
                } else if (recurse && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                    WalkLevel(folder + name, pattern, recurse, add);
                }
            }
            if (mDoEvents::InputPending() != 0) mDoEvents::PumpMessages();
            wait_cursor_scope::Show(IDC_APPSTARTING);
        } while (::FindNextFileW(search.get(), &entry));
    } catch (const std::exception&) {
        // A failure inside one folder ends the walk of that folder only.
    }
}

}  // namespace

bool PatternMatches(const std::wstring& name, const std::wstring& pattern) {
    if (Trim(pattern) == L"*.*") return true;
    return UpperTail(name, 3) == UpperTail(pattern, 3);
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, const AddItem& add) {
    wait_cursor_scope wait;
    WalkLevel(folder, pattern, recurse, add);
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, HWND imageCombo) {
    FindFiles(folder, pattern, recurse, [imageCombo](const std::wstring& path) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = -1;
        item.pszText = const_cast<wchar_t*>(path.c_str());
        ::SendMessageW(imageCombo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    });
}

}  // namespace salva::mFindFiles
