#include "copier/frmCopyAllFiles.h"
#include "copier/BatchCopyRules.h"
#include "copier/BlockUnit.h"
#include "copier/CopyTiming.h"
#include "copier/DorvexCopyPrompts.h"
#include "copier/FileNameRules.h"
#include "copier/ResumeRecord.h"
#include "copier/SkipMapFile.h"
#include "copier/TargetName.h"
#include "copier/mplayAVICtrl.h"
#include "services/MainWindow.h"
#include "services/Text.h"
#include "services/mDoEvents.h"
#include "services/mSubClassBrowserFolder.h"
#include "services/mT3D.h"
#include "windows/frmSystem.h"
#include <algorithm>
#include <commctrl.h>
#include <ocidl.h>

namespace salva {

namespace rules = batch_copy_rules;

namespace {

constexpr UINT_PTR kTimeTimer = 1;
constexpr int kClientWidth = 400, kClientHeight = 232;
constexpr unsigned kOkStop = MB_OK | MB_ICONSTOP, kYesNoStop = MB_YESNO | MB_ICONSTOP;
constexpr unsigned kOkExclamation = MB_OK | MB_ICONEXCLAMATION, kYesNoExclamation = MB_YESNO | MB_ICONEXCLAMATION;
const std::wstring kCrlf = L"\r\n";
const std::wstring kIndent(22, L' ');
const wchar_t kNotRegistered[] = L"无法显示提示窗口，Dorvex组件可能没有注册。";

std::vector<std::wstring> MainWindowList() {
    std::vector<std::wstring> items;
    if (MainWindow* main = TheMainWindow())
        for (int i = 0, n = main->FileListCount(); i < n; ++i) items.push_back(main->FileListItem(i));
    return items;
}

std::wstring PickFolder(HWND owner, bool* sameFolder) {
    const std::wstring folder = mSubClassBrowserFolder::BrowseForFolderWithChooseOptions(owner, L"选择文件保存路径");
    *sameFolder = mSubClassBrowserFolder::GetCopyToSameDir();
    return folder;
}

std::wstring CurrentTimeText() {
    wchar_t text[64] = {};
    if (!::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64)) return L"";
    return text;
}

}  // namespace

frmCopyAllFiles::frmCopyAllFiles() : frmCopyAllFiles(Options{}) {}

frmCopyAllFiles::frmCopyAllFiles(Options options)
    : options_(std::move(options)),
      ownEnvironment_(options_.environment ? nullptr : std::make_unique<Win32CopyEnvironment>()),
      ownPrompts_(options_.prompts ? nullptr : std::make_unique<DorvexCopyPrompts>()),
      ownReader_(options_.reader ? nullptr : std::make_unique<Win32BlockReader>()),
      ownWriter_(options_.writer ? nullptr : std::make_unique<Win32BlockWriter>()),
      env_(options_.environment ? *options_.environment : *ownEnvironment_),
      prompts_(options_.prompts ? *options_.prompts : *ownPrompts_),
      reader_(options_.reader ? *options_.reader : *ownReader_),
      writer_(options_.writer ? *options_.writer : *ownWriter_),
      pass_(reader_, writer_, env_) {
    if (!options_.owner)
        if (MainWindow* main = TheMainWindow()) options_.owner = main->Handle();
    if (!options_.listedFiles) options_.listedFiles = MainWindowList;
    if (!options_.chooseFolder) options_.chooseFolder = PickFolder;
    if (!options_.log) options_.log = [](const std::wstring& entry) { frmSystem::Default().GetFileCopyLog(entry); };
    if (!options_.message)
        options_.message = [](HWND owner, const std::wstring& text, const std::wstring& title, unsigned style) {
            return ::MessageBoxW(owner, text.c_str(), title.c_str(), style);
        };
}

frmCopyAllFiles::~frmCopyAllFiles() { Unload(); }

HWND frmCopyAllFiles::Control(int id) const { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }

void frmCopyAllFiles::SetText(int id, const std::wstring& text) { ::SetWindowTextW(Control(id), text.c_str()); }

int frmCopyAllFiles::Ask(const std::wstring& text, const std::wstring& title, unsigned style) {
    s_.PromptResult = options_.message(hwnd_, text, title, style);
    return s_.PromptResult;
}

void frmCopyAllFiles::Log(const std::wstring& entry) { options_.log(entry); }

// ---------------------------------------------------------------------------------------------
// Window

bool frmCopyAllFiles::Load() {
    if (hwnd_) return true;
    RECT rc{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&rc, style, FALSE, 0);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateWindowOf(0, L"正在复制...", style, x, y, w, h, options_.owner)) return false;
    CreateControls();
    return true;
}

void frmCopyAllFiles::CreateControls() {
    auto label = [this](int id, const wchar_t* text, int x, int y, int w, DWORD extra = 0) {
        ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | extra, x, y, w, 16, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    };
    animationHost_.Create(hwnd_, IDC_picAVIShowWindow, 8, 6, 384, 64);
    label(IDC_lblSurFilePath, L"源文件路径", 8, 74, 384, SS_PATHELLIPSIS);
    label(IDC_lblDecFilePath, L"目标文件路径", 8, 92, 384, SS_PATHELLIPSIS);
    progressBar_.Create(hwnd_, IDC_PicProgressBar, 8, 114, 384, 18);
    progressBar_.SetBackColor(RGB(255, 255, 255));
    label(IDC_lblTotalLength, L"[ 总共：000,000,000KB ]", 8, 138, 260);
    label(IDC_lblTotalFiles, L"[ 00000/00000 ]", 282, 138, 110, SS_RIGHT);
    label(IDC_lblYiFuZhiTitle, L"已复制[字节]：", 8, 160, 88);
    label(IDC_lblYiFuZhi, L"00,000,000,000字节", 96, 160, 112);
    label(IDC_lblZongJiHaoShiTitle, L"已用时间：", 212, 160, 64);
    label(IDC_lblZongJiHaoShi, L"00:00:00", 276, 160, 64);
    label(IDC_lblGuJiXiaoHaoTitle, L"估计消耗：", 8, 178, 88);
    label(IDC_lblGuJiXiaoHao, L"00:00:00", 96, 178, 112);
    label(IDC_lblCurrentTimeTitle, L"当前时间：", 212, 178, 64);
    label(IDC_lblCurrentTime, L"00:00:00", 276, 178, 64);
    label(IDC_lblShuJuLiuLiangTitle, L"存取速度：", 8, 196, 88);
    label(IDC_lblShuJuLiuLiang, L"0KB/秒", 96, 196, 112);
    // Below the current time's line (178 to 194) and its frame, not over them.
    ::CreateWindowExW(0, L"BUTTON", L"取消[&C]", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 312, 200, 80, 24,
                      hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_cmdCancel)), ::GetModuleHandleW(nullptr),
                      nullptr);

    // The window font everywhere but on the bytes label, which keeps the system's.
    mT3D::ApplyWindowFontRule(hwnd_);
    ::SendMessageW(Control(IDC_lblYiFuZhi), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    progressBar_.SetFont(mT3D::WindowFont());
    // The fill merges with the percentage printed under it.
    progressBar_.SetDrawMode(R2_MERGEPENNOT);
    progressBar_.Clear();
    progressColor_ = mT3D::GetSystemColor(COLOR_HIGHLIGHT);
}

void frmCopyAllFiles::Unload() {
    if (!hwnd_) return;
    ::KillTimer(hwnd_, kTimeTimer);
    unloading_ = true;
    ::DestroyWindow(hwnd_);
    unloading_ = false;
}

void frmCopyAllFiles::Form_Paint() {
    mT3D::DrawControlFrame3D(hwnd_, Control(IDC_PicProgressBar), 1, mT3D::Frame3DSunken);
    mT3D::DrawControlFrame3D(hwnd_, Control(IDC_cmdCancel), 1, mT3D::Frame3DSunken);
}

LRESULT frmCopyAllFiles::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        { paint_scope ps(hwnd_); }
        Form_Paint();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_cmdCancel && HIWORD(wp) == BN_CLICKED) cmdCancel_Click();
        return 0;
    case WM_TIMER:
        if (wp == kTimeTimer) TimerTick();
        return 0;
    case WM_CLOSE:
        // The caption has no close box; Alt+F4 counts as Cancel.
        cmdCancel_Click();
        return 0;
    case WM_ENDSESSION:
        if (wp) EndSession();
        return 0;
    case WM_DESTROY:
        // Destroyed under the running batch: its owner went at the session's end.
        if (!unloading_) EndSession();
        mplayAVICtrl::CloseAVIWindow();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

void frmCopyAllFiles::cmdCancel_Click() {
    if (!running_) return;
    if (stopReason_.empty()) stopReason_ = L"复制已被取消。";
    s_.StopRequested = true;
    s_.KeepPartial = true;
    s_.CancelRequested = true;
}

// ---------------------------------------------------------------------------------------------
// Timer

int32_t frmCopyAllFiles::SecondOfMinute() { return static_cast<int32_t>((env_.NowMs() / 1000) % 60); }

void frmCopyAllFiles::StartTimer() {
    if (batchStartMs_ < 0) batchStartMs_ = env_.NowMs();
    s_.LastSecond = SecondOfMinute();
    if (hwnd_) ::SetTimer(hwnd_, kTimeTimer, 1000, nullptr);
    s_.StopRequested = false;
    s_.SkipCurrent = false;
    s_.KeepPartial = false;
}

void frmCopyAllFiles::ResetTimer() {
    s_.StopRequested = false;
    s_.SkipCurrent = false;
    s_.KeepPartial = false;
    progressBar_.Clear();
    progressBar_.Refresh();
    s_.PastSeconds += s_.ElapsedSeconds;
    s_.ElapsedSeconds = 0;
    s_.LastSecond = SecondOfMinute();
}

void frmCopyAllFiles::TimerOff() {
    if (hwnd_) ::KillTimer(hwnd_, kTimeTimer);
}

void frmCopyAllFiles::TimerTick() {
    ticked_ = true;
    const int32_t s = SecondOfMinute();
    const int32_t d = s - s_.LastSecond;
    s_.ElapsedSeconds += d > 0 ? d : d < 0 ? d + 60 : 1;
    s_.LastSecond = s;
    const int64_t t = int64_t{s_.ElapsedSeconds} + s_.PastSeconds;
    SetText(IDC_lblZongJiHaoShi, ClockText(t));
    SetText(IDC_lblCurrentTime, CurrentTimeText());
    const TickFigures f = ComputeTick(t, s_.BatchDoneBytes + s_.SourcePos, s_.BatchBytes);
    if (f.known) {
        s_.EstimatedSeconds = static_cast<int32_t>(std::min<int64_t>(f.estimatedSeconds, INT32_MAX));
        SetText(IDC_lblGuJiXiaoHao, ClockText(s_.EstimatedSeconds));
    }
    SetText(IDC_lblShuJuLiuLiang, GroupedNumber(f.kbPerSecond) + L"KB/秒");
}

void frmCopyAllFiles::ShowUntickedFigures() {
    if (ticked_ || batchStartMs_ < 0) return;
    const int64_t ms = std::max<int64_t>(0, env_.NowMs() - batchStartMs_);
    const TickFigures f = ComputeFinish(ms, s_.BatchDoneBytes);
    SetText(IDC_lblZongJiHaoShi, ClockText(ms / 1000));
    SetText(IDC_lblCurrentTime, CurrentTimeText());
    SetText(IDC_lblGuJiXiaoHao, ClockText(f.estimatedSeconds));
    SetText(IDC_lblShuJuLiuLiang, GroupedNumber(f.kbPerSecond) + L"KB/秒");
}

// ---------------------------------------------------------------------------------------------
// The batch

void frmCopyAllFiles::CopyingFiles() {
    if (running_) return;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(running_);
    s_ = State{};
    batchList_.clear();
    currentTarget_.clear();
    batchSkipStretches_ = 0;
    batchSkipBytes_ = 0;
    batchEarlierUnknown_ = 0;
    batchSelfTargets_ = 0;
    batchFailedFiles_ = 0;
    batchRefusedNames_ = 0;
    keptFiles_.clear();
    batchStartMs_ = -1;
    ticked_ = false;
    sessionEnded_ = false;
    stopReason_.clear();
    stoppedByError_ = false;

    const std::vector<std::wstring> listed = options_.listedFiles();
    // Names the system would open as another file or a device, or lists under another name,
    // are not copied: the log says why once a folder is chosen, the end box counts them.
    std::vector<std::wstring> refusedSources;
    for (const std::wstring& path : listed) {
        if (const std::wstring why = SourceRefusal(path, env_); !why.empty()) {
            refusedSources.push_back(rules::ErrorEntry(path, L"错误原因：" + why));
            continue;
        }
        if (!env_.FileExists(path)) continue;
        batchList_.push_back(path);
        keptFiles_.insert(env_.FileKey(path));
        s_.BatchBytes += std::max<int64_t>(0, env_.FileLength(path));
    }
    if (!Load()) return;
    // An empty list asks for no folder.
    std::wstring folder;
    bool sameFolder = false;
    if (!listed.empty()) {
        auto end = [this] {
            ResetTimer();
            Unload();
        };
        folder = options_.chooseFolder(hwnd_, &sameFolder);
        if (folder.empty()) return end();
        folder = rules::WithBackslash(folder);
        if (!IsNetworkPath(folder)) {
            const int64_t free = env_.FreeBytes(folder);
            if (free == -1) {
                Ask(L"无效的文件保存路径。", L"Error", kOkExclamation);
                return end();
            }
            if (free < s_.BatchBytes &&
                Ask(rules::SpaceQuestionText(folder, free, s_.BatchBytes), L"提醒！", kYesNoExclamation) != IDYES)
                return end();
        }
    }

    for (const std::wstring& entry : refusedSources) Log(entry);
    batchRefusedNames_ = static_cast<int64_t>(refusedSources.size());
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
    mplayAVICtrl::OpenAVIWindow(animationHost_.Window(), L"Shell32.dll", 161, true, true, true);

    const int64_t n = static_cast<int64_t>(batchList_.size());
    // Where the batch stopped before its end: the file, whether its target keeps a record, and
    // how many files were not copied.
    std::wstring stoppedAt;
    bool partial = false;
    int64_t notCopied = 0;
    for (int64_t i = 0; i < n; ++i) {
        const std::wstring& source = batchList_[static_cast<size_t>(i)];
        // A Cancel that came between two files ends the batch before the next one.
        if (s_.CancelRequested) {
            stoppedAt = source;
            notCopied = n - i;
            break;
        }
        const std::wstring name = source.substr(source.find_last_of(L'\\') + 1);
        const std::wstring target = (sameFolder ? folder : MirrorSourceFolders(source, folder)) + name;
        SetText(IDC_lblTotalFiles, rules::FileCountText(i + 1, n));
        CopyNextFile(source, target);
        // A file that wrote nothing leaves its target as it found it, a continued one with its record.
        const bool putBack = !wroteCurrent_ && PutRecordBack(currentTarget_, cut_, env_);
        if (!s_.SkipCurrent) s_.BatchDoneBytes += std::max<int64_t>(0, env_.FileLength(source));
        if (failedCurrent_ && !s_.StopRequested) {
            // The batch goes on past a file an error ended: what it wrote keeps a record, so
            // a later batch continues it instead of starting over, and the end box counts it.
            ++batchFailedFiles_;
            if (wroteCurrent_) WriteResumeRecord(currentTarget_);
        }
        if (s_.StopRequested) {
            partial = (s_.KeepPartial && WriteResumeRecord(currentTarget_)) || putBack;
            stoppedAt = source;
            notCopied = n - i - (partial ? 1 : 0);
            break;
        }
        mDoEvents::PumpMessages();
    }
    TimerOff();
    ShowUntickedFigures();
    pass_.ReleaseBuffer();
    if (!sessionEnded_ &&
        (batchSkipStretches_ || batchEarlierUnknown_ || batchSelfTargets_ || batchFailedFiles_ ||
         batchRefusedNames_ || (stoppedByError_ && !stoppedAt.empty()))) {
        std::wstring text = L"复制所有文件到：" + folder;
        if (!stoppedAt.empty()) {
            text += kCrlf + L"复制在“" + stoppedAt + L"”处中止：" + stopReason_;
            if (partial) text += kCrlf + L"“" + currentTarget_ + L"”只复制了一部分，已留下续拷记录。";
            if (notCopied) text += kCrlf + L"还有 " + GroupedNumber(notCopied) + L" 个文件没有复制。";
        }
        if (batchSkipStretches_) text += kCrlf + SkippedText(batchSkipStretches_, batchSkipBytes_);
        if (batchEarlierUnknown_) text += kCrlf + rules::EarlierUnknownText(batchEarlierUnknown_);
        if (batchSelfTargets_) text += kCrlf + rules::SelfTargetText(batchSelfTargets_);
        if (batchFailedFiles_) text += kCrlf + rules::FailedFilesText(batchFailedFiles_);
        if (batchRefusedNames_) text += kCrlf + rules::RefusedNamesText(batchRefusedNames_);
        Ask(text, L"提醒！", kOkExclamation);
    }
    Unload();
}

std::wstring frmCopyAllFiles::MirrorSourceFolders(const std::wstring& source, const std::wstring& folder) {
    std::wstring path = rules::WithBackslash(folder);
    for (const std::wstring& piece : rules::MirroredFolders(source)) {
        path += piece;
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) ::CreateDirectoryW(path.c_str(), nullptr);
        path += L"\\";
    }
    return path;
}

void frmCopyAllFiles::CopyNextFile(const std::wstring& source, const std::wstring& target) {
    SetText(IDC_lblSurFilePath, L"从“" + source + L"”");
    SetText(IDC_lblDecFilePath, L"到“" + target + L"”");
    SetText(IDC_lblTotalLength, rules::TotalLengthText(s_.BatchBytes));
    s_.SkipCurrent = false;
    wroteCurrent_ = false;
    failedCurrent_ = false;
    cut_ = CutRecord{};
    if (Trim(source).empty() || Trim(target).empty()) return;
    s_.BlockBytes = rules::BlockBytes(source, target, env_.DriveType(source), env_.OSPlatformCode());
    currentTarget_ = target;
    DecideAndCopy(source, target, true);
}

void frmCopyAllFiles::DecideAndCopy(const std::wstring& source, const std::wstring& target, bool mayRename) {
    currentTarget_ = target;
    // A target that is the source itself is never written: the copy would cut the user's file.
    if (env_.SameFile(source, target)) {
        s_.SkipCurrent = true;
        ++batchSelfTargets_;
        Log(rules::ErrorEntry(source, L"错误原因：目标文件就是源文件本身，文件没有复制。"));
        return;
    }
    // A name the file system does not keep would write another file, or the target and its
    // side file as one.
    bool existed = false;
    if (const std::wstring why = TargetRefusal(target, env_, writer_, &existed); !why.empty()) {
        s_.SkipCurrent = true;
        ++batchRefusedNames_;
        Log(rules::ErrorEntry(source, L"错误原因：" + why));
        return;
    }
    // "All" covers what was in the folder before; a listed file or a target this batch wrote is
    // asked about again.
    if (!existed || (s_.ReplaceAll && keptFiles_.count(env_.FileKey(target)) == 0)) {
        s_.SourcePos = 1;
        StartCopy(source, target);
        return;
    }
    auto refused = [&](long answer) {
        if (answer == CopyPrompts::kUnavailable) Ask(kNotRegistered, L"Error", kOkStop);
        s_.StopRequested = true;
        stopReason_ = L"复制已被取消。";
    };
    int32_t continueAt = 0;
    int16_t totalTime = 0;
    s_.PromptResult = static_cast<int>(prompts_.ReadResumeRecord(target, &continueAt, &totalTime));
    if (s_.PromptResult == 1) {
        const long c = prompts_.AskOverwriteOrContinue(source, target);
        s_.PromptResult = static_cast<int>(c);
        if (c == 1) {
            s_.SourcePos = 1;
        } else if (c == 2) {
            // The record itself starts 16 bytes before the end; nothing after its marker is data.
            const int64_t limit = std::max<int64_t>(1, env_.FileLength(target) - 16);
            s_.SourcePos = std::clamp<int64_t>(continueAt, 1, limit);
            s_.ElapsedSeconds = std::max<int16_t>(0, totalTime);
            StartCopy(source, target, true);
            return;
        } else {
            refused(c);
            return;
        }
        StartCopy(source, target);
        return;
    }
    const long c = prompts_.AskReplace(source, target);
    s_.PromptResult = static_cast<int>(c);
    switch (c) {
    case 2:
        s_.ReplaceAll = true;
        [[fallthrough]];
    case 1:
        s_.SourcePos = 1;
        StartCopy(source, target);
        return;
    case 3:
        // No: an equal file stays as it is; another one is kept and the copy goes beside it,
        // asked about in turn when that name is taken too. A second no leaves the file out.
        if (!mayRename || env_.FileLength(source) == env_.FileLength(target)) {
            s_.SkipCurrent = true;
            return;
        }
        {
            const std::wstring beside = rules::AlternativeTarget(target);
            SetText(IDC_lblDecFilePath, L"到“" + beside + L"”");
            DecideAndCopy(source, beside, false);
        }
        return;
    default:
        refused(c);
        return;
    }
}

void frmCopyAllFiles::StartCopy(const std::wstring& source, const std::wstring& target, bool fromRecord) {
    currentSource_ = source;
    // A Cancel already seen leaves the target untouched, its record and map included: no pass
    // will run.
    if (!s_.CancelRequested) StartSkipTally(skips_, source, target, s_.SourcePos, fromRecord, env_, writer_, &cut_);
    StartTimer();
    copyingFile_ = true;
    CopyFileBlocks(source, target, s_.BlockBytes);
    copyingFile_ = false;
    if (env_.FileExists(target)) keptFiles_.insert(env_.FileKey(target));
}

// ---------------------------------------------------------------------------------------------
// Block loop

void frmCopyAllFiles::ShowProgress() {
    const double fraction = s_.TotalBytes > 0
                                ? std::clamp(static_cast<double>(s_.SourcePos) / static_cast<double>(s_.TotalBytes), 0.0, 1.0)
                                : 1.0;
    progressBar_.Clear();
    DrawProgressBar(progressBar_, progressColor_, fraction, PercentText(fraction), 180);
}

frmCopyAllFiles::PassResult frmCopyAllFiles::RunPass(const std::wstring& source, const std::wstring& target,
                                                      int64_t step) {
    // A Cancel seen before the pass leaves the target as it is, not even opened.
    if (s_.StopRequested || s_.CancelRequested) {
        PassResult r;
        r.kind = PassResult::Stopped;
        return r;
    }
    BlockPassSteps steps;
    steps.stopRequested = [this] { return s_.StopRequested || s_.CancelRequested; };
    // The count and the bar are shown at most about 30 times a second and always at the
    // pass's end, with the same texts.
    bool unshown = false;
    int64_t lastPos = 0;
    auto show = [this](int64_t pos) {
        SetText(IDC_lblYiFuZhi, GroupedNumber(s_.BatchDoneBytes + pos) + L"字节");
        ShowProgress();
        shownAtMs_ = env_.NowMs();
        displayChanged_ = true;
    };
    steps.blockDone = [&](int64_t pos) {
        wroteCurrent_ = true;
        lastPos = pos;
        unshown = env_.NowMs() - shownAtMs_ < BlockPacer::kDisplayIntervalMs;
        if (!unshown) show(pos);
    };
    steps.pump = [this] { pacer_.PumpAfterBlock(std::exchange(displayChanged_, false)); };
    const PassResult r = pass_.Run(source, target, step, s_.SourcePos, nullptr, s_.TotalBytes, steps);
    skips_.Wrote(r.lastWritten);
    if (unshown) show(lastPos);
    return r;
}

void frmCopyAllFiles::CopyFileBlocks(const std::wstring& source, const std::wstring& target, int64_t step) {
    // One block is held in memory; the read sizes stay far below this bound.
    step = std::clamp<int64_t>(step, 1, int64_t{64} << 20);
    for (;;) {
        const PassResult r = RunPass(source, target, step);
        switch (r.kind) {
        case PassResult::Finished:
            FileDone(source, target);
            return;
        case PassResult::Remainder:
            step = s_.TotalBytes - s_.SourcePos;
            continue;
        case PassResult::Stopped:
            TimerOff();
            return;
        case PassResult::Failed:
            if (!HandleError(r, source, target, step)) return;
            continue;
        }
    }
}

void frmCopyAllFiles::FileDone(const std::wstring& source, const std::wstring& target) {
    // The target ends where the source ends: no tail of an older, longer file and no resume
    // record stays behind it. One gone meanwhile is not made again, empty.
    if (env_.FileExists(target) && writer_.Open(target) == ERROR_SUCCESS) {
        writer_.SetLength(s_.TotalBytes);
        writer_.Close();
    }
    cut_ = CutRecord{};
    if (!TargetIsThere(target, s_.TotalBytes, env_)) {
        failedCurrent_ = true;
        Log(rules::ErrorEntry(source, L"错误原因：" + TargetMissingText(target)));
        ResetTimer();
        return;
    }
    RemoveSkipMap(target, env_);
    const std::vector<std::wstring> lines = SkipReportLines(skips_);
    if (!lines.empty()) {
        std::wstring reason = lines[0];
        for (size_t i = 1; i < lines.size(); ++i) reason += kCrlf + kIndent + lines[i];
        Log(rules::ErrorEntry(source, reason));
        batchSkipStretches_ += skips_.Stretches();
        batchSkipBytes_ += skips_.Bytes();
        batchEarlierUnknown_ += skips_.EarlierUnknown();
    }
    ResetTimer();
}

bool frmCopyAllFiles::HandleError(const PassResult& r, const std::wstring& source, const std::wstring& target,
                                  int64_t step) {
    const FileError& e = r.error;
    // Only the source's own bytes are ever jumped over; past its end the file is done.
    if (r.step == FileStep::SourceRead && (e.mediaRead || e.number == kErrBadFileName)) {
        const int64_t failedAt = s_.SourcePos;
        s_.SourcePos += e.mediaRead ? rules::kReadsPerSkip * step : step;
        skips_.Skipped(failedAt, s_.SourcePos, s_.TotalBytes);
        mDoEvents::PumpMessages();
        if (s_.SourcePos > s_.TotalBytes) {
            FileDone(source, target);
            return false;
        }
        return true;
    }
    auto goOn = [&](const wchar_t* reason) {
        failedCurrent_ = true;
        TimerOff();
        ResetTimer();
        Log(rules::ErrorEntry(source, reason));
        return false;
    };
    // An error the batch cannot go on past: the file keeps a record on what it wrote.
    auto stopOn = [&](const std::wstring& reason) {
        TimerOff();
        s_.StopRequested = true;
        s_.KeepPartial = true;
        stopReason_ = reason;
        stoppedByError_ = true;
        Log(rules::ErrorEntry(source, L"错误原因：" + reason));
        return false;
    };
    switch (e.number) {
    case kErrInvalidCall:
        TimerOff();
        if (Ask(L"复制文件时出错，是否继续复制？", L"警告！", kYesNoStop) == IDYES) {
            StartTimer();
            return true;
        }
        Log(rules::ErrorEntry(source, L"错误原因：[" + std::to_wstring(e.number) + L"]." + e.description));
        s_.StopRequested = true;
        stopReason_ = L"复制文件时出错。";
        return false;
    case kErrDiskFull:
        return stopOn(L"磁盘已满，没有足够的可用空间用来复制文件。");
    case kErrBadRecordNumber:
        return goOn(L"错误原因：未知错误，请检查文件访问权限。");
    case kErrPermissionDenied:
        return goOn(L"错误原因：共享冲突,源文件或目标文件可能正在使用。");
    case kErrPathFileAccess:
        return goOn(L"错误原因：路径/文件访问错误，请检查文件的访问权限。");
    default:
        break;
    }
    TimerOff();
    if (env_.DriveType(source) == DRIVE_CDROM && !env_.DriveIsReady(source))
        return stopOn(L"复制文件被意外地终止，可能是光驱中没有光盘。");
    ResetTimer();
    failedCurrent_ = true;
    // The file the failed step was on, named; a name too long is told as such.
    const std::wstring& file = r.step == FileStep::TargetOpen || r.step == FileStep::TargetWrite ? target : source;
    const std::wstring description = NameTooLongError(e.win32, file) ? kNameTooLongDescription : e.description;
    if (!description.empty()) {
        const std::wstring told = L"[" + std::to_wstring(e.number) + L"]." + description;
        Log(rules::ErrorEntry(source, L"错误原因：" + told + L"：“" + file + L"”"));
        Ask(told + kCrlf + file, L"复制文件时出错！", kOkStop);
    } else {
        Log(rules::ErrorEntry(source, L"错误原因：未知错误，可能是目标文件中含有非法字符 " + kCrlf + kIndent +
                                          L"或是在文件复制过程当中遇到了其他无法预料的情况。"));
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Resume record

bool frmCopyAllFiles::WriteResumeRecord(const std::wstring& target) {
    if (!wroteCurrent_) return PutRecordBack(target, cut_, env_);
    wroteCurrent_ = false;
    cut_ = CutRecord{};
    const RecordOutcome outcome = LeaveResumeRecord(currentSource_, target, s_.SourcePos, s_.TotalBytes,
                                                    s_.ElapsedSeconds, skips_, env_, writer_, prompts_);
    if (outcome == RecordOutcome::Failed) Ask(target + kCrlf + kRecordFailedText, L"提醒！", kOkExclamation);
    return outcome == RecordOutcome::Written;
}

void frmCopyAllFiles::EndSession() {
    if (!running_ || sessionEnded_) return;
    sessionEnded_ = true;
    s_.StopRequested = true;
    s_.CancelRequested = true;
    if (!copyingFile_) return;
    // The process may end as soon as this returns: the file being copied gets its record now,
    // as Cancel gives it, and the loop stops before its next block with nothing more to write.
    s_.KeepPartial = true;
    reader_.Close();
    writer_.Close();
    WriteResumeRecord(currentTarget_);
}

}  // namespace salva
