// What the unreadable spots of one copy cost: how many times the copy jumped over one, and how
// many source bytes never reached the target because of it. The copy, the merge and the batch
// copy keep one each, so that their reports never call a copy with holes complete. A copy
// continued from a resume record also carries what the sessions before it left out, or the
// fact that this is not known.
#pragma once
#include "copier/SkipMap.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace salva {

class SkipTally {
public:
    // A copy starts at the 1-based `pos`: the counts are cleared and the bytes before `pos` count
    // as already in the target.
    void Reset(int64_t pos);
    // Right after Reset, for a copy continued from a resume record: the stretches earlier
    // sessions left out before the position, or nothing when they are not known.
    void Carry(const std::optional<std::vector<SkipStretch>>& earlier);
    // A pass wrote source bytes up to the 1-based `lastWritten` (0: none).
    void Wrote(int64_t lastWritten);
    // The block at `from` could not be read and the copy goes on at `to`; `totalBytes` is the
    // source's length. The byte at `from` came with the block before it when that one was read.
    void Skipped(int64_t from, int64_t to, int64_t totalBytes);

    int64_t Stretches() const { return static_cast<int64_t>(stretches_.size()); }
    int64_t Bytes() const { return bytes_; }
    // Every stretch left out so far, earlier sessions' first, in source order.
    const std::vector<SkipStretch>& List() const { return stretches_; }
    // The copy went on from a record whose earlier skips are not known.
    bool EarlierUnknown() const { return earlierUnknown_; }
    // The last source position this copy put into the target, 0 for none.
    int64_t CoveredThrough() const { return covered_; }

private:
    std::vector<SkipStretch> stretches_;
    int64_t bytes_ = 0;
    int64_t covered_ = 0;
    bool earlierUnknown_ = false;
};

// The report line for `stretches` skips that left out `bytes` bytes.
std::wstring SkippedText(int64_t stretches, int64_t bytes);
// The lines a report of the copy ends with: the skips, and what is not known of earlier
// sessions; none for a complete copy.
std::vector<std::wstring> SkipReportLines(const SkipTally& tally);
// The line for a copy continued from a record that came without its skip map.
extern const wchar_t kEarlierSkipsUnknownText[];

}  // namespace salva
