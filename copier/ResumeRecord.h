// Leaving the resume record on a partly copied target, as the copy and the batch copy do when
// a copy stops part way and its target is kept.
#pragma once
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include "copier/CopyPrompts.h"
#include "copier/SkipTally.h"
#include <cstdint>
#include <string>

namespace salva {

enum class RecordOutcome {
    NotDue,   // nothing to continue: no target, the copy is complete or nothing was copied
    Written,  // the record is there and reads back as written
    Failed,   // a record was due and could not be left: the user must be told
};

// The target of a copy that reached the 1-based `sourcePos` of a `totalBytes` source in
// `elapsedSeconds`. An older, longer file written over from its start still holds its own
// bytes past that point; a record after them would make the next continue start there and
// never copy the stretch in between, so the target is first cut to what the copy reached.
// Beside a record the skip map keeps what `skips` left out of the copy of `source`; where no
// record stays, or what earlier sessions left out is not known, no map does either.
RecordOutcome LeaveResumeRecord(const std::wstring& source, const std::wstring& target, int64_t sourcePos,
                                int64_t totalBytes, int64_t elapsedSeconds, const SkipTally& skips,
                                CopyEnvironment& env, BlockWriter& writer, CopyPrompts& prompts);

// The record a continue cut off its target, with the target's length after the cut (-1: none).
struct CutRecord {
    int64_t at = -1;
    std::string bytes;
};

// A copy of `source` starts on `target` at the 1-based `pos`: `skips` is reset for it. One that
// continues from the target's record takes over what the skip map says earlier sessions left
// out (or that it is not known), and the record with the byte it was written over is cut off,
// so that a first block that cannot be read leaves a gap like any other skip instead of the
// record's bytes inside the data; `cut` keeps what was cut. Any other start makes the map stale
// and removes it.
void StartSkipTally(SkipTally& skips, const std::wstring& source, const std::wstring& target, int64_t pos,
                    bool fromRecord, CopyEnvironment& env, BlockWriter& writer, CutRecord* cut = nullptr);

// A continue that stopped before writing anything: the record it cut off goes back onto the
// target, byte for byte, so that the next start continues from the same place with the same
// skip map. Only onto a target still as the cut left it; `cut` is emptied. True when it went back.
bool PutRecordBack(const std::wstring& target, CutRecord& cut, CopyEnvironment& env);

// The text told after `target` and a line break when the outcome is Failed.
extern const wchar_t kRecordFailedText[];

}  // namespace salva
