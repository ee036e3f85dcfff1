#include "mDoEvents.h"
#include "TickClock.h"
#include <windows.h>

namespace salva::mDoEvents {

namespace {

// When PumpMessages last returned, in clock ticks (one thread uses it).
int64_t g_lastPump = 0;

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
    g_lastPump = TickClock::Now();
}

void PumpWhenDue() {
    if (InputPending() != 0 || TickClock::Now() - g_lastPump >= kLongestQuietMs * TickClock::PerMs()) PumpMessages();
}

void AnswerWhenDue() {
    static int64_t lastAnswer = 0;
    const int64_t now = TickClock::Now();
    if (now - lastAnswer < kLongestQuietMs * TickClock::PerMs()) return;
    lastAnswer = now;
    AnswerNow();
}

void AnswerNow() {
    MSG msg;
    // Looking at the queue runs what other threads sent; a paint that does not validate its
    // window comes back at once, so the paints are bounded.
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    for (int i = 0; i < 64 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT); ++i)
        ::DispatchMessageW(&msg);
}

}  // namespace salva::mDoEvents
