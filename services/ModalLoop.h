// The message loop of a window shown modally: the thread's other windows are held disabled
// while it is up (services/ModalHold.h) and let go when it goes.
#pragma once
#include <windows.h>

namespace salva {

// Shows `window` in front and handles the thread's messages until the window is hidden or
// destroyed. Meanwhile every other visible top-level window of the thread that is enabled or
// held by another loop is held. With `dialogKeys`, the keys of a dialog box (Tab, arrows,
// access keys) move between the window's controls. A quit request ends the loop and is posted again for the
// loop that owns the thread.
void RunModal(HWND window, bool dialogKeys = false);

}  // namespace salva
