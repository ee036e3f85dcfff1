#include "mFindFiles.h"
#include "Holders.h"
#include "TrimAtNul.h"
#include "mDoEvents.h"
#include <commctrl.h>
#include <exception>

namespace salva::mFindFiles {
namespace {

std::wstring Upper(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring LastThree(const std::wstring& text) { return text.size() <= 3 ? text : text.substr(text.size() - 3); }

std::wstring TrimBlanks(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

void SetPointer(const wchar_t* cursor) { ::SetCursor(::LoadCursorW(nullptr, cursor)); }

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
            SetPointer(IDC_APPSTARTING);
        } while (::FindNextFileW(search.get(), &entry));
    } catch (const std::exception&) {
        // A failure inside one folder ends the walk of that folder only.
    }
}

}  // namespace

bool PatternMatches(const std::wstring& name, const std::wstring& pattern) {
    if (TrimBlanks(pattern) == L"*.*") return true;
    return Upper(LastThree(name)) == Upper(LastThree(pattern));
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, const AddItem& add) {
    SetPointer(IDC_WAIT);
    WalkLevel(folder, pattern, recurse, add);
    SetPointer(IDC_ARROW);
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
