#include "mRecShellChangeNotifiDef.h"
#include "frmSystem.h"
#include "mRecShellChangeNotifiShell.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include <shlwapi.h>
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

size_t ItemCount(LPCITEMIDLIST pidl) {
    size_t n = 0;
    for (auto p = reinterpret_cast<const BYTE*>(pidl); p && reinterpret_cast<const SHITEMID*>(p)->cb; ++n)
        p += reinterpret_cast<const SHITEMID*>(p)->cb;
    return n;
}

// Wine cuts a path it cannot hold to 259 or 260 characters, at any place, and the item list
// it reports carries the cut name too: a path that long is whole only when it names an
// existing item as deep as the list, under its own name.
bool WholePath(const std::wstring& path, LPCITEMIDLIST pidl) {
    if (path.size() < MAX_PATH - 1) return true;
    if (!ListedUnderItsName(path)) return false;
    unique_cotaskmem back(::SHSimpleIDListFromPath(path.c_str()));
    return back && ItemCount(static_cast<LPCITEMIDLIST>(back.get())) == ItemCount(pidl);
}

std::wstring CutPathNote(const std::wstring& begin) { return begin + L"…（路径太长，后面的部分无法取得）"; }

// The desktop's parsing name of the list: a path for an item of the file system.
std::wstring ParsingName(LPCITEMIDLIST pidl) {
    com_ptr<IShellFolder> desktop;
    STRRET name{};
    if (FAILED(::SHGetDesktopFolder(desktop.put())) || FAILED(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name)))
        return {};
    PWSTR text = nullptr;
    if (FAILED(::StrRetToStrW(&name, pidl, &text)) || !text) return {};
    unique_cotaskmem hold(text);
    return text;
}

}  // namespace

std::wstring TrimAtNull(const std::wstring& text) {
    const size_t nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

std::wstring GetPathFromIDList(LPCITEMIDLIST pidl) {
    // Where the shell has it (Vista on), the allocated form gives the whole path. Wine's gives
    // what its folders build in MAX_PATH characters: a path of that length may be cut.
    using NameFn = HRESULT(WINAPI*)(LPCITEMIDLIST, int, PWSTR*);
    static const auto byName = reinterpret_cast<NameFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), "SHGetNameFromIDList")));
    constexpr int kFileSystemPath = static_cast<int>(0x80058000);  // SIGDN_FILESYSPATH
    if (byName) {
        PWSTR name = nullptr;
        if (SUCCEEDED(byName(pidl, kFileSystemPath, &name)) && name) {
            unique_cotaskmem hold(name);
            const std::wstring path = name;
            return path.size() > MAX_PATH || WholePath(path, pidl) ? path : CutPathNote(path);
        }
    }
    // SHGetPathFromIDListW writes into MAX_PATH characters: a longer path fails, and Wine's
    // shell (whose folders build every path in MAX_PATH characters) cuts it to a name that
    // does not exist. Such a path is logged as far as it came, marked as cut.
    std::wstring buffer(MAX_PATH, L'\0');
    if (::SHGetPathFromIDListW(pidl, &buffer[0])) {
        const std::wstring path = TrimAtNull(buffer);
        return WholePath(path, pidl) ? path : CutPathNote(path);
    }
    // A list of the file system whose path did not fit.
    const std::wstring parsing = ParsingName(pidl);
    const bool fileSystem = (parsing.size() > 2 && parsing[1] == L':' && parsing[2] == L'\\') ||
                            parsing.compare(0, 2, L"\\\\") == 0;
    return fileSystem && parsing.size() >= MAX_PATH - 1 ? CutPathNote(parsing) : std::wstring();
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
