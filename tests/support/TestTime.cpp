#include "TestTime.h"
#include <windows.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

// Shorter waits are looks that expect to find nothing now and then (a poll in a loop, a box
// that must not come), not places where a test could hang.
constexpr int kReportedFromMs = 1000;

Clock::time_point DeadlineIn(int timeoutMs) { return Clock::now() + std::chrono::milliseconds(ScaledMs(timeoutMs)); }

int MsSince(Clock::time_point start) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

int TimeScale() {
    static const int scale = [] {
        const char* text = std::getenv("SALVA_TEST_TIME_SCALE");
        if (!text || !*text) return 1;
        char* end = nullptr;
        const long v = std::strtol(text, &end, 10);
        return (*end == '\0' && v >= 1 && v <= 1000) ? static_cast<int>(v) : 1;
    }();
    return scale;
}

int ScaledMs(int ms) { return ms * TimeScale(); }

void ReportGaveUp(const std::string& what, int waitedMs) {
    std::fprintf(stderr, "[ gave up  ] after %d ms (time factor %d) waiting for %s\n", waitedMs, TimeScale(),
                 what.c_str());
    std::fflush(stderr);
}

bool WaitUntil(const std::string& what, int timeoutMs, const std::function<bool()>& done, int stepMs) {
    const auto start = Clock::now(), end = DeadlineIn(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= end) break;
        ::Sleep(static_cast<DWORD>(stepMs));
    }
    if (timeoutMs >= kReportedFromMs) ReportGaveUp(what, MsSince(start));
    return false;
}

void PumpPending() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

bool PumpUntil(const std::string& what, int timeoutMs, const std::function<bool()>& done) {
    const auto start = Clock::now(), end = DeadlineIn(timeoutMs);
    for (;;) {
        PumpPending();
        if (done()) return true;
        if (Clock::now() >= end) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (timeoutMs >= kReportedFromMs) ReportGaveUp(what, MsSince(start));
    return false;
}

}  // namespace testsupport
