// The batch copy: every existing file of the main window's list into one chosen folder, one
// file after the other, block by block at equal offsets, past unreadable spots, with its own
// progress window and copy animation. An existing target is asked about (replace, all, no,
// cancel; overwrite or continue when it carries a resume record); Cancel leaves a resume
// record on the file being written and ends the batch.
#pragma once
#include "copier/BlockPacer.h"
#include "copier/BlockPass.h"
#include "copier/BlockReader.h"
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include "copier/CopyPrompts.h"
#include "copier/FileErrors.h"
#include "copier/ResumeRecord.h"
#include "copier/SkipTally.h"
#include "services/PictureBox.h"
#include "services/BaseWindow.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace salva {

class frmCopyAllFiles : public BaseWindow<frmCopyAllFiles> {
public:
    enum ControlId : int {
        IDC_lblSurFilePath = 101,
        IDC_lblDecFilePath,
        IDC_lblTotalLength,
        IDC_lblTotalFiles,
        IDC_lblYiFuZhiTitle,
        IDC_lblYiFuZhi,
        IDC_lblZongJiHaoShiTitle,
        IDC_lblZongJiHaoShi,
        IDC_lblGuJiXiaoHaoTitle,
        IDC_lblGuJiXiaoHao,
        IDC_lblCurrentTimeTitle,
        IDC_lblCurrentTime,
        IDC_lblShuJuLiuLiangTitle,
        IDC_lblShuJuLiuLiang,
        IDC_PicProgressBar,
        IDC_picAVIShowWindow,
        IDC_cmdCancel,
    };

    // What the batch reaches outside its window. Left empty, each takes the program's own:
    // the main window as owner and its list, the folder picker with the same-folder panel,
    // the operation log, message boxes, and the file services, Dorvex prompts and block
    // reader and writer of the copy engine.
    struct Options {
        HWND owner = nullptr;
        std::function<std::vector<std::wstring>()> listedFiles;
        // The target folder ("" when the user cancels) and whether all targets go straight
        // into it.
        std::function<std::wstring(HWND owner, bool* sameFolder)> chooseFolder;
        std::function<void(const std::wstring&)> log;
        std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, unsigned style)> message;
        CopyEnvironment* environment = nullptr;
        CopyPrompts* prompts = nullptr;
        BlockReader* reader = nullptr;
        BlockWriter* writer = nullptr;
    };

    // The batch's fields; positions are 1-based.
    struct State {
        int64_t BlockBytes = 0;
        int64_t TotalBytes = 0;
        int64_t BatchBytes = 0;
        int64_t BatchDoneBytes = 0;
        int64_t SourcePos = 0;
        int32_t ElapsedSeconds = 0;
        int32_t PastSeconds = 0;
        int32_t EstimatedSeconds = 0;
        int32_t LastSecond = 0;
        int PromptResult = 0;
        bool StopRequested = false;
        bool ReplaceAll = false;
        bool SkipCurrent = false;
        bool KeepPartial = false;
        // Set by Cancel; only a new batch clears it.
        bool CancelRequested = false;
    };

    frmCopyAllFiles();
    explicit frmCopyAllFiles(Options options);
    ~frmCopyAllFiles() override;

    static const wchar_t* ClassName() { return L"SalvadiskFrmCopyAllFiles"; }

    // The whole batch: asks for the folder, copies every listed file that exists, and closes
    // its window again. Returns when the batch has ended. The main window's command offers it
    // while the list's current text names an existing file, and disables the main window
    // meanwhile: frmCopyAllFiles().CopyingFiles().
    void CopyingFiles();

    const State& BatchState() const { return s_; }
    // The existing listed files of the last batch, in list order.
    const std::vector<std::wstring>& BatchList() const { return batchList_; }
    // The file written last (or now): the target, or the name a "no" sent the file to.
    const std::wstring& CurrentTarget() const { return currentTarget_; }
    HWND Control(int id) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    using PassResult = BlockPassResult;

    bool Load();
    void Unload();
    void CreateControls();
    void Form_Paint();
    void CopyNextFile(const std::wstring& source, const std::wstring& target);
    // One decision about an existing (or missing) target; `mayRename` is false for the name a
    // first "no" chose.
    void DecideAndCopy(const std::wstring& source, const std::wstring& target, bool mayRename);
    // `fromRecord`: the copy continues from the target's resume record.
    void StartCopy(const std::wstring& source, const std::wstring& target, bool fromRecord = false);
    void CopyFileBlocks(const std::wstring& source, const std::wstring& target, int64_t step);
    PassResult RunPass(const std::wstring& source, const std::wstring& target, int64_t step);
    // True: a new pass follows with `step`.
    bool HandleError(const PassResult& r, const std::wstring& source, const std::wstring& target, int64_t step);
    void FileDone(const std::wstring& source, const std::wstring& target);
    void StartTimer();
    void ResetTimer();
    void TimerTick();
    void TimerOff();
    // A batch done before its first tick: its own time, and its rate over the files it got
    // through, on the window.
    void ShowUntickedFigures();
    void cmdCancel_Click();
    // True when the target keeps a record: one written now, or the one its continue cut off.
    bool WriteResumeRecord(const std::wstring& target);
    // The session ends under the batch: the file being copied gets its record at once.
    void EndSession();
    std::wstring MirrorSourceFolders(const std::wstring& source, const std::wstring& folder);
    void ShowProgress();
    void SetText(int id, const std::wstring& text);
    int Ask(const std::wstring& text, const std::wstring& title, unsigned style);
    void Log(const std::wstring& entry);
    int32_t SecondOfMinute();

    Options options_;
    std::unique_ptr<CopyEnvironment> ownEnvironment_;
    std::unique_ptr<CopyPrompts> ownPrompts_;
    std::unique_ptr<BlockReader> ownReader_;
    std::unique_ptr<BlockWriter> ownWriter_;
    CopyEnvironment& env_;
    CopyPrompts& prompts_;
    BlockReader& reader_;
    BlockWriter& writer_;
    BlockPass pass_;

    State s_;
    std::vector<std::wstring> batchList_;
    std::wstring currentTarget_;
    // The current target has been opened for writing by this batch: only then may a stop
    // leave a resume record on it.
    bool wroteCurrent_ = false;
    // What the current file's continue cut off its target, put back when it writes nothing.
    CutRecord cut_;
    bool copyingFile_ = false;
    bool unloading_ = false;
    bool sessionEnded_ = false;
    // Why the batch stopped before its end; `stoppedByError_`: not by the user's own choice.
    std::wstring stopReason_;
    bool stoppedByError_ = false;
    // The unreadable spots of the current file, and of the files done so far.
    SkipTally skips_;
    int64_t batchSkipStretches_ = 0;
    int64_t batchSkipBytes_ = 0;
    int64_t batchEarlierUnknown_ = 0;  // files continued without knowing what was skipped before
    int64_t batchSelfTargets_ = 0;     // files left out because their target is the file itself
    int64_t batchFailedFiles_ = 0;     // files an error ended while the batch went on
    int64_t batchRefusedNames_ = 0;    // files not copied: a name the system cannot use as given
    bool failedCurrent_ = false;
    // The files "all" never writes over without asking: the listed sources and the targets this
    // batch wrote (CopyEnvironment::FileKey).
    std::set<std::wstring> keptFiles_;
    std::wstring currentSource_;
    BlockPacer pacer_;
    bool displayChanged_ = false;
    int64_t shownAtMs_ = INT64_MIN / 2;
    // When the batch's first copy started (-1: none yet), and whether its timer ticked since.
    int64_t batchStartMs_ = -1;
    bool ticked_ = false;
    PictureBox progressBar_;
    PictureBox animationHost_;
    COLORREF progressColor_ = 0;
    bool running_ = false;
};

}  // namespace salva
