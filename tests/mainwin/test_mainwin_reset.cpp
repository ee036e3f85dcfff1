// The reset of a filled window, and the drawn bars: the gradient ends of the title bar and
// the side bar read back by pixel, the preview buttons' looks by the list's state.
#include "MainWinTest.h"
#include "services/mShell_NotifyIcon.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <cstdlib>

using namespace mainwintest;
using namespace testsupport;
using salva::CopyLabel;
using salva::FrmCopy;

namespace {

std::string Rgb(COLORREF c) {
    char b[32];
    std::snprintf(b, sizeof b, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return b;
}

// Within a few units per channel: the bands of a gradient step toward the other end.
bool Near(COLORREF a, COLORREF b, int tolerance = 12) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int Distance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) + std::abs(GetBValue(a) - GetBValue(b));
}

}  // namespace

TEST(MainWindowReset, FilledWindowReturnsToItsStartState) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    f.AddFileListItem(h.dir / L"a.dat");
    f.AddFileListItem(h.dir / L"b.dat");
    f.SetFileListText(h.dir / L"a.dat");
    ::SetWindowTextW(f.Control(FrmCopy::IDC_txtFileCopy), L"D:\\out\\a.dat");
    f.SetLabel(CopyLabel::Copied, L"1,024字节");
    f.SetLabel(CopyLabel::Estimated, L"00:01:00");
    f.SetLabel(CopyLabel::Remaining, L"00:00:30");
    f.SetLabel(CopyLabel::Elapsed, L"00:00:30");
    f.SetLabel(CopyLabel::Rate, L"12KB/秒");
    ::SetWindowTextW(f.Control(FrmCopy::IDC_lblFilesInfo), L"文件总数：2个");
    for (int id : {FrmCopy::IDC_stbFileInfoShowsArea_A, FrmCopy::IDC_stbFileInfoShowsArea_B})
        ::SendMessageW(f.Control(id), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"大小：1KB"));
    f.DrawProgress(0.5, L"50%");
    f.PreviewLoaded = true;
    f.PreviewPlaying = true;
    ASSERT_EQ(2, f.FileListCount());
    h.order.clear();

    f.RefreshWindow();

    EXPECT_EQ(0, f.FileListCount());
    EXPECT_EQ("", Narrow(f.FileListText()));
    EXPECT_EQ("", Narrow(TextOf(f.Control(FrmCopy::IDC_txtFileCopy))));
    EXPECT_EQ(Narrow(L"0字节"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblYiFuZhi))));
    EXPECT_EQ("00:00:00", Narrow(TextOf(f.Control(FrmCopy::IDC_lblGuJiXiaoHao))));
    EXPECT_EQ("00:00:00", Narrow(TextOf(f.Control(FrmCopy::IDC_lblShengYuShiJian))));
    EXPECT_EQ("00:00:00", Narrow(TextOf(f.Control(FrmCopy::IDC_lblZongJiHaoShi))));
    EXPECT_EQ(Narrow(L"0KB/秒"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblShuJuLiuLiang))));
    EXPECT_EQ(Narrow(L"文件总数：0个，总计大小：0M，0字节"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblFilesInfo))));
    EXPECT_EQ("", Narrow(PanelText(f.Control(FrmCopy::IDC_stbFileInfoShowsArea_A))));
    EXPECT_EQ("", Narrow(PanelText(f.Control(FrmCopy::IDC_stbFileInfoShowsArea_B))));
    EXPECT_FALSE(f.PreviewLoaded);
    EXPECT_FALSE(f.PreviewPlaying);
    ASSERT_EQ(1u, h.order.size());
    EXPECT_EQ("stopPreview", h.order[0]);
    // The progress bar's fill is gone.
    const COLORREF mid = ::GetPixel(f.ProgressBar().dc(), f.ProgressBar().Width() / 4, f.ProgressBar().Height() / 2);
    EXPECT_EQ(Rgb(RGB(255, 255, 255)), Rgb(mid));

    // A second reset of the empty window changes nothing and asks nothing.
    f.RefreshWindow();
    EXPECT_EQ(0, f.FileListCount());
    EXPECT_EQ(Narrow(L"0字节"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblYiFuZhi))));
}

TEST(MainWindowBars, GradientEndsByPixel) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    ::RedrawWindow(f.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const COLORREF c13 = ::GetSysColor(COLOR_HIGHLIGHT), c28 = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);

    salva::PictureBox& title = f.TitleBar();
    RECT rc{};
    ::GetClientRect(title.Window(), &rc);
    // The bottom row lies below the icons and the buttons.
    const COLORREF left = ::GetPixel(title.dc(), 0, rc.bottom - 1);
    const COLORREF right = ::GetPixel(title.dc(), rc.right - 1, rc.bottom - 1);
    EXPECT_TRUE(Near(left, c13)) << "title bar left " << Rgb(left) << " want " << Rgb(c13);
    EXPECT_TRUE(Near(right, c28)) << "title bar right " << Rgb(right) << " want " << Rgb(c28);

    salva::PictureBox& side = f.SideBar();
    ::GetClientRect(side.Window(), &rc);
    const COLORREF sideLeft = ::GetPixel(side.dc(), 0, 10);
    const COLORREF sideRight = ::GetPixel(side.dc(), rc.right - 1, 10);
    // Twenty pixels hold only a few bands: each end lies nearer to its own colour.
    EXPECT_LT(Distance(sideLeft, c28), Distance(sideLeft, c13)) << "side bar left " << Rgb(sideLeft) << " want near " << Rgb(c28);
    EXPECT_LT(Distance(sideRight, c13), Distance(sideRight, c28)) << "side bar right " << Rgb(sideRight) << " want near " << Rgb(c13);
    EXPECT_TRUE(Near(sideRight, c13, 24)) << "side bar right " << Rgb(sideRight);

    // The rotated text sits near the bottom: some pixels there differ from the gradient row above.
    int textPixels = 0;
    for (int y = rc.bottom - 80; y < rc.bottom - 4; ++y)
        for (int x = 0; x < rc.right; ++x)
            if (!Near(::GetPixel(side.dc(), x, y), ::GetPixel(side.dc(), x, 10), 2)) ++textPixels;
    EXPECT_GT(textPixels, 20) << "no text drawn in the side bar";
}

TEST(MainWindowBars, PreviewButtonsFollowListAndFields) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    salva::PictureBox& title = f.TitleBar();
    const int w = title.Width();
    // Centre of the play triangle's area.
    auto playPixel = [&] { return ::GetPixel(title.dc(), w - 72 + 7, 8); };

    f.picHTitleBar_Paint();
    const COLORREF gray = playPixel();

    const std::wstring file = h.dir / L"clip.dat";
    ASSERT_TRUE(WriteBytes(file, Pattern(4096)));
    f.AddFileListItem(file);
    f.SetFileListText(file);
    f.PreviewOn = true;
    f.PreviewLoaded = true;
    f.picHTitleBar_Paint();
    const COLORREF usable = playPixel();
    EXPECT_NE(Rgb(gray), Rgb(usable)) << "play icon did not change to its usable look";

    // The list empty again: gray, although the fields still say loaded.
    f.SetFileListText(h.dir / L"missing.dat");
    f.picHTitleBar_Paint();
    EXPECT_EQ(Rgb(gray), Rgb(playPixel())) << "a text naming no file";
    EXPECT_TRUE(f.PreviewLoaded);
}

TEST(MainWindowBars, CloseButtonBoundAndClick) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND bar = f.TitleBar().Window();
    const int w = f.TitleBar().Width();
    // Exactly on the bound: only a repaint, no close question.
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 18, 5));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(w - 18, 5));
    MSG m;
    EXPECT_FALSE(::PeekMessageW(&m, f.Window(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) << "a close was requested";

    Watcher w2(L"提醒！", [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDNO, 0); });
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 9, 5));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(w - 9, 5));
    Pump(10000, [&] { return w2.found(); });
    w2.Join();
    EXPECT_TRUE(w2.found()) << "the close button asked nothing";
    EXPECT_TRUE(::IsWindow(f.Window()));
}

TEST(MainWindowBars, TrayButtonHidesTheWindowAndTheIconBringsItBack) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND bar = f.TitleBar().Window();
    const int w = f.TitleBar().Width();
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 27, 5));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(w - 27, 5));
    EXPECT_FALSE(::IsWindowVisible(f.Window())) << "still shown after the tray button";
    EXPECT_TRUE(mShell_NotifyIcon::TrayIconActive());
    EXPECT_EQ(Narrow(mShell_NotifyIcon::kTrayTip), Narrow(mShell_NotifyIcon::CurrentTrayTip()));
    EXPECT_TRUE(::IsWindow(f.Window())) << "the window stays loaded";

    ::SendMessageW(f.Window(), mShell_NotifyIcon::TrayCallbackMessage, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(f.Window())) << "the tray icon did not bring the window back";
    EXPECT_FALSE(mShell_NotifyIcon::TrayIconActive());
    // The window still answers its own messages after the tray's procedure went.
    f.RefreshWindow();
    EXPECT_EQ(Narrow(L"0字节"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblYiFuZhi))));
}

TEST(MainWindowBars, PlayAndStopButtonsSetTheFieldsAndCallThePreview) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND bar = f.TitleBar().Window();
    const int w = f.TitleBar().Width();
    auto click = [&](int x) {
        ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
        ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    };
    h.order.clear();
    click(w - 63);  // play with the option off: a beep, nothing changes
    EXPECT_TRUE(h.order.empty());
    EXPECT_FALSE(f.PreviewPlaying);

    f.PreviewOn = true;
    f.PreviewLoaded = true;
    click(w - 63);
    EXPECT_TRUE(f.PreviewPlaying);
    EXPECT_TRUE(f.PreviewLoaded);
    ASSERT_EQ(1u, h.order.size());
    EXPECT_EQ("startPreview", h.order[0]);

    click(w - 63);  // already playing
    EXPECT_EQ(1u, h.order.size());

    click(w - 45);
    EXPECT_FALSE(f.PreviewPlaying);
    EXPECT_FALSE(f.PreviewLoaded);
    ASSERT_EQ(2u, h.order.size());
    EXPECT_EQ("stopPreview", h.order[1]);

    click(w - 45);  // nothing loaded any more
    EXPECT_EQ(2u, h.order.size());
}

TEST(MainWindowBars, FramesAroundTheControls) {
    Harness h;
    h.Create(SW_SHOW);
    FrmCopy& f = *h.frm;
    ::RedrawWindow(f.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    auto dc = salva::unique_window_dc::client(f.Window());
    const mT3D::FrameShades raised = mT3D::FrameShadesFor(::GetSysColor(COLOR_BTNFACE), mT3D::Frame3DRaised);
    const mT3D::FrameShades sunken = mT3D::FrameShadesFor(::GetSysColor(COLOR_BTNFACE), mT3D::Frame3DSunken);
    auto at = [&](int id) {
        RECT r{};
        ::GetWindowRect(f.Control(id), &r);
        ::MapWindowPoints(nullptr, f.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    struct Want {
        int id;
        int distance;
        COLORREF leftEdge;
        const char* what;
    } want[] = {
        {FrmCopy::IDC_picRefresh, 2, raised.light, "picRefresh raised by 2"},
        {FrmCopy::IDC_picWatch, 2, raised.light, "picWatch raised by 2"},
        {FrmCopy::IDC_PicProgressBar, 1, sunken.light, "PicProgressBar sunken by 1"},
        {FrmCopy::IDC_cmdStartCopy, 1, sunken.light, "cmdStartCopy sunken by 1"},
        {FrmCopy::IDC_optOpenCD, 1, raised.light, "optOpenCD raised by 1"},
        {FrmCopy::IDC_txtFileCopy, 1, raised.light, "txtFileCopy raised by 1"},
    };
    for (const Want& w : want) {
        const RECT r = at(w.id);
        const COLORREF left = ::GetPixel(dc.get(), r.left - w.distance, (r.top + r.bottom) / 2);
        const COLORREF right = ::GetPixel(dc.get(), r.right + w.distance - 1, (r.top + r.bottom) / 2);
        EXPECT_EQ(Rgb(w.leftEdge), Rgb(left)) << w.what;
        EXPECT_EQ(Rgb(w.leftEdge == raised.light ? raised.dark : sunken.dark), Rgb(right)) << w.what;
    }
}

namespace {
// The pixels of the close button's place in the title bar's image.
std::vector<COLORREF> CloseButtonPixels(FrmCopy& f) {
    salva::PictureBox& bar = f.TitleBar();
    std::vector<COLORREF> px;
    for (int y = 2; y < 16; ++y)
        for (int x = bar.Width() - 18; x < bar.Width() - 2; ++x) px.push_back(::GetPixel(bar.dc(), x, y));
    return px;
}
}  // namespace

TEST(MainWindowBars, PressedCloseButtonTurnsUnpressedOnMoveAndStillClosesOnRelease) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND bar = f.TitleBar().Window();
    const int w = f.TitleBar().Width();
    f.picHTitleBar_Paint();
    const auto normal = CloseButtonPixels(f);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 9, 5));
    EXPECT_TRUE(normal != CloseButtonPixels(f)) << "no pressed look";
    EXPECT_EQ(bar, ::GetCapture()) << "the bar holds the mouse while pressed";
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(w - 8, 5));
    EXPECT_TRUE(normal == CloseButtonPixels(f)) << "still pressed after a move";

    Watcher no(L"提醒！", [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDNO, 0); });
    ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(w - 8, 5));
    EXPECT_NE(bar, ::GetCapture());
    Pump(10000, [&] { return no.found(); });
    no.Join();
    EXPECT_TRUE(no.found()) << "the release over the close button asked nothing";
}

TEST(MainWindowClose, SystemShutdownAsksTheSameQuestion) {
    Harness h;
    h.Create();
    HWND main = h.frm->Window();
    const auto query = [&](WPARAM answer) {
        Watcher box(L"提醒！", [answer](HWND b) { ::PostMessageW(b, WM_COMMAND, answer, 0); });
        const LRESULT r = ::SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
        box.Join();
        EXPECT_TRUE(box.found());
        return r;
    };
    EXPECT_EQ(FALSE, query(IDNO)) << "No refuses the shutdown";
    EXPECT_TRUE(h.log.KeepLoaded);
    // Yes, then another program refuses: the session goes on, and the log window hides on close again.
    EXPECT_EQ(TRUE, query(IDYES));
    ::SendMessageW(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(h.log.KeepLoaded) << "the log window would close instead of hiding";

    EXPECT_EQ(TRUE, query(IDYES));
    ::SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(::IsWindow(main)) << "the window stays after the session ended";
    EXPECT_FALSE(h.log.IsLoaded());
}

// A second close while the question is up (another click, the session's end) is handled in
// the question's own loop: it must not stack a second question over the first.
TEST(MainWindowClose, ASecondCloseWhileTheQuestionIsUpAsksNothingMore) {
    Harness h;
    h.Create();
    HWND main = h.frm->Window();
    bool returned = false;
    Watcher no(L"提醒！", [&](HWND) {
        DWORD_PTR r = 0;
        returned = ::SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL,
                                         static_cast<UINT>(testsupport::ScaledMs(3000)), &r) != 0;
        // No to every question up, until none is left.
        for (HWND q; (q = ::FindWindowW(nullptr, L"提醒！")) != nullptr; ::Sleep(10)) ::PostMessageW(q, WM_COMMAND, IDNO, 0);
    });
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    no.Join();
    EXPECT_TRUE(returned) << "the second close put up a question of its own";
    EXPECT_TRUE(::IsWindow(main));
}
