// Subclass of the operation log window, so that its window procedure sees the shell's
// change notification message. The previous procedure is kept in the window property
// "OldWndProc", whose presence marks the window as subclassed.
#pragma once
#include <windows.h>

namespace salva {
namespace mRecShellChangeNotifisSubClass {

// False (after a critical message box) when the window is already subclassed or the
// procedure cannot be replaced; nothing is left changed then.
bool SubclassWindow(HWND hwnd);
// Puts the previous procedure back; false when the window is not subclassed.
bool UnsubclassWindow(HWND hwnd);
bool IsSubclassed(HWND hwnd);

LRESULT CALLBACK NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace mRecShellChangeNotifisSubClass
}  // namespace salva
