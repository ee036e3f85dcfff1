#include "copier/BlockPass.h"
#include <algorithm>

namespace salva {

BlockPass::BlockPass(BlockReader& reader, BlockWriter& writer, CopyEnvironment& env)
    : reader_(reader), writer_(writer), env_(env) {}

void BlockPass::ReleaseBuffer() {
    buffer_.clear();
    buffer_.shrink_to_fit();
}

BlockPassResult BlockPass::Run(const std::wstring& source, const std::wstring& target, int64_t step,
                               int64_t& sourcePos, int64_t* destPos, int64_t& totalBytes,
                               const BlockPassSteps& steps) {
    BlockPassResult r;
    auto fail = [&](const FileError& e, FileStep at) {
        reader_.Close();
        writer_.Close();
        r.kind = BlockPassResult::Failed;
        r.error = e;
        r.step = at;
        return r;
    };
    auto win32 = [&](DWORD code, FileStep at) {
        const bool ready = code == ERROR_NOT_READY ? env_.DriveIsReady(source) : true;
        return fail(FileErrorFromWin32(code, at, ready), at);
    };

    int64_t total = 0;
    if (DWORD e = reader_.QueryLength(source, &total)) return win32(e, FileStep::SourceOpen);
    totalBytes = total;

    if (total == 0 && !destPos) {
        if (DWORD e = writer_.Open(target)) return win32(e, FileStep::TargetOpen);
        const DWORD e = writer_.SetLength(0);
        writer_.Close();
        if (e) return win32(e, FileStep::TargetWrite);
        r.kind = BlockPassResult::Finished;
        return r;
    }

    const int64_t n = std::min(total, step);
    buffer_.assign(static_cast<size_t>(n + 1), 0);
    if (DWORD e = reader_.Open(source)) return win32(e, FileStep::SourceOpen);
    if (DWORD e = writer_.Open(target)) return win32(e, FileStep::TargetOpen);

    for (;;) {
        if (steps.stopRequested()) {
            reader_.Close();
            writer_.Close();
            r.kind = BlockPassResult::Stopped;
            return r;
        }
        const int64_t pos = sourcePos;
        const int64_t last = std::min(pos + n, total);
        if (pos >= 1 && last >= pos) {
            const uint32_t count = static_cast<uint32_t>(last - pos + 1);
            uint32_t got = 0;
            if (DWORD e = reader_.ReadAt(pos - 1, buffer_.data(), count, &got)) return win32(e, FileStep::SourceRead);
            if (got < count) return fail(ShortReadError(), FileStep::SourceRead);
            const int64_t at = destPos ? *destPos - 1 : pos - 1;
            if (DWORD e = writer_.WriteAt(at, buffer_.data(), count)) return win32(e, FileStep::TargetWrite);
            r.lastWritten = last;
        }
        steps.blockDone(pos);
        sourcePos = pos + step;
        if (destPos) *destPos += step;
        steps.pump();
        if (pos + step >= total - step) break;
    }
    reader_.Close();
    writer_.Close();
    r.kind = sourcePos < total ? BlockPassResult::Remainder : BlockPassResult::Finished;
    return r;
}

}  // namespace salva
