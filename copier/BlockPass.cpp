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
    auto errorOf = [&](DWORD code, FileStep at) {
        const bool ready = code == ERROR_NOT_READY ? env_.DriveIsReady(source) : true;
        return FileErrorFromWin32(code, at, ready);
    };
    auto win32 = [&](DWORD code, FileStep at) { return fail(errorOf(code, at), at); };
    // A read can fail like an unreadable spot (an I/O error, a short read) because the file
    // itself is gone: then that is the error, and no spot is jumped over.
    auto readFailed = [&](const FileError& e) {
        int64_t length = 0;
        const DWORD gone = e.mediaRead ? reader_.QueryLength(source, &length) : ERROR_SUCCESS;
        if (gone == ERROR_FILE_NOT_FOUND || gone == ERROR_PATH_NOT_FOUND) return win32(gone, FileStep::SourceRead);
        return fail(e, FileStep::SourceRead);
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
            if (DWORD e = reader_.ReadAt(pos - 1, buffer_.data(), count, &got))
                return readFailed(errorOf(e, FileStep::SourceRead));
            if (got < count) return readFailed(ShortReadError());
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
