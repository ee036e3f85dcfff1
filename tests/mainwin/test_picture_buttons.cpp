// The picture buttons driven by mouse messages at computed points: hover, the abandoned
// press, the settings panel and back, the log window shown modally, the refresh that keeps
// the list, the focus rectangle, and the target box's tip.
#include "MainWinTest.h"
#include <commctrl.h>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

salva::PictureBox& Button(FrmCopy& f, int id) { return *salva::PictureBox::FromWindow(f.Control(id)); }

// A mouse message at a point given in the button's client coordinates.
void Mouse(HWND w, UINT msg, int x, int y) {
    ::SendMessageW(w, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

// The window a real release at that point of `w` would reach.
HWND WindowAt(HWND w, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(w, &pt);
    return ::WindowFromPoint(pt);
}

std::vector<COLORREF> EdgePixels(HWND w) {
    ::UpdateWindow(w);
    auto dc = salva::unique_window_dc::client(w);
    std::vector<COLORREF> px;
    for (int x = 0; x < 20; ++x) px.push_back(::GetPixel(dc.get(), x, 0));
    return px;
}

}  // namespace

TEST(PictureButtons, AbandonedPressOpensNothingAndAReleaseInsideSwapsThePanels) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND setUp = f.Control(FrmCopy::IDC_picSetUp);
    salva::PictureBox& button = Button(f, FrmCopy::IDC_picSetUp);

    Mouse(setUp, WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(setUp, ::GetCapture()) << "hovering holds the mouse";
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSetUp, true), button.Picture());
    Mouse(setUp, WM_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSetUp, false), button.Picture());
    Mouse(setUp, WM_MOUSEMOVE, 10, 60);  // below the button, over the window
    EXPECT_NE(setUp, ::GetCapture()) << "leaving the button releases the mouse";
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSetUp, false), button.Picture());
    HWND under = WindowAt(setUp, 10, 60);
    ASSERT_NE(setUp, under);
    POINT pt{10, 60};
    ::MapWindowPoints(setUp, under, &pt, 1);
    Mouse(under, WM_LBUTTONUP, pt.x, pt.y);
    // And a release that still reaches the button while the pointer is off it.
    Mouse(setUp, WM_LBUTTONDOWN, 10, 10);
    Mouse(setUp, WM_LBUTTONUP, 10, 60);
    EXPECT_TRUE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture1)));
    EXPECT_FALSE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture2)));
    EXPECT_TRUE(::IsWindowEnabled(setUp));

    Mouse(setUp, WM_LBUTTONDOWN, 10, 10);
    Mouse(setUp, WM_LBUTTONUP, 10, 10);
    EXPECT_FALSE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture1)));
    EXPECT_TRUE(::IsWindowVisible(f.Control(FrmCopy::IDC_sldReadBlocks)));
    EXPECT_TRUE(::IsWindowVisible(f.Control(FrmCopy::IDC_sldSkipBlocks)));
    EXPECT_FALSE(::IsWindowEnabled(setUp)) << "cannot be pressed again while the panel is up";
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSetUp, true), button.Picture());

    ::SendMessageW(f.Control(FrmCopy::IDC_cmdBackCopy), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture1)));
    EXPECT_FALSE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture2)));
    EXPECT_TRUE(::IsWindowEnabled(setUp));
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSetUp, false), button.Picture());
}

TEST(PictureButtons, WatchShowsTheLogWindowModally) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND watch = f.Control(FrmCopy::IDC_picWatch);
    bool mainDisabled = false;
    Watcher w(L"文件/文件夹操作日志记录", [&](HWND log) {
        mainDisabled = !::IsWindowEnabled(f.Window());
        ::PostMessageW(log, WM_CLOSE, 0, 0);
    });
    Mouse(watch, WM_LBUTTONDOWN, 10, 10);
    Mouse(watch, WM_LBUTTONUP, 10, 10);
    w.Join();
    EXPECT_TRUE(w.found()) << "no log window";
    EXPECT_TRUE(mainDisabled) << "not modal";
    EXPECT_TRUE(::IsWindowEnabled(f.Window()));
    EXPECT_TRUE(h.log.IsLoaded()) << "closing only hides the log window";
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picWatch, false), Button(f, FrmCopy::IDC_picWatch).Picture());
}

TEST(PictureButtons, RefreshKeepsTheItemsAndRebuildsTheirInformation) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    ASSERT_TRUE(WriteBytes(h.dir / L"a.dat", Pattern(2048)));
    f.AddFileListItem(h.dir / L"a.dat");
    f.AddFileListItem(h.dir / L"gone.dat");
    f.SetFileListText(L"something else");
    f.SetLabel(salva::CopyLabel::Copied, L"1,024字节");
    HWND refresh = f.Control(FrmCopy::IDC_picRefresh);
    Mouse(refresh, WM_LBUTTONDOWN, 10, 10);
    Mouse(refresh, WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(2, f.FileListCount());
    EXPECT_EQ(Narrow(h.dir / L"a.dat"), Narrow(f.FileListText()));
    EXPECT_EQ(Narrow(L"0字节"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblYiFuZhi))));
    EXPECT_EQ(Narrow(L"文件总数:2个  总计大小:0MB [2,048字节]"), Narrow(TextOf(f.Control(FrmCopy::IDC_lblFilesInfo))));
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picRefresh, false), Button(f, FrmCopy::IDC_picRefresh).Picture());
}

TEST(PictureButtons, FocusRectangleFollowsTheFocus) {
    Harness h;
    h.Create(SW_SHOW);
    FrmCopy& f = *h.frm;
    HWND search = f.Control(FrmCopy::IDC_picSearch), refresh = f.Control(FrmCopy::IDC_picRefresh);
    ::SetFocus(f.Window());
    const auto searchPlain = EdgePixels(search), refreshPlain = EdgePixels(refresh);
    ::SetFocus(search);
    EXPECT_TRUE(EdgePixels(search) != searchPlain) << "no focus rectangle";
    // Hovering repaints the button; the rectangle stays while it has the focus.
    Mouse(search, WM_MOUSEMOVE, 10, 10);
    Mouse(search, WM_MOUSEMOVE, 10, 60);
    EXPECT_TRUE(EdgePixels(search) != searchPlain) << "lost by a repaint";
    ::SetFocus(refresh);
    EXPECT_TRUE(EdgePixels(search) == searchPlain) << "left behind on the button that lost the focus";
    EXPECT_TRUE(EdgePixels(refresh) != refreshPlain);
}

TEST(TargetBox, TipShowsTheWholePath) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND box = f.Control(FrmCopy::IDC_txtFileCopy);
    const std::wstring path = h.dir / L"a very long folder name\\and a long file name.dat";
    ::SetWindowTextW(box, path.c_str());
    ::SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const auto tips = TipWindowsOf(box);
    ASSERT_EQ(1u, tips.size());
    EXPECT_EQ(Narrow(path), Narrow(TipText(tips[0], box)));
    ::SetWindowTextW(box, L"D:\\b.dat");
    ::SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1u, TipWindowsOf(box).size());
    EXPECT_EQ("D:\\b.dat", Narrow(TipText(tips[0], box)));
}
