#include "mRecShellChangeNotifiDef.h"
#include "frmSystem.h"
#include "mRecShellChangeNotifiShell.h"
#include <cstdint>
#include <cstring>

namespace salva {
namespace mRecShellChangeNotifiDef {
namespace {

std::wstring LastNotifyText;

bool Readable(const void* p, size_t size) {
    auto at = reinterpret_cast<uintptr_t>(p);
    const uintptr_t end = at + size;
    if (at == 0 || end < at) return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION mbi{};
        if (::VirtualQuery(reinterpret_cast<const void*>(at), &mbi, sizeof(mbi)) == 0) return false;
        if (mbi.State != MEM_COMMIT || (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) || mbi.Protect == 0)
            return false;
        at = reinterpret_cast<uintptr_t>(mbi.BaseAddress) + mbi.RegionSize;
    }
    return true;
}

// Walks an item identifier list up to its terminating zero size, checking each step.
bool ReadablePidl(const void* pidl) {
    if (!pidl) return true;
    auto p = static_cast<const BYTE*>(pidl);
    for (size_t total = 0; total < 65536;) {
        if (!Readable(p, sizeof(USHORT))) return false;
        USHORT cb = 0;
        std::memcpy(&cb, p, sizeof(cb));
        if (cb == 0) return true;
        if (cb < sizeof(USHORT) || !Readable(p, cb)) return false;
        p += cb;
        total += cb;
    }
    return false;
}

}  // namespace

std::wstring TrimAtNull(const std::wstring& text) {
    const size_t nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

std::wstring GetPathFromIDList(LPCITEMIDLIST pidl) {
    std::wstring buffer(MAX_PATH, L'\0');
    if (!::SHGetPathFromIDListW(pidl, &buffer[0])) return {};
    return TrimAtNull(buffer);
}

std::wstring GetNotifyPath(LPCITEMIDLIST pidl) { return GetPathFromIDList(pidl); }

bool IsNotifyParameter(WPARAM wParam) {
    const void* at = reinterpret_cast<const void*>(wParam);
    if (!Readable(at, 2 * sizeof(void*))) return false;
    const void* items[2] = {};
    std::memcpy(items, at, sizeof(items));
    return ReadablePidl(items[0]) && ReadablePidl(items[1]);
}

std::optional<std::wstring> NotifyText(WPARAM wParam, LPARAM lParam) {
    if (!IsNotifyParameter(wParam)) return std::nullopt;
    LPCITEMIDLIST items[2] = {};
    std::memcpy(items, reinterpret_cast<const void*>(wParam), sizeof(items));
    const std::wstring path1 = items[0] ? GetNotifyPath(items[0]) : std::wstring();
    const std::wstring path2 = items[1] ? GetNotifyPath(items[1]) : std::wstring();
    std::wstring text = mRecShellChangeNotifiShell::GetShellEventText(
                            path1, path2, static_cast<unsigned long>(lParam)) + L"\r\n";
    if (text == LastNotifyText) return std::nullopt;
    LastNotifyText = text;
    return text;
}

void ResetLastNotifyText() { LastNotifyText.clear(); }

void OnShellNotify(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    frmSystem* window = frmSystem::FromWindow(hwnd);
    if (!window) return;
    if (auto text = NotifyText(wParam, lParam)) window->WriteShellEntry(*text);
}

}  // namespace mRecShellChangeNotifiDef
}  // namespace salva
