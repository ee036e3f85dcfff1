#include "windows/frmPrevVideo.h"
#include "services/DrawnIcon.h"
#include "services/FileSystem.h"
#include "services/FormatNumber.h"
#include "services/MainWindow.h"
#include "services/Text.h"
#include "services/mT3D.h"
#include <algorithm>
#include <cmath>
#include <cwchar>

namespace salva {
namespace {

const wchar_t kInitialTitle[] = L"ViedoWindow";
constexpr int kShapeWidth = 105;

// The three frames of the turning icon: a film frame whose bar moves one step each.
unique_hicon MakeIconFrame(int frame, int size) {
    return DrawnIcon(size, RGB(255, 0, 255), RGB(255, 0, 255), [frame, size](HDC dc) {
        const int u = size / 16;
        RECT film{1 * u, 3 * u, 15 * u, 13 * u};
        unique_hbrush dark(::CreateSolidBrush(RGB(32, 48, 96)));
        ::FillRect(dc, &film, dark.get());
        unique_hbrush light(::CreateSolidBrush(RGB(255, 255, 255)));
        for (int i = 0; i < 4; ++i) {
            RECT hole{(2 + i * 4) * u, 4 * u, (3 + i * 4) * u, 5 * u};
            ::FillRect(dc, &hole, light.get());
            OffsetRect(&hole, 0, 7 * u);
            ::FillRect(dc, &hole, light.get());
        }
        unique_hbrush bar(::CreateSolidBrush(RGB(0, 192, 64)));
        RECT moving{(3 + frame * 3) * u, 6 * u, (7 + frame * 3) * u, 10 * u};
        ::FillRect(dc, &moving, bar.get());
    });
}

std::wstring TimeOfDay(const SYSTEMTIME& t) {
    wchar_t b[16];
    std::swprintf(b, 16, L"%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return b;
}

}  // namespace

frmPrevVideo::frmPrevVideo(MediaGraphFactory graphs)
    : player_(std::move(graphs)), mp3Reader_([](const std::wstring& path, uint64_t length) {
          return std::optional<Mp3PreviewFacts>(ReadMp3PreviewFacts(path, length));
      }) {}

frmPrevVideo::~frmPrevVideo() { Unload(); }

HWND frmPrevVideo::Control(int id) const {
    if (!hwnd_) return nullptr;
    if (HWND direct = ::GetDlgItem(hwnd_, id)) return direct;
    for (int holder : {IDC_picProgressBar, IDC_picVideoWindow})
        if (HWND inner = ::GetDlgItem(::GetDlgItem(hwnd_, holder), id)) return inner;
    return nullptr;
}

bool frmPrevVideo::Load() {
    if (hwnd_) return true;
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT r{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // Centred over the main window when there is one.
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    RECT owner{};
    if (MainWindow* main = TheMainWindow(); main && ::GetWindowRect(main->Handle(), &owner)) {
        x = owner.left + (owner.right - owner.left - w) / 2;
        y = owner.top + (owner.bottom - owner.top - h) / 2;
    }
    closing_ = false;
    if (!CreateWindowOf(0, kInitialTitle, style, x, y, w, h)) return false;
    Form_Load();
    return true;
}

void frmPrevVideo::Form_Load() {
    // A new strip shows no clock text until the first tick.
    tipText_.clear();
    picVideoTipInfo_.Create(hwnd_, IDC_picVideoTipInfo, 0, 0, kClientWidth - kBarWidth, kStripHeight);
    picProgressBar_.Create(hwnd_, IDC_picProgressBar, kClientWidth - kBarWidth, 0, kBarWidth, kStripHeight);
    Shape1_.Create(picProgressBar_.Window(), IDC_Shape1, 0, (kStripHeight - 1) / 2, kShapeWidth, 1);
    picSlider_.Create(picProgressBar_.Window(), IDC_picSlider, 0, (kStripHeight - kThumbHeight) / 2, kThumbWidth,
                      kThumbHeight);
    picVideoWindow_.Create(hwnd_, IDC_picVideoWindow, 0, kStripHeight, kClientWidth, kClientHeight - kStripHeight);
    ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 8, 8, 0, 0,
                      picVideoWindow_.Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_lblMP3info)),
                      ::GetModuleHandleW(nullptr), nullptr);
    const COLORREF accent = mT3D::GetSystemColor(COLOR_GRADIENTACTIVECAPTION);
    picVideoTipInfo_.SetForeColor(accent);
    for (PictureBox* b : {&Shape1_, &picSlider_}) {
        b->SetBackColor(accent);
        b->Clear();
    }
    picVideoWindow_.SetBackColor(RGB(0, 0, 0));
    picVideoWindow_.Clear();
    picSlider_.SetMouseHandler([this](UINT msg, WPARAM, int x, int) {
        if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)
            picSlider_MouseDown(msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, x);
        else if (msg == WM_MOUSEMOVE)
            picSlider_MouseMove(x);
        else
            picSlider_MouseUp();
    });
    // The window rule's face on the window, the MP3 text and the clock strip.
    for (HWND w : {hwnd_, Control(IDC_lblMP3info), Control(IDC_picVideoTipInfo)})
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(mT3D::WindowFont()), TRUE);
    tmrTime_.Enable(hwnd_, false);
    bigIcon_ = MakeIconFrame(0, 32);
    smallIcon_ = MakeIconFrame(0, 16);
    for (int i = 0; i < 3; ++i) frames_[static_cast<size_t>(i)] = MakeIconFrame(i, 32);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    mT3D::SetWindowTopMost(hwnd_, true);
    Form_Resize();
}

void frmPrevVideo::Form_Resize() {
    if (!hwnd_ || ::IsIconic(hwnd_)) return;
    RECT c{};
    ::GetClientRect(hwnd_, &c);
    const int sw = c.right, sh = c.bottom;
    HWND tip = Control(IDC_picVideoTipInfo);
    ::MoveWindow(tip, 0, 0, sw - kBarWidth, kStripHeight, TRUE);
    RECT tipClient{};
    ::GetClientRect(tip, &tipClient);
    const int barHeight = tipClient.bottom;
    ::MoveWindow(Control(IDC_picProgressBar), sw - kBarWidth, 0, kBarWidth, barHeight, TRUE);
    ::MoveWindow(Control(IDC_picSlider), ThumbLeft(), (barHeight - kThumbHeight) / 2, kThumbWidth, kThumbHeight, TRUE);
    ::MoveWindow(Control(IDC_Shape1), 0, (barHeight - 1) / 2, kShapeWidth, 1, TRUE);
    HWND panel = Control(IDC_picVideoWindow);
    ::MoveWindow(panel, 0, tipClient.bottom, sw, sh - tipClient.bottom, TRUE);
    if (videoShown_) {
        player_.FitInto(panel);
        player_.Run();
    }
}

// ---------------------------------------------------------------------------------------------
// Opening and the player

bool frmPrevVideo::OpenMediaFile(const std::wstring& fileName) {
    if (!Load()) return false;
    MoveThumb(0);
    ShowMp3Text(L"");
    tmrTime_.Enable(hwnd_, false);
    videoShown_ = false;

    uint64_t n = 0;
    if (!FileLength64(fileName, n)) return FailOpen();
    if (n == 0) return false;
    const size_t slash = fileName.rfind(L'\\');
    fileTitle_ = slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);

    switch (MediaKindOf(fileName)) {
    case MediaKind::Video: {
        if (!player_.OpenVideo(fileName, Control(IDC_picVideoWindow))) return FailOpen();
        const SIZE size = player_.SourceSize();
        totalText_ = DurationClockText(player_.Duration()) + L" " + std::to_wstring(size.cx) + L"×" +
                     std::to_wstring(size.cy);
        ::SetWindowTextW(hwnd_, (fileTitle_ + L"[" + totalText_ + L"]").c_str());
        videoShown_ = true;
        return true;
    }
    case MediaKind::Audio:
        if (!player_.OpenAudio(fileName, false)) return FailOpen();
        totalText_ = DurationClockText(player_.Duration());
        ::SetWindowTextW(hwnd_, (fileTitle_ + L"[" + totalText_ + L"]").c_str());
        if (UpperTail(fileName, 3) == L"MP3" && mp3Reader_) {
            const std::optional<Mp3PreviewFacts> facts = mp3Reader_(fileName, n);
            if (!facts) return FailOpen();
            ShowMp3Text(Mp3PreviewText(*facts));
        }
        return true;
    case MediaKind::None:
        break;
    }
    return false;
}

bool frmPrevVideo::FailOpen() {
    player_.ReleaseAll();
    Close();
    return false;
}

void frmPrevVideo::StartPlay() {
    if (!player_.HasGraph()) return;
    player_.Run();
    tmrTime_.Enable(hwnd_, true);
    ::ShowWindow(hwnd_, SW_SHOW);
}

void frmPrevVideo::PausePlay() {
    if (!player_.HasGraph()) return;
    player_.Pause();
    tmrTime_.Enable(hwnd_, false);
}

void frmPrevVideo::StopPlay() {
    if (!player_.HasGraph()) return;
    player_.Stop();
    player_.ReleaseAll();
    tmrTime_.Enable(hwnd_, false);
    MoveThumb(0);
    if (MainWindow* main = TheMainWindow()) {
        main->PreviewPlaying = false;
        main->PreviewLoaded = false;
        main->picHTitleBar_Paint();
    }
    Close();
}

void frmPrevVideo::Unload() {
    if (hwnd_) ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void frmPrevVideo::Close() {
    if (!hwnd_ || closing_) return;
    closing_ = true;
    ::DestroyWindow(hwnd_);
}

void frmPrevVideo::ShowMp3Text(const std::wstring& text) {
    HWND label = Control(IDC_lblMP3info);
    ::SetWindowTextW(label, text.c_str());
    // The label takes the size of its text.
    RECT r{0, 0, 0, 0};
    auto dc = unique_window_dc::client(label);
    {
        select_scope font(dc.get(), mT3D::WindowFont());
        if (!text.empty()) ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    }
    ::SetWindowPos(label, nullptr, 8, 8, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!text.empty()) MakeRoomBelow(8 + r.bottom + 8);
}

void frmPrevVideo::MakeRoomBelow(int panelHeight) {
    RECT panel{};
    ::GetClientRect(Control(IDC_picVideoWindow), &panel);
    const int missing = panelHeight - panel.bottom;
    if (missing <= 0) return;
    // The window grows downward, and moves up as far as the work area's bottom asks.
    RECT w{}, work{};
    ::GetWindowRect(hwnd_, &w);
    w.bottom += missing;
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && w.bottom > work.bottom)
        ::OffsetRect(&w, 0, -std::max(0L, std::min(w.bottom - work.bottom, w.top - work.top)));
    ::SetWindowPos(hwnd_, nullptr, w.left, w.top, w.right - w.left, w.bottom - w.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// The clock strip, the thumb and the icon

int frmPrevVideo::ThumbLeft() const {
    RECT r{};
    HWND thumb = Control(IDC_picSlider);
    if (!thumb || !::GetWindowRect(thumb, &r)) return 0;
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(thumb), reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

void frmPrevVideo::MoveThumb(int left) {
    HWND thumb = Control(IDC_picSlider);
    RECT r{};
    ::GetClientRect(Control(IDC_picProgressBar), &r);
    ::SetWindowPos(thumb, nullptr, left, (r.bottom - kThumbHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmPrevVideo::tmrTime_Timer() {
    if (!player_.HasGraph()) return;
    double p = 0;
    if (player_.Position(p)) {
        position_ = PositionClockParts(p);
        positionText_ = PositionClockText(p);
        HWND tip = Control(IDC_picVideoTipInfo);
        RECT c{};
        ::GetClientRect(tip, &c);
        tipRect_ = RECT{4, 0, c.right, c.bottom};
        SYSTEMTIME now{};
        if (clock_)
            now = clock_();
        else
            ::GetLocalTime(&now);
        tipText_ = positionText_ + L"/" + totalText_ + L" " + TimeOfDay(now) + L"  " + FormatNumber(p, 3);
        DrawTip();
        // A graph that reports no length has no place for the thumb.
        const double d = player_.Duration();
        if (d > 0) {
            RECT bar{};
            ::GetClientRect(Control(IDC_picProgressBar), &bar);
            MoveThumb(static_cast<int>(std::floor(p / d * (bar.right - kThumbWidth))));
        }
    }
    if (player_.AtEnd()) {
        StopPlay();
        return;
    }
    // Both sizes, so the caption shows the turning too.
    const LPARAM frame = reinterpret_cast<LPARAM>(frames_[static_cast<size_t>(iconFrame_)].get());
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, frame);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, frame);
    iconFrame_ = static_cast<int16_t>((iconFrame_ + 1) % 3);
}

void frmPrevVideo::picSlider_MouseDown(int button, int x) {
    if (button != MK_LBUTTON) return;
    dragging_ = true;
    grabX_ = static_cast<int16_t>(x);
    ::SetCapture(Control(IDC_picSlider));
}

void frmPrevVideo::picSlider_MouseMove(int x) {
    if (!dragging_ || !player_.HasGraph()) return;
    HWND bar = Control(IDC_picProgressBar);
    ::InvalidateRect(bar, nullptr, TRUE);
    ::UpdateWindow(bar);
    RECT r{};
    ::GetClientRect(bar, &r);
    const int room = r.right - kThumbWidth;
    const int left = std::clamp(ThumbLeft() + x - grabX_, 0, std::max(0, room));
    MoveThumb(left);
    if (room > 0) player_.SeekAndRun(std::floor(static_cast<double>(left) / room * player_.Duration()));
}

void frmPrevVideo::picSlider_MouseUp() {
    dragging_ = false;
    if (::GetCapture() == Control(IDC_picSlider)) ::ReleaseCapture();
}

void frmPrevVideo::DrawTip() {
    PictureBox& tip = picVideoTipInfo_;
    tip.Clear();
    select_scope font(tip.dc(), mT3D::WindowFont());
    ::SetBkMode(tip.dc(), TRANSPARENT);
    ::SetTextColor(tip.dc(), tip.ForeColor());
    RECT t = tipRect_;
    ::DrawTextW(tip.dc(), tipText_.c_str(), -1, &t, DT_PATH_ELLIPSIS);
    tip.Refresh();
}

LRESULT frmPrevVideo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED) Form_Resize();
        return 0;
    case WM_TIMER:
        if (wp == kTimerId) tmrTime_Timer();
        return 0;
    case WM_CTLCOLORSTATIC: {
        // The MP3 text on the black panel.
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION));
        ::SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
    }
    case WM_CLOSE:
        // A second close while the window closes is ignored.
        if (closing_) return 0;
        StopPlay();
        Close();
        return 0;
    case WM_DESTROY:
        closing_ = true;
        // Destroyed from outside with a graph: the same stop, without a second close.
        StopPlay();
        player_.ReleaseAll();
        tmrTime_.Enable(hwnd_, false);
        dragging_ = false;
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace salva
