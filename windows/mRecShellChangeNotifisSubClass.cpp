#include "mRecShellChangeNotifisSubClass.h"
#include "mRecShellChangeNotifiDef.h"
#include "mRecShellChangeNotifiShell.h"
#include <cstdint>
#include <cwchar>
#include <string>

namespace salva {
namespace mRecShellChangeNotifisSubClass {
namespace {

const wchar_t kOldWndProc[] = L"OldWndProc";

std::wstring HexHandle(HWND hwnd) {
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)));
    return buf;
}

}  // namespace

bool IsSubclassed(HWND hwnd) { return ::GetPropW(hwnd, kOldWndProc) != nullptr; }

bool SubclassWindow(HWND hwnd) {
    bool ok = false;
    LONG_PTR old = 0;
    bool propSet = false;
    if (::IsWindow(hwnd) && !IsSubclassed(hwnd)) {
        old = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NotifyWindowProc));
        if (old != 0) {
            propSet = ::SetPropW(hwnd, kOldWndProc, reinterpret_cast<HANDLE>(old)) != FALSE;
            ok = propSet;
        }
    }
    if (ok) return true;
    if (old != 0) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, old);
        if (propSet) ::RemovePropW(hwnd, kOldWndProc);
    }
    ::MessageBoxW(nullptr, (L"Unable to successfully subclass &H" + HexHandle(hwnd)).c_str(), L"Salvadisk",
                  MB_OK | MB_ICONHAND);
    return false;
}

bool UnsubclassWindow(HWND hwnd) {
    const auto old = reinterpret_cast<LONG_PTR>(::GetPropW(hwnd, kOldWndProc));
    if (old == 0 || !::RemovePropW(hwnd, kOldWndProc)) return false;
    return ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, old) != 0;
}

LRESULT CALLBACK NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto old = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kOldWndProc));
    switch (msg) {
    case WM_NCDESTROY:
        // Destroyed while still subclassed: the window's own procedure still has to see
        // the message to release what it holds.
        UnsubclassWindow(hwnd);
        ::MessageBoxW(nullptr, (L"Unubclassed &H" + HexHandle(hwnd)).c_str(), L"WndProc Error",
                      MB_OK | MB_ICONHAND);
        return old ? ::CallWindowProcW(old, hwnd, msg, wParam, lParam) : ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case mRecShellChangeNotifiShell::WM_SHELLNOTIFY:
        mRecShellChangeNotifiDef::OnShellNotify(hwnd, wParam, lParam);
        return 0;
    default:
        return old ? ::CallWindowProcW(old, hwnd, msg, wParam, lParam) : ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace mRecShellChangeNotifisSubClass
}  // namespace salva
