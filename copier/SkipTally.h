// What the unreadable spots of one copy cost: how many times the copy jumped over one, and how
// many source bytes never reached the target because of it. The copy, the merge and the batch
// copy keep one each, so that their reports never call a copy with holes complete.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

class SkipTally {
public:
    // A copy starts at the 1-based `pos`: the counts are cleared and the bytes before `pos` count
    // as already in the target.
    void Reset(int64_t pos);
    // A pass wrote source bytes up to the 1-based `lastWritten` (0: none).
    void Wrote(int64_t lastWritten);
    // The block at `from` could not be read and the copy goes on at `to`; `totalBytes` is the
    // source's length. The byte at `from` came with the block before it when that one was read.
    void Skipped(int64_t from, int64_t to, int64_t totalBytes);

    int64_t Stretches() const { return stretches_; }
    int64_t Bytes() const { return bytes_; }
    // The last source position this copy put into the target, 0 for none.
    int64_t CoveredThrough() const { return covered_; }

private:
    int64_t stretches_ = 0;
    int64_t bytes_ = 0;
    int64_t covered_ = 0;
};

// The report line for `stretches` skips that left out `bytes` bytes.
std::wstring SkippedText(int64_t stretches, int64_t bytes);

}  // namespace salva
