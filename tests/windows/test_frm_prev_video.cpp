// The file list's preview window over a graph of the test's own: title, clock strip, thumb,
// icon frames, the thumb dragged as a user drags it, the MP3 text, and every way it closes
// with the main window's preview fields cleared.
#include "FakeMediaGraph.h"
#include "FakeMainWindow.h"
#include "TestSupport.h"
#include "services/FormatNumber.h"
#include "windows/frmPrevVideo.h"

using namespace testsupport;
using mediatest::FakeFactory;
using mediatest::FakeGraphState;
using salva::frmPrevVideo;
using salva::Mp3PreviewFacts;

namespace {

Mp3PreviewFacts SampleFacts() {
    Mp3PreviewFacts f;
    f.header = L"417";
    f.seconds = 181;
    f.versionLayer = L"MPEG 1 Layer III";
    f.bitRate = 128;
    f.frames = 6929;
    f.frequency = 44100;
    f.mode = L"合成立体声";
    f.crcs = L"No";
    f.copyrighted = L"No";
    f.original = L"Yes";
    f.emphasis = L"None";
    return f;
}

class PrevVideoTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(clip_, Pattern(5000)));
        ASSERT_TRUE(WriteBytes(song_, Pattern(3000)));
        ASSERT_TRUE(WriteBytes(text_, Pattern(10)));
        ASSERT_TRUE(WriteBytes(empty_, {}));
        main_.PreviewLoaded = main_.PreviewPlaying = main_.PreviewOn = true;
        prev_.SetClock([] {
            SYSTEMTIME t{};
            t.wHour = 14;
            t.wMinute = 2;
            t.wSecond = 33;
            return t;
        });
    }
    HWND C(int id) { return prev_.Control(id); }
    int ThumbLeft() {
        RECT r{};
        ::GetWindowRect(C(frmPrevVideo::IDC_picSlider), &r);
        ::MapWindowPoints(HWND_DESKTOP, C(frmPrevVideo::IDC_picProgressBar), reinterpret_cast<POINT*>(&r), 2);
        return r.left;
    }
    void Tick() { ::SendMessageW(prev_.Window(), WM_TIMER, frmPrevVideo::kTimerId, 0); }
    void Thumb(UINT msg, WPARAM keys, int x) { ::SendMessageW(C(frmPrevVideo::IDC_picSlider), msg, keys, MAKELPARAM(x, 1)); }
    bool FlagsCleared() const { return !main_.PreviewLoaded && !main_.PreviewPlaying; }

    TempDir dir_;
    std::wstring clip_ = dir_ / L"AVSEQ01.DAT", song_ = dir_ / L"TRACK.mp3", text_ = dir_ / L"notes.txt",
                 empty_ = dir_ / L"empty.avi";
    FakeMainWindow main_;
    std::shared_ptr<FakeGraphState> s_ = std::make_shared<FakeGraphState>();
    frmPrevVideo prev_{FakeFactory(s_)};
};

}  // namespace

TEST_F(PrevVideoTest, AVideoPlaysWithItsClockThumbAndIconThenEndsAndCloses) {
    ASSERT_TRUE(prev_.OpenMediaFile(clip_));
    EXPECT_EQ(Narrow(WindowText(prev_.Window())), "AVSEQ01.DAT[00:01:40 352×288]");
    EXPECT_TRUE(prev_.VideoShown());
    EXPECT_FALSE(::IsWindowVisible(prev_.Window()));
    prev_.StartPlay();
    EXPECT_TRUE(::IsWindowVisible(prev_.Window()));
    EXPECT_TRUE(prev_.TimerOn());

    s_->position = 83.25;
    Tick();
    EXPECT_EQ(Narrow(prev_.TipText()),
              "00:01:23/00:01:40 352×288 14:02:33  " + Narrow(salva::FormatNumber(83.25, 3)));
    EXPECT_EQ(ThumbLeft(), 73);  // Int(83.25 / 100.4 x (100 - 11))
    EXPECT_EQ(prev_.IconFrame(), 1);
    const LRESULT first = ::SendMessageW(prev_.Window(), WM_GETICON, ICON_SMALL, 0);
    Tick();
    const LRESULT second = ::SendMessageW(prev_.Window(), WM_GETICON, ICON_SMALL, 0);
    EXPECT_NE(first, second);
    Tick();
    EXPECT_EQ(prev_.IconFrame(), 0);
    Tick();
    EXPECT_EQ(::SendMessageW(prev_.Window(), WM_GETICON, ICON_SMALL, 0), first) << "three frames in turn";

    prev_.PausePlay();
    EXPECT_FALSE(prev_.TimerOn());
    EXPECT_TRUE(prev_.HasGraph());
    s_->position = 100.4;
    Tick();
    EXPECT_FALSE(prev_.IsLoaded());
    EXPECT_FALSE(prev_.HasGraph());
    EXPECT_TRUE(FlagsCleared());
    EXPECT_EQ(main_.titleBarPaints, 1);
    EXPECT_EQ(s_->live, 0);
    EXPECT_NE(s_->Joined().find("hide window"), std::string::npos);
}

TEST_F(PrevVideoTest, DraggingTheThumbSeeksWithinTheBar) {
    ASSERT_TRUE(prev_.OpenMediaFile(song_));
    prev_.StartPlay();
    s_->calls.clear();
    // A drag with the right button does nothing.
    Thumb(WM_RBUTTONDOWN, MK_RBUTTON, 5);
    Thumb(WM_MOUSEMOVE, MK_RBUTTON, 40);
    EXPECT_EQ(ThumbLeft(), 0);
    EXPECT_EQ(s_->Joined(), "");
    Thumb(WM_RBUTTONUP, 0, 40);
    // Past the right end: the thumb stops at 89 and the file goes to its whole last second.
    Thumb(WM_LBUTTONDOWN, MK_LBUTTON, 5);
    Thumb(WM_MOUSEMOVE, MK_LBUTTON, 305);
    EXPECT_EQ(ThumbLeft(), 89);
    EXPECT_EQ(s_->Joined(), "stop|seek 100|run|");
    // Past the left end: 0; a move is measured from the grip, wherever the thumb now is.
    s_->calls.clear();
    Thumb(WM_MOUSEMOVE, MK_LBUTTON, -200);
    EXPECT_EQ(ThumbLeft(), 0);
    Thumb(WM_MOUSEMOVE, MK_LBUTTON, 5 + 20);
    EXPECT_EQ(ThumbLeft(), 20);
    EXPECT_EQ(s_->Joined(), "stop|seek 0|run|stop|seek 22|run|");
    // A release of any button ends the drag.
    Thumb(WM_MBUTTONUP, 0, 0);
    s_->calls.clear();
    Thumb(WM_MOUSEMOVE, MK_LBUTTON, 60);
    EXPECT_EQ(ThumbLeft(), 20);
    EXPECT_EQ(s_->Joined(), "");
}

TEST_F(PrevVideoTest, AnMp3ShowsItsFactsAndAFailingReaderClosesTheWindow) {
    Mp3PreviewFacts f = SampleFacts();
    f.length = 3000;
    f.hasTag = true;  // all 21 lines
    uint64_t seenLength = 0;
    prev_.SetMp3Reader([&](const std::wstring&, uint64_t n) {
        seenLength = n;
        return std::optional<Mp3PreviewFacts>(f);
    });
    ASSERT_TRUE(prev_.OpenMediaFile(song_));
    EXPECT_EQ(seenLength, 3000u);
    EXPECT_EQ(Narrow(WindowText(prev_.Window())), "TRACK.mp3[00:01:40]");
    EXPECT_EQ(Narrow(WindowText(C(frmPrevVideo::IDC_lblMP3info))), Narrow(salva::Mp3PreviewText(f)));
    RECT label{};
    ::GetClientRect(C(frmPrevVideo::IDC_lblMP3info), &label);
    EXPECT_GT(label.bottom, 100) << "the label takes the height of its lines";
    RECT inPanel{}, panel{};
    ::GetWindowRect(C(frmPrevVideo::IDC_lblMP3info), &inPanel);
    ::MapWindowPoints(nullptr, C(frmPrevVideo::IDC_picVideoWindow), reinterpret_cast<POINT*>(&inPanel), 2);
    ::GetClientRect(C(frmPrevVideo::IDC_picVideoWindow), &panel);
    EXPECT_LE(inPanel.bottom, panel.bottom) << "the panel shows every line";
    EXPECT_FALSE(prev_.VideoShown());

    prev_.SetMp3Reader([](const std::wstring&, uint64_t) { return std::optional<Mp3PreviewFacts>(); });
    EXPECT_FALSE(prev_.OpenMediaFile(song_));
    EXPECT_FALSE(prev_.IsLoaded());
    EXPECT_EQ(s_->live, 0);
    // A failed open leaves the main window's fields to the main window.
    EXPECT_EQ(main_.titleBarPaints, 0);
}

TEST_F(PrevVideoTest, EmptyMissingAndOtherFiles) {
    // An empty file: no graph, the window made but left as it was.
    EXPECT_FALSE(prev_.OpenMediaFile(empty_));
    EXPECT_TRUE(prev_.IsLoaded());
    EXPECT_EQ(Narrow(WindowText(prev_.Window())), "ViedoWindow");
    EXPECT_EQ(s_->Joined(), "");
    // Not media: no graph, the window stays.
    EXPECT_FALSE(prev_.OpenMediaFile(text_));
    EXPECT_TRUE(prev_.IsLoaded());
    // Without a graph, start, stop and close touch nothing outside.
    prev_.StartPlay();
    EXPECT_FALSE(::IsWindowVisible(prev_.Window()));
    prev_.StopPlay();
    EXPECT_EQ(main_.titleBarPaints, 0);
    // A missing file: the window closes.
    EXPECT_FALSE(prev_.OpenMediaFile(dir_ / L"gone.dat"));
    EXPECT_FALSE(prev_.IsLoaded());
    EXPECT_EQ(main_.titleBarPaints, 0);
    EXPECT_FALSE(FlagsCleared());
}

TEST_F(PrevVideoTest, TheCloseBoxStopsAndAResizeFitsAgainAndRuns) {
    ASSERT_TRUE(prev_.OpenMediaFile(clip_));
    prev_.StartPlay();
    s_->calls.clear();
    ::MoveWindow(prev_.Window(), 0, 0, 500, 400, TRUE);
    EXPECT_NE(s_->Joined().find("place "), std::string::npos) << s_->Joined();
    EXPECT_EQ(s_->calls.back(), "run");
    // No layout while minimized.
    ::ShowWindow(prev_.Window(), SW_MINIMIZE);
    s_->calls.clear();
    ::SendMessageW(prev_.Window(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(s_->Joined(), "");
    ::ShowWindow(prev_.Window(), SW_RESTORE);

    ::SendMessageW(prev_.Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(prev_.IsLoaded());
    EXPECT_TRUE(FlagsCleared());
    EXPECT_EQ(main_.titleBarPaints, 1);
    EXPECT_EQ(s_->live, 0);
}

TEST_F(PrevVideoTest, NoLengthNoThumbAndNoEnd) {
    s_->duration = 0;
    ASSERT_TRUE(prev_.OpenMediaFile(song_));
    prev_.StartPlay();
    s_->position = 5;
    Tick();
    EXPECT_EQ(ThumbLeft(), 0);
    EXPECT_TRUE(prev_.HasGraph());
    EXPECT_TRUE(prev_.IsLoaded());
}

TEST(Mp3PreviewText, SizeLinesTagAndHeaderLines) {
    Mp3PreviewFacts f = SampleFacts();
    f.length = 1024000;
    const std::string dashes(31, '-');
    EXPECT_EQ(Narrow(salva::Mp3PreviewText(f)),
              dashes + "\r\n文件大小：1,024,000字节\r\n[MPEG信息]---------------------\r\n标头创建于：417字节\r\n"
                       "长度：181秒\r\nMPEG 1 Layer III\r\n128kbit/s  6929帧\r\n44100Hz  合成立体声\r\nCRCs：No\r\n"
                       "版权作品：No\r\n正本原件：Yes\r\n信号加重：None\r\n" +
                  dashes + "\r\n");
    f.length = 1024001;
    f.hasTag = true;
    f.title = L"歌";
    f.artist = L"A";
    f.album = L"B";
    f.track = L"3";
    f.year = L"2003";
    f.genre = L"Pop";
    f.comments = L"c";
    // A playing time out of range leaves its line out.
    f.seconds.reset();
    const std::string t = Narrow(salva::Mp3PreviewText(f));
    EXPECT_NE(t.find("\r\n文件大小：1,000KB\r\n[ID3v1信息]--------------------\r\n曲名：歌\r\n艺人：A\r\n专集：B\r\n"
                     "音轨序号：3\r\n年份：2003\r\n流派：Pop\r\n备注：c\r\n[MPEG信息]"),
              std::string::npos)
        << t;
    EXPECT_EQ(t.find("长度："), std::string::npos) << t;
    f.length = 1024 * 1500 + 512;  // 1,500.5 KB rounds up
    EXPECT_NE(Narrow(salva::Mp3PreviewText(f)).find("文件大小：1,501KB"), std::string::npos);
    // No frame header: its offset, and none of the fields' zeros.
    f.hasHeader = false;
    const std::string bare = Narrow(salva::Mp3PreviewText(f));
    EXPECT_EQ(bare.substr(bare.find("[MPEG")), "[MPEG信息]---------------------\r\n标头创建于：417字节\r\n" + dashes + "\r\n");
}

// The format readers behind the MP3 text: a junk header whose playing time is out of range
// leaves that line out and the file still plays.
TEST_F(PrevVideoTest, AJunkHeaderLosesOnlyItsLengthLine) {
    const std::wstring junk = dir_ / L"junk.mp3";
    {
        salva::unique_hfile f(::CreateFileW(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        // MPEG 2 layer III at 8 kbit/s: 33,000,000 bytes play for 33,000 s.
        const unsigned char header[] = {0xFF, 0xF3, 0x10, 0xC4};
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(f.get(), header, sizeof(header), &written, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = 33000000;
        ASSERT_TRUE(::SetFilePointerEx(f.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(f.get()));
    }
    ASSERT_TRUE(prev_.OpenMediaFile(junk));
    const std::string text = Narrow(WindowText(C(frmPrevVideo::IDC_lblMP3info)));
    EXPECT_NE(text.find("文件大小：32,227KB\r\n[MPEG信息]"), std::string::npos) << text;
    EXPECT_NE(text.find("8kbit/s"), std::string::npos) << text;
    EXPECT_EQ(text.find("长度："), std::string::npos) << text;
    prev_.StartPlay();
    EXPECT_TRUE(prev_.TimerOn());
}
