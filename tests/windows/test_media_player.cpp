// The player core over values and over a graph of the test's own: media kinds, clock texts,
// the fitting of a video into its panel, and the order of the graph calls.
#include "FakeMediaGraph.h"
#include "TestTime.h"
#include "services/Holders.h"
#include "windows/MediaPlayer.h"
#include <gtest/gtest.h>
#include <utility>

using namespace salva;
using mediatest::FakeFactory;
using mediatest::FakeGraphState;

TEST(MediaKind, DecidedByTheEndingAlone) {
    for (const wchar_t* v : {L"clip.mpeg", L"CLIP.MPG", L"x.dat", L"moviedat", L"MOVIE.MP3.AVI", L"a.vob.m2v"})
        EXPECT_EQ(MediaKindOf(v), MediaKind::Video) << testing::PrintToString(std::wstring(v));
    for (const wchar_t* a : {L"song.mid", L"song.midi", L"a.au", L"tone.aiff", L"plateau", L"TRACK.mp3", L"w.Wav"})
        EXPECT_EQ(MediaKindOf(a), MediaKind::Audio) << testing::PrintToString(std::wstring(a));
    for (const wchar_t* n : {L"notes.txt", L"image.bmp", L"", L"u", L"x.vob"})
        EXPECT_EQ(MediaKindOf(n), MediaKind::None) << testing::PrintToString(std::wstring(n));
}

TEST(ClockText, TotalMinutesAndTwoDigitsAtLeast) {
    EXPECT_EQ(DurationClockText(3700), L"01:61:40");
    EXPECT_EQ(DurationClockText(59), L"00:00:59");
    EXPECT_EQ(DurationClockText(100.4), L"00:01:40");
    EXPECT_EQ(DurationClockText(5400), L"01:90:00");
    EXPECT_EQ(ClockText(123, 7400, 5), L"123:7400:05");
    // A position is rounded first: 59.6 s is a whole minute.
    EXPECT_EQ(PositionClockText(59.6), L"00:01:00");
    EXPECT_EQ(PositionClockText(83.25), L"00:01:23");
    EXPECT_EQ(RoundSeconds(2.5), 2);
    EXPECT_EQ(RoundSeconds(3.5), 4);
    EXPECT_EQ(RoundSeconds(1e300), 2147483647);
}

namespace {
std::string Str(VideoRect r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}
}  // namespace

TEST(FitVideoRect, ShrinksOrGrowsAndCentres) {
    EXPECT_EQ(Str(FitVideoRect(200, 200, {0, 0, 320, 240})), "0,25,200,150");
    // Grows until both sides reach the box: the other side ends larger and is cropped.
    EXPECT_EQ(Str(FitVideoRect(200, 150, {0, 0, 100, 100})), "0,-25,200,200");
    EXPECT_EQ(Str(FitVideoRect(177, 108, {0, 0, 352, 288})), "22,0,133,108");
    EXPECT_EQ(Str(FitVideoRect(200, 150, {0, 0, 200, 150})), "0,0,200,150");
    // The area's offset narrows the room and moves the result.
    EXPECT_EQ(Str(FitVideoRect(210, 210, {10, 10, 320, 240})), "15,40,200,150");
}

TEST(FitVideoRect, NoAreaAndExtremeRatiosEndWithoutPumping) {
    // Nothing to fit into, or nothing to fit: the entry comes back.
    EXPECT_EQ(Str(FitVideoRect(0, 120, {0, 0, 352, 288})), "0,0,352,288");
    EXPECT_EQ(Str(FitVideoRect(-5, -5, {0, 0, 352, 288})), "0,0,352,288");
    EXPECT_EQ(Str(FitVideoRect(200, 200, {0, 0, 0, 288})), "0,0,0,288");
    EXPECT_EQ(Str(FitVideoRect(20, 20, {30, 0, 352, 288})), "30,0,352,288");
    // Several hundred times too large still fits.
    const VideoRect tiny = FitVideoRect(1, 1, {0, 0, 720, 576});
    EXPECT_LE(tiny.width, 1);
    EXPECT_LE(tiny.height, 1);
    // Beyond the bounded search the result stays short of the box but the call returns.
    const VideoRect huge = FitVideoRect(32000, 32000, {0, 0, 1, 1});
    EXPECT_GT(huge.width, 500) << Str(huge);
    EXPECT_LT(huge.width, 32000) << Str(huge);
}

class PlayerTest : public testing::Test {
protected:
    void SetUp() override {
        box_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(box_);
    }
    void TearDown() override { ::DestroyWindow(box_); }
    std::shared_ptr<FakeGraphState> s_ = std::make_shared<FakeGraphState>();
    HWND box_ = nullptr;
};

TEST_F(PlayerTest, VideoOpenFitsIntoTheBoxAndReadsTheDuration) {
    MediaPlayer p(FakeFactory(s_));
    s_->width = 320;
    s_->height = 240;
    ASSERT_TRUE(p.OpenVideo(L"C:\\v.mpg", box_));
    EXPECT_EQ(s_->Joined(), "new(video,window)|render C:\\v.mpg|attach|place 0,25,200,150|");
    EXPECT_DOUBLE_EQ(p.Duration(), 100.4);
    EXPECT_TRUE(p.HasGraph());
}

TEST_F(PlayerTest, AFailedOpenLeavesNoGraph) {
    MediaPlayer p(FakeFactory(s_));
    s_->height = 0x10000;  // low 16 bits 0
    EXPECT_FALSE(p.OpenVideo(L"v.dat", box_));
    EXPECT_FALSE(p.HasGraph());
    EXPECT_EQ(s_->live, 0);
    EXPECT_EQ(s_->Joined(), "new(video,window)|render v.dat|attach|release playback|hide window|");
    s_->calls.clear();
    s_->height = 288;
    s_->renderResult = 0x80040218;
    EXPECT_FALSE(p.OpenAudio(L"a.mp3", false));
    EXPECT_EQ(s_->live, 0);
    s_->failCreate = true;
    EXPECT_FALSE(p.OpenVideo(L"v.dat", box_));
    EXPECT_FALSE(p.HasGraph());
    // Without a graph the controls do nothing.
    s_->calls.clear();
    p.Run();
    p.SeekAndRun(3);
    double pos = -1;
    EXPECT_FALSE(p.Position(pos));
    EXPECT_EQ(s_->Joined(), "");
}

TEST_F(PlayerTest, AKeptVideoWindowStaysUntilTheNextVideoAndIsHiddenBeforeRelease) {
    MediaPlayer p(FakeFactory(s_));
    ASSERT_TRUE(p.OpenVideo(L"v.dat", box_));
    p.Stop();
    p.ReleaseKeepingWindow();
    EXPECT_FALSE(p.HasGraph());
    EXPECT_EQ(s_->live, 1);
    // An audio file keeps that window attached; a new video releases it, hidden first.
    ASSERT_TRUE(p.OpenAudio(L"a.wav", true));
    EXPECT_EQ(s_->live, 2);
    s_->calls.clear();
    ASSERT_TRUE(p.OpenVideo(L"w.avi", box_));
    EXPECT_EQ(s_->live, 1);
    EXPECT_EQ(s_->Joined().rfind("hide window|release playback|new(video,window)|", 0), 0u) << s_->Joined();
    p.ReleaseAll();
    EXPECT_EQ(s_->live, 0);
}

TEST_F(PlayerTest, SeeksOnlyWhileStoppedAndEndsAtTheDuration) {
    MediaPlayer p(FakeFactory(s_));
    ASSERT_TRUE(p.OpenAudio(L"a.mp3", false));
    p.Run();
    s_->calls.clear();
    p.SeekAndRun(12);
    EXPECT_EQ(s_->Joined(), "stop|seek 12|run|");
    EXPECT_FALSE(p.AtEnd());
    s_->position = 100.4;
    EXPECT_TRUE(p.AtEnd());
    // No length, no end.
    s_->duration = 0;
    EXPECT_FALSE(p.AtEnd());
}

namespace {

// A graph whose render sends WM_APP to the panel, then waits for the test's word (5 s at most),
// as Wine's media stack on a damaged AVI may wait for ever; it notes the thread that frees it.
struct Hang {
    salva::unique_handle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    salva::unique_handle freed{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    DWORD freedOn = 0;
    HWND panel = nullptr;
};

struct HangingGraph : mediatest::FakeMediaGraph {
    HangingGraph(std::shared_ptr<FakeGraphState> s, Hang& h) : FakeMediaGraph(std::move(s), false), h_(h) {}
    ~HangingGraph() override {
        h_.freedOn = ::GetCurrentThreadId();
        ::SetEvent(h_.freed.get());
    }
    HRESULT RenderFile(const std::wstring& path) override {
        ::SendMessageW(h_.panel, WM_APP, 0, 0);
        ::WaitForSingleObject(h_.release.get(), static_cast<DWORD>(testsupport::ScaledMs(5000)));
        return FakeMediaGraph::RenderFile(path);
    }
    Hang& h_;
};

// Runs what a message sent to the panel during the wait (the session's end unloading it) runs.
std::function<void()> g_during;
LRESULT CALLBACK RunDuring(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (auto during = msg == WM_APP ? std::exchange(g_during, nullptr) : nullptr) during();
    return ::DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

// While the graph renders, the panel's thread answers: a second open then is refused, a release
// ends the open as a failure, a render past the time limit is given up and let go by its thread.
TEST_F(PlayerTest, AnOpenAnswersWhileItWaitsForTheGraphAndEndsOnAReleaseOrTheTimeLimit) {
    ::SetWindowLongPtrW(box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RunDuring));
    enum Road { LetGo, SecondOpen, Hangs };
    for (const Road road : {LetGo, SecondOpen, Hangs}) {
        Hang h;
        h.panel = box_;
        if (road != Hangs) ::SetEvent(h.release.get());
        MediaPlayer p([&](bool, bool) { return std::make_unique<HangingGraph>(s_, h); });
        p.SetBuildTimeLimit(1000);
        bool second = false;
        g_during = [&] { road == LetGo ? p.ReleaseAll() : void(second = p.OpenAudio(L"b.mp3", false)); };
        EXPECT_EQ(p.OpenAudio(L"a.mp3", false), road == SecondOpen) << road;
        EXPECT_FALSE(second) << road;
        p.ReleaseAll();
        ::SetEvent(h.release.get());
        ASSERT_EQ(::WaitForSingleObject(h.freed.get(), static_cast<DWORD>(testsupport::ScaledMs(10000))), WAIT_OBJECT_0)
            << road;
        if (road == Hangs) EXPECT_NE(h.freedOn, ::GetCurrentThreadId());
        EXPECT_EQ(s_->Joined(), "render a.mp3|release playback|") << road;
        s_->calls.clear();
    }
}
