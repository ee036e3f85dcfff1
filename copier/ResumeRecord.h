// Leaving the resume record on a partly copied target, as the copy and the batch copy do when
// a copy stops part way and its target is kept.
#pragma once
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include "copier/CopyPrompts.h"
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
RecordOutcome LeaveResumeRecord(const std::wstring& target, int64_t sourcePos, int64_t totalBytes,
                                int64_t elapsedSeconds, CopyEnvironment& env, BlockWriter& writer,
                                CopyPrompts& prompts);

// The text told after `target` and a line break when the outcome is Failed.
extern const wchar_t kRecordFailedText[];

}  // namespace salva
