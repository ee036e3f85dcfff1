#include "mRecShellChangeNotifisSubClass.h"
#include "mRecShellChangeNotifiDef.h"
#include "mRecShellChangeNotifiShell.h"
#include "services/WindowSubclass.h"
#include <cstdint>
#include <cwchar>
#include <map>
#include <memory>
#include <string>

namespace salva {
namespace mRecShellChangeNotifisSubClass {
namespace {

const wchar_t kOldWndProc[] = L"OldWndProc";

std::map<HWND, std::unique_ptr<WindowSubclass>>& Subclasses() {
    static std::map<HWND, std::unique_ptr<WindowSubclass>> map;
    return map;
}

// The procedure the window had before, for passing messages on.
WNDPROC PreviousOf(HWND hwnd) {
    const auto& map = Subclasses();
    const auto it = map.find(hwnd);
    if (it != map.end()) return it->second->Previous();
    return reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kOldWndProc));
}

LRESULT PassOn(WNDPROC old, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return old ? ::CallWindowProcW(old, hwnd, msg, wParam, lParam) : ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::wstring HexHandle(HWND hwnd) {
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)));
    return buf;
}

}  // namespace

bool IsSubclassed(HWND hwnd) { return ::GetPropW(hwnd, kOldWndProc) != nullptr; }

bool SubclassWindow(HWND hwnd) {
    if (::IsWindow(hwnd) && !IsSubclassed(hwnd)) {
        auto subclass = std::make_unique<WindowSubclass>();
        if (subclass->Install(hwnd, NotifyWindowProc)) {
            if (::SetPropW(hwnd, kOldWndProc, reinterpret_cast<HANDLE>(subclass->Previous()))) {
                Subclasses()[hwnd] = std::move(subclass);
                return true;
            }
            subclass->Remove();
        }
    }
    ::MessageBoxW(nullptr, (L"Unable to successfully subclass &H" + HexHandle(hwnd)).c_str(), L"Salvadisk",
                  MB_OK | MB_ICONHAND);
    return false;
}

bool UnsubclassWindow(HWND hwnd) {
    if (!hwnd || !::GetPropW(hwnd, kOldWndProc) || !::RemovePropW(hwnd, kOldWndProc)) return false;
    auto& map = Subclasses();
    const auto it = map.find(hwnd);
    if (it == map.end()) return false;
    // With another subclass installed above, the link stays and only passes messages on.
    it->second->Remove();
    map.erase(it);
    return true;
}

LRESULT CALLBACK NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC old = PreviousOf(hwnd);
    switch (msg) {
    case WM_NCDESTROY:
        // Destroyed while still subclassed: the window's own procedure still has to see
        // the message to release what it holds.
        UnsubclassWindow(hwnd);
        ::MessageBoxW(nullptr, (L"Unubclassed &H" + HexHandle(hwnd)).c_str(), L"WndProc Error",
                      MB_OK | MB_ICONHAND);
        return PassOn(old, hwnd, msg, wParam, lParam);
    case mRecShellChangeNotifiShell::WM_SHELLNOTIFY:
        mRecShellChangeNotifiDef::OnShellNotify(hwnd, wParam, lParam);
        return 0;
    default:
        return PassOn(old, hwnd, msg, wParam, lParam);
    }
}

}  // namespace mRecShellChangeNotifisSubClass
}  // namespace salva
