#include "copier/SkipTally.h"
#include "copier/CopyTiming.h"
#include <algorithm>

namespace salva {

void SkipTally::Reset(int64_t pos) {
    stretches_ = 0;
    bytes_ = 0;
    covered_ = std::max<int64_t>(0, pos - 1);
}

void SkipTally::Wrote(int64_t lastWritten) { covered_ = std::max(covered_, lastWritten); }

void SkipTally::Skipped(int64_t from, int64_t to, int64_t totalBytes) {
    ++stretches_;
    const int64_t first = std::max(from, covered_ + 1);
    const int64_t last = std::min(to - 1, totalBytes);
    if (last >= first) bytes_ += last - first + 1;
}

std::wstring SkippedText(int64_t stretches, int64_t bytes) {
    return L"其中有 " + GroupedNumber(stretches) + L" 处无法读取，共跳过 " + GroupedNumber(bytes) + L" 字节没有复制。";
}

}  // namespace salva
