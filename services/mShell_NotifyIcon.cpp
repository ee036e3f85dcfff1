#include "services/mShell_NotifyIcon.h"
#include "services/WindowSubclass.h"
#include <shellapi.h>

namespace mShell_NotifyIcon {

namespace {

// Reused by every call.
NOTIFYICONDATAW g_record;
salva::WindowSubclass g_subclass;
HWND g_owner = nullptr;
HICON g_icon = nullptr;

void Fill(HWND owner, HICON icon, const std::wstring& tip, UINT flags) {
    g_record.cbSize = sizeof(NOTIFYICONDATAW);
    g_record.hWnd = owner;
    g_record.uID = 1;
    g_record.uFlags = flags;
    g_record.uCallbackMessage = TrayCallbackMessage;
    g_record.hIcon = icon;
    lstrcpynW(g_record.szTip, tip.c_str(), ARRAYSIZE(g_record.szTip));
}

SIZE ScreenSize() { return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

void AddTrayIcon(HWND owner, HICON icon, const std::wstring& tip) {
    g_record = NOTIFYICONDATAW{};
    Fill(owner, icon, tip, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
    lstrcpynW(g_record.szInfo, kBalloonText, ARRAYSIZE(g_record.szInfo));
    g_record.uTimeout = 2000;
    g_record.szInfoTitle[0] = L'\0';
    g_record.dwInfoFlags = NIIF_WARNING;
    ::Shell_NotifyIconW(NIM_ADD, &g_record);
    g_owner = owner;
    g_icon = icon;
    // A second add keeps the one subclass rather than chaining the tray procedure to itself.
    if (g_subclass.Window() == owner) return;
    g_subclass.Remove();
    g_subclass.Install(owner, TrayWindowProc);
}

void RemoveTrayIcon(HWND owner, HICON icon, const std::wstring& tip) {
    Fill(owner, icon, tip, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    ::Shell_NotifyIconW(NIM_DELETE, &g_record);
    if (g_subclass.Window() == owner) g_subclass.Remove();
    if (owner == g_owner) {
        g_owner = nullptr;
        g_icon = nullptr;
    }
}

void ModifyTrayIcon(HWND owner, HICON icon, const std::wstring& tip) {
    Fill(owner, icon, tip, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    ::Shell_NotifyIconW(NIM_MODIFY, &g_record);
}

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TrayCallbackMessage) {
        if (lParam == WM_LBUTTONDOWN) {
            HWND owner = g_owner ? g_owner : window;
            RemoveTrayIcon(owner, g_icon, kTrayTipRemoving);
            AnimateRestoreFromTray(owner);
            ::ShowWindow(owner, SW_SHOW);
        } else if (lParam == WM_MOUSEMOVE) {
            ModifyTrayIcon(g_owner ? g_owner : window, g_icon, kTrayTip);
        }
        return 0;
    }
    return g_subclass.CallPrevious(window, message, wParam, lParam);
}

POINT CentredPosition(SIZE screen, SIZE window) {
    return POINT{(screen.cx - window.cx) / 2, (screen.cy - window.cy) / 2};
}

void AnimateRestoreFromTray(HWND window) {
    RECT wr{};
    if (!::GetWindowRect(window, &wr)) return;
    const SIZE screen = ScreenSize();
    const SIZE size{wr.right - wr.left, wr.bottom - wr.top};
    const POINT at = CentredPosition(screen, size);
    const RECT from{screen.cx, screen.cy, screen.cx, screen.cy};
    const RECT to{at.x, at.y, at.x + 200, at.y + 200};
    ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TrayIconActive() { return g_subclass.Installed(); }

std::wstring CurrentTrayTip() { return g_record.szTip; }

}  // namespace mShell_NotifyIcon
