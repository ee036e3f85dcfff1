#include "windows/frmPlaying.h"
#include "services/DrawnIcon.h"
#include "services/FileSystem.h"
#include "services/FormatNumber.h"
#include "services/mDoEvents.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <cmath>

namespace salva {
namespace {

// Sizes up to this many bytes are shown in bytes, larger ones in whole KB.
constexpr uint64_t kBytesShownUpTo = 1023800;

struct Place {
    int id;
    int x, y, w, h;  // pixels (design twips / 15)
};
// Wider than the design (8, 177): a whole date line ("创建：2026年12月10日 13:15:58") fits.
const Place kVideo{frmPlaying::IDC_picVideo, 4, 4, 192, 108};
const Place kStrip{frmPlaying::IDC_picMediaControlButton, 6, 148, 40, 18};
const Place kSlider{frmPlaying::IDC_sldProgress, 48, 148, 132, 24};
const Place kLabels[] = {
    {frmPlaying::IDC_lblTotalTime, 8, 118, 65, 12},
    {frmPlaying::IDC_lblTotalLength, 72, 118, 113, 12},
    {frmPlaying::IDC_lblCurrentTime, 8, 131, 65, 12},
    {frmPlaying::IDC_lblCurrentPosition, 72, 131, 113, 12},
};
// The etched separators: a dark line with a light one below it.
const int kSeparatorTops[] = {0, 114, 144};
// Where the facts start in the panel: level with the labels below it, and clear of the file
// list the dialog puts beside the pane.
const int kFactsLeft = kLabels[0].x - kVideo.x;

}  // namespace

std::vector<std::wstring> PaneFactLines(uint64_t length, const std::wstring& typeName, const std::wstring& created,
                                        const std::wstring& modified, const std::wstring& accessed,
                                        const std::wstring& attributes) {
    const std::wstring size = length <= kBytesShownUpTo ? filesystem_text::GroupedNumber(length) + L"字节"
                                                        : filesystem_text::GroupedNumber(length / 1024) + L"KB";
    return {L"大小：" + size,        L"类型：" + typeName, L"创建：" + created,
            L"修改：" + modified,    L"访问：" + accessed, L"属性：" + attributes};
}

frmPlaying::frmPlaying(MediaGraphFactory graphs) : player_(std::move(graphs)) {}

frmPlaying::~frmPlaying() { Unload(); }

HWND frmPlaying::Window() {
    Load();
    return hwnd_;
}

SIZE frmPlaying::InnerSize() {
    RECT r{};
    if (Load()) ::GetClientRect(hwnd_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE frmPlaying::OuterSize() {
    RECT r{};
    if (Load()) ::GetWindowRect(hwnd_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool frmPlaying::Load() {
    if (hwnd_) return true;
    unloading_ = false;
    if (!CreateWindowOf(0, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight)) return false;
    Form_Load();
    return true;
}

void frmPlaying::CreateControls() {
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    picVideo_.Create(hwnd_, kVideo.id, kVideo.x, kVideo.y, kVideo.w, kVideo.h);
    for (const Place& p : kLabels)
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, p.x, p.y, p.w, p.h, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)), inst, nullptr);
    picMediaControlButton_.Create(hwnd_, kStrip.id, kStrip.x, kStrip.y, kStrip.w, kStrip.h);
    picMediaControlButton_.SetMouseHandler([this](UINT msg, WPARAM, int x, int) {
        if (msg == WM_LBUTTONDOWN) picMediaControlButton_MouseDown(x);
    });
    ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, kSlider.x,
                      kSlider.y, kSlider.w, kSlider.h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSlider.id)),
                      inst, nullptr);
}

void frmPlaying::Form_Load() {
    CreateControls();
    // The window rule's face for the window and the panel, in bold for the four labels.
    mT3D::ApplyWindowFontRule(hwnd_);
    LOGFONTW lf{};
    if (::GetObjectW(mT3D::WindowFont(), sizeof(lf), &lf)) {
        lf.lfWeight = FW_BOLD;
        boldFont_.reset(::CreateFontIndirectW(&lf));
        for (int id : {IDC_lblTotalTime, IDC_lblTotalLength, IDC_lblCurrentTime, IDC_lblCurrentPosition})
            ::SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    }
    playIcon_ = MakePlayIcon(true);
    stopIcon_ = MakeStopIcon(true);
    playGray_ = MakePlayIcon(false);
    stopGray_ = MakeStopIcon(false);
    HWND slider = Control(IDC_sldProgress);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, 1);
    SetSlider(0, false);
    tmrTime_.Enable(hwnd_, false);
    picMediaControlButton_Paint();
}

void frmPlaying::Unload() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
        return;
    }
    player_.ReleaseAll();
}

void frmPlaying::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    playing_ = opened_ = playPressed_ = stopPressed_ = false;
    player_.Stop();
    // Every reference goes, the video window's too: hidden and taken from the panel before
    // the panel is destroyed.
    player_.ReleaseAll();
    tmrTime_.Enable(hwnd_, false);
}

// ---------------------------------------------------------------------------------------------
// Opening and the player

// Empties the labels, turns the slider and the timer off and prints the file's facts; false
// when the file's length cannot be read (nothing is printed then).
bool frmPlaying::ResetAndPrintFacts(const std::wstring& path) {
    for (int id : {IDC_lblCurrentPosition, IDC_lblCurrentTime, IDC_lblTotalLength, IDC_lblTotalTime})
        ::SetWindowTextW(Control(id), L"");
    SetSlider(0, false);
    tmrTime_.Enable(hwnd_, false);
    fileName_ = path;
    facts_.clear();
    // The previous file's video window goes too: its last frame would cover this file's facts.
    player_.ReleaseAll();
    PrintFacts();

    uint64_t length = 0;
    if (!FileLength64(path, length)) return false;
    {
        FileSystem fs;
        facts_ = PaneFactLines(length, fs.GetFileTypeName(path), fs.GetFileDateTime(path, 0),
                               fs.GetFileDateTime(path, 1), fs.GetFileDateTime(path, 2), fs.GetFileAttributesStr(path));
    }
    PrintFacts();
    return true;
}

void frmPlaying::ShowFileFacts(const std::wstring& path) {
    if (!Load()) return;
    playing_ = opened_ = playPressed_ = stopPressed_ = false;
    ResetAndPrintFacts(path);
    picMediaControlButton_Paint();
}

bool frmPlaying::OpenMediaFile(const std::wstring& path) {
    if (!Load()) return false;
    if (!ResetAndPrintFacts(path)) {
        opened_ = false;
        return false;
    }

    bool result = false;
    switch (MediaKindOf(path)) {
    case MediaKind::Video:
        playing_ = false;
        if (!player_.OpenVideo(path, Control(IDC_picVideo))) {
            opened_ = false;
            return false;
        }
        {
            const double d = player_.Duration();
            const SIZE size = player_.SourceSize();
            ::SetWindowTextW(Control(IDC_lblTotalLength),
                             (filesystem_text::GroupedNumber(static_cast<uint64_t>(std::max(0.0, std::floor(d)))) +
                              L"[" + std::to_wstring(size.cx) + L"×" + std::to_wstring(size.cy) + L"]")
                                 .c_str());
        }
        result = true;
        break;
    case MediaKind::Audio:
        playing_ = false;
        if (!player_.OpenAudio(path, false)) {
            opened_ = false;
            return false;
        }
        ::SetWindowTextW(Control(IDC_lblTotalLength), FormatNumber(player_.Duration(), 2).c_str());
        result = true;
        break;
    case MediaKind::None:
        break;
    }
    if (result) {
        const double d = player_.Duration();
        ::SendMessageW(Control(IDC_sldProgress), TBM_SETRANGEMAX, TRUE, std::max<int32_t>(0, RoundSeconds(d)));
        ::EnableWindow(Control(IDC_sldProgress), TRUE);
        ::SetWindowTextW(Control(IDC_lblTotalTime), DurationClockText(d).c_str());
    }
    opened_ = result;
    picMediaControlButton_Paint();
    return result;
}

void frmPlaying::StartPlay() {
    if (!player_.HasGraph()) return;
    const LRESULT at = ::SendMessageW(Control(IDC_sldProgress), TBM_GETPOS, 0, 0);
    player_.SeekAndRun(static_cast<double>(at));
    playing_ = true;
    tmrTime_.Enable(hwnd_, true);
}

void frmPlaying::PausePlay() {
    if (!player_.HasGraph()) return;
    player_.Pause();
    tmrTime_.Enable(hwnd_, false);
    playing_ = false;
}

void frmPlaying::StopPlay() {
    if (!player_.HasGraph()) return;
    player_.Stop();
    playing_ = opened_ = playPressed_ = stopPressed_ = false;
    // The video window stays on the panel until the next video or the unload.
    player_.ReleaseKeepingWindow();
    tmrTime_.Enable(hwnd_, false);
}

void frmPlaying::SetSlider(int value, bool enabled) {
    HWND slider = Control(IDC_sldProgress);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, value);
    ::EnableWindow(slider, enabled);
}

void frmPlaying::tmrTime_Timer() {
    if (!player_.HasGraph()) return;
    double p = 0;
    if (player_.Position(p)) {
        position_ = PositionClockParts(p);
        ::SetWindowTextW(Control(IDC_lblCurrentTime), PositionClockText(p).c_str());
        ::SendMessageW(Control(IDC_sldProgress), TBM_SETPOS, TRUE, RoundSeconds(p));
        ::SetWindowTextW(Control(IDC_lblCurrentPosition), FormatNumber(p, 2).c_str());
    }
    if (player_.AtEnd()) {
        StopPlay();
        SetSlider(0, false);
        playing_ = opened_ = playPressed_ = stopPressed_ = false;
        tmrTime_.Enable(hwnd_, false);
        mDoEvents::PumpMessages();
        if (hwnd_) picMediaControlButton_Paint();
    }
}

void frmPlaying::sldProgress_Change() {
    // Only the user's moves come here; the program's own position changes raise nothing.
    if (player_.HasGraph() && playing_)
        player_.SeekAndRun(static_cast<double>(::SendMessageW(Control(IDC_sldProgress), TBM_GETPOS, 0, 0)));
}

// ---------------------------------------------------------------------------------------------
// The play and stop strip

void frmPlaying::ShowStrip(const StripLook& look) {
    strip_ = look;
    PictureBox& box = picMediaControlButton_;
    box.Clear();
    const int sw = StripWidth();
    mT3D::DrawPushButtonFrame(box.dc(), sw - 18, 2, 16, 16, look.stop.pressed);
    mT3D::DrawPushButtonFrame(box.dc(), sw - 38, 2, 16, 16, look.play.pressed);
    mT3D::DrawIconAt(box.dc(), (look.play.colour ? playIcon_ : playGray_).get(), sw - 38, 1, 16, 16);
    mT3D::DrawIconAt(box.dc(), (look.stop.colour ? stopIcon_ : stopGray_).get(), sw - 18, 1, 16, 16);
    box.Refresh();
}

void frmPlaying::picMediaControlButton_Paint() {
    StripLook look;
    if (opened_ && FileSystem().FileExists(fileName_)) {
        look.play = {playing_, !playing_};
        look.stop = {false, true};
    }
    ShowStrip(look);
}

void frmPlaying::picMediaControlButton_MouseDown(int x) {
    const int sw = StripWidth();
    StripLook look;
    if (stopPressed_) {
        look.stop = {true, false};
        look.play = {false, true};
    } else if (playPressed_) {
        look.play = {true, false};
        look.stop = {false, true};
    } else {
        look.play = {false, opened_};
        look.stop = {false, opened_};
    }
    const bool onStop = x > sw - 18 && x < sw;
    const bool onPlay = x > sw - 38 && x < sw - 18;
    if (onStop || onPlay) {
        if (!opened_) {
            look = StripLook{};
        } else if (onStop) {
            look.stop = {true, false};
            look.play = {false, true};
        } else {
            look.play = {true, false};
            look.stop = {false, true};
        }
    }
    ShowStrip(look);
    if (!opened_) return;
    if (onStop && playing_) {
        stopPressed_ = true;
        playPressed_ = false;
        PausePlay();
    } else if (onPlay && !playing_) {
        playPressed_ = true;
        stopPressed_ = false;
        StartPlay();
    }
}

void frmPlaying::PrintFacts() {
    PictureBox& box = picVideo_;
    box.Clear();
    HDC dc = box.dc();
    select_scope font(dc, mT3D::WindowFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    int y = 0;
    for (const std::wstring& line : facts_) {
        ::TextOutW(dc, kFactsLeft, y, line.c_str(), static_cast<int>(line.size()));
        y += tm.tmHeight;
    }
    box.Refresh();
}

LRESULT frmPlaying::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        paint_scope ps(hwnd_);
        for (int top : kSeparatorTops) {
            RECT dark{0, top, kWidth, top + 1}, light{0, top + 1, kWidth, top + 2};
            ::FillRect(ps.dc(), &dark, ::GetSysColorBrush(COLOR_BTNSHADOW));
            ::FillRect(ps.dc(), &light, ::GetSysColorBrush(COLOR_WINDOW));
        }
        return 0;
    }
    case WM_TIMER:
        if (wp == kTimerId) tmrTime_Timer();
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == Control(IDC_sldProgress) && LOWORD(wp) != TB_THUMBTRACK &&
            LOWORD(wp) != TB_ENDTRACK)
            sldProgress_Change();
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace salva
