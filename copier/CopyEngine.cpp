#include "copier/CopyEngine.h"
#include "copier/BatchCopyRules.h"
#include "copier/BlockUnit.h"
#include "copier/CopyTiming.h"
#include "copier/FileNameRules.h"
#include "copier/ResumeRecord.h"
#include "copier/SkipMapFile.h"
#include "copier/TargetName.h"
#include "services/Text.h"
#include <algorithm>
#include <climits>
#include <utility>

namespace salva {

namespace {

const std::wstring kCrlf = L"\r\n";
const std::wstring kIndent(22, L' ');
const wchar_t kPauseCaption[] = L"暂停复制[&S]";
const wchar_t kContinueCaption[] = L"继续复制[&P]";
const wchar_t kDeleteFailed[] = L"无法删除该文件，它可能正在使用或没有删除权限。";
constexpr unsigned kOkStop = 16, kYesNoStop = 20, kOkExclamation = 48, kYesNoExclamation = 52;
constexpr int kYes = 6;

// The text without the blanks in front; those at its end belong to the name.
std::wstring TrimStart(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

// Texts that differ between the copy and the merge.
struct ModeTexts {
    const wchar_t* title;
    const wchar_t* retryQuestion;
    const wchar_t* diskFull;
    const wchar_t* sharingVerb;
    const wchar_t* cdReason;
    const wchar_t* cdMessage;
    const wchar_t* cancelled;
};

const ModeTexts& TextsOf(CopyMode m) {
    static const ModeTexts copy{L"复制文件时出错！",
                                L"复制文件时出错，是否继续复制？",
                                L"磁盘已满，没有足够的可用空间用来复制文件。",
                                L"无法复制 ",
                                L"错误原因：复制文件被意外地终止，请检查光驱中是否有光盘。",
                                L"复制文件被意外地终止，请检查光驱中是否有光盘。",
                                L"取消复制："};
    static const ModeTexts merge{L"合并文件时出错！",
                                 L"合并文件时出错，是否继续合并？",
                                 L"磁盘已满，没有足够的可用空间用来合并文件。",
                                 L"无法合并 ",
                                 L"错误原因：合并文件被意外地终止，光驱中可能没有光盘。",
                                 L"合并文件被意外地终止，请检查光驱中是否有光盘。",
                                 L"取消合并："};
    return m == CopyMode::Copy ? copy : merge;
}

}  // namespace

CopyEngine::CopyEngine(CopyHost& host, CopyEnvironment& env, CopyPrompts& prompts, BlockReader& reader,
                       BlockWriter& writer)
    : host_(host), env_(env), prompts_(prompts), reader_(reader), writer_(writer), pass_(reader, writer, env) {}

void CopyEngine::SetLabel(CopyLabel label, const std::wstring& text) {
    if (label == CopyLabel::Estimated) estimatedText_ = text;
    if (label == CopyLabel::Rate) rateText_ = text;
    host_.SetLabel(label, text);
}

int CopyEngine::Ask(const std::wstring& text, const std::wstring& title, unsigned style) {
    s_.PromptResult = host_.ShowMessage(text, title, style);
    return s_.PromptResult;
}

// ---------------------------------------------------------------------------------------------
// States

void CopyEngine::SetLocked(bool locked) {
    for (CopyControl c : {CopyControl::FileList, CopyControl::TargetBox, CopyControl::StartButton,
                          CopyControl::SourceButton, CopyControl::TargetButton, CopyControl::SideBar,
                          CopyControl::RefreshButton, CopyControl::SearchButton, CopyControl::SetUpButton,
                          CopyControl::WatchButton})
        host_.EnableControl(c, !locked);
    host_.EnableControl(CopyControl::PauseButton, locked);
    host_.EnableControl(CopyControl::CancelButton, locked);
}

void CopyEngine::TimerOn() {
    lastTickMs_ = env_.NowMs();
    timerOn_ = true;
    host_.EnableTimer(true);
}

void CopyEngine::TimerOff() {
    if (timerOn_) elapsedMs_ += std::max<int64_t>(0, env_.NowMs() - lastTickMs_);
    timerOn_ = false;
    host_.EnableTimer(false);
}

void CopyEngine::EnterCopyingState() {
    TimerOn();
    s_.StopRequested = false;
    s_.CancelRequested = false;
    s_.RunningFlag = true;
    s_.Paused = false;
    SetLocked(true);
    host_.SetPauseCaption(kPauseCaption);
}

void CopyEngine::ResetCopyState() {
    EndCopyState();
    SetLabel(CopyLabel::Elapsed, L"00:00:00");
    SetLabel(CopyLabel::Remaining, L"00:00:00");
    SetLabel(CopyLabel::Estimated, L"00:00:00");
    SetLabel(CopyLabel::Rate, L"0KB/秒");
    SetLabel(CopyLabel::Copied, L"0字节");
}

void CopyEngine::EndCopyState() {
    TimerOff();
    s_.StopRequested = false;
    s_.CancelRequested = false;
    s_.RunningFlag = false;
    s_.Paused = false;
    SetLocked(false);
    host_.SetPauseCaption(kPauseCaption);
    host_.ClearProgress();
    s_.ElapsedSeconds = 0;
    elapsedMs_ = 0;
    ticked_ = false;
}

void CopyEngine::EnterPausedState() {
    s_.RunningFlag = false;
    s_.StopRequested = true;
    s_.Paused = true;
    host_.SetPauseCaption(kContinueCaption);
    host_.EnableControl(CopyControl::PauseButton, true);
    host_.EnableControl(CopyControl::CancelButton, false);
    host_.EnableControl(CopyControl::SetUpButton, true);
}

// ---------------------------------------------------------------------------------------------
// Copy start

void CopyEngine::BeginCopyFailed(const std::wstring& source, const FileError& e) {
    EndCopyState();
    const std::wstring number = L"[" + std::to_wstring(e.number) + L"]";
    if (NameTooLongError(e.win32, source)) {
        host_.AppendLog(batch_copy_rules::ErrorEntry(source, L"错误原因：" + number + L"." + kNameTooLongDescription));
        Ask(L"“" + source + L"”：" + kNameTooLongDescription + number, L"Error", kOkExclamation);
        return;
    }
    host_.AppendLog(batch_copy_rules::ErrorEntry(source, L"错误原因：" + number + L"." + e.description));
    if (e.number == kErrInvalidCall) return;
    if (e.number == kErrFileNotFound || e.number == kErrPathNotFound) {
        Ask(L"源文件没有被找到，请确定所选择的文件是否存在。", L"Error", kOkExclamation);
        return;
    }
    Ask(e.description + number, L"Error", kOkExclamation);
}

bool CopyEngine::Refuse(const std::wstring& source, const std::wstring& why) {
    if (why.empty()) return false;
    host_.AppendLog(batch_copy_rules::ErrorEntry(source, L"错误原因：" + why));
    Ask(why, TextsOf(CopyMode::Copy).title, kOkStop);
    return true;
}

bool CopyEngine::CheckSpace(const std::wstring& source, const std::wstring& target, int64_t needed,
                            bool onContinue) {
    const int64_t free = env_.FreeBytes(target);
    if (needed <= free) return true;
    const std::wstring drive = target.substr(0, 2);
    host_.AppendLog(L"复制文件“" + source + L"”时遇到错误。" + kCrlf + kIndent + L"错误原因：" + drive +
                    L"盘空间不足" + kCrlf + kIndent + L"可用空间：" + MegabyteText(free) + L"MB" + kCrlf + kIndent +
                    L"文件大小：" + MegabyteText(s_.TotalBytes) + L"MB");
    std::wstring text = UpperCase(drive);
    if (onContinue)
        text += L"盘空间不足，请重新选择文件保存路径，然后单击[继续]并继续复制" + kCrlf + L"可用空间:" +
                MegabyteText(free) + L"MB" + kCrlf + L"文件大小:" + MegabyteText(s_.TotalBytes) + L"MB";
    else
        text += L"盘空间不足，请重新选择文件保存路径" + kCrlf + L"可用空间：" + MegabyteText(free) + L"MB" + kCrlf +
                L"文件大小：" + MegabyteText(s_.TotalBytes) + L"MB";
    text += kCrlf + kCrlf + L"是[Y]：忽略，继续复制" + kCrlf + L"否[N]：取消复制，重新选择文件保存路径";
    return Ask(text, L"提醒！", kYesNoExclamation) == kYes;
}

void CopyEngine::BeginCopy(const std::wstring& sourceText, const std::wstring& destinationText) {
    if (s_.RunningFlag || loopActive_) return;
    if (Trim(sourceText, L" \t").empty() || Trim(destinationText, L" \t").empty()) {
        Ask(L"源文件路径与文件保存路径不能为空。", L"提醒！", kOkExclamation);
        return;
    }
    // A blank at the end belongs to the name: cut off, another file's name could remain.
    const std::wstring source = TrimStart(sourceText), destination = TrimStart(destinationText);
    if (Refuse(source, SourceRefusal(source, env_))) return;
    // A device name as the target fails every drive query: told for what it is before those.
    if (Refuse(source, NameRefusal(destination))) return;
    if (env_.SameFile(source, destination)) {
        Ask(L"源文件与文件保存路径是同一个文件，请重新选择文件保存路径。", L"提醒！", kOkExclamation);
        return;
    }
    s_.Paused = false;
    newTargetAllowed_ = false;
    s_.ElapsedSeconds = 0;
    elapsedMs_ = 0;

    if (!IsNetworkPath(destination)) {
        int64_t length = 0;
        const DWORD e = reader_.QueryLength(source, &length);
        if (e != ERROR_SUCCESS) {
            BeginCopyFailed(source, FileErrorFromWin32(e, FileStep::SourceOpen, true));
            return;
        }
        s_.TotalBytes = length;
        if (env_.FreeBytes(destination) == -1) {
            host_.AppendLog(batch_copy_rules::ErrorEntry(source, L"错误原因：无效的文件保存路径。"));
            Ask(L"无效的文件保存路径。", L"Error", kOkExclamation);
            return;
        }
        if (!CheckSpace(source, destination, s_.TotalBytes, false)) return;
    }
    s_.BlockBytes = int64_t{s_.ReadBlocks} * BlockUnit(source, destination, env_.DriveType(source), env_.OSPlatformCode());
    s_.Source = source;
    s_.Target = destination;
    DecideDestination(source, destination);
}

void CopyEngine::DecideDestination(const std::wstring& source, const std::wstring& destination) {
    bool existed = false;
    if (Refuse(source, TargetRefusal(destination, env_, writer_, &existed))) return;
    if (!existed) {
        s_.SourcePos = 1;
        StartLoop(CopyMode::Copy);
        return;
    }
    int32_t continueAt = 0;
    int16_t totalTime = 0;
    const long r = prompts_.ReadResumeRecord(destination, &continueAt, &totalTime);
    s_.PromptResult = static_cast<int>(r);
    if (r == 1) {
        const long c = prompts_.AskOverwriteOrContinue(source, destination);
        s_.PromptResult = static_cast<int>(c);
        if (c == 1) {
            s_.SourcePos = 1;
        } else if (c == 2) {
            // The record itself starts 16 bytes before the end; nothing after its marker is data.
            const int64_t limit = std::max<int64_t>(1, env_.FileLength(destination) - 16);
            s_.SourcePos = std::clamp<int64_t>(continueAt, 1, limit);
            s_.ElapsedSeconds = std::max<int16_t>(0, totalTime);
            elapsedMs_ = s_.ElapsedSeconds * 1000;
            continuesRecord_ = true;
            host_.AppendLog(L"续拷文件：" + source + kCrlf + kIndent + L"到：" + destination);
        } else {
            if (c == CopyPrompts::kUnavailable)
                Ask(L"无法显示提示窗口，Dorvex组件可能没有注册。", L"Error", kOkStop);
            s_.ElapsedSeconds = 0;
            elapsedMs_ = 0;
            return;
        }
        StartLoop(CopyMode::Copy);
        return;
    }
    std::wstring newName;
    const long c = prompts_.AskExistingTarget(source, destination, &newName);
    s_.PromptResult = static_cast<int>(c);
    switch (c) {
    case 1:
        s_.SourcePos = 1;
        StartLoop(CopyMode::Copy);
        return;
    case 2: {
        // Appending never shortens the target: one that already holds as many bytes as the
        // source, or more, is left as it is.
        int64_t total = 0;
        if (const DWORD e = reader_.QueryLength(source, &total)) {
            BeginCopyFailed(source, FileErrorFromWin32(e, FileStep::SourceOpen, true));
            return;
        }
        const int64_t have = env_.FileLength(destination);
        if (have >= total) {
            Ask(destination + kCrlf + L"该文件不小于源文件，没有可以追加的内容，文件保持不变。", L"提醒！", kOkExclamation);
            return;
        }
        s_.SourcePos = std::max<int64_t>(1, have);
        StartLoop(CopyMode::Copy);
        return;
    }
    case 3:
        s_.SourcePos = 1;
        s_.DestPos = std::max<int64_t>(0, env_.FileLength(destination)) + 1;
        StartLoop(CopyMode::Merge);
        return;
    case 4:
        if (!env_.RemoveFile(destination)) Ask(destination + kCrlf + kDeleteFailed, L"提醒！", kOkExclamation);
        RemoveSkipMap(destination, env_);
        return;
    case 5: {
        if (newName.empty()) return;
        const size_t slash = destination.find_last_of(L'\\');
        const std::wstring renamed = (slash == std::wstring::npos ? std::wstring() : destination.substr(0, slash + 1)) + newName;
        if (env_.SameFile(source, renamed)) {
            Ask(L"源文件与文件保存路径是同一个文件，请重新选择文件保存路径。", L"提醒！", kOkExclamation);
            return;
        }
        s_.Target = renamed;
        // A new name that exists is an existing destination like any other: asked about again,
        // never written over unasked; a name that cannot be used is told.
        return DecideDestination(source, renamed);
    }
    default:
        if (c == CopyPrompts::kUnavailable) Ask(L"无法显示提示窗口，Dorvex组件可能没有注册。", L"Error", kOkStop);
        return;
    }
}

void CopyEngine::CopyFileByBlocks(const std::wstring& source, const std::wstring& destination, int64_t step,
                                  int64_t fromPos) {
    if (s_.RunningFlag || loopActive_) return;
    s_.Source = source;
    s_.Target = destination;
    s_.SourcePos = std::max<int64_t>(1, fromPos);
    s_.BlockBytes = std::max<int64_t>(1, step);
    s_.RecordPending = false;
    elapsedMs_ = 0;
    StartLoop(CopyMode::Copy);
}

void CopyEngine::MergeFileByBlocks(const std::wstring& source, const std::wstring& destination, int64_t step,
                                   int64_t destPos) {
    if (s_.RunningFlag || loopActive_) return;
    s_.Source = source;
    s_.Target = destination;
    s_.SourcePos = 1;
    s_.DestPos = std::max<int64_t>(1, destPos);
    s_.BlockBytes = std::max<int64_t>(1, step);
    s_.RecordPending = false;
    elapsedMs_ = 0;
    StartLoop(CopyMode::Merge);
}

void CopyEngine::StartLoop(CopyMode mode) {
    // A new copy replaces whatever copy stopped before on its own target; a start refused
    // before this keeps it. A copy that stopped on another file leaves that file its record
    // now, as the close would have, before the new copy's tally and position replace it.
    if (pending_ && !env_.SameFile(pending_->target, s_.Target)) LeavePendingRecord();
    DropPending();
    wrote_ = false;
    s_.Mode = mode;
    StartSkipTally(skips_, s_.Source, s_.Target, s_.SourcePos, std::exchange(continuesRecord_, false), env_, writer_,
                   &cut_);
    EnterCopyingState();
    RunBlocks(s_.BlockBytes);
}

// ---------------------------------------------------------------------------------------------
// Block loops

void CopyEngine::NoteBlock(int64_t pos) {
    shownPos_ = pos;
    displayBehind_ = true;
    // Label texts and the bar's drawing cost far more than a block of a fast medium: they are
    // brought up to date at most about 30 times a second, and whenever the loop stops.
    if (env_.NowMs() - shownAtMs_ >= BlockPacer::kDisplayIntervalMs) ShowBlock();
}

void CopyEngine::ShowBlock() {
    if (!displayBehind_) return;
    displayBehind_ = false;
    shownAtMs_ = env_.NowMs();
    SetLabel(CopyLabel::Copied, GroupedNumber(shownPos_) + L"字节");
    const double fraction =
        s_.TotalBytes > 0 ? std::clamp(static_cast<double>(shownPos_) / static_cast<double>(s_.TotalBytes), 0.0, 1.0) : 1.0;
    host_.DrawProgress(fraction, PercentText(fraction));
}

CopyEngine::PassResult CopyEngine::RunPass(int64_t step) {
    BlockPassSteps steps;
    steps.stopRequested = [this] { return s_.StopRequested; };
    steps.blockDone = [this](int64_t pos) {
        // A block at a position within the source wrote its bytes.
        if (pos >= 1 && pos <= s_.TotalBytes) wrote_ = true;
        NoteBlock(pos);
    };
    steps.pump = [this] { host_.PumpMessages(); };
    const PassResult r = pass_.Run(s_.Source, s_.Target, step, s_.SourcePos,
                                   s_.Mode == CopyMode::Merge ? &s_.DestPos : nullptr, s_.TotalBytes, steps);
    lastWrittenSourcePos_ = r.lastWritten;
    skips_.Wrote(r.lastWritten);
    // However the pass ended (its end, a stop, an unreadable spot), the display shows its last
    // block.
    ShowBlock();
    return r;
}

void CopyEngine::RunBlocks(int64_t step) {
    struct Active {
        bool& flag;
        explicit Active(bool& f) : flag(f) { flag = true; }
        ~Active() { flag = false; }
    } active(loopActive_);
    // The first block after Start or Continue shows at once.
    shownAtMs_ = INT64_MIN / 2;
    displayBehind_ = false;
    // One block is held in memory; the read-size settings stay far below this bound.
    step = std::clamp<int64_t>(step, 1, int64_t{64} << 20);
    for (;;) {
        const PassResult r = RunPass(step);
        switch (r.kind) {
        case PassResult::Finished:
            Finish(true);
            return;
        case PassResult::Remainder:
            step = s_.TotalBytes - s_.SourcePos;
            continue;
        case PassResult::Stopped:
            StopPath();
            return;
        case PassResult::Failed:
            if (!HandleError(r, step)) return;
            continue;
        }
    }
}

void CopyEngine::Finish(bool updateCopied) {
    if (s_.Mode == CopyMode::Copy) {
        // The target ends where the source ends: no tail of an older, longer file and no
        // resume record stays behind it. One gone meanwhile is not made again, empty.
        if (env_.FileExists(s_.Target) && writer_.Open(s_.Target) == ERROR_SUCCESS) {
            writer_.SetLength(s_.TotalBytes);
            writer_.Close();
        }
    }
    const bool copy = s_.Mode == CopyMode::Copy;
    if (!TargetIsThere(s_.Target, copy ? s_.TotalBytes : -1, env_)) {
        // No success over a target that is gone or not under its name: what is there stays.
        DropPending();
        cut_ = CutRecord{};
        EndCopyState();
        const std::wstring why = TargetMissingText(s_.Target);
        LogError(L"错误原因：" + why);
        Ask(why, TextsOf(s_.Mode).title, kOkStop);
        return;
    }
    if (updateCopied) SetLabel(CopyLabel::Copied, GroupedNumber(s_.TotalBytes) + L"字节");
    if (!ticked_) {
        // Done before the first tick: the labels still show the copy before this one.
        const int64_t ms = elapsedMs_ + (timerOn_ ? std::max<int64_t>(0, env_.NowMs() - lastTickMs_) : 0);
        const TickFigures f = ComputeFinish(ms, s_.TotalBytes);
        SetLabel(CopyLabel::Elapsed, ClockText(ms / 1000));
        SetLabel(CopyLabel::Remaining, ClockText(0));
        SetLabel(CopyLabel::Estimated, ClockText(f.estimatedSeconds));
        SetLabel(CopyLabel::Rate, GroupedNumber(f.kbPerSecond) + L"KB/秒");
    }
    DropPending();
    cut_ = CutRecord{};
    RemoveSkipMap(s_.Target, env_);
    EndCopyState();
    std::wstring logTail, messageTail;
    for (const std::wstring& line : SkipReportLines(skips_)) {
        logTail += kCrlf + kIndent + line;
        messageTail += kCrlf + line;
    }
    host_.AppendLog(s_.Source + kCrlf + kIndent + (copy ? L"被成功地复制到：" : L"被成功地合并到：") + kCrlf + kIndent +
                    s_.Target + kCrlf + kIndent + L"文件大小：" + GroupedNumber(s_.TotalBytes) + L"字节" + L"  " +
                    L"总计消耗：" + estimatedText_ + L"  " + L"存取速度：" + rateText_ + logTail);
    Ask(s_.Source + kCrlf + (copy ? L"已被成功地复制到：" : L"已被成功地合并到：") + s_.Target + messageTail,
        copy ? L"文件复制完成！" : L"文件合并完成！", kOkExclamation);
}

void CopyEngine::StopPath() {
    TimerOff();
    if (!s_.CancelRequested) {
        // Paused: the window stays locked; Continue goes on from SourcePos.
        KeepPending(false);
        return;
    }
    host_.AppendLog(TextsOf(s_.Mode).cancelled + s_.Source);
    if (Ask(s_.Target + kCrlf + L"该文件已经存在，是否删除？", L"提醒！", kYesNoExclamation) == kYes) {
        ResetCopyState();
        if (!env_.RemoveFile(s_.Target)) Ask(s_.Target + kCrlf + kDeleteFailed, L"提醒！", kOkExclamation);
        RemoveSkipMap(s_.Target, env_);
    } else {
        // A merge target holds other data before the merged part: a copy record there would
        // make a later continue write the source over it.
        if (s_.Mode == CopyMode::Copy) WriteResumeRecord(s_.Target);
        ResetCopyState();
    }
    DropPending();
}

void CopyEngine::LogError(const std::wstring& reason) {
    if (s_.Mode == CopyMode::Copy)
        host_.AppendLog(L"复制文件“" + s_.Source + L"”时遇到错误。" + kCrlf + kIndent + reason);
    else
        host_.AppendLog(L"合并文件“" + s_.Source + L"”到：" + kCrlf + kIndent + L"“" + s_.Target + L"”时遇到错误。" + kCrlf +
                        kIndent + reason);
}

bool CopyEngine::HandleError(const PassResult& r, int64_t step) {
    const ModeTexts& t = TextsOf(s_.Mode);
    const FileError& e = r.error;
    const bool copy = s_.Mode == CopyMode::Copy;
    auto endFailed = [&] {
        KeepPending(true);
        EndCopyState();
    };

    // Only the source's own bytes are ever jumped over.
    if (r.step == FileStep::SourceRead && (e.mediaRead || e.number == kErrBadFileName)) {
        SkipTo(s_.SourcePos + (e.mediaRead ? int64_t{s_.SkipBlocks} * step * 8 : step));
        host_.PumpMessages();
        if (s_.SourcePos > s_.TotalBytes) {
            Finish(false);
            return false;
        }
        return true;
    }

    switch (e.number) {
    case kErrInvalidCall:
        TimerOff();
        if (Ask(t.retryQuestion, L"警告！", kYesNoStop) == kYes) {
            EnterCopyingState();
            return true;
        }
        endFailed();
        LogError(L"错误原因：[" + std::to_wstring(e.number) + L"]." + e.description);
        return false;
    case kErrDiskFull:
        endFailed();
        LogError(std::wstring(L"错误原因：") + t.diskFull);
        Ask(t.diskFull, t.title, kOkStop);
        return false;
    case kErrBadRecordNumber:
        endFailed();
        LogError(L"错误原因：未知错误，可能是文件拒绝访问权限。");
        Ask(L"未知错误，请检查文件访问权限。", t.title, kOkStop);
        return false;
    case kErrPermissionDenied:
        endFailed();
        LogError(L"错误原因：共享冲突,源文件或目标文件可能正在使用。");
        Ask(t.sharingVerb + s_.Source + kCrlf + L"共享冲突,源文件或目标文件可能正在使用。", t.title, kOkStop);
        return false;
    case kErrPathFileAccess:
        endFailed();
        LogError(L"错误原因：路径/文件访问错误，文件拒绝访问权限。");
        Ask(L"路径/文件访问错误，请检查文件的访问权限。", t.title, kOkStop);
        return false;
    default:
        break;
    }
    const bool cdGone = env_.DriveType(s_.Source) == DRIVE_CDROM && !env_.DriveIsReady(s_.Source);
    endFailed();
    if (cdGone) {
        LogError(t.cdReason);
        Ask(t.cdMessage, t.title, kOkStop);
        return false;
    }
    // The file the failed step was on, named; a name too long is told as such.
    const bool onTarget = r.step == FileStep::TargetOpen || r.step == FileStep::TargetWrite;
    const std::wstring& file = onTarget ? s_.Target : s_.Source;
    const std::wstring description = NameTooLongError(e.win32, file) ? kNameTooLongDescription : e.description;
    if (!description.empty()) {
        const std::wstring told = L"[" + std::to_wstring(e.number) + L"]." + description;
        LogError(L"错误原因：" + told + L"：“" + file + L"”");
        Ask(told + kCrlf + file, t.title, kOkStop);
        return false;
    }
    if (copy) {
        LogError(L"错误原因：未知错误，可能是目标文件中含有非法字符 " + kCrlf + kIndent + L"或是在文件复制过程当中遇到了其他无法预料的情况 。");
        Ask(L"未知错误，可能是目标文件中含有非法字符或是在文件 " + kCrlf + L"复制过程当中遇到了其他无法预料的情况.如果文件已经" + kCrlf +
                L"复制了一部份，请重新启动Salvadisk并再次选择该 " + kCrlf + L"文件然后以追加方式继续复制剩余的部分，若仍然存在" + kCrlf +
                L"问题，请检查文件的访问权限.",
            t.title, kOkStop);
    } else {
        LogError(L"错误原因：未知错误，可能是目标文件中含有非法字符或是 " + kCrlf + kIndent + L"在文件合并过程当中遇到了其他无法预料的情况 。");
        Ask(L"未知错误，可能是目标文件中含有非法字符或是在文件 " + kCrlf + L"合并过程当中遇到了其他无法预料的情况.如果文件已经" + kCrlf +
                L"合并了一部份，请重新启动Salvadisk，若仍然存在" + kCrlf + L"问题，请检查文件的访问权限.",
            t.title, kOkStop);
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Pause, continue, cancel, timer, sliders

void CopyEngine::PauseOrContinue(const std::wstring& destinationBox) {
    if (!s_.Paused) {
        if (!s_.RunningFlag) return;
        EnterPausedState();
        return;
    }
    s_.RunningFlag = true;
    s_.StopRequested = false;
    s_.Paused = false;
    host_.SetPauseCaption(kPauseCaption);
    host_.EnableControl(CopyControl::CancelButton, true);
    host_.EnableControl(CopyControl::SetUpButton, false);
    // Paused and continued within one pump: the loop has not stopped yet and simply goes on.
    if (loopActive_) return;

    const std::wstring box = TrimStart(destinationBox);
    if (newTargetAllowed_ && !box.empty() && !env_.SameFile(s_.Source, box)) {
        if (Refuse(s_.Source, NameRefusal(box))) {
            EnterPausedState();
            host_.EnableControl(CopyControl::TargetButton, true);
            host_.EnableControl(CopyControl::TargetBox, true);
            return;
        }
        s_.Target = box;
    }
    newTargetAllowed_ = false;
    const std::wstring& target = s_.Target;
    const bool restarted = RestartIfTargetChanged();

    if (!IsNetworkPath(target)) {
        int64_t length = 0;
        if (reader_.QueryLength(s_.Source, &length) == ERROR_SUCCESS) s_.TotalBytes = length;
        if (!CheckSpace(s_.Source, target, s_.TotalBytes - s_.SourcePos, true)) {
            EnterPausedState();
            host_.EnableControl(CopyControl::TargetButton, true);
            host_.EnableControl(CopyControl::TargetBox, true);
            newTargetAllowed_ = true;
            return;
        }
        if (s_.Mode == CopyMode::Copy && !restarted && env_.FileExists(target)) {
            if (Ask(target + kCrlf + L"该文件已经存在，是否覆盖或以追加方式继续复制？" + kCrlf + L"是[Y]：覆盖该文件" + kCrlf +
                        L"否[N]：以追加方式继续复制",
                    L"提醒！", kYesNoExclamation) == kYes) {
                s_.SourcePos = 1;
                skips_.Reset(1);
                RemoveSkipMap(target, env_);
            }
        }
    }
    DropPending();
    EnterCopyingState();
    RunBlocks(s_.BlockBytes);
}

bool CopyEngine::RestartIfTargetChanged() {
    // The target must still be as long as what the copy put before the position it goes on
    // from: up to the last byte it wrote (a stretch skipped right before a pause was never
    // written), or in a merge, which leaves no gaps, up to the write position.
    const bool copy = s_.Mode == CopyMode::Copy;
    const int64_t reached = copy ? s_.SourcePos : s_.DestPos;
    const int64_t needed = copy ? std::min(reached - 1, skips_.CoveredThrough()) : reached - 1;
    if (reached <= 1) return false;
    const int64_t have = env_.FileLength(s_.Target);  // -1 when it is gone
    if (have >= needed) return false;
    Ask(L"目标文件已不存在或已被改动，将从头开始复制。", L"提醒！", kOkExclamation);
    s_.SourcePos = 1;
    if (!copy) s_.DestPos = std::max<int64_t>(0, have) + 1;
    skips_.Reset(1);
    RemoveSkipMap(s_.Target, env_);
    wrote_ = false;
    cut_ = CutRecord{};
    return true;
}

void CopyEngine::Cancel() {
    if (!loopActive_) return;
    s_.StopRequested = true;
    s_.CancelRequested = true;
}

void CopyEngine::TimerTick() {
    if (!timerOn_) return;
    const int64_t now = env_.NowMs();
    elapsedMs_ += std::max<int64_t>(0, now - lastTickMs_);
    lastTickMs_ = now;
    ticked_ = true;
    s_.ElapsedSeconds = elapsedMs_ / 1000;
    SetLabel(CopyLabel::Elapsed, ClockText(s_.ElapsedSeconds));
    const TickFigures f = ComputeTick(s_.ElapsedSeconds, s_.SourcePos, s_.TotalBytes);
    if (f.known) {
        s_.RemainingSeconds = f.remainingSeconds;
        s_.EstimatedSeconds = f.estimatedSeconds;
        SetLabel(CopyLabel::Remaining, ClockText(f.remainingSeconds));
        SetLabel(CopyLabel::Estimated, ClockText(f.estimatedSeconds));
    }
    SetLabel(CopyLabel::Rate, GroupedNumber(f.kbPerSecond) + L"KB/秒");
}

void CopyEngine::ReadBlocksReleased(int value, const std::wstring& source, const std::wstring& destination) {
    s_.ReadBlocks = std::clamp(value, 1, 100);
    SetLabel(CopyLabel::ReadBlocks, std::to_wstring(s_.ReadBlocks) + L"块");
    s_.BlockBytes = int64_t{s_.ReadBlocks} * BlockUnit(source, destination, env_.DriveType(source), env_.OSPlatformCode());
}

void CopyEngine::SkipBlocksReleased(int value) {
    s_.SkipBlocks = std::clamp(value, 1, 30);
    SetLabel(CopyLabel::SkipBlocks, std::to_wstring(s_.SkipBlocks) + L"块");
    // Only a paused copy is moved; a running one goes on where it is, and at other times the
    // next start sets the position anyway.
    if (!s_.Paused) return;
    SkipTo(s_.SourcePos + int64_t{s_.SkipBlocks} * s_.BlockBytes);
    host_.PumpMessages();
}

// ---------------------------------------------------------------------------------------------
// Resume record

void CopyEngine::SkipTo(int64_t to) {
    // The failed block's first byte came with the block before it; in a merge it stays.
    if (s_.Mode == CopyMode::Merge && lastWrittenSourcePos_ == s_.SourcePos) s_.DestPos += 1;
    skips_.Skipped(s_.SourcePos, to, s_.TotalBytes);
    s_.SourcePos = to;
    // A skip past the end is told as one to the first position after the source.
    host_.AppendLog(L"文件跳过：" + GroupedNumber(std::min(s_.SourcePos, s_.TotalBytes + 1)) + L"字节");
}

void CopyEngine::DropPending() {
    s_.RecordPending = false;
    pending_.reset();
}

void CopyEngine::KeepPending(bool failed) {
    DropPending();
    if (s_.Mode != CopyMode::Copy || s_.SourcePos >= s_.TotalBytes) return;
    if (!wrote_) {
        // Nothing of this copy reached the target: a failed continue puts its record back at
        // once, so that the next start finds it; a target it never wrote owes it nothing.
        if (failed) PutRecordBack(s_.Target, cut_, env_);
        if (cut_.at < 0) return;
    }
    pending_ = PendingRecord{s_.Source, s_.Target, s_.SourcePos, s_.TotalBytes, s_.ElapsedSeconds,
                             env_.FileLength(s_.Target), env_.LastWriteTime(s_.Target)};
    s_.RecordPending = true;
}

void CopyEngine::WriteResumeRecord(const std::wstring& target) {
    LeaveRecord(PendingRecord{s_.Source, target, s_.SourcePos, s_.TotalBytes, s_.ElapsedSeconds});
}

void CopyEngine::LeaveRecord(PendingRecord p) {
    DropPending();
    if (!wrote_) {
        PutRecordBack(p.target, cut_, env_);
        return;
    }
    if (LeaveResumeRecord(p.source, p.target, p.sourcePos, p.totalBytes, p.elapsedSeconds, skips_, env_, writer_,
                          prompts_) == RecordOutcome::Failed)
        Ask(p.target + kCrlf + kRecordFailedText, L"提醒！", kOkExclamation);
}

void CopyEngine::LeavePendingRecord() {
    // Only onto the target as the copy left it: one completed or replaced since keeps what it
    // holds.
    if (pending_ && env_.FileLength(pending_->target) == pending_->length &&
        env_.LastWriteTime(pending_->target) == pending_->writeTime)
        LeaveRecord(*pending_);
}

void CopyEngine::WriteResumeRecordOnClose() {
    if (closed_) return;
    closed_ = true;
    if (!loopActive_) {
        LeavePendingRecord();
        return;
    }
    // The window goes while a loop is still on the stack (the session ends inside its pump, or
    // during one of its questions). Its files are closed for the record; the loop stops before
    // its next block and asks nothing more.
    reader_.Close();
    writer_.Close();
    s_.StopRequested = true;
    s_.CancelRequested = false;
    if (s_.Mode == CopyMode::Copy && s_.SourcePos < s_.TotalBytes) WriteResumeRecord(s_.Target);
}

}  // namespace salva
