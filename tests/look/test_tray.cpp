// The tray icon's callback messages sent to a real window that the module subclassed.
#include "TestSupport.h"
#include "services/mShell_NotifyIcon.h"
#include "services/mT3D.h"

using namespace testsupport;

namespace {

int g_callbacksSeen = 0;
int g_otherSeen = 0;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == mShell_NotifyIcon::TrayCallbackMessage) ++g_callbacksSeen;
    if (msg == WM_APP + 5) {
        ++g_otherSeen;
        return 1234;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

struct MainWindow {
    MainWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SalvaTrayTestWindow";
        ::RegisterClassW(&wc);
        window.reset(::CreateWindowExW(0, wc.lpszClassName, L"tray test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20,
                                       300, 200, nullptr, nullptr, wc.hInstance, nullptr));
        g_callbacksSeen = g_otherSeen = 0;
    }
    ~MainWindow() {
        if (mShell_NotifyIcon::TrayIconActive())
            mShell_NotifyIcon::RemoveTrayIcon(window.get(), icon, mShell_NotifyIcon::kTrayTipRemoving);
    }
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window.get(), GWLP_WNDPROC)); }
    RECT Rect() const {
        RECT rc{};
        ::GetWindowRect(window.get(), &rc);
        return rc;
    }
    salva::unique_hwnd window;
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);  // shared system icon
};

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

}  // namespace

TEST(TrayIcon, OnlyTheLeftButtonRestoresAndCentresTheWindow) {
    MainWindow w;
    ASSERT_TRUE(w.window);
    HWND h = w.window.get();
    mT3D::AnimateToTray(h);
    mShell_NotifyIcon::AddTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTip);
    ::ShowWindow(h, SW_HIDE);
    EXPECT_NE(&OwnProc, w.Proc());
    EXPECT_TRUE(mShell_NotifyIcon::TrayIconActive());
    EXPECT_EQ(L"Salvadisk2.0", mShell_NotifyIcon::CurrentTrayTip());
    const RECT before = w.Rect();

    for (LPARAM button : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN, WM_LBUTTONUP}) {
        EXPECT_EQ(0, ::SendMessageW(h, mShell_NotifyIcon::TrayCallbackMessage, 1, button));
        EXPECT_FALSE(::IsWindowVisible(h)) << "button message " << button;
        const RECT now = w.Rect();
        EXPECT_TRUE(::EqualRect(&before, &now)) << Describe(now);
        EXPECT_TRUE(mShell_NotifyIcon::TrayIconActive()) << "button message " << button;
    }
    ::SendMessageW(h, mShell_NotifyIcon::TrayCallbackMessage, 1, WM_MOUSEMOVE);
    EXPECT_EQ(L"Salvadisk2.0", mShell_NotifyIcon::CurrentTrayTip());
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_EQ(0, g_callbacksSeen) << "callback messages stop in the tray procedure";
    // Every other message reaches the window's own procedure and its answer comes back.
    EXPECT_EQ(1234, ::SendMessageW(h, WM_APP + 5, 0, 0));
    EXPECT_EQ(1, g_otherSeen);

    ::SendMessageW(h, mShell_NotifyIcon::TrayCallbackMessage, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(h));
    EXPECT_EQ(&OwnProc, w.Proc()) << "the window's own procedure is back";
    EXPECT_FALSE(mShell_NotifyIcon::TrayIconActive());
    EXPECT_EQ(L"Salvadisk2.0 ", mShell_NotifyIcon::CurrentTrayTip());
    const RECT after = w.Rect();
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(300, after.right - after.left) << Describe(after);
    EXPECT_EQ((cx - 300) / 2, after.left) << Describe(after) << " screen " << cx << "x" << cy;
    EXPECT_EQ((cy - 200) / 2, after.top) << Describe(after) << " screen " << cx << "x" << cy;
    // From now on the callback message is the window's own business again.
    ::SendMessageW(h, mShell_NotifyIcon::TrayCallbackMessage, 1, WM_LBUTTONDOWN);
    EXPECT_EQ(1, g_callbacksSeen);
}

TEST(TrayIcon, RemovingPutsTheOwnProcedureBackEvenAfterASecondAdd) {
    MainWindow w;
    HWND h = w.window.get();
    mShell_NotifyIcon::AddTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTip);
    const WNDPROC tray = w.Proc();
    mShell_NotifyIcon::AddTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTip);
    EXPECT_EQ(tray, w.Proc()) << "the second add chains nothing";
    EXPECT_NE(&OwnProc, tray);
    mShell_NotifyIcon::RemoveTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTipRemoving);
    EXPECT_EQ(&OwnProc, w.Proc());
    EXPECT_FALSE(mShell_NotifyIcon::TrayIconActive());
    // A second removal leaves the procedure alone.
    mShell_NotifyIcon::RemoveTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTipRemoving);
    EXPECT_EQ(&OwnProc, w.Proc());
}

TEST(TrayIcon, RemovedBelowAnotherSubclassTheWindowStillHandlesItsMessages) {
    MainWindow w;
    HWND h = w.window.get();
    mShell_NotifyIcon::AddTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTip);
    // Another subclass on top of the tray's, kept the classic way.
    static WNDPROC below = nullptr;
    static int aboveSeen = 0;
    aboveSeen = 0;
    below = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND hw, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_APP + 5) ++aboveSeen;
            return ::CallWindowProcW(below, hw, m, wp, lp);
        })));
    mShell_NotifyIcon::RemoveTrayIcon(h, w.icon, mShell_NotifyIcon::kTrayTipRemoving);
    EXPECT_FALSE(mShell_NotifyIcon::TrayIconActive());
    EXPECT_EQ(1234, ::SendMessageW(h, WM_APP + 5, 0, 0)) << "the window's own procedure answers";
    EXPECT_EQ(1, g_otherSeen);
    EXPECT_EQ(1, aboveSeen);
    ::SendMessageW(h, mShell_NotifyIcon::TrayCallbackMessage, 1, WM_LBUTTONDOWN);
    EXPECT_EQ(1, g_callbacksSeen) << "the callback is the window's own again";
    // The other subclass goes too: the window is left with its own procedure.
    ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(below));
    EXPECT_EQ(1234, ::SendMessageW(h, WM_APP + 5, 0, 0));
    EXPECT_EQ(&OwnProc, w.Proc());
}

TEST(TrayIcon, RestoreAnimationLeavesTheWindowCentred) {
    MainWindow w;
    mShell_NotifyIcon::AnimateRestoreFromTray(w.window.get());
    const RECT r = w.Rect();
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - 300) / 2, r.left) << Describe(r);
}
