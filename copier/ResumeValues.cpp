#include "copier/CopyPrompts.h"
#include <algorithm>
#include <climits>

namespace salva {

namespace {

int16_t Clamp16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, 0, 32767)); }

}  // namespace

bool MakeResumeValues(int64_t targetLength, int64_t sourcePos, int64_t totalBytes, int64_t elapsedSeconds,
                      ResumeValues* values) {
    if (sourcePos >= totalBytes) return false;
    // The record's fields are 32-bit: beyond that it could only mislead a later continue.
    if (targetLength < 1 || targetLength > INT32_MAX || sourcePos < 1 || sourcePos > INT32_MAX) return false;
    ResumeValues v;
    v.fileLength = static_cast<int32_t>(targetLength);
    v.haveCopied = static_cast<int32_t>(sourcePos);
    if (elapsedSeconds > 0) {
        const double rate = static_cast<double>(sourcePos) / static_cast<double>(elapsedSeconds);
        v.consumeTime = Clamp16(static_cast<int64_t>(std::min(static_cast<double>(totalBytes) / rate, 1e9)));
        v.totalTime = Clamp16(elapsedSeconds);
        v.copySpeed = Clamp16(sourcePos / 1024 / elapsedSeconds);
    }
    *values = v;
    return true;
}

}  // namespace salva
