// The media player both preview windows stand on: which files are media, the clock texts,
// the fitting of a video into its panel, and one filter graph per opened file driven through
// the graph seam (MediaGraph.h).
#pragma once
#include "windows/MediaGraph.h"
#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>

namespace salva {

enum class MediaKind { None, Video, Audio };
// By the name's ending alone, upper-cased; a name need not have a dot ("plateau" is audio).
MediaKind MediaKindOf(const std::wstring& name);

// "hh:mm:ss", each at least two digits; minutes are total minutes (90 minutes: "01:90:00").
std::wstring ClockText(int32_t hours, int32_t minutes, int32_t seconds);
// Of a duration in seconds: Int(d / 3600), Int(d / 60), the rounded seconds mod 60.
std::wstring DurationClockText(double seconds);
// A position rounded to whole seconds, split by whole division: hours, total minutes, seconds.
struct ClockParts {
    int16_t hours = 0;
    int16_t minutes = 0;
    int16_t seconds = 0;
};
ClockParts PositionClockParts(double seconds);
// Of a position: the clock text of its parts.
std::wstring PositionClockText(double seconds);
// Seconds rounded to the nearest whole number, half to even, held within 32 bits.
int32_t RoundSeconds(double seconds);

struct VideoRect {
    int16_t left = 0;
    int16_t top = 0;
    int16_t width = 0;
    int16_t height = 0;
};
// Scales a video of the entry size in steps of 0.001 until it fits the box (too large), or
// until it reaches the box in both directions (too small), then centres it; the entry left and
// top are the area's offset. A box or a video with no area, and a search that gives no result
// in its bounded number of passes, keep what was reached.
VideoRect FitVideoRect(int boxWidth, int boxHeight, VideoRect entry);

// A player window's 100 ms position timer (WM_TIMER with kId).
class PositionTimer {
public:
    static constexpr UINT_PTR kId = 1;
    void Enable(HWND window, bool on);
    bool On() const { return on_; }

private:
    bool on_ = false;
};

// One window's player: the current graph, and, where a window keeps it, the video window of a
// graph that was stopped, still attached to the panel.
class MediaPlayer {
public:
    explicit MediaPlayer(MediaGraphFactory factory = DirectShowGraphFactory());
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    void SetFactory(MediaGraphFactory factory) { factory_ = std::move(factory); }

    // How long a graph may take to be made and to render its file before the file counts as
    // one that cannot be previewed. It frees the window from a media stack that never returns
    // (a damaged AVI index can hold it for good); the window answers meanwhile, so it is long
    // enough for a healthy clip on a slow, busy machine, where the first graph of a process
    // (the media stack's start-up) takes many times its usual second or two.
    static constexpr DWORD kBuildTimeLimitMs = 30000;
    void SetBuildTimeLimit(DWORD ms) { buildTimeLimitMs_ = ms; }

    // True while a graph can play (its control reference is set).
    bool HasGraph() const;
    // Releases everything; a video window is hidden and taken from its panel first.
    void ReleaseAll();
    // Releases the playback references; the video window stays attached to its panel until
    // the next video or ReleaseAll.
    void ReleaseKeepingWindow();

    // Builds a graph with a video window inside `box`, fitted to the box. False, with
    // everything released, when any step fails or the video has no size. While a graph is
    // being built, an open (from a message answered during the wait) is refused.
    bool OpenVideo(const std::wstring& path, HWND box);
    // Builds a graph without a video window; with `keepWindow` a video window still attached
    // stays, else everything is released first. False, with the new graph released, on failure.
    bool OpenAudio(const std::wstring& path, bool keepWindow);

    // The duration read at open, in seconds.
    double Duration() const { return duration_; }
    // The source size as the graph reports it now; 0 and 0 when it cannot be read.
    SIZE SourceSize() const;
    // Fits the video into `box` again and places it there.
    void FitInto(HWND box);

    // Each does nothing without a graph; a failing call is passed over.
    void Run();
    void Pause();
    void Stop();
    // Moves to `seconds` and runs. The graph is stopped for the move: a move while running
    // or paused can hang the splitter of a graph with sound and picture.
    void SeekAndRun(double seconds);
    // The current position; false when there is no graph or it cannot be read.
    bool Position(double& seconds) const;
    // The position has reached the duration (both read afresh).
    bool AtEnd() const;

private:
    void ReleaseKept();
    // A new graph that rendered the file, made on a thread of its own; null when it could not
    // be made, the file did not render, or that took longer than the time limit.
    std::unique_ptr<MediaGraph> BuildGraph(const std::wstring& path, bool withVideo, bool withWindow);

    MediaGraphFactory factory_;
    std::unique_ptr<MediaGraph> graph_;
    // A stopped graph of which only the video window is still held.
    std::unique_ptr<MediaGraph> kept_;
    // This thread waits for a graph being built; a release asked for meanwhile gives it up.
    bool building_ = false;
    bool buildLetGo_ = false;
    double duration_ = 0;
    DWORD buildTimeLimitMs_ = kBuildTimeLimitMs;
};

}  // namespace salva
