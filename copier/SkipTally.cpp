#include "copier/SkipTally.h"
#include "copier/CopyTiming.h"
#include <algorithm>

namespace salva {

const wchar_t kEarlierSkipsUnknownText[] =
    L"此文件是从续拷记录处继续复制的，之前的复制跳过了哪些内容已无法得知，文件可能不完整。";

void SkipTally::Reset(int64_t pos) {
    stretches_.clear();
    bytes_ = 0;
    covered_ = std::max<int64_t>(0, pos - 1);
    earlierUnknown_ = false;
}

void SkipTally::Carry(const std::optional<std::vector<SkipStretch>>& earlier) {
    if (!earlier) {
        earlierUnknown_ = true;
        return;
    }
    for (const SkipStretch& s : StretchesBefore(*earlier, covered_ + 1)) {
        stretches_.push_back(s);
        bytes_ += s.bytes;
    }
}

void SkipTally::Wrote(int64_t lastWritten) { covered_ = std::max(covered_, lastWritten); }

void SkipTally::Skipped(int64_t from, int64_t to, int64_t totalBytes) {
    const int64_t first = std::max(from, covered_ + 1);
    const int64_t last = std::min(to - 1, totalBytes);
    const int64_t bytes = std::max<int64_t>(0, last - first + 1);
    stretches_.push_back({first, bytes});
    bytes_ += bytes;
}

std::wstring SkippedText(int64_t stretches, int64_t bytes) {
    return L"其中有 " + GroupedNumber(stretches) + L" 处无法读取，共跳过 " + GroupedNumber(bytes) + L" 字节没有复制。";
}

std::vector<std::wstring> SkipReportLines(const SkipTally& tally) {
    std::vector<std::wstring> lines;
    if (tally.Stretches()) lines.push_back(SkippedText(tally.Stretches(), tally.Bytes()));
    if (tally.EarlierUnknown()) lines.push_back(kEarlierSkipsUnknownText);
    return lines;
}

}  // namespace salva
