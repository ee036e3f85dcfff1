// The window subclass in a chain with others: ours and a plain SetWindowLongPtr subclass of
// somebody else, removed in every order.
#include "TestSupport.h"
#include "services/WindowSubclass.h"

using salva::WindowSubclass;

namespace {

constexpr UINT kAsk = WM_APP + 7;
int g_ownSeen = 0;
int g_foreignSeen = 0;
WNDPROC g_foreignPrevious = nullptr;

LRESULT CALLBACK OwnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kAsk) {
        ++g_ownSeen;
        return 1000;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

// Somebody else's subclass, the classic way: it keeps what it replaced and writes it back.
LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kAsk) ++g_foreignSeen;
    return ::CallWindowProcW(g_foreignPrevious, h, msg, wp, lp);
}
void InstallForeign(HWND h) {
    g_foreignPrevious = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
}
void RemoveForeign(HWND h) { ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrevious)); }

// A subclass of ours that adds `add` to the answer and counts what it sees.
struct Adding {
    WindowSubclass sub;
    int seen = 0;
    bool Install(HWND h, LRESULT add) {
        return sub.Install(h, [this, add](HWND w, UINT m, WPARAM wp, LPARAM lp) {
            const LRESULT r = sub.CallPrevious(w, m, wp, lp);
            if (m != kAsk) return r;
            ++seen;
            return r + add;
        });
    }
};

class Subclassing : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SalvaSubclassTestWindow";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        ASSERT_NE(nullptr, window_);
        g_ownSeen = g_foreignSeen = 0;
        linkedBefore_ = WindowSubclass::LinkedCount();
    }
    void TearDown() override {
        if (::IsWindow(window_)) ::DestroyWindow(window_);
    }
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC)); }
    LRESULT Ask() const { return ::SendMessageW(window_, kAsk, 0, 0); }

    HWND window_ = nullptr;
    int linkedBefore_ = 0;
};

}  // namespace

TEST_F(Subclassing, RemovedBelowAForeignSubclassPassesOnUntilItIsOnTopAgain) {
    Adding a;
    ASSERT_TRUE(a.Install(window_, 1));
    EXPECT_FALSE(a.sub.Install(window_, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; }))
        << "one object holds one subclass";
    EXPECT_EQ(1001, Ask());
    InstallForeign(window_);
    a.sub.Remove();
    EXPECT_FALSE(a.sub.Installed());
    EXPECT_EQ(&ForeignProc, Proc()) << "the subclass above is not cut off";
    EXPECT_EQ(1000, Ask()) << "the window's own answer, without the removed subclass";
    EXPECT_EQ(1, g_foreignSeen);
    EXPECT_EQ(1, a.seen) << "the removed procedure is not called again";
    EXPECT_EQ(linkedBefore_ + 1, WindowSubclass::LinkedCount()) << "still linked below the foreign one";

    // The foreign one goes the classic way, putting our link back on top: the next message
    // finds the window's own procedure and our link takes itself out.
    RemoveForeign(window_);
    EXPECT_EQ(1000, Ask());
    EXPECT_EQ(&OwnProc, Proc());
    EXPECT_EQ(linkedBefore_, WindowSubclass::LinkedCount());
    EXPECT_EQ(3, g_ownSeen);
}

TEST_F(Subclassing, OursRemovedInAnyOrderLeaveTheOwnProcedure) {
    Adding lower, upper;
    ASSERT_TRUE(lower.Install(window_, 10));
    ASSERT_TRUE(upper.Install(window_, 100));
    EXPECT_EQ(1110, Ask());
    const WNDPROC upperProc = Proc();
    // The lower one goes first: the upper one is relinked to the window's own procedure.
    lower.sub.Remove();
    EXPECT_EQ(upperProc, Proc());
    EXPECT_EQ(&OwnProc, upper.sub.Previous());
    EXPECT_EQ(linkedBefore_ + 1, WindowSubclass::LinkedCount());
    EXPECT_EQ(1100, Ask());
    upper.sub.Remove();
    EXPECT_EQ(&OwnProc, Proc());
    EXPECT_EQ(1000, Ask());
    EXPECT_EQ(linkedBefore_, WindowSubclass::LinkedCount());

    // A procedure that takes itself off while it handles a message still passes it on.
    WindowSubclass once;
    ASSERT_TRUE(once.Install(window_, [&once](HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == kAsk) once.Remove();
        return once.CallPrevious(w, m, wp, lp) + (m == kAsk ? 5 : 0);
    }));
    EXPECT_EQ(1005, Ask());
    EXPECT_EQ(&OwnProc, Proc());
    EXPECT_EQ(1000, Ask());
    EXPECT_EQ(linkedBefore_, WindowSubclass::LinkedCount());
}

TEST_F(Subclassing, DestroyedWindowFreesItsLinks) {
    Adding a, b;
    ASSERT_TRUE(a.Install(window_, 1));
    InstallForeign(window_);
    ASSERT_TRUE(b.Install(window_, 2));
    a.sub.Remove();  // below the foreign one: stays linked
    EXPECT_EQ(linkedBefore_ + 2, WindowSubclass::LinkedCount());
    ::DestroyWindow(window_);
    EXPECT_FALSE(b.sub.Installed());
    EXPECT_EQ(linkedBefore_, WindowSubclass::LinkedCount());
    b.sub.Remove();  // harmless now
}
