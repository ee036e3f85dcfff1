#include "mDoEvents.h"
#include <windows.h>

namespace salva::mDoEvents {

namespace {

// When PumpMessages last returned, in performance-counter ticks (one thread uses it).
int64_t g_lastPump = 0;

int64_t Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t TicksPerMs() {
    static const int64_t perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart / 1000 > 0 ? f.QuadPart / 1000 : 1;
    }();
    return perMs;
}

}  // namespace

uint32_t InputPending() {
    return ::GetQueueStatus(QS_KEY | QS_MOUSEBUTTON | QS_PAINT | QS_HOTKEY);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The loop that owns the thread has to see the quit request too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    g_lastPump = Now();
}

void PumpWhenDue() {
    if (InputPending() != 0 || Now() - g_lastPump >= kLongestQuietMs * TicksPerMs()) PumpMessages();
}

}  // namespace salva::mDoEvents
