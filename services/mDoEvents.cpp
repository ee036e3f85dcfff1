#include "mDoEvents.h"
#include <windows.h>

namespace salva::mDoEvents {

uint32_t InputPending() {
    return ::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON | QS_PAINT | QS_HOTKEY);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The loop that owns the thread has to see the quit request too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace salva::mDoEvents
