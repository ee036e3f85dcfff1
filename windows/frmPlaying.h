// The preview pane of the open-file dialog: the selected file's facts in its picture panel,
// and for a video or audio file a preview started and paused with a two-button strip and
// moved with a slider. The dialog's hook loads it, embeds it beside the file list and drives
// it through its face (services/OpenDialogPane.h).
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/OpenDialogPane.h"
#include "services/PictureBox.h"
#include "windows/MediaPlayer.h"
#include <cstdint>
#include <string>
#include <vector>

namespace salva {

class frmPlaying : public BaseWindow<frmPlaying>, public OpenDialogPane {
public:
    enum ControlId : int {
        IDC_picVideo = 101,
        IDC_lblTotalTime,
        IDC_lblTotalLength,
        IDC_lblCurrentTime,
        IDC_lblCurrentPosition,
        IDC_picMediaControlButton,
        IDC_sldProgress,
    };
    // How the strip shows one of its buttons.
    struct ButtonLook {
        bool pressed = false;
        bool colour = false;  // the usable icon, else the grey one
    };
    struct StripLook {
        ButtonLook play;
        ButtonLook stop;
    };

    explicit frmPlaying(MediaGraphFactory graphs = DirectShowGraphFactory());
    ~frmPlaying() override;
    static const wchar_t* ClassName() { return L"SalvadiskFrmPlaying"; }

    // OpenDialogPane
    HWND Window() override;
    SIZE InnerSize() override;
    SIZE OuterSize() override;
    bool OpenMediaFile(const std::wstring& path) override;
    void ShowFileFacts(const std::wstring& path) override;
    void StopPlay() override;
    void Unload() override;

    void StartPlay();
    void PausePlay();

    bool IsLoaded() const { return hwnd_ != nullptr; }
    HWND Control(int id) const { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }
    bool Opened() const { return opened_; }
    bool Playing() const { return playing_; }
    bool HasGraph() const { return player_.HasGraph(); }
    bool TimerOn() const { return tmrTime_.On(); }
    // The lines printed into the picture panel.
    const std::vector<std::wstring>& FactLines() const { return facts_; }
    const StripLook& StripShown() const { return strip_; }

    // Design sizes in pixels.
    static constexpr int kWidth = 200, kHeight = 174;
    static constexpr UINT_PTR kTimerId = PositionTimer::kId;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Load();
    void Form_Load();
    void Form_Unload();
    void CreateControls();
    void PrintFacts();
    bool ResetAndPrintFacts(const std::wstring& path);
    void picMediaControlButton_Paint();
    void picMediaControlButton_MouseDown(int x);
    void sldProgress_Change();
    void tmrTime_Timer();
    void ShowStrip(const StripLook& look);
    void SetSlider(int value, bool enabled);
    int StripWidth() const { return picMediaControlButton_.Width(); }

    MediaPlayer player_;
    std::wstring fileName_;
    bool playing_ = false;
    bool opened_ = false;
    bool playPressed_ = false;
    bool stopPressed_ = false;
    // The last position read by the timer.
    ClockParts position_;
    PositionTimer tmrTime_;
    bool unloading_ = false;
    std::vector<std::wstring> facts_;
    StripLook strip_;
    PictureBox picVideo_, picMediaControlButton_;
    unique_hfont boldFont_;
    unique_hicon playIcon_, stopIcon_, playGray_, stopGray_;
};

// The six fact lines the pane prints for a file of `length` bytes.
std::vector<std::wstring> PaneFactLines(uint64_t length, const std::wstring& typeName, const std::wstring& created,
                                        const std::wstring& modified, const std::wstring& accessed,
                                        const std::wstring& attributes);

}  // namespace salva
