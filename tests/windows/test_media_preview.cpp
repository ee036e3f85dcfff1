// The preview windows on real clips through the system's filter graph: the duration read,
// the position moving while it plays, the video window a child of the panel and showing on
// the screen, and stop and release coming back.
#include "MediaClips.h"
#include "TestSupport.h"
#include "copier/FrmCopy.h"
#include "services/OpenDialogPane.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include "windows/MediaPlayer.h"
#include "windows/frmPlaying.h"
#include "windows/frmPrevVideo.h"
#include "windows/frmSystem.h"
#include <commctrl.h>
#include <chrono>
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
        icc.dwICC = ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES;
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

// The played position the preview window's clock strip shows, in whole seconds.
int StripSeconds(const salva::frmPrevVideo& prev) {
    const std::wstring t = prev.TipText();
    return t.size() >= 8 ? std::stoi(t.substr(0, 2)) * 3600 + std::stoi(t.substr(3, 2)) * 60 + std::stoi(t.substr(6, 2)) : -1;
}

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
        // The test picture's colour bars, not the panel's greys; a frame may come a little
        // after the clock has moved.
        EXPECT_TRUE(PumpUntil([&] { return mediatest::VividColoursOnScreen(videoWindow) > 3; }, 2500));
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

// The main window as the program has it: the file list's current file opens in the preview
// window while the preview option is ticked, the title bar's play and stop buttons drive it,
// and it clears the main window's preview fields whenever it stops.
TEST_F(MediaPreview, MainWindowPlaysStopsAndIsToldOfTheEnd) {
    TempDir dir;
    salva::frmSystem log;
    log.SetLogFilePath(dir / L"OperationNotes.log");
    salva::frmPrevVideo prev;
    {
        salva::FrmCopy::Options o;
        o.registerServers = [] {};
        o.logWindow = &log;
        o.startPreview = [&prev] { prev.StartPlay(); };
        o.stopPreview = [&prev] { prev.StopPlay(); };
        o.unloadPreview = [&prev] { prev.Unload(); };
        o.windows.openPreview = [&prev](const std::wstring& path) { return prev.OpenMediaFile(path); };
        salva::FrmCopy f(std::move(o));
        ASSERT_TRUE(f.Create(SW_SHOWNOACTIVATE));
        HWND bar = f.TitleBar().Window();
        const int w = f.TitleBar().Width();
        auto click = [&](int x) {
            ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
            ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
        };
        // A file of the list becomes the current one, as typing or choosing it makes it.
        auto choose = [&](const std::wstring& path) {
            f.SetFileListText(path);
            ::SendMessageW(f.Window(), WM_COMMAND, MAKEWPARAM(salva::FrmCopy::IDC_cmbFileCopy, CBN_EDITCHANGE),
                           reinterpret_cast<LPARAM>(f.FileListCombo()));
        };
        for (const std::wstring* clip : {&clips_->Vcd(), &clips_->Dvd(), &clips_->Mp3(), &clips_->Wav()})
            f.AddFileListItem(*clip);
        f.SetFileListText(clips_->Vcd());
        // The preview option ticked in the file menu opens the current file.
        ::SendMessageW(f.Window(), WM_COMMAND, salva::FrmCopy::IDM_mnuPreview, 0);
        EXPECT_TRUE(f.PreviewOn);

        choose(clips_->Vcd());
        ASSERT_TRUE(f.PreviewLoaded);
        click(w - 63);
        EXPECT_TRUE(f.PreviewPlaying);
        ASSERT_TRUE(::IsWindowVisible(prev.Window()));
        EXPECT_TRUE(PumpUntil([&] { return StripSeconds(prev) >= 1; })) << Narrow(prev.TipText());
        HWND video = ::GetWindow(prev.Control(salva::frmPrevVideo::IDC_picVideoWindow), GW_CHILD);
        while (video && ::GetDlgCtrlID(video) == salva::frmPrevVideo::IDC_lblMP3info)
            video = ::GetWindow(video, GW_HWNDNEXT);
        ASSERT_TRUE(video);
        EXPECT_TRUE(::IsWindowVisible(video));
        EXPECT_TRUE(PumpUntil([&] { return mediatest::VividColoursOnScreen(video) > 3; }, 2500));
        // Stop: the preview closes and the fields are down.
        click(w - 45);
        EXPECT_FALSE(prev.IsLoaded());
        EXPECT_FALSE(f.PreviewPlaying);
        EXPECT_FALSE(f.PreviewLoaded);
        // Played to its end, the sound file stops by itself and the main window hears of it.
        choose(clips_->Mp3());
        ASSERT_TRUE(f.PreviewLoaded);
        const std::string mp3Text = Narrow(WindowText(prev.Control(salva::frmPrevVideo::IDC_lblMP3info)));
        EXPECT_NE(mp3Text.find("44100Hz"), std::string::npos) << mp3Text;
        click(w - 63);
        EXPECT_TRUE(f.PreviewPlaying);
        EXPECT_TRUE(PumpUntil([&] { return !prev.IsLoaded(); }, 20000));
        EXPECT_FALSE(f.PreviewPlaying);
        EXPECT_FALSE(f.PreviewLoaded);
        // A preview still loaded when the main window goes is unloaded with it.
        choose(clips_->Wav());
        ASSERT_TRUE(f.PreviewLoaded);
        ::DestroyWindow(f.Window());
        EXPECT_FALSE(prev.IsLoaded());
        EXPECT_FALSE(prev.HasGraph());
    }
    if (log.IsLoaded()) {
        log.KeepLoaded = false;
        log.Unload();
    }
}

namespace {

HWND FindDescendant(HWND root, const wchar_t* cls) {
    for (HWND c = ::GetWindow(root, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(c, name, 64);
        if (lstrcmpiW(name, cls) == 0) return c;
        if (HWND inner = FindDescendant(c, cls)) return inner;
    }
    return nullptr;
}

// Selects the file view's entry named `name` as a click on it would.
bool SelectInFileView(HWND dialog, const wchar_t* name) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(testsupport::ScaledMs(5000));
    while (std::chrono::steady_clock::now() < end) {
        if (HWND list = FindDescendant(dialog, L"SysListView32")) {
            LVFINDINFOW find{};
            find.flags = LVFI_STRING;
            find.psz = name;
            const LRESULT at = ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
            if (at >= 0) {
                LVITEMW item{};
                item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                item.state = LVIS_SELECTED | LVIS_FOCUSED;
                return ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item)) != 0;
            }
        }
        ::Sleep(20);
    }
    testsupport::ReportGaveUp("the file view to list " + testsupport::Narrow(name), testsupport::ScaledMs(5000));
    return false;
}

}  // namespace

// The open dialog with the program's pane: a selected clip is previewed inside the dialog
// and plays from the pane's play button; closing the dialog unloads the pane.
TEST_F(MediaPreview, OpenDialogPreviewsTheSelectedClipInItsPane) {
    frmPlaying pane;
    salva::SetOpenDialogPane(&pane);
    const std::wstring vcd = clips_->Vcd();
    const std::wstring folder = vcd.substr(0, vcd.rfind(L'\\'));
    wchar_t before[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ::SetCurrentDirectoryW(folder.c_str());
    bool embedded = false, opened = false, videoInPane = false, played = false, shown = false;
    Watcher w([] { return WaitForWindow(L"打开", L"#32770"); },
              [&](HWND d) {
                  HWND p = pane.Window();
                  testsupport::WaitUntil("the pane in the open dialog", 5000, [&] { return ::GetAncestor(p, GA_PARENT) == d; });
                  embedded = ::GetAncestor(p, GA_PARENT) == d && ::IsWindowVisible(p);
                  if (SelectInFileView(d, L"AVSEQ01.DAT")) {
                      HWND panel = pane.Control(frmPlaying::IDC_picVideo);
                      // The clip opens within the player's own limit for a graph.
                      testsupport::WaitUntil("the clip's video in the pane",
                                             static_cast<int>(salva::MediaPlayer::kBuildTimeLimitMs) + 10000,
                                             [&] { return ::GetWindow(panel, GW_CHILD) != nullptr; });
                      videoInPane = ::GetWindow(panel, GW_CHILD) != nullptr;
                      HWND slider = pane.Control(frmPlaying::IDC_sldProgress);
                      opened = WaitUntil("the pane's progress bar to be enabled", 10000,
                                         [&] { return ::IsWindowEnabled(slider) != FALSE; });
                      HWND strip = pane.Control(frmPlaying::IDC_picMediaControlButton);
                      RECT r{};
                      ::GetClientRect(strip, &r);
                      ::PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 28, 8));
                      HWND position = pane.Control(frmPlaying::IDC_lblCurrentPosition);
                      played = testsupport::WaitUntil("the clip to play half a second", 10000,
                                                      [&] { return Seconds(position) >= 0.5; });
                      HWND video = ::GetWindow(panel, GW_CHILD);
                      shown = testsupport::WaitUntil("the clip's colours on the screen", 2500,
                                                     [&] { return mediatest::VividColoursOnScreen(video) > 3; });
                  }
                  ::PostMessageW(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
              });
    salva::mSubClassOpen_SaveFileBox::AddFilesByOpenDialog(L"打开", std::wstring(L"*.*\0*.*\0", 8), true);
    w.Join();
    ::SetCurrentDirectoryW(before);
    salva::SetOpenDialogPane(nullptr);
    ASSERT_TRUE(w.found());
    EXPECT_TRUE(embedded) << "the pane is not shown inside the dialog";
    EXPECT_TRUE(opened) << "the selection did not open the clip in the pane";
    EXPECT_TRUE(videoInPane);
    EXPECT_TRUE(played);
    EXPECT_TRUE(shown);
    // The dialog's end stopped and unloaded the pane.
    EXPECT_FALSE(pane.IsLoaded());
    EXPECT_FALSE(pane.HasGraph());
}
