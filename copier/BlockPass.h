// One pass of the block loop that the copy, the merge and the batch copy share: blocks read
// from the source and written to the target at equal offsets (or, in a merge, from a target
// position of their own), until the last full step; the caller's labels, progress and message
// pump run between blocks. A pass ends finished, with a remainder still to copy, stopped, or at
// the first failing file step, always with both files closed.
#pragma once
#include "copier/BlockReader.h"
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include "copier/FileErrors.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace salva {

struct BlockPassResult {
    enum Kind { Finished, Remainder, Stopped, Failed } kind = Finished;
    FileError error;
    FileStep step = FileStep::Other;
    int64_t lastWritten = 0;  // source position of the last byte written in this pass, 0 for none
};

// What the pass asks of its caller between blocks.
struct BlockPassSteps {
    // Asked before each block.
    std::function<bool()> stopRequested;
    // After the block that began at `pos` (1-based) was written, before the position moves on.
    std::function<void(int64_t pos)> blockDone;
    // After the position moved on: pending window messages run here.
    std::function<void()> pump;
};

class BlockPass {
public:
    BlockPass(BlockReader& reader, BlockWriter& writer, CopyEnvironment& env);

    // From `sourcePos`, blocks of n + 1 bytes (n the smaller of the source length and `step`)
    // that overlap by one byte; a block never reaches past the source's last byte. `destPos`
    // null: each block goes to its own offset in the target, and an empty source empties the
    // target; otherwise blocks go to `destPos`, which moves on with the source. `totalBytes`
    // gets the source length. Positions changed while messages are pumped count from the next
    // block on.
    BlockPassResult Run(const std::wstring& source, const std::wstring& target, int64_t step, int64_t& sourcePos,
                        int64_t* destPos, int64_t& totalBytes, const BlockPassSteps& steps);
    // Gives the block buffer's memory back.
    void ReleaseBuffer();

private:
    BlockReader& reader_;
    BlockWriter& writer_;
    CopyEnvironment& env_;
    std::vector<uint8_t> buffer_;
};

}  // namespace salva
