// What the copy engine needs of the window that hosts it. The main window implements this
// over its controls; tests implement it with a recording fake.
#pragma once
#include <string>

namespace salva {

// The value labels of the copy display and the two slider labels.
enum class CopyLabel {
    Copied,      // lblYiFuZhi: bytes copied
    Elapsed,     // lblZongJiHaoShi
    Remaining,   // lblShengYuShiJian
    Estimated,   // lblGuJiXiaoHao
    Rate,        // lblShuJuLiuLiang
    ReadBlocks,  // lblBlock1
    SkipBlocks,  // lblBlock2
};

// Controls whose enabled state follows the copy state.
enum class CopyControl {
    FileList,       // cmbFileCopy
    TargetBox,      // txtFileCopy
    StartButton,    // cmdStartCopy
    SourceButton,   // cmdSourceFile
    TargetButton,   // cmdDestinationPath
    SideBar,        // picVTitleBar
    RefreshButton,  // picRefresh
    SearchButton,   // picSearch
    SetUpButton,    // picSetUp
    WatchButton,    // picWatch
    PauseButton,    // cmdPauseCopy
    CancelButton,   // cmdCancelCopy
};

class CopyHost {
public:
    virtual ~CopyHost() = default;
    virtual void SetLabel(CopyLabel label, const std::wstring& text) = 0;
    virtual void EnableControl(CopyControl control, bool enabled) = 0;
    // Caption of cmdPauseCopy: "暂停复制[&S]" while running, "继续复制[&P]" while paused.
    virtual void SetPauseCaption(const std::wstring& caption) = 0;
    // PicProgressBar: cleared; or cleared, filled to `fraction` (0 to 1) of its width and the
    // percentage text printed at x = 150, shown in one go.
    virtual void ClearProgress() = 0;
    virtual void DrawProgress(double fraction, const std::wstring& percentText) = 0;
    // tmrTime (1,000 ms): while on, the host calls CopyEngine::TimerTick on every tick.
    virtual void EnableTimer(bool on) = 0;
    // A modal message box; `style` is the MessageBox style (16, 20, 48, 52, ...). Returns the
    // answer (IDOK 1, IDYES 6, IDNO 7, IDCANCEL 2).
    virtual int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned style) = 0;
    // Handles every pending window message, then returns.
    virtual void PumpMessages() = 0;
    // One entry of the operation log (frmSystem.GetFileCopyLog).
    virtual void AppendLog(const std::wstring& entry) = 0;
};

}  // namespace salva
