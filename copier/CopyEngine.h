// The rescue copy: copy start, the block copy and merge loops with their skip over unreadable
// spots, the copy states, the progress timer, pause, continue, cancel and the resume record.
// Everything runs on the window's thread; the host's message pump between blocks is where
// Pause, Cancel, the timer and the sliders reach the running loop through the fields below.
#pragma once
#include "copier/BlockPacer.h"
#include "copier/BlockPass.h"
#include "copier/BlockReader.h"
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include "copier/CopyHost.h"
#include "copier/CopyPrompts.h"
#include "copier/FileErrors.h"
#include "copier/ResumeRecord.h"
#include "copier/SkipTally.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace salva {

enum class CopyMode { Copy, Merge };

// The engine's fields. Positions are 1-based.
struct CopyState {
    int64_t BlockBytes = 0;
    int64_t TotalBytes = 0;
    int64_t SourcePos = 0;
    int64_t DestPos = 0;
    int PromptResult = 0;
    bool StopRequested = false;
    bool CancelRequested = false;
    bool RunningFlag = false;
    int64_t ElapsedSeconds = 0;
    int64_t RemainingSeconds = 0;
    int64_t EstimatedSeconds = 0;
    // Settings of the two sliders.
    int ReadBlocks = 10;
    int SkipBlocks = 10;
    // The copy in hand: kept from its start so Continue, Cancel and shutdown act on it.
    CopyMode Mode = CopyMode::Copy;
    std::wstring Source;
    std::wstring Target;
    bool Paused = false;
    bool RecordPending = false;  // a copy stopped part way; shutdown leaves a record on Target
};

class CopyEngine {
public:
    CopyEngine(CopyHost& host, CopyEnvironment& env, CopyPrompts& prompts, BlockReader& reader,
               BlockWriter& writer);
    CopyEngine(const CopyEngine&) = delete;
    CopyEngine& operator=(const CopyEngine&) = delete;

    // cmdStartCopy: copies `source` into `destination` (or merges, as the user answers).
    void BeginCopy(const std::wstring& source, const std::wstring& destination);
    // The block loops without the copy start's checks and prompts: copies from `fromPos`, or
    // appends the whole source at `destPos` of the target, in blocks of `step` bytes. The read
    // size of a later Continue is `step`.
    void CopyFileByBlocks(const std::wstring& source, const std::wstring& destination, int64_t step, int64_t fromPos = 1);
    void MergeFileByBlocks(const std::wstring& source, const std::wstring& destination, int64_t step, int64_t destPos);
    // cmdPauseCopy: pauses a running copy, or continues a paused one. `destinationBox` is the
    // text of txtFileCopy; it is used only after a refused space check let the user pick
    // another target.
    void PauseOrContinue(const std::wstring& destinationBox);
    // cmdCancelCopy.
    void Cancel();
    // tmrTime, every 1,000 ms while the timer is on.
    void TimerTick();
    // sldReadBlocks released: the read size for the current source and destination texts.
    void ReadBlocksReleased(int value, const std::wstring& source, const std::wstring& destination);
    // sldSkipBlocks released: moves the position of a paused copy ahead by hand, a skipped
    // stretch like any other; a running copy is not moved.
    void SkipBlocksReleased(int value);
    // The window closes: a copy that stopped part way leaves its resume record, also when its
    // loop is still on the stack (the loop then stops before its next block); only on a target
    // that copy wrote and that is still as it was left.
    void WriteResumeRecordOnClose();

    const CopyState& State() const { return s_; }
    bool Running() const { return s_.RunningFlag; }

private:
    using PassResult = BlockPassResult;
    // A copy stopped part way and what a record for it needs, with its target as it was left.
    struct PendingRecord {
        std::wstring source, target;
        int64_t sourcePos = 0, totalBytes = 0, elapsedSeconds = 0;
        int64_t length = -1;
        uint64_t writeTime = 0;
    };

    void StartLoop(CopyMode mode);
    void RunBlocks(int64_t step);
    PassResult RunPass(int64_t step);
    bool HandleError(const PassResult& r, int64_t step);  // true: run a new pass
    void StopPath();
    void Finish(bool updateCopied);
    void WriteResumeRecord(const std::wstring& target);
    void LeaveRecord(PendingRecord p);
    // The record the stopped copy owes its target, when that target is still as it was left.
    void LeavePendingRecord();
    // The copy stopped part way (paused, or failed when `failed`): what the close owes its target.
    void KeepPending(bool failed);
    // No copy owes a record any more.
    void DropPending();
    // Jumps the position to `to` over source bytes never copied: counted, logged and mapped.
    void SkipTo(int64_t to);
    // The display of the block at `pos`: recorded, shown when the last showing is old enough.
    void NoteBlock(int64_t pos);
    // Brings the copied-bytes label and the progress bar up to the last block noted.
    void ShowBlock();

    void EnterCopyingState();
    void ResetCopyState();
    void EndCopyState();
    void SetLocked(bool locked);
    void TimerOn();
    void TimerOff();
    void EnterPausedState();
    // Continue: a target that no longer holds what the copy put before its position is copied
    // again from the first byte, after telling the user. True when it was.
    bool RestartIfTargetChanged();

    bool CheckSpace(const std::wstring& source, const std::wstring& target, int64_t needed, bool onContinue);
    // BeginCopy's decision about the destination once the paths and the space are checked: a
    // fresh copy, or the prompts for an existing file (again for a new name that exists too).
    void DecideDestination(const std::wstring& source, const std::wstring& destination);
    void BeginCopyFailed(const std::wstring& source, const FileError& e);
    // Tells and logs `why` a copy of `source` does not start; false when `why` is empty.
    bool Refuse(const std::wstring& source, const std::wstring& why);
    void LogError(const std::wstring& reason);
    void SetLabel(CopyLabel label, const std::wstring& text);
    int Ask(const std::wstring& text, const std::wstring& title, unsigned style);

    CopyHost& host_;
    CopyEnvironment& env_;
    CopyPrompts& prompts_;
    BlockReader& reader_;
    BlockWriter& writer_;
    CopyState s_;
    BlockPass pass_;
    bool timerOn_ = false;
    int64_t elapsedMs_ = 0;
    int64_t lastTickMs_ = 0;
    bool ticked_ = false;  // the timer ticked during this copy: its labels hold its own figures
    bool loopActive_ = false;
    bool newTargetAllowed_ = false;
    bool closed_ = false;  // the window has closed: no more records
    int64_t lastWrittenSourcePos_ = 0;  // source position of the last byte written in this pass
    SkipTally skips_;
    // This copy has written to its target; until it has, a stop puts back the record its
    // continue cut off (`cut_`), and leaves nothing of its own.
    bool wrote_ = false;
    CutRecord cut_;
    std::optional<PendingRecord> pending_;
    bool continuesRecord_ = false;  // the start about to run continues from the target's record
    int64_t shownAtMs_ = 0;
    int64_t shownPos_ = 0;
    bool displayBehind_ = false;
    std::wstring estimatedText_ = L"00:00:00";
    std::wstring rateText_ = L"0KB/秒";
};

}  // namespace salva
