#include "copier/CopyTiming.h"
#include <cmath>
#include <cstdio>

namespace salva {

std::wstring GroupedNumber(int64_t v) {
    const bool negative = v < 0;
    uint64_t u = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::wstring digits = std::to_wstring(u);
    std::wstring out;
    int count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (count && count % 3 == 0) out.insert(out.begin(), L',');
        out.insert(out.begin(), *it);
        ++count;
    }
    return negative ? L"-" + out : out;
}

std::wstring MegabyteText(int64_t bytes) { return GroupedNumber(bytes / 1024 / 1024); }

std::wstring ClockText(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    wchar_t buf[40];
    std::swprintf(buf, 40, L"%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds / 60) % 60), static_cast<long long>(seconds % 60));
    return buf;
}

std::wstring PercentText(double fraction) {
    if (!(fraction >= 0)) fraction = 0;
    wchar_t buf[40];
    std::swprintf(buf, 40, L"%.2f%%", fraction * 100.0);
    return buf;
}

TickFigures ComputeTick(int64_t elapsedSeconds, int64_t position, int64_t total) {
    TickFigures t;
    if (elapsedSeconds <= 0) return t;
    t.rate = position / elapsedSeconds;
    t.kbPerSecond = (position / 1024) / elapsedSeconds;
    if (t.rate > 0) {
        t.known = true;
        const int64_t left = total - position;
        t.remainingSeconds = left > 0 ? left / t.rate : 0;
        t.estimatedSeconds = total / t.rate;
    }
    return t;
}

TickFigures ComputeFinish(int64_t elapsedMs, int64_t total) {
    TickFigures t;
    if (elapsedMs <= 0 || total <= 0) return t;
    t.rate = total * 1000 / elapsedMs;
    t.kbPerSecond = total / 1024 * 1000 / elapsedMs;
    t.known = true;
    t.estimatedSeconds = elapsedMs / 1000;
    return t;
}

}  // namespace salva
