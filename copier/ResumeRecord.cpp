#include "copier/ResumeRecord.h"

namespace salva {

const wchar_t kRecordFailedText[] = L"无法在该文件末尾写入续拷记录，以后不能从中断的位置继续复制。";

RecordOutcome LeaveResumeRecord(const std::wstring& target, int64_t sourcePos, int64_t totalBytes,
                                int64_t elapsedSeconds, CopyEnvironment& env, BlockWriter& writer,
                                CopyPrompts& prompts) {
    if (target.empty() || !env.FileExists(target) || sourcePos >= totalBytes || sourcePos < 1)
        return RecordOutcome::NotDue;
    int64_t length = env.FileLength(target);
    if (length > sourcePos) {
        if (writer.Open(target) == ERROR_SUCCESS) {
            writer.SetLength(sourcePos);
            writer.Close();
        }
        length = env.FileLength(target);
    }
    if (length < 1) return RecordOutcome::NotDue;
    ResumeValues v;
    // Beyond the record's 32-bit fields a record could only mislead a later continue.
    if (length > sourcePos || !MakeResumeValues(length, sourcePos, totalBytes, elapsedSeconds, &v))
        return RecordOutcome::Failed;
    int32_t readBack = 0;
    int16_t seconds = 0;
    if (prompts.WriteResumeRecord(target, v) && prompts.ReadResumeRecord(target, &readBack, &seconds) == 1 &&
        readBack == v.fileLength - 16)
        return RecordOutcome::Written;
    return RecordOutcome::Failed;
}

}  // namespace salva
