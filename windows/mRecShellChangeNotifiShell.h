// Registration of a window for the shell's change notifications of the whole namespace, and
// the log text of a notification.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <string>

namespace salva {
namespace mRecShellChangeNotifiShell {

// The message the shell sends to the registered window: wParam points to two item
// identifier lists (either may be null), lParam is the SHCNE_ event code.
constexpr UINT WM_SHELLNOTIFY = WM_USER + 1;

// The special folder's item identifier list (free it with CoTaskMemFree); null on failure.
LPITEMIDLIST GetSpecialFolderPidl(HWND hwnd, int folder);

// Registers `hwnd` once for every event of the desktop and everything below it. False when
// already registered or when the shell refuses.
bool RegisterShellNotify(HWND hwnd);
// Ends the registration; false when there is none or the shell refuses (state kept then).
bool DeregisterShellNotify();
bool IsRegistered();

// The Chinese log text of an event code (matched as a whole); empty for other codes.
std::wstring GetShellEventText(const std::wstring& path1, const std::wstring& path2, unsigned long eventCode);

}  // namespace mRecShellChangeNotifiShell
}  // namespace salva
