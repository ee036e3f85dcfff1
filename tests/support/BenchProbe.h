// Timing for the benchmark programs: the performance counter's ticks, their length in
// milliseconds, and a probe of how long a window takes to answer while it works.
#pragma once
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <thread>

namespace benchsupport {

// The performance counter now.
int64_t Ticks();
// `ticks` of the performance counter in milliseconds.
double Ms(int64_t ticks);

// From its making until Stop (or its end), sends WM_NULL to a window from another thread every
// `everyMs` and keeps the longest wait for the answer.
class AnswerProbe {
public:
    AnswerProbe(HWND target, int everyMs);
    ~AnswerProbe();
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

    // Ends the probing and gives the worst wait in ms. The last question may be waiting for the
    // window's thread, so the thread that owns it must call this.
    double Stop();
    double WorstMs() const { return Ms(worst_); }
    int Answers() const { return answers_; }

private:
    std::atomic<bool> stop_{false}, done_{false};
    std::atomic<int64_t> worst_{0};
    std::atomic<int> answers_{0};
    std::thread thread_;
};

}  // namespace benchsupport
