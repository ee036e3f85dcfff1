// The preview windows on real clips through the system's filter graph: the duration read,
// the position moving while it plays, the video window a child of the panel and showing on
// the screen, and stop and release coming back.
#include "MediaClips.h"
#include "TestSupport.h"
#include "windows/frmPlaying.h"
#include <commctrl.h>
#include <cwchar>
#include <memory>

using namespace testsupport;
using mediatest::MediaClips;
using mediatest::PumpUntil;
using salva::frmPlaying;

namespace {

class MediaPreview : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        clips_ = new MediaClips();
    }
    static void TearDownTestSuite() {
        delete clips_;
        clips_ = nullptr;
    }
    void SetUp() override {
        if (!clips_->ok()) GTEST_SKIP() << "ffmpeg could not make the test clips";
    }
    salva::co_init_scope com_;
    static MediaClips* clips_;
};
MediaClips* MediaPreview::clips_ = nullptr;

double Seconds(HWND label) { return std::wcstod(WindowText(label).c_str(), nullptr); }

// The pane on the screen at the top left, playing `path` until its position label shows
// playback under way.
void PlayInPane(frmPlaying& pane, const std::wstring& path, bool video) {
    SCOPED_TRACE(Narrow(path));
    ASSERT_TRUE(pane.OpenMediaFile(path));
    EXPECT_EQ(Narrow(WindowText(pane.Control(frmPlaying::IDC_lblTotalTime))), "00:00:03");
    HWND panel = pane.Control(frmPlaying::IDC_picVideo);
    HWND videoWindow = ::GetWindow(panel, GW_CHILD);
    if (video) {
        EXPECT_TRUE(videoWindow);
    }
    ::SetWindowPos(pane.Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    pane.StartPlay();
    HWND position = pane.Control(frmPlaying::IDC_lblCurrentPosition);
    EXPECT_TRUE(PumpUntil([&] { return Seconds(position) >= 0.5; })) << Narrow(WindowText(position));
    if (video) {
        ASSERT_TRUE(videoWindow);
        EXPECT_TRUE(::IsWindowVisible(videoWindow));
        // The test picture's colour bars and moving pattern, not one flat panel colour.
        EXPECT_GT(mediatest::ColoursOnScreen(videoWindow), 8);
    }
}

}  // namespace

TEST_F(MediaPreview, PaneReadsPlaysAndReleasesEachKind) {
    frmPlaying pane;
    for (const std::wstring* clip : {&clips_->Vcd(), &clips_->Dvd()}) {
        PlayInPane(pane, *clip, true);
        pane.StopPlay();
        EXPECT_FALSE(pane.HasGraph());
        // The stopped video stays on the panel until the next video.
        EXPECT_TRUE(::GetWindow(pane.Control(frmPlaying::IDC_picVideo), GW_CHILD));
    }
    for (const std::wstring* clip : {&clips_->Mp3(), &clips_->Wav()}) {
        PlayInPane(pane, *clip, false);
        pane.PausePlay();
        pane.StopPlay();
        EXPECT_FALSE(pane.HasGraph());
    }
    // Playing to the end stops the file by itself.
    ASSERT_TRUE(pane.OpenMediaFile(clips_->Wav()));
    pane.StartPlay();
    EXPECT_TRUE(PumpUntil([&] { return !pane.HasGraph(); }, 20000));
    EXPECT_FALSE(pane.Opened());
    pane.Unload();
    EXPECT_FALSE(pane.IsLoaded());
}
