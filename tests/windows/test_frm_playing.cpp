// The open dialog's preview pane over a graph of the test's own: facts, labels, slider, the
// play and stop strip pressed as a user presses it, the timer's ticks and the end of a file.
#include "FakeMediaGraph.h"
#include "TestSupport.h"
#include "services/FormatNumber.h"
#include "windows/frmPlaying.h"
#include <commctrl.h>

using namespace testsupport;
using mediatest::FakeFactory;
using mediatest::FakeGraphState;
using salva::frmPlaying;

namespace {

class PaneTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(WriteBytes(clip_, Pattern(5000)));
        ASSERT_TRUE(WriteBytes(song_, Pattern(3000)));
        ASSERT_TRUE(WriteBytes(text_, Pattern(10)));
        ASSERT_TRUE(WriteBytes(empty_, {}));
    }
    HWND C(int id) { return pane_.Control(id); }
    std::string Text(int id) { return Narrow(WindowText(C(id))); }
    int Slider() { return static_cast<int>(::SendMessageW(C(frmPlaying::IDC_sldProgress), TBM_GETPOS, 0, 0)); }
    int SliderMax() { return static_cast<int>(::SendMessageW(C(frmPlaying::IDC_sldProgress), TBM_GETRANGEMAX, 0, 0)); }
    bool SliderOn() { return ::IsWindowEnabled(C(frmPlaying::IDC_sldProgress)) != FALSE; }
    int StripW() {
        RECT r{};
        ::GetClientRect(C(frmPlaying::IDC_picMediaControlButton), &r);
        return r.right;
    }
    void Click(int x) {
        ::SendMessageW(C(frmPlaying::IDC_picMediaControlButton), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
    }
    void ClickPlay() { Click(StripW() - 28); }
    void ClickStop() { Click(StripW() - 8); }
    void Tick() { ::SendMessageW(pane_.Window(), WM_TIMER, frmPlaying::kTimerId, 0); }
    std::string Strip() {
        const auto& s = pane_.StripShown();
        auto one = [](const frmPlaying::ButtonLook& b) {
            return std::string(b.pressed ? "pressed " : "raised ") + (b.colour ? "colour" : "grey");
        };
        return "play " + one(s.play) + ", stop " + one(s.stop);
    }

    TempDir dir_;
    std::wstring clip_ = dir_ / L"AVSEQ01.DAT", song_ = dir_ / L"song.mp3", text_ = dir_ / L"notes.txt",
                 empty_ = dir_ / L"empty.wav";
    std::shared_ptr<FakeGraphState> s_ = std::make_shared<FakeGraphState>();
    frmPlaying pane_{FakeFactory(s_)};
};

}  // namespace

TEST(PaneFacts, SizeInBytesUpToTheThresholdThenWholeKilobytes) {
    EXPECT_EQ(Narrow(salva::PaneFactLines(1023800, L"", L"", L"", L"", L"")[0]), "大小：1,023,800字节");
    EXPECT_EQ(Narrow(salva::PaneFactLines(1023801, L"", L"", L"", L"", L"")[0]), "大小：999KB");
    const auto lines = salva::PaneFactLines(0, L"T 文件", L"c", L"m", L"a", L"只读");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(Narrow(lines[0] + L"|" + lines[1] + L"|" + lines[2] + L"|" + lines[3] + L"|" + lines[4] + L"|" + lines[5]),
              "大小：0字节|类型：T 文件|创建：c|修改：m|访问：a|属性：只读");
}

TEST_F(PaneTest, AVideoOpensReadyWithItsLengthAndSize) {
    ASSERT_TRUE(pane_.OpenMediaFile(clip_));
    EXPECT_TRUE(pane_.Opened());
    EXPECT_EQ(Text(frmPlaying::IDC_lblTotalTime), "00:01:40");
    EXPECT_EQ(Text(frmPlaying::IDC_lblTotalLength), "100[352×288]");
    EXPECT_TRUE(SliderOn());
    EXPECT_EQ(SliderMax(), 100);
    EXPECT_EQ(Strip(), "play raised colour, stop raised colour");
    ASSERT_EQ(pane_.FactLines().size(), 6u);
    EXPECT_EQ(Narrow(pane_.FactLines()[0]), "大小：5,000字节");
    EXPECT_EQ(s_->calls.at(0), "new(video,window)");
    // The video goes into the picture panel, fitted to its 192 x 108 pixels.
    EXPECT_NE(s_->Joined().find("place 29,0,133,108"), std::string::npos) << s_->Joined();
}

TEST_F(PaneTest, PlayPauseResumeFromTheSliderAndTheTimerFollows) {
    ASSERT_TRUE(pane_.OpenMediaFile(song_));
    EXPECT_EQ(Text(frmPlaying::IDC_lblTotalLength), Narrow(salva::FormatNumber(100.4, 2)));
    s_->calls.clear();
    ClickPlay();
    EXPECT_TRUE(pane_.Playing());
    EXPECT_TRUE(pane_.TimerOn());
    EXPECT_EQ(s_->Joined(), "stop|seek 0|run|");
    EXPECT_EQ(Strip(), "play pressed grey, stop raised colour");

    s_->position = 83.25;
    Tick();
    EXPECT_EQ(Text(frmPlaying::IDC_lblCurrentTime), "00:01:23");
    EXPECT_EQ(Slider(), 83);
    EXPECT_EQ(Text(frmPlaying::IDC_lblCurrentPosition), Narrow(salva::FormatNumber(83.25, 2)));

    // Play while playing changes nothing; stop pauses and keeps the graph and the slider.
    s_->calls.clear();
    ClickPlay();
    EXPECT_EQ(s_->Joined(), "");
    ClickStop();
    EXPECT_FALSE(pane_.Playing());
    EXPECT_FALSE(pane_.TimerOn());
    EXPECT_TRUE(pane_.HasGraph());
    EXPECT_EQ(s_->Joined(), "pause|");
    EXPECT_EQ(Strip(), "play raised colour, stop pressed grey");
    // Stop while paused keeps the stop frame pressed and does nothing else.
    ClickStop();
    EXPECT_EQ(s_->Joined(), "pause|");
    EXPECT_EQ(Strip(), "play raised colour, stop pressed grey");

    // Moving the slider while paused only changes its value; play resumes there.
    ::SendMessageW(C(frmPlaying::IDC_sldProgress), TBM_SETPOS, TRUE, 50);
    ::SendMessageW(pane_.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 50),
                   reinterpret_cast<LPARAM>(C(frmPlaying::IDC_sldProgress)));
    EXPECT_EQ(s_->Joined(), "pause|");
    ClickPlay();
    EXPECT_EQ(s_->Joined(), "pause|stop|seek 50|run|");
    // While playing, a move of the user's seeks at once, with the graph stopped for it.
    s_->calls.clear();
    ::SendMessageW(C(frmPlaying::IDC_sldProgress), TBM_SETPOS, TRUE, 70);
    ::SendMessageW(pane_.Window(), WM_HSCROLL, MAKEWPARAM(TB_PAGEDOWN, 0),
                   reinterpret_cast<LPARAM>(C(frmPlaying::IDC_sldProgress)));
    EXPECT_EQ(s_->Joined(), "stop|seek 70|run|");
    // A drag in progress does not seek yet.
    ::SendMessageW(pane_.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 10),
                   reinterpret_cast<LPARAM>(C(frmPlaying::IDC_sldProgress)));
    EXPECT_EQ(s_->Joined(), "stop|seek 70|run|");
}

TEST_F(PaneTest, TheEndStopsTheFileAndTheVideoWindowStaysUntilUnloadOrTheNextFile) {
    ASSERT_TRUE(pane_.OpenMediaFile(clip_));
    ClickPlay();
    s_->position = 100.4;
    Tick();
    EXPECT_FALSE(pane_.HasGraph());
    EXPECT_FALSE(pane_.Opened());
    EXPECT_FALSE(pane_.Playing());
    EXPECT_FALSE(pane_.TimerOn());
    EXPECT_EQ(Slider(), 0);
    EXPECT_FALSE(SliderOn());
    EXPECT_EQ(Strip(), "play raised grey, stop raised grey");
    // The play button does nothing until the file is opened again.
    s_->calls.clear();
    ClickPlay();
    EXPECT_EQ(s_->Joined(), "");
    // The stopped graph's video window stays on the panel; the unload hides and releases it.
    EXPECT_EQ(s_->live, 1);
    EXPECT_EQ(s_->Joined().find("hide window"), std::string::npos);
    pane_.Unload();
    EXPECT_FALSE(pane_.IsLoaded());
    EXPECT_EQ(s_->live, 0);
    EXPECT_EQ(s_->Joined(), "hide window|");
    // The next dialog loads the pane afresh.
    ASSERT_TRUE(pane_.OpenMediaFile(clip_));
    EXPECT_TRUE(pane_.IsLoaded());
    EXPECT_EQ(Strip(), "play raised colour, stop raised colour");
    EXPECT_EQ(Text(frmPlaying::IDC_lblTotalTime), "00:01:40");
    // The next file takes the video off the panel: its last frame would cover the facts.
    s_->calls.clear();
    pane_.OpenMediaFile(text_);
    EXPECT_EQ(s_->live, 0);
    EXPECT_NE(s_->Joined().find("hide window"), std::string::npos) << s_->Joined();
}

// What the dialog shows while its selection moves: the facts, no graph, no earlier picture.
TEST_F(PaneTest, FactsAloneOpenNoMediaAndTakeThePreviousVideoOff) {
    ASSERT_TRUE(pane_.OpenMediaFile(clip_));
    pane_.StopPlay();
    s_->calls.clear();
    pane_.ShowFileFacts(song_);
    ASSERT_EQ(pane_.FactLines().size(), 6u);
    EXPECT_EQ(Narrow(pane_.FactLines()[0]), "大小：3,000字节");
    EXPECT_EQ(s_->Joined(), "hide window|");
    EXPECT_FALSE(pane_.Opened());
    EXPECT_FALSE(SliderOn());
    EXPECT_EQ(Text(frmPlaying::IDC_lblTotalTime), "");
    EXPECT_EQ(Strip(), "play raised grey, stop raised grey");
}

TEST_F(PaneTest, OtherFilesShowTheirFactsAndLeaveTheButtonsGrey) {
    EXPECT_FALSE(pane_.OpenMediaFile(text_));
    EXPECT_EQ(pane_.FactLines().size(), 6u);
    EXPECT_EQ(Strip(), "play raised grey, stop raised grey");
    EXPECT_EQ(s_->Joined(), "");
    ClickPlay();
    EXPECT_FALSE(pane_.Playing());
    EXPECT_EQ(Strip(), "play raised grey, stop raised grey");

    // An empty audio file still prints its facts; a missing file prints none.
    s_->renderResult = E_FAIL;
    EXPECT_FALSE(pane_.OpenMediaFile(empty_));
    ASSERT_FALSE(pane_.FactLines().empty());
    EXPECT_EQ(Narrow(pane_.FactLines()[0]), "大小：0字节");
    EXPECT_EQ(s_->live, 0);
    EXPECT_FALSE(pane_.OpenMediaFile(dir_ / L"gone.mp3"));
    EXPECT_TRUE(pane_.FactLines().empty());
    EXPECT_FALSE(SliderOn());
}

TEST_F(PaneTest, TheColumnBetweenTheButtonsOnlyRedrawsTheRememberedState) {
    ASSERT_TRUE(pane_.OpenMediaFile(song_));
    ClickPlay();
    ClickStop();
    s_->calls.clear();
    Click(StripW() - 18);
    Click(StripW() - 38);
    EXPECT_EQ(s_->Joined(), "");
    EXPECT_EQ(Strip(), "play raised colour, stop pressed grey");
    // Only the left button presses.
    ::SendMessageW(C(frmPlaying::IDC_picMediaControlButton), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(StripW() - 28, 8));
    EXPECT_FALSE(pane_.Playing());
}
