#include "CopyFakes.h"
#include "dorvex/PDVTrailer.h"

namespace copytest {

long FakePrompts::ReadResumeRecord(const std::wstring& target, int32_t* continueAt, int16_t* totalTime) {
    dorvex::PDVTrailer t;
    if (!dorvex::ReadTrailerFromFile(target, t)) return 0;
    *continueAt = t.lFileLength - 16;
    *totalTime = t.iTotalTime;
    return 1;
}

bool FakePrompts::WriteResumeRecord(const std::wstring& target, const salva::ResumeValues& v) {
    written.push_back(v);
    if (recordFails) return true;
    dorvex::PDVTrailer t;
    t.lFileLength = v.fileLength;
    t.lHaveCopied = v.haveCopied;
    t.iConsumeTime = v.consumeTime;
    t.iTotalTime = v.totalTime;
    t.iCopySpeed = v.copySpeed;
    dorvex::WriteTrailerToFile(target, t);
    return true;
}

int64_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) return static_cast<int64_t>(i);
    return -1;
}

}  // namespace copytest
