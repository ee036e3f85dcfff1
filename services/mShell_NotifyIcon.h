// The main window's icon in the notification area. While the icon exists the owner window's
// window procedure is replaced by TrayWindowProc, which receives the icon's callback message.
#pragma once
#include <windows.h>
#include <string>

namespace mShell_NotifyIcon {

constexpr UINT TrayCallbackMessage = 0x808;
constexpr wchar_t kTrayTip[] = L"Salvadisk2.0";
// Tip used when the icon is removed.
constexpr wchar_t kTrayTipRemoving[] = L"Salvadisk2.0 ";
constexpr wchar_t kBalloonText[] = L"Salvadisk is Running...";

// Adds the icon with the balloon message and subclasses the owner.
void AddTrayIcon(HWND owner, HICON icon, const std::wstring& tip);
// Removes the icon and takes the tray subclass off the owner.
void RemoveTrayIcon(HWND owner, HICON icon, const std::wstring& tip);
void ModifyTrayIcon(HWND owner, HICON icon, const std::wstring& tip);
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The caption animation from the screen's bottom-right corner to the window's centred place;
// the window is then moved there.
void AnimateRestoreFromTray(HWND window);
// Top-left corner of the window centred on the screen.
POINT CentredPosition(SIZE screen, SIZE window);

// True while the icon is shown and the owner subclassed.
bool TrayIconActive();
// The tip text of the last call.
std::wstring CurrentTrayTip();

}  // namespace mShell_NotifyIcon
