// The operation log window: the current run's log of copy results and shell changes, the
// view and clearing of the log file "OperationNotes.log" beside the program.
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/ToolTips.h"
#include <functional>
#include <memory>
#include <vector>
#include <string>

namespace salva {

class frmSystem : public BaseWindow<frmSystem> {
public:
    enum ControlId {
        IDC_LBLTITLE = 101,
        IDC_TTEXT,
        IDC_LTEXT,
        IDC_PICVIEW,
        IDC_PICCLEAR,
        IDC_PICEXIT,
        IDC_PICDELETE,
    };
    using Clock = std::function<SYSTEMTIME()>;

    frmSystem();
    ~frmSystem() override;
    static const wchar_t* ClassName() { return L"SalvadiskFrmSystem"; }

    // The program's log window, created hidden on first use.
    static frmSystem& Default();

    // Creates the window without showing it and registers it for the shell's change
    // notifications. True when the window is loaded (already, or now).
    bool Load();
    bool IsLoaded() const { return hwnd_ != nullptr; }

    // Appends "[date hh:mm:ss AM/PM] message" and CRLF to the current log, loading the
    // window when needed. Neither the visible box nor the caret changes.
    void GetFileCopyLog(const std::wstring& message);

    // While true, a close request only hides the window and it goes on recording.
    bool KeepLoaded = false;

    // Shows the window modally (the thread's other windows disabled) until it is closed.
    void ShowModal();

    // Close request: hides the window while KeepLoaded is true (result false); otherwise
    // ends the shell registration and subclass, appends the current log to the log file
    // when it is not empty and destroys the window (result true).
    bool Unload();

    // True while the log file's view is still being filled, part by part between messages.
    bool ViewFilling() const { return viewFilled_ < viewText_.size(); }

    // The current run's log text, as it goes to the file.
    const std::wstring& CurrentLog() const { return log_; }
    // True while the window is registered for the shell's change notifications.
    bool ShellNotifyActive() const { return registered_; }

    // Seams: the time source of the log lines, and where the log file is.
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    void SetLogFilePath(const std::wstring& path) { logFilePath_ = path; }
    const std::wstring& LogFilePath() const { return logFilePath_; }
    // "OperationNotes.log" in the folder of the running program.
    static std::wstring DefaultLogFilePath();

    // A shell change notification's text (ending in CRLF) as a log line; the newest line is
    // brought into view in the current-log box.
    void WriteShellEntry(const std::wstring& text);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend struct LogButton;
    void OnLoad();
    void CreateControls();
    void Layout();
    void AppendToLogBox(const std::wstring& line, bool moveCaret);
    void ShowCurrentLog();
    void RunButtonAction(int id);
    void StartViewFill(std::wstring text);
    void FillViewPart();
    void EndViewFill();
    HWND ViewFillBox();
    void ShowButtonPressed(HWND button);
    void TrackButtonHover(HWND button);
    void RunUnloadSteps();
    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    std::wstring log_;
    std::wstring logFilePath_;
    Clock clock_;
    bool registered_ = false;
    bool subclassed_ = false;
    bool unloadDone_ = false;
    std::vector<std::unique_ptr<ToolTips>> tips_;
    unique_hbrush textBack_;
    // The log file's view and how much of it the box holds yet.
    std::wstring viewText_;
    size_t viewFilled_ = 0;
};

}  // namespace salva
