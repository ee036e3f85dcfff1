// Showing a window modally: every other visible, enabled window of the thread is disabled, the
// window is shown and messages run until it is hidden or destroyed; the disabled windows are
// enabled again on the way out. A WM_QUIT met meanwhile is posted again for the outer loop.
#pragma once
#include <windows.h>

namespace salva {

// With `dialogKeys`, Tab, Enter, Esc and the access keys move between and press the controls.
void RunModal(HWND window, bool dialogKeys = false);

}  // namespace salva
