#include "BenchProbe.h"

namespace benchsupport {

int64_t Ticks() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Ms(int64_t ticks) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

AnswerProbe::AnswerProbe(HWND target, int everyMs)
    : thread_([this, target, everyMs] {
          while (!stop_) {
              const int64_t sent = Ticks();
              DWORD_PTR result = 0;
              ::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
              const int64_t took = Ticks() - sent;
              if (took > worst_) worst_ = took;
              ++answers_;
              ::Sleep(static_cast<DWORD>(everyMs));
          }
          done_ = true;
      }) {}

AnswerProbe::~AnswerProbe() {
    if (thread_.joinable()) Stop();
}

double AnswerProbe::Stop() {
    stop_ = true;
    // Peeking takes in the messages sent to this thread's windows meanwhile.
    while (!done_) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::Sleep(1);
    }
    thread_.join();
    return WorstMs();
}

}  // namespace benchsupport
