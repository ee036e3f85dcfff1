#include "windows/MediaPlayer.h"
#include "services/Holders.h"
#include "services/Text.h"
#include "services/TickClock.h"
#include "services/mDoEvents.h"
#include <mutex>
#include <algorithm>
#include <cmath>
#include <cwchar>

namespace salva {
namespace {

const wchar_t* const kVideoEndings[] = {L"MOV", L"ASF", L"WMV", L"M2V", L"M1V", L"MPV",
                                        L"MPG", L"AVI", L"DAT", L"MPEG"};
const wchar_t* const kAudioEndings[] = {L"SND", L"RMI", L"MID", L"AIF", L"WAV",  L"WMA",  L"MP3",  L"MP2",
                                        L"MP1", L"MPA", L"MIDI", L"AIFC", L"AIFF", L"AU"};

template <size_t N>
bool EndsInOneOf(const std::wstring& name, const wchar_t* const (&endings)[N]) {
    for (const wchar_t* e : endings) {
        const size_t n = std::wcslen(e);
        if (name.size() >= n && UpperTail(name, n) == e) return true;
    }
    return false;
}

// Enough passes for a ratio of a thousand between video and box either way; the scale, a
// 32-bit float, still grows by each step there.
constexpr int kMaxFitPasses = 1000000;

int16_t ToInt16(double v) {
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

// Lets a graph go whole: its playback references, then its video window.
void FreeGraph(std::unique_ptr<MediaGraph>& graph) {
    if (!graph) return;
    graph->ReleasePlayback();
    graph->ReleaseVideoWindow();
    graph.reset();
}

// One graph being built, shared by the window's thread and the building thread; whichever
// lets go last frees it.
struct GraphBuild {
    MediaGraphFactory factory;
    std::wstring path;
    bool withVideo = false, withWindow = false;
    unique_handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::mutex lock;
    bool finished = false;   // the building thread handed its result over
    bool abandoned = false;  // the window's thread gave up waiting
    std::unique_ptr<MediaGraph> graph;
};

// A graph and the filters it renders a file with are made in this thread's own apartment. A
// media stack that never returns from a damaged file holds this thread only; whatever it
// makes after the window's thread gave up is released here and never handed over.
DWORD WINAPI BuildGraphThread(void* param) {
    std::shared_ptr<GraphBuild> build(std::move(*static_cast<std::shared_ptr<GraphBuild>*>(param)));
    delete static_cast<std::shared_ptr<GraphBuild>*>(param);
    co_init_scope com(COINIT_MULTITHREADED);
    std::unique_ptr<MediaGraph> graph = build->factory(build->withVideo, build->withWindow);
    if (graph && FAILED(graph->RenderFile(build->path))) FreeGraph(graph);
    {
        std::lock_guard<std::mutex> hold(build->lock);
        if (!build->abandoned) {
            build->graph = std::move(graph);
            build->finished = true;
            ::SetEvent(build->done.get());
        }
    }
    FreeGraph(graph);
    return 0;
}

}  // namespace

MediaKind MediaKindOf(const std::wstring& name) {
    if (EndsInOneOf(name, kVideoEndings)) return MediaKind::Video;
    if (EndsInOneOf(name, kAudioEndings)) return MediaKind::Audio;
    return MediaKind::None;
}

std::wstring ClockText(int32_t hours, int32_t minutes, int32_t seconds) {
    wchar_t b[48];
    std::swprintf(b, 48, L"%02d:%02d:%02d", static_cast<int>(hours), static_cast<int>(minutes),
                  static_cast<int>(seconds));
    return b;
}

int32_t RoundSeconds(double seconds) {
    if (!(seconds == seconds)) return 0;
    return static_cast<int32_t>(std::clamp(std::nearbyint(seconds), -2147483648.0, 2147483647.0));
}

std::wstring DurationClockText(double d) {
    const auto whole = [](double v) { return static_cast<int32_t>(std::clamp(std::floor(v), -2147483648.0, 2147483647.0)); };
    return ClockText(whole(d / 3600), whole(d / 60), RoundSeconds(d) % 60);
}

ClockParts PositionClockParts(double seconds) {
    const int32_t p = RoundSeconds(seconds);
    return ClockParts{static_cast<int16_t>(p / 3600), static_cast<int16_t>(p / 60), static_cast<int16_t>(p % 60)};
}

std::wstring PositionClockText(double seconds) {
    const ClockParts c = PositionClockParts(seconds);
    return ClockText(c.hours, c.minutes, c.seconds);
}

VideoRect FitVideoRect(int boxWidth, int boxHeight, VideoRect entry) {
    const int w0 = entry.width, h0 = entry.height;
    const int roomW = boxWidth - entry.left, roomH = boxHeight - entry.top;
    if (w0 <= 0 || h0 <= 0 || roomW <= 0 || roomH <= 0) return entry;
    double w = w0, h = h0;
    float s = 1.0f;
    int passes = 0;
    if (w > roomW || h > roomH) {
        while ((w > roomW || h > roomH) && passes++ < kMaxFitPasses) {
            w = std::floor(static_cast<float>(w0) / s);
            h = std::floor(static_cast<float>(h0) / s);
            s = static_cast<float>(static_cast<double>(s) + 0.001);
        }
    } else {
        while ((w < roomW || h < roomH) && passes++ < kMaxFitPasses) {
            w = std::floor(static_cast<float>(w0) * s);
            h = std::floor(static_cast<float>(h0) * s);
            s = static_cast<float>(static_cast<double>(s) + 0.001);
        }
    }
    VideoRect r;
    r.width = ToInt16(w);
    r.height = ToInt16(h);
    r.left = ToInt16(std::floor((boxWidth - r.width) / 2.0) + entry.left);
    r.top = ToInt16(std::floor((boxHeight - r.height) / 2.0) + entry.top);
    return r;
}

void PositionTimer::Enable(HWND window, bool on) {
    on_ = on && window;
    if (!window) return;
    if (on)
        ::SetTimer(window, kId, 100, nullptr);
    else
        ::KillTimer(window, kId);
}

MediaPlayer::MediaPlayer(MediaGraphFactory factory) : factory_(std::move(factory)) {}

MediaPlayer::~MediaPlayer() { ReleaseAll(); }

bool MediaPlayer::HasGraph() const { return graph_ && graph_->HasControl(); }

void MediaPlayer::ReleaseKept() {
    if (!kept_) return;
    kept_->ReleaseVideoWindow();
    kept_.reset();
}

void MediaPlayer::ReleaseAll() {
    if (building_) buildLetGo_ = true;
    ReleaseKept();
    FreeGraph(graph_);
}

void MediaPlayer::ReleaseKeepingWindow() {
    if (building_) buildLetGo_ = true;
    if (!graph_) return;
    graph_->ReleasePlayback();
    if (graph_->HasVideoWindow()) {
        ReleaseKept();
        kept_ = std::move(graph_);
    }
    graph_.reset();
}

std::unique_ptr<MediaGraph> MediaPlayer::BuildGraph(const std::wstring& path, bool withVideo, bool withWindow) {
    if (!factory_) return nullptr;
    auto build = std::make_shared<GraphBuild>();
    build->factory = factory_;
    build->path = path;
    build->withVideo = withVideo;
    build->withWindow = withWindow;
    if (!build->done) return nullptr;
    auto* handOver = new std::shared_ptr<GraphBuild>(build);
    unique_handle thread(::CreateThread(nullptr, 0, BuildGraphThread, handOver, 0, nullptr));
    if (!thread) {
        delete handOver;
        return nullptr;
    }
    // Waits answering what other threads send and painting, but runs no command. What such a
    // message does to this player counts: a second open is refused, a release ends the wait.
    const int64_t deadline = TickClock::Now() + static_cast<int64_t>(buildTimeLimitMs_) * TickClock::PerMs();
    HANDLE done = build->done.get();
    building_ = true;
    buildLetGo_ = false;
    while (!buildLetGo_) {
        const int64_t left = (deadline - TickClock::Now()) / TickClock::PerMs();
        if (left <= 0) break;
        const DWORD r = ::MsgWaitForMultipleObjects(1, &done, FALSE, static_cast<DWORD>(std::min<int64_t>(left, 100)),
                                                    QS_SENDMESSAGE | QS_PAINT);
        if (r == WAIT_OBJECT_0) break;
        mDoEvents::AnswerNow();
    }
    building_ = false;
    std::unique_ptr<MediaGraph> graph;
    {
        std::lock_guard<std::mutex> hold(build->lock);
        if (!build->finished) build->abandoned = true;
        graph = std::move(build->graph);
    }
    if (buildLetGo_) FreeGraph(graph);
    return graph;
}

bool MediaPlayer::OpenVideo(const std::wstring& path, HWND box) {
    if (building_) return false;
    ReleaseAll();
    duration_ = 0;
    graph_ = BuildGraph(path, true, true);
    bool ok = graph_ && SUCCEEDED(graph_->AttachVideoWindow(box));
    if (ok) {
        const SIZE size = SourceSize();
        ok = static_cast<int16_t>(size.cx) != 0 && static_cast<int16_t>(size.cy) != 0;
    }
    if (ok) {
        RECT client{};
        ::GetClientRect(box, &client);
        const SIZE size = SourceSize();
        const VideoRect r = FitVideoRect(client.right, client.bottom,
                                         VideoRect{0, 0, static_cast<int16_t>(size.cx), static_cast<int16_t>(size.cy)});
        ok = SUCCEEDED(graph_->SetVideoWindowPosition(r.left, r.top, r.width, r.height)) &&
             SUCCEEDED(graph_->GetDuration(duration_));
    }
    if (!ok) ReleaseAll();
    return ok;
}

bool MediaPlayer::OpenAudio(const std::wstring& path, bool keepWindow) {
    if (building_) return false;
    if (keepWindow)
        ReleaseKeepingWindow();
    else
        ReleaseAll();
    duration_ = 0;
    graph_ = BuildGraph(path, false, false);
    const bool ok = graph_ && SUCCEEDED(graph_->GetDuration(duration_));
    if (!ok) ReleaseAll();
    return ok;
}

SIZE MediaPlayer::SourceSize() const {
    long w = 0, h = 0;
    if (!graph_ || FAILED(graph_->GetSourceSize(w, h))) return SIZE{0, 0};
    return SIZE{w, h};
}

void MediaPlayer::FitInto(HWND box) {
    if (!HasGraph()) return;
    const SIZE size = SourceSize();
    RECT client{};
    ::GetClientRect(box, &client);
    const VideoRect r = FitVideoRect(client.right, client.bottom,
                                     VideoRect{0, 0, static_cast<int16_t>(size.cx), static_cast<int16_t>(size.cy)});
    graph_->SetVideoWindowPosition(r.left, r.top, r.width, r.height);
}

void MediaPlayer::Run() {
    if (HasGraph()) graph_->Run();
}

void MediaPlayer::Pause() {
    if (HasGraph()) graph_->Pause();
}

void MediaPlayer::Stop() {
    if (HasGraph()) graph_->Stop();
}

void MediaPlayer::SeekAndRun(double seconds) {
    if (!HasGraph()) return;
    graph_->Stop();
    graph_->PutCurrentPosition(seconds);
    graph_->Run();
}

bool MediaPlayer::Position(double& seconds) const {
    return HasGraph() && SUCCEEDED(graph_->GetCurrentPosition(seconds));
}

bool MediaPlayer::AtEnd() const {
    double p = 0, d = 0;
    if (!Position(p) || FAILED(graph_->GetDuration(d))) return false;
    // A graph that reports no length has no end to reach.
    return d > 0 && p >= d;
}

}  // namespace salva
