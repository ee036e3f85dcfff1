// The prompts for an existing target and the resume record, as the copy start asks for them.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

// The five values of a resume record as the writer fills them.
struct ResumeValues {
    int32_t fileLength = 0;   // the target's length before the record is added
    int32_t haveCopied = 0;
    int16_t consumeTime = 0;  // estimated total seconds
    int16_t totalTime = 0;    // elapsed seconds
    int16_t copySpeed = 0;    // KB per second
};

// The record for a target of `targetLength` bytes copied up to the 1-based `sourcePos` of a
// `totalBytes` source in `elapsedSeconds`: false when none is to be written (the copy is
// complete, or a field could not hold its value). The times and the rate are clamped to what
// their 16-bit fields hold.
bool MakeResumeValues(int64_t targetLength, int64_t sourcePos, int64_t totalBytes, int64_t elapsedSeconds,
                      ResumeValues* values);

class CopyPrompts {
public:
    // Returned by the Ask members when the prompt could not be shown at all.
    static constexpr long kUnavailable = -1000;

    virtual ~CopyPrompts() = default;
    // 1 when `target` carries a record; then `continueAt` is the record's FileLength (the
    // position to continue from) and `totalTime` its elapsed seconds.
    virtual long ReadResumeRecord(const std::wstring& target, int32_t* continueAt, int16_t* totalTime) = 0;
    // False when the record could not be written (the library is missing).
    virtual bool WriteResumeRecord(const std::wstring& target, const ResumeValues& values) = 0;
    // Overwrite-or-continue prompt: 1 overwrite, 2 continue, other values cancel.
    virtual long AskOverwriteOrContinue(const std::wstring& source, const std::wstring& target) = 0;
    // Existing-target prompt: 1 overwrite, 2 append, 3 merge, 4 delete, 5 rename (`newName`
    // then holds the new file name), other values cancel.
    virtual long AskExistingTarget(const std::wstring& source, const std::wstring& target, std::wstring* newName) = 0;
    // Replace confirmation of the batch copy: 1 yes, 2 yes to all, 3 no, other values cancel.
    // A provider without it cannot show it.
    virtual long AskReplace(const std::wstring& /*source*/, const std::wstring& /*target*/) { return kUnavailable; }
};

}  // namespace salva
