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

// A copy continues from its record: the record and the byte it was written over are cut off the
// target first, so that a first block that cannot be read leaves a gap like any other skip
// instead of the record's bytes inside the data. Returns the bytes the target still holds
// (all copied data), -1 when it could not be cut.
int64_t CutResumeRecord(const std::wstring& target, CopyEnvironment& env, BlockWriter& writer);

// The skip map for a target continued from its record at the 1-based `continueAt`: the
// stretches earlier sessions left out before it, nothing when they are not known.
std::optional<std::vector<SkipStretch>> EarlierSkips(const std::wstring& source, const std::wstring& target,
                                                     int64_t continueAt, CopyEnvironment& env);

// The text told after `target` and a line break when the outcome is Failed.
extern const wchar_t kRecordFailedText[];

}  // namespace salva
