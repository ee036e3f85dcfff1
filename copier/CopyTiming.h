// Texts and figures of the copy's progress display.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

// Digits grouped by thousands, at least one digit ("1,234,567", "0").
std::wstring GroupedNumber(int64_t v);
// Whole megabytes of a byte count, grouped.
std::wstring MegabyteText(int64_t bytes);
// A duration as "hh:mm:ss"; hours grow past two digits when needed.
std::wstring ClockText(int64_t seconds);
// A fraction as a percentage with two decimals ("42.50%").
std::wstring PercentText(double fraction);

// What one timer tick shows. Times are unknown (`known` false) while no rate can be worked out.
struct TickFigures {
    int64_t rate = 0;  // bytes per second
    bool known = false;
    int64_t remainingSeconds = 0;
    int64_t estimatedSeconds = 0;
    int64_t kbPerSecond = 0;
};
// `position` is the 1-based position reached, `total` the source length.
TickFigures ComputeTick(int64_t elapsedSeconds, int64_t position, int64_t total);
// The figures of a copy of `total` bytes that ended after `elapsedMs` milliseconds without a
// timer tick of its own: its whole time and its own rate (unknown for no measurable time).
TickFigures ComputeFinish(int64_t elapsedMs, int64_t total);

}  // namespace salva
