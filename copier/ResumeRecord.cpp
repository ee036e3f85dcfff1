#include "copier/ResumeRecord.h"
#include "copier/SkipMapFile.h"
#include "services/Holders.h"
#include <utility>

namespace salva {

const wchar_t kRecordFailedText[] = L"无法在该文件末尾写入续拷记录，以后不能从中断的位置继续复制。";

namespace {

// The 17 bytes of `path` from its 0-based `from`: fewer where the file ends, none when unreadable.
std::string ReadTail(const std::wstring& path, int64_t from) {
    unique_hfile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = from;
    std::string bytes(17, '\0');
    DWORD got = 0;
    if (!f || !::SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) ||
        !::ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return {};
    bytes.resize(got);
    return bytes;
}

RecordOutcome LeaveRecord(const std::wstring& target, int64_t sourcePos, int64_t totalBytes, int64_t elapsedSeconds,
                          CopyEnvironment& env, BlockWriter& writer, CopyPrompts& prompts, int32_t* recordLength) {
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
        readBack == v.fileLength - 16) {
        *recordLength = v.fileLength;
        return RecordOutcome::Written;
    }
    return RecordOutcome::Failed;
}

}  // namespace

RecordOutcome LeaveResumeRecord(const std::wstring& source, const std::wstring& target, int64_t sourcePos,
                                int64_t totalBytes, int64_t elapsedSeconds, const SkipTally& skips,
                                CopyEnvironment& env, BlockWriter& writer, CopyPrompts& prompts) {
    int32_t length = 0;
    const RecordOutcome outcome =
        LeaveRecord(target, sourcePos, totalBytes, elapsedSeconds, env, writer, prompts, &length);
    if (outcome != RecordOutcome::Written || skips.EarlierUnknown()) {
        RemoveSkipMap(target, env);
        return outcome;
    }
    // A continue goes on 16 bytes before the length the record names and reads what follows
    // again, so only the stretches before that count as left out.
    SkipMap map;
    map.targetName = target.substr(target.find_last_of(L"\\/") + 1);
    map.source = source;
    map.sourceLength = totalBytes;
    map.targetLength = length;
    map.stretches = StretchesBefore(skips.List(), std::max<int64_t>(1, int64_t{length} - 16));
    // A map that could not be written leaves none, and the continue will say it does not know.
    if (!SaveSkipMap(target, map, env)) RemoveSkipMap(target, env);
    return outcome;
}

void StartSkipTally(SkipTally& skips, const std::wstring& source, const std::wstring& target, int64_t pos,
                    bool fromRecord, CopyEnvironment& env, BlockWriter& writer, CutRecord* cut) {
    if (cut) *cut = CutRecord{};
    skips.Reset(pos);
    if (!fromRecord) {
        RemoveSkipMap(target, env);
        return;
    }
    const int64_t length = env.FileLength(target);
    const std::optional<SkipMap> map = LoadSkipMap(target, env);
    skips.Carry(map ? EarlierStretches(*map, target, source, env.FileLength(source), length, pos) : std::nullopt);
    // The record's 17 bytes begin on what was the target's last byte; all before it is data.
    const int64_t held = length - 17;
    if (held < 0) return;
    CutRecord tail;
    if (cut) tail.bytes = ReadTail(target, held);
    if (writer.Open(target) != ERROR_SUCCESS) return;
    if (writer.SetLength(held) == ERROR_SUCCESS) {
        skips.Wrote(held);
        if (cut && tail.bytes.size() == 17) {
            tail.at = held;
            *cut = std::move(tail);
        }
    }
    writer.Close();
}

bool PutRecordBack(const std::wstring& target, CutRecord& cut, CopyEnvironment& env) {
    const CutRecord c = std::exchange(cut, CutRecord{});
    if (c.at < 0 || env.FileLength(target) != c.at) return false;
    unique_hfile f(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = c.at;
    DWORD written = 0;
    return f && ::SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) &&
           ::WriteFile(f.get(), c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &written, nullptr) &&
           written == c.bytes.size();
}

}  // namespace salva
