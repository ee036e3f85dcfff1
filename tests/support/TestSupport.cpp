#include "TestSupport.h"
#include <cstdlib>
#include <algorithm>
#include <chrono>
#include <commctrl.h>
#include <cstring>
#include <cwctype>

namespace testsupport {

std::wstring BinDir() { return SALVA_BIN_DIR; }

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"salva_test_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(::GetTickCount()) + L"_" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

namespace {

// A drive path as the file system has it: without the prefix, a name ending in a dot or a
// blank would name another file.
std::wstring Exact(const std::wstring& path) {
    return path.size() > 2 && path[1] == L':' ? L"\\\\?\\" + path : path;
}

}  // namespace

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd{};
    salva::unique_hfind find(::FindFirstFileW((Exact(path) + L"\\*").c_str(), &fd));
    if (find) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path + L"\\" + name;
            ::SetFileAttributesW(Exact(full).c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(full);
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(Exact(full).c_str());
            else
                ::DeleteFileW(Exact(full).c_str());
        } while (::FindNextFileW(find.get(), &fd));
    }
    find.reset();
    if (::RemoveDirectoryW(Exact(path).c_str()) || ::GetLastError() != ERROR_SHARING_VIOLATION) return;
    // A file dialog leaves the process in the last folder it showed (by any name: a drive
    // mapped onto the folder too), which then cannot go.
    wchar_t temp[MAX_PATH] = {};
    if (::GetTempPathW(MAX_PATH, temp) && ::SetCurrentDirectoryW(temp)) ::RemoveDirectoryW(Exact(path).c_str());
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    salva::unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(f.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> out;
    salva::unique_hfile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return out;
    uint8_t buf[65536];
    DWORD got = 0;
    while (::ReadFile(f.get(), buf, sizeof(buf), &got, nullptr) && got > 0) out.insert(out.end(), buf, buf + got);
    return out;
}

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
    std::vector<uint8_t> v(size);
    uint32_t x = seed * 2654435761u + 12345u;
    for (auto& b : v) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return v;
}

int64_t FileLength(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::string Narrow(const std::wstring& s) {
    if (s.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string JoinTexts(const std::vector<std::wstring>& texts) {
    std::string out;
    for (const auto& s : texts) out += Narrow(s) + "; ";
    return out;
}

std::vector<std::wstring> SortedTexts(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring s(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &s[0], static_cast<int>(s.size()))));
    return s;
}

std::wstring TipText(HWND tip, HWND owner) {
    std::vector<wchar_t> buffer(8192, L'\0');
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = 0;
    ti.lpszText = buffer.data();
    ::SendMessageW(tip, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&ti));
    return buffer.data();
}

std::vector<HWND> TipWindowsOf(HWND control) {
    struct Q {
        HWND owner;
        std::vector<HWND> tips;
    } q{control, {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* q = reinterpret_cast<Q*>(p);
            wchar_t cls[64] = {};
            ::GetClassNameW(h, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            if (::SendMessageW(h, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) && ti.hwnd == q->owner)
                q->tips.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.tips;
}

std::wstring ChildTexts(HWND box) {
    std::wstring all;
    ::EnumChildWindows(
        box,
        [](HWND c, LPARAM p) CALLBACK -> BOOL {
            *reinterpret_cast<std::wstring*>(p) += WindowText(c) + L"|";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

namespace {

// A visible top-level window of this process that `match` accepts; null when none is.
HWND FindMatchingWindow(const std::function<bool(HWND)>& match) {
    struct Query { const std::function<bool(HWND)>* match; HWND found; } q{&match, nullptr};
    ::EnumWindows(
            [](HWND h, LPARAM p) CALLBACK -> BOOL {
                auto* q = reinterpret_cast<Query*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(h, &pid);
                if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(h) || !(*q->match)(h)) return TRUE;
                q->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&q));
    return q.found;
}

// The same, waiting up to `timeoutMs` (scaled); `what` names it when the wait gives up.
HWND WaitForMatchingWindow(const std::function<bool(HWND)>& match, int timeoutMs, const std::string& what) {
    HWND found = nullptr;
    WaitUntil(what, timeoutMs, [&] { return (found = FindMatchingWindow(match)) != nullptr; });
    return found;
}

std::string Described(const wchar_t* caption, const wchar_t* className) {
    std::string what = "a window";
    if (caption) what += " \"" + Narrow(caption) + "\"";
    if (className) what += " of class " + Narrow(className);
    return what;
}

bool HasClass(HWND h, const wchar_t* className) {
    if (!className) return true;
    wchar_t cls[256] = {};
    ::GetClassNameW(h, cls, 256);
    return lstrcmpiW(cls, className) == 0;
}

}  // namespace

HWND FindShownWindow(const wchar_t* caption, const wchar_t* className) {
    return FindMatchingWindow([&](HWND h) { return (!caption || WindowText(h) == caption) && HasClass(h, className); });
}

HWND WaitForWindow(const wchar_t* caption, const wchar_t* className, int timeoutMs) {
    return WaitForMatchingWindow(
        [&](HWND h) { return (!caption || WindowText(h) == caption) && HasClass(h, className); }, timeoutMs,
        Described(caption, className));
}

std::wstring EnvText(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return {};
    wchar_t buf[1024] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, v, -1, buf, 1024);
    return buf;
}

HWND WaitForBoxSaying(const wchar_t* caption, const std::wstring& part, int timeoutMs) {
    return WaitForMatchingWindow(
        [&](HWND h) { return WindowText(h) == caption && ChildTexts(h).find(part) != std::wstring::npos; }, timeoutMs,
        Described(caption, nullptr) + " saying \"" + Narrow(part) + "\"");
}

HWND WaitForOwnedWindow(HWND owner, const wchar_t* className, int timeoutMs) {
    return WaitForMatchingWindow([&](HWND h) { return ::GetWindow(h, GW_OWNER) == owner && HasClass(h, className); },
                                 timeoutMs, Described(nullptr, className) + " owned by the window asked for");
}

namespace {

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    return ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)) ? std::wstring(text) : L"";
}

HTREEITEM TreeNext(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The child of `parent` (expanded first) whose text passes `match`; the tree fills children
// as it expands, so a loaded machine gets a few tries.
template <typename Match>
HTREEITEM ExpandedChild(HWND tree, HTREEITEM parent, const std::wstring& name, Match match) {
    HTREEITEM found = nullptr;
    WaitUntil("the folder picker's tree to show \"" + Narrow(name) + "\"", 5000, [&] {
        ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        for (HTREEITEM c = TreeNext(tree, parent, TVGN_CHILD); c && !found; c = TreeNext(tree, c, TVGN_NEXT))
            if (match(TreeItemText(tree, c))) found = c;
        return found != nullptr;
    }, 100);
    return found;
}

}  // namespace

bool SelectFolderInPicker(HWND picker, const std::wstring& folder) {
    HWND tree = nullptr;
    WaitUntil("the folder picker's tree", 5000, [&] {
        tree = ::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
        // The new dialog style nests the tree one level deeper.
        for (HWND child = ::GetWindow(picker, GW_CHILD); child && !tree; child = ::GetWindow(child, GW_HWNDNEXT))
            tree = ::FindWindowExW(child, nullptr, WC_TREEVIEWW, nullptr);
        return tree != nullptr;
    }, 100);
    if (!tree || folder.size() < 2 || folder[1] != L':') return false;
    // Wine names a drive under the computer item "<label> (Z:)".
    const std::wstring driveTag = std::wstring(L"(") + static_cast<wchar_t>(::towupper(folder[0])) + L":)";
    const auto isDrive = [&](std::wstring text) {
        for (wchar_t& c : text) c = static_cast<wchar_t>(::towupper(c));
        return text.find(driveTag) != std::wstring::npos;
    };
    HTREEITEM item = nullptr;
    WaitUntil("the folder picker's tree to show the drive " + Narrow(driveTag), 5000, [&] {
        const HTREEITEM desktop = TreeNext(tree, nullptr, TVGN_ROOT);
        for (HTREEITEM top = TreeNext(tree, desktop, TVGN_CHILD); top && !item; top = TreeNext(tree, top, TVGN_NEXT)) {
            ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
            for (HTREEITEM c = TreeNext(tree, top, TVGN_CHILD); c && !item; c = TreeNext(tree, c, TVGN_NEXT))
                if (isDrive(TreeItemText(tree, c))) item = c;
        }
        return item != nullptr;
    }, 100);
    size_t pos = 3;
    while (item && pos < folder.size()) {
        size_t end = folder.find(L'\\', pos);
        if (end == std::wstring::npos) end = folder.size();
        const std::wstring name = folder.substr(pos, end - pos);
        pos = end + 1;
        if (name.empty()) continue;
        item = ExpandedChild(tree, item, name,
                             [&](const std::wstring& text) { return lstrcmpiW(text.c_str(), name.c_str()) == 0; });
    }
    if (!item) return false;
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    return TreeNext(tree, nullptr, TVGN_CARET) == item;
}

UINT MouseClick(HWND control) {
    RECT rc{};
    ::GetWindowRect(control, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, click, sizeof(INPUT));
}

HWND FindControl(HWND root, int id) {
    struct F { int id; HWND h; } f{id, nullptr};
    ::EnumChildWindows(
        root,
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* f = reinterpret_cast<F*>(p);
            if (::GetDlgCtrlID(h) == f->id) {
                f->h = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.h;
}

RegisteredServer::RegisteredServer(const wchar_t* dllName) {
    dll_.reset(::LoadLibraryW((BinDir() + L"\\" + dllName).c_str()));
    if (!dll_) {
        result_ = HRESULT_FROM_WIN32(::GetLastError());
        return;
    }
    auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(dll_.get(), "DllRegisterServer"));
    result_ = reg ? reg() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    registered_ = SUCCEEDED(result_);
}

RegisteredServer::~RegisteredServer() {
    Unregister();
    ::CoFreeUnusedLibraries();
}

HRESULT RegisteredServer::Unregister() {
    if (!registered_) return S_FALSE;
    registered_ = false;
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(dll_.get(), "DllUnregisterServer"));
    return unreg ? unreg() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT InvokeByName(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT argc, VARIANT* result) {
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    RETURN_IF_FAILED(d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS p{args, nullptr, argc, 0};
    DISPID put = DISPID_PROPERTYPUT;
    if (flags & DISPATCH_PROPERTYPUT) {
        p.rgdispidNamedArgs = &put;
        p.cNamedArgs = 1;
    }
    EXCEPINFO ex{};
    const HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, result, &ex, nullptr);
    ::SysFreeString(ex.bstrSource);
    ::SysFreeString(ex.bstrDescription);
    ::SysFreeString(ex.bstrHelpFile);
    return hr == DISP_E_EXCEPTION && ex.scode ? ex.scode : hr;
}

Watcher::Watcher(const wchar_t* caption, std::function<void(HWND)> answer, const wchar_t* className,
                 int timeoutMs) {
    std::wstring cap = caption ? caption : L"";
    std::wstring cls = className ? className : L"";
    thread_ = std::thread([this, cap, cls, answer, timeoutMs] {
        HWND h = WaitForWindow(cap.empty() ? nullptr : cap.c_str(), cls.empty() ? nullptr : cls.c_str(), timeoutMs);
        found_ = h != nullptr;
        if (h) answer(h);
    });
}

Watcher::Watcher(std::function<HWND()> find, std::function<void(HWND)> answer) {
    thread_ = std::thread([this, find, answer] {
        HWND h = find();
        found_ = h != nullptr;
        if (h) answer(h);
    });
}

Watcher::~Watcher() { Join(); }

void Watcher::Join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace testsupport
