// The preview window of the main window's file list: plays the selected file with a video in
// its panel, or, for an MP3 file, the file's size, tag and frame header in the same panel.
// Above the panel a thin strip shows the clock text and a small progress bar with a thumb
// that can be dragged; the title names the file and its length; the icon turns while the
// file plays. The window closes itself when playback stops.
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/PictureBox.h"
#include "windows/MediaPlayer.h"
#include "windows/Mp3PreviewText.h"
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace salva {

class frmPrevVideo : public BaseWindow<frmPrevVideo> {
public:
    enum ControlId : int {
        IDC_picVideoTipInfo = 101,
        IDC_picProgressBar,
        IDC_Shape1,
        IDC_picSlider,
        IDC_picVideoWindow,
        IDC_lblMP3info,
    };
    // The MP3 facts of a file of the given length; none when they cannot be read. The format
    // readers unless set.
    using Mp3Reader = std::function<std::optional<Mp3PreviewFacts>(const std::wstring& path, uint64_t length)>;
    // The time of day shown after the clock text.
    using Clock = std::function<SYSTEMTIME()>;

    explicit frmPrevVideo(MediaGraphFactory graphs = DirectShowGraphFactory());
    ~frmPrevVideo() override;
    static const wchar_t* ClassName() { return L"SalvadiskFrmPrevVideo"; }

    // Prepares the file; true when a graph is ready to play.
    bool OpenMediaFile(const std::wstring& fileName);
    // Runs the graph and shows the window.
    void StartPlay();
    void PausePlay();
    // Stops and releases the graph, clears the main window's preview flags, repaints its
    // title bar and closes this window. Nothing without a graph.
    void StopPlay();
    // Closes the window as its close box does.
    void Unload();

    void SetMp3Reader(Mp3Reader reader) { mp3Reader_ = std::move(reader); }
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    bool IsLoaded() const { return hwnd_ != nullptr; }
    HWND Control(int id) const;
    bool HasGraph() const { return player_.HasGraph(); }
    bool TimerOn() const { return tmrTime_.On(); }
    bool VideoShown() const { return videoShown_; }
    const std::wstring& TipText() const { return tipText_; }
    int IconFrame() const { return iconFrame_; }

    static constexpr UINT_PTR kTimerId = PositionTimer::kId;
    static constexpr int kClientWidth = 353, kClientHeight = 299;
    static constexpr int kBarWidth = 100, kStripHeight = 14, kThumbWidth = 11, kThumbHeight = 3;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Load();
    void Form_Load();
    void Form_Resize();
    void Close();
    bool FailOpen();
    void tmrTime_Timer();
    void picSlider_MouseDown(int button, int x);
    void picSlider_MouseMove(int x);
    void picSlider_MouseUp();
    int ThumbLeft() const;
    void MoveThumb(int left);
    void ShowMp3Text(const std::wstring& text);
    // Makes the video panel at least this high, so the whole MP3 text shows.
    void MakeRoomBelow(int panelHeight);
    void DrawTip();

    MediaPlayer player_;
    Mp3Reader mp3Reader_;
    Clock clock_;
    // The last position read by the timer.
    ClockParts position_;
    bool videoShown_ = false;
    bool dragging_ = false;
    std::wstring fileTitle_;
    std::wstring positionText_;
    std::wstring totalText_;
    std::wstring tipText_;
    int16_t grabX_ = 0;
    int16_t iconFrame_ = 0;
    RECT tipRect_{};
    PositionTimer tmrTime_;
    bool closing_ = false;
    unique_hicon bigIcon_, smallIcon_;
    std::array<unique_hicon, 3> frames_;
    PictureBox picVideoTipInfo_, picProgressBar_, Shape1_, picSlider_, picVideoWindow_;
};

}  // namespace salva
