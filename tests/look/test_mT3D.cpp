// The drawing routines on memory surfaces and on real windows, read back pixel by pixel.
#include "Canvas.h"
#include "TestSupport.h"
#include "services/GradientChannel.h"
#include "services/mT3D.h"
#include <algorithm>
#include <cwctype>

using namespace testsupport;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A plain visible top-level window with a static control inside, for the window routines.
struct TestWindow {
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SalvaLookTestWindow";
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassW(&wc);
        window.reset(::CreateWindowExW(0, wc.lpszClassName, L"look test", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                                       150, nullptr, nullptr, wc.hInstance, nullptr));
        child = ::CreateWindowExW(0, L"STATIC", L"label", WS_CHILD | WS_VISIBLE, 40, 50, 60, 30, window.get(),
                                  nullptr, wc.hInstance, nullptr);
        ::UpdateWindow(window.get());
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
    }
    salva::unique_hwnd window;
    HWND child = nullptr;
};

}  // namespace

TEST(GradientFillRect, BandCountAndWidthFollowTheExtent) {
    const struct { int extent; size_t bands; int width; } cases[] = {{100, 51, 2}, {300, 151, 2}, {1020, 256, 4}};
    for (const auto& c : cases) {
        const auto bands = mT3D::GradientBands(0, 0, c.extent, 10, RGB(0, 0, 255), RGB(255, 0, 0), false);
        EXPECT_EQ(c.bands, bands.size()) << "extent " << c.extent;
        ASSERT_FALSE(bands.empty());
        EXPECT_EQ(c.extent, bands[0].rect.right) << "first band starts at the right edge";
        EXPECT_EQ(c.width, bands[0].rect.right - bands[0].rect.left) << "extent " << c.extent;
        EXPECT_EQ(bands[0].colour, bands[1].colour) << "the first two bands share the start colour";
        EXPECT_EQ(0, bands.back().rect.left) << "extent " << c.extent;
    }
}

TEST(GradientFillRect, PixelsAtBothEnds) {
    // Start red on the right, heading for blue on the left; blue itself is never reached.
    const struct { int extent; COLORREF left; } cases[] = {
        {100, RGB(10, 0, 245)},   // last band at 96% of the way
        {300, RGB(3, 0, 252)},    // 148 * 2 / 300 of the way
        {1020, RGB(2, 0, 253)},   // 253 * 4 / 1020 of the way
    };
    for (const auto& c : cases) {
        Canvas canvas(c.extent + 10, 6, kBlack);
        ASSERT_TRUE(canvas.ok());
        mT3D::GradientFillRect(canvas.dc(), 5, 1, 5 + c.extent, 5, RGB(0, 0, 255), RGB(255, 0, 0), false);
        EXPECT_EQ(RGB(255, 0, 0), canvas.At(5 + c.extent - 1, 2)) << Rgb(canvas.At(5 + c.extent - 1, 2));
        EXPECT_EQ(c.left, canvas.At(5, 2)) << "extent " << c.extent << " saw " << Rgb(canvas.At(5, 2));
        EXPECT_EQ(kBlack, canvas.At(4, 2)) << "left of the rectangle " << Rgb(canvas.At(4, 2));
        EXPECT_EQ(kBlack, canvas.At(5 + c.extent, 2)) << "right of the rectangle";
        EXPECT_EQ(kBlack, canvas.At(20, 0)) << "above the rectangle";
        EXPECT_EQ(kBlack, canvas.At(20, 5)) << "below the rectangle";
        // Colours only move from the start colour toward the end colour.
        for (int x = 6; x < 5 + c.extent; ++x) {
            const COLORREF a = canvas.At(x - 1, 2), b = canvas.At(x, 2);
            ASSERT_LE(GetRValue(a), GetRValue(b)) << "x " << x << " " << Rgb(a) << " " << Rgb(b);
            ASSERT_GE(GetBValue(a), GetBValue(b)) << "x " << x << " " << Rgb(a) << " " << Rgb(b);
        }
    }
}

TEST(GradientFillRect, VerticalRunsFromTheBottomUp) {
    Canvas canvas(8, 100, kBlack);
    mT3D::GradientFillRect(canvas.dc(), 0, 0, 8, 100, RGB(0, 0, 255), RGB(255, 0, 0), true);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(3, 99)) << Rgb(canvas.At(3, 99));
    EXPECT_EQ(RGB(10, 0, 245), canvas.At(3, 0)) << Rgb(canvas.At(3, 0));
}

TEST(GradientFillRect, RoundsHalvesToEven) {
    // Red 0 -> 5 over 100 pixels: band j (from 1) has 5 * 2 (j - 1) / 100 of red.
    const auto bands = mT3D::GradientBands(0, 0, 100, 1, RGB(5, 0, 0), RGB(0, 0, 0), false);
    ASSERT_EQ(51u, bands.size());
    EXPECT_EQ(0, GetRValue(bands[6].colour)) << "0.5 -> 0";
    EXPECT_EQ(1, GetRValue(bands[10].colour)) << "0.9 -> 1";
    EXPECT_EQ(2, GetRValue(bands[16].colour)) << "1.5 -> 2";
    EXPECT_EQ(2, GetRValue(bands[26].colour)) << "2.5 -> 2";
    EXPECT_EQ(4, GetRValue(bands[46].colour)) << "4.5 -> 4";
}

TEST(GradientFillRect, HalvesRoundOnTheWholeValueFromAnOddStart) {
    // Red 3 -> 8 over 100 pixels: band j (from 1) has 3 + 5 * 2 (j - 1) / 100 of red; the
    // exact halves 3.5, 4.5, 5.5 go to the even neighbour of the value, not of the step.
    const auto bands = mT3D::GradientBands(0, 0, 100, 1, RGB(8, 0, 0), RGB(3, 0, 0), false);
    ASSERT_EQ(51u, bands.size());
    EXPECT_EQ(4, GetRValue(bands[6].colour)) << "3.5 -> 4";
    EXPECT_EQ(4, GetRValue(bands[16].colour)) << "4.5 -> 4";
    EXPECT_EQ(6, GetRValue(bands[26].colour)) << "5.5 -> 6";
    // The same routine draws the popup menus' gradients, falling as well as rising.
    EXPECT_EQ(4, salva::GradientChannel(3, 1, 1, 2));
    EXPECT_EQ(6, salva::GradientChannel(7, -3, 1, 2)) << "5.5 -> 6";
    EXPECT_EQ(2, salva::GradientChannel(3, -1, 1, 2)) << "2.5 -> 2";
    EXPECT_EQ(255, salva::GradientChannel(255, 0, 7, 9));
}

TEST(GradientFillRect, EmptyOrInvertedRectanglesDrawNothing) {
    Canvas canvas(50, 20, kBlack);
    EXPECT_TRUE(mT3D::GradientBands(40, 0, 10, 20, kWhite, kWhite, false).empty());
    mT3D::GradientFillRect(canvas.dc(), 40, 0, 10, 20, kWhite, kWhite, false);
    mT3D::GradientFillRect(canvas.dc(), 10, 0, 10, 20, kWhite, kWhite, false);
    mT3D::GradientFillRect(canvas.dc(), 0, 10, 50, 10, kWhite, kWhite, true);
    EXPECT_EQ(0, canvas.CountNot(kBlack, 0, 0, 50, 20));
}

TEST(GradientFillRect, SystemColourReferencesAreTranslated) {
    Canvas canvas(20, 4, kBlack);
    mT3D::GradientFillRect(canvas.dc(), 0, 0, 20, 4, 0x80000000u | COLOR_HIGHLIGHT,
                           0x80000000u | COLOR_INACTIVECAPTION, false);
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), canvas.At(19, 1)) << Rgb(canvas.At(19, 1));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), mT3D::TranslateOleColor(0x80000000u | COLOR_HIGHLIGHT));
    EXPECT_EQ(RGB(1, 2, 3), mT3D::TranslateOleColor(RGB(1, 2, 3)));
}

TEST(DrawControlFrame3D, ShadesOnWhiteInTheThreeStyles) {
    const struct { int style; COLORREF light, dark; } cases[] = {
        {mT3D::Frame3DRaised, RGB(255, 255, 255), RGB(191, 191, 191)},
        {mT3D::Frame3DSunken, RGB(191, 191, 191), RGB(255, 255, 255)},
        {mT3D::Frame3DFlat, RGB(255, 255, 255), RGB(255, 255, 255)},
    };
    for (const auto& c : cases) {
        Canvas canvas(80, 80, kBlack);
        // Control at (20, 20), 30 x 20, frame 2 pixels outside it.
        mT3D::DrawFrame3D(canvas.dc(), 20, 20, 30, 20, 2, c.style, kWhite);
        const COLORREF left = canvas.At(18, 30), top = canvas.At(30, 18);
        const COLORREF right = canvas.At(20 + 30 + 2 - 1, 30), bottom = canvas.At(30, 20 + 20 + 2 - 1);
        EXPECT_EQ(c.light, left) << "style " << c.style << " left " << Rgb(left);
        EXPECT_EQ(c.light, top) << "style " << c.style << " top " << Rgb(top);
        EXPECT_EQ(c.dark, right) << "style " << c.style << " right " << Rgb(right);
        EXPECT_EQ(c.dark, bottom) << "style " << c.style << " bottom " << Rgb(bottom);
        EXPECT_EQ(kBlack, canvas.At(30, 30)) << "inside stays untouched";
        EXPECT_EQ(kBlack, canvas.At(17, 30)) << "outside the frame stays untouched";
        EXPECT_EQ(kBlack, canvas.At(30, 17));
        EXPECT_EQ(kBlack, canvas.At(52, 30)) << Rgb(canvas.At(52, 30));
    }
}

TEST(DrawControlFrame3D, ShadesAreClampedPerComponent) {
    const auto s = mT3D::FrameShadesFor(RGB(10, 250, 128), mT3D::Frame3DRaised);
    EXPECT_EQ(RGB(74, 255, 192), s.light) << Rgb(s.light);
    EXPECT_EQ(RGB(0, 186, 64), s.dark) << Rgb(s.dark);
}

TEST(DrawControlFrame3D, DrawsOnTheContainerWindowAroundTheControl) {
    TestWindow w;
    ASSERT_TRUE(w.window && w.child);
    mT3D::DrawControlFrame3D(w.window.get(), w.child, 3, mT3D::Frame3DRaised, RGB(100, 100, 100));
    auto dc = salva::unique_window_dc::client(w.window.get());
    const COLORREF probe = ::GetPixel(dc.get(), 37, 60);
    if (probe == CLR_INVALID) GTEST_SKIP() << "the window surface cannot be read back here";
    // Child at (40, 50) 60 x 30: left edge at x 37, right edge at x 40 + 60 + 3 - 1.
    EXPECT_EQ(RGB(164, 164, 164), probe) << Rgb(probe);
    EXPECT_EQ(RGB(36, 36, 36), ::GetPixel(dc.get(), 102, 60)) << Rgb(::GetPixel(dc.get(), 102, 60));
    EXPECT_EQ(kWhite, ::GetPixel(dc.get(), 30, 60)) << Rgb(::GetPixel(dc.get(), 30, 60));
}

TEST(FocusRect, DrawnTwiceLeavesThePixelsAsTheyWere) {
    Canvas canvas(40, 30, RGB(200, 120, 40));
    const auto before = canvas.Pixels();
    mT3D::DrawFocusRectOver(canvas.dc(), 40, 30);
    EXPECT_GT(canvas.CountNot(RGB(200, 120, 40), 0, 0, 40, 30), 20) << "the first call draws";
    EXPECT_EQ(RGB(200, 120, 40), canvas.At(20, 15)) << "only the border is touched";
    mT3D::DrawFocusRectOver(canvas.dc(), 40, 30);
    EXPECT_TRUE(before == canvas.Pixels()) << "pixels changed: "
                                            << canvas.CountNot(RGB(200, 120, 40), 0, 0, 40, 30);
}

TEST(FocusRect, RoundAWindowDrawnTwiceLeavesItAsItWas) {
    TestWindow w;
    auto dc = salva::unique_window_dc::client(w.window.get());
    if (::GetPixel(dc.get(), 0, 10) == CLR_INVALID) GTEST_SKIP() << "the window surface cannot be read back here";
    auto leftColumn = [&] {
        std::vector<COLORREF> column;
        for (int y = 0; y < 40; ++y) column.push_back(::GetPixel(dc.get(), 0, y));
        return column;
    };
    const auto before = leftColumn();
    mT3D::DrawWindowFocusRect(w.window.get());
    const auto once = leftColumn();
    mT3D::DrawWindowFocusRect(w.window.get());
    const auto twice = leftColumn();
    EXPECT_FALSE(before == once) << "the first call draws on the left edge, pixel 0,1 " << Rgb(once[1]);
    EXPECT_TRUE(before == twice) << "pixel 0,1 before " << Rgb(before[1]) << " after " << Rgb(twice[1]);
}

TEST(DrawRotatedText, VerticalTextDrawsTallerThanWide) {
    Canvas canvas(120, 200, kWhite);
    mT3D::DrawRotatedText(canvas.dc(), L"Salvadisk 光盘", 20, 900, FW_BOLD, false, false, false, L"Tahoma", 40,
                          180, RGB(0, 0, 0));
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 120; ++x)
            if (canvas.At(x, y) != kWhite) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "nothing was drawn";
    EXPECT_GT(maxY - minY, 2 * (maxX - minX)) << "box x " << minX << ".." << maxX << " y " << minY << ".." << maxY;
    EXPECT_LE(maxY, 181) << "escapement 90 degrees writes upward from (40, 180)";
    // The made-to-order font was put back.
    EXPECT_EQ(::GetStockObject(SYSTEM_FONT), ::GetCurrentObject(canvas.dc(), OBJ_FONT));
}

TEST(DrawRotatedText, HorizontalTextUsesItsWholeLength) {
    Canvas shortText(300, 40, kWhite), longText(300, 40, kWhite);
    mT3D::DrawRotatedText(shortText.dc(), L"光盘", 20, 0, FW_NORMAL, false, false, false, L"Tahoma", 5, 5, 0);
    mT3D::DrawRotatedText(longText.dc(), L"光盘光盘光盘", 20, 0, FW_NORMAL, false, false, false, L"Tahoma", 5, 5, 0);
    // Wide text counted in characters: six characters reach further than two.
    auto rightmost = [](const Canvas& c) {
        int r = -1;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x)
                if (c.At(x, y) != RGB(255, 255, 255)) r = std::max(r, x);
        return r;
    };
    const int a = rightmost(shortText), b = rightmost(longText);
    EXPECT_GT(a, 5);
    EXPECT_GT(b, a + 2 * (a - 5)) << "two chars end at " << a << ", six at " << b;
}

TEST(FontExists, CaseInsensitiveAndFalseOnAnEmptyList) {
    EXPECT_FALSE(mT3D::FontExistsIn({}, L"Tahoma"));
    EXPECT_TRUE(mT3D::FontExistsIn({L"Arial", L"Tahoma"}, L"tAHOMA"));
    EXPECT_FALSE(mT3D::FontExistsIn({L"Arial", L"Tahoma"}, L"Tahom"));
    const auto fonts = mT3D::InstalledScreenFonts();
    ASSERT_FALSE(fonts.empty());
    std::wstring upper = fonts.front(), lower = fonts.front();
    for (auto& ch : upper) ch = static_cast<wchar_t>(std::towupper(ch));
    for (auto& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
    EXPECT_TRUE(mT3D::FontExists(upper)) << Narrow(upper);
    EXPECT_TRUE(mT3D::FontExists(lower)) << Narrow(lower);
    EXPECT_FALSE(mT3D::FontExists(L"No Such Font Face 42"));
}

TEST(FontExists, WindowFontRuleFollowsTheInstalledFonts) {
    const auto rule = mT3D::WindowFontRule();
    if (mT3D::FontExists(L"宋体")) {
        EXPECT_EQ(L"宋体", rule.face);
        EXPECT_EQ(9, rule.points);
    } else {
        EXPECT_EQ(L"MS Sans Serif", rule.face);
        EXPECT_EQ(8, rule.points);
    }
    TestWindow w;
    mT3D::ApplyWindowFontRule(w.window.get());
    ASSERT_NE(nullptr, mT3D::WindowFont());
    EXPECT_EQ(reinterpret_cast<LRESULT>(mT3D::WindowFont()), ::SendMessageW(w.child, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ::GetObjectW(mT3D::WindowFont(), sizeof(lf), &lf);
    EXPECT_EQ(rule.face, std::wstring(lf.lfFaceName)) << Narrow(lf.lfFaceName);
}

TEST(FrameControls, CaptionButtonKindsAndPressedFaces) {
    auto draw = [](int kind, bool pressed) {
        auto c = std::make_unique<Canvas>(24, 22, RGB(1, 2, 3));
        mT3D::DrawCaptionButton(c->dc(), 2, 2, 20, 18, kind, pressed);
        return c;
    };
    const auto close = draw(3, false), seven = draw(7, false), maxi = draw(0, false), pressed = draw(3, true);
    EXPECT_GT(close->CountNot(RGB(1, 2, 3), 2, 2, 22, 20), 100) << "a face is drawn";
    EXPECT_EQ(0, close->CountNot(RGB(1, 2, 3), 0, 0, 24, 2)) << "nothing above the rectangle";
    EXPECT_TRUE(close->Pixels() == seven->Pixels()) << "kind 7 draws the close button";
    EXPECT_FALSE(close->Pixels() == maxi->Pixels()) << "kind 0 draws another glyph";
    EXPECT_FALSE(close->Pixels() == pressed->Pixels()) << "the pressed face differs";
}

TEST(FrameControls, PushButtonPressedIsTheSunkenFace) {
    Canvas up(30, 20, RGB(1, 2, 3)), down(30, 20, RGB(1, 2, 3));
    mT3D::DrawPushButtonFrame(up.dc(), 0, 0, 30, 20, false);
    mT3D::DrawPushButtonFrame(down.dc(), 0, 0, 30, 20, true);
    EXPECT_GT(up.CountNot(RGB(1, 2, 3), 0, 0, 30, 20), 100);
    EXPECT_GT(down.CountNot(RGB(1, 2, 3), 0, 0, 30, 20), 20);
    EXPECT_FALSE(up.Pixels() == down.Pixels());
}

TEST(Icons, DrawIconAtStaysInsideItsSquare) {
    Canvas canvas(60, 60, kWhite);
    salva::unique_hicon icon(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
    ASSERT_TRUE(icon);
    mT3D::DrawIconAt(canvas.dc(), icon.get(), 10, 12, 32, 32);
    EXPECT_GT(canvas.CountNot(kWhite, 10, 12, 42, 44), 20);
    EXPECT_EQ(0, canvas.CountNot(kWhite, 0, 0, 60, 12));
    EXPECT_EQ(0, canvas.CountNot(kWhite, 42, 0, 60, 60));
}

TEST(Icons, ShellIconSizes) {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring notepad = std::wstring(windows) + L"\\notepad.exe";
    Canvas small(40, 40, kWhite), odd(40, 40, kWhite), large(40, 40, kWhite);
    ASSERT_TRUE(mT3D::DrawShellIconOn(small.dc(), notepad, 16)) << Narrow(notepad);
    ASSERT_TRUE(mT3D::DrawShellIconOn(odd.dc(), notepad, 24));
    ASSERT_TRUE(mT3D::DrawShellIconOn(large.dc(), notepad, 32));
    EXPECT_GT(small.CountNot(kWhite, 0, 0, 16, 16), 10);
    EXPECT_EQ(0, small.CountNot(kWhite, 16, 0, 40, 40)) << "small icon stays in 16 x 16";
    EXPECT_TRUE(small.Pixels() == odd.Pixels()) << "size 24 draws the small icon";
    EXPECT_GT(large.CountNot(kWhite, 16, 16, 32, 32), 0) << "large icon reaches past 16 x 16";
    Canvas none(40, 40, kWhite);
    EXPECT_FALSE(mT3D::DrawShellIconOn(none.dc(), L"Q:\\no\\such\\file.xyz", 16));
    EXPECT_EQ(0, none.CountNot(kWhite, 0, 0, 40, 40));
}

TEST(Icons, ShellIconOnAPictureControlIsClearedFirst) {
    TestWindow w;
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    auto dc = salva::unique_window_dc::client(w.window.get());
    if (::GetPixel(dc.get(), 5, 5) == CLR_INVALID) GTEST_SKIP() << "the window surface cannot be read back here";
    auto drawn = [&] {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) n += ::GetPixel(dc.get(), x, y) != kWhite;
        return n;
    };
    mT3D::DrawShellIcon(w.window.get(), std::wstring(windows) + L"\\notepad.exe", 32);
    EXPECT_GT(drawn(), 20);
    // A path the shell does not know leaves the picture empty.
    mT3D::DrawShellIcon(w.window.get(), L"Q:\\no\\such\\file.xyz", 32);
    EXPECT_EQ(0, drawn());
}

TEST(DrawTextInRect, StaysInsideTheRectangle) {
    Canvas canvas(200, 40, kWhite);
    ::SetBkMode(canvas.dc(), TRANSPARENT);
    mT3D::DrawTextInRect(canvas.dc(), L"一段很长很长的文字 that will not fit in the box at all", 10, 5, 90, 30);
    EXPECT_GT(canvas.CountNot(kWhite, 10, 5, 90, 30), 10);
    EXPECT_EQ(0, canvas.CountNot(kWhite, 90, 0, 200, 40)) << "clipped at the right edge";
}

TEST(WindowServices, TopMostParentAndPosition) {
    TestWindow w;
    mT3D::SetWindowTopMost(w.window.get(), true);
    EXPECT_TRUE(::GetWindowLongW(w.window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    mT3D::SetWindowTopMost(w.window.get(), false);
    EXPECT_FALSE(::GetWindowLongW(w.window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT before{}, after{};
    ::GetWindowRect(w.window.get(), &before);
    mT3D::SetWindowTopMost(w.window.get(), true);
    ::GetWindowRect(w.window.get(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "neither moved nor sized";

    TestWindow other;
    mT3D::SetParentAndMove(w.child, other.window.get(), 5, 6, 70, 20);
    EXPECT_EQ(other.window.get(), ::GetParent(w.child));
    RECT rc{};
    ::GetWindowRect(w.child, &rc);
    ::MapWindowPoints(nullptr, other.window.get(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(6, rc.top);
    EXPECT_EQ(70, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), mT3D::GetSystemColor(COLOR_HIGHLIGHT));
    const DWORD t0 = ::GetTickCount();
    mT3D::SleepMs(120);
    EXPECT_GE(::GetTickCount() - t0, 100u);
    mT3D::AnimateToTray(w.window.get());
    EXPECT_TRUE(::IsWindow(w.window.get()));
}

TEST(WindowServices, CentredOverAnotherWindowAndKeptInsideTheWorkArea) {
    const RECT work{0, 0, 1280, 1000};
    const POINT mid = mT3D::CentredOver(RECT{100, 100, 600, 400}, SIZE{300, 100}, work);
    EXPECT_EQ(200, mid.x);
    EXPECT_EQ(200, mid.y);
    // Over a window at the bottom-right corner the window moves back inside, not off screen.
    const POINT edge = mT3D::CentredOver(RECT{1180, 950, 1480, 1150}, SIZE{400, 300}, work);
    EXPECT_EQ(880, edge.x);
    EXPECT_EQ(700, edge.y);
    // Larger than the work area: its top-left corner (caption) stays reachable.
    const POINT big = mT3D::CentredOver(RECT{-50, -50, 100, 100}, SIZE{2000, 1200}, work);
    EXPECT_EQ(0, big.x);
    EXPECT_EQ(0, big.y);
}
