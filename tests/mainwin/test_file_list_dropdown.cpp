// The main window's file list opened as a user opens it: the drawn items read back as pixels,
// an item longer than 255 characters, the tip over the left quarter and elsewhere, and the
// right-button press, and an item painted while the file menu is open.
#include "MainWinTest.h"
#include "copier/mSubClassImageCombo.h"
#include <commctrl.h>

using namespace mainwintest;
using namespace testsupport;
namespace combo = salva::mSubClassImageCombo;

namespace {

HWND InnerCombo(HWND imageCombo) {
    return reinterpret_cast<HWND>(::SendMessageW(imageCombo, CBEM_GETCOMBOCONTROL, 0, 0));
}

bool Near(COLORREF a, COLORREF b, int tolerance = 12) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Rgb(COLORREF c) {
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

int CountPixels(HDC dc, const RECT& r, int fromX, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = fromX; x < r.right; ++x) n += ::GetPixel(dc, x, y) == colour ? 1 : 0;
    return n;
}

// A window of the test's thread that, sent kPaintUnderMenu, posts Escape to the open menu and
// then has the list paint its first item, as a repaint under the menu does.
constexpr UINT kPaintUnderMenu = WM_APP + 1;
struct PaintUnderMenu {
    HWND imageCombo = nullptr;
    HWND popup = nullptr;
};
PaintUnderMenu g_paint;

LRESULT CALLBACK PaintUnderMenuProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kPaintUnderMenu) return ::DefWindowProcW(w, msg, wp, lp);
    ::PostMessageW(g_paint.popup, WM_KEYDOWN, VK_ESCAPE, 0);
    salva::unique_hdc dc(::CreateCompatibleDC(nullptr));
    salva::unique_hbitmap bitmap(::CreateCompatibleBitmap(dc.get(), 200, 20));
    salva::select_scope keep(dc.get(), bitmap.get());
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = 0;
    d.itemAction = ODA_DRAWENTIRE;
    d.hwndItem = g_paint.imageCombo;
    d.hDC = dc.get();
    d.rcItem = RECT{0, 0, 200, 20};
    ::SendMessageW(g_paint.imageCombo, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    return 1;
}

}  // namespace

TEST(FileListDropDown, OpenedListDrawsIconsTextsAndTheGradientOfTheChosenItem) {
    Harness h;
    h.Create(SW_SHOW);
    salva::FrmCopy& f = *h.frm;
    const std::wstring a = h.dir / L"a.dat", b = h.dir / L"b.dat";
    ASSERT_TRUE(WriteBytes(a, Pattern(10)));
    ASSERT_TRUE(WriteBytes(b, Pattern(10)));
    // A path the shell does not know, longer than the drawn text may be.
    const std::wstring longPath = L"Q:\\" + std::wstring(300, L'x') + L".dat";
    f.AddFileListItem(a);
    f.AddFileListItem(longPath);
    f.AddFileListItem(b);
    f.AddFileListItem(h.dir / L"after.dat");
    HWND imageCombo = f.FileListCombo();
    EXPECT_EQ(longPath.substr(0, 255), combo::ItemDrawText(imageCombo, 1));
    EXPECT_EQ(a, combo::ItemDrawText(imageCombo, 0));
    EXPECT_EQ(L"", combo::ItemDrawText(imageCombo, 4));
    EXPECT_EQ(L"", combo::ItemDrawText(imageCombo, -1));

    HWND inner = InnerCombo(imageCombo);
    ::SendMessageW(imageCombo, CB_SETCURSEL, 2, 0);
    ::SendMessageW(inner, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{sizeof(info)};
    ASSERT_TRUE(::GetComboBoxInfo(inner, &info));
    HWND list = info.hwndList;
    Pump(300, [&] { return ::IsWindowVisible(list) != FALSE; });
    ASSERT_TRUE(::IsWindowVisible(list));
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    Pump(200);

    auto dc = salva::unique_window_dc::client(list);
    const COLORREF c28 = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION), c13 = ::GetSysColor(COLOR_HIGHLIGHT);
    RECT chosen{}, other{}, longItem{}, after{};
    ::SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&chosen));
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&other));
    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&longItem));
    ::SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&after));
    ASSERT_GT(chosen.bottom, chosen.top);
    const int mid = (chosen.right - chosen.left) / 2;
    const int y = chosen.bottom - 1;  // below the text
    EXPECT_TRUE(Near(c28, ::GetPixel(dc.get(), chosen.right - 1, y))) << Rgb(::GetPixel(dc.get(), chosen.right - 1, y));
    EXPECT_TRUE(Near(c28, ::GetPixel(dc.get(), 0, y))) << Rgb(::GetPixel(dc.get(), 0, y));
    EXPECT_TRUE(Near(c13, ::GetPixel(dc.get(), mid, y))) << Rgb(::GetPixel(dc.get(), mid, y));
    EXPECT_GT(CountPixels(dc.get(), chosen, 22, ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 0) << "highlight-text coloured text";
    // The others pale yellow with dark text from x = 20, and the icon column at x = 2.
    EXPECT_EQ(combo::kItemColour, ::GetPixel(dc.get(), other.right - 2, other.top + 1));
    EXPECT_GT(CountPixels(dc.get(), other, 20, RGB(0, 0, 0)), 0);
    // An item after the highlighted one keeps the window text colour.
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(CountPixels(dc.get(), after, 20, text), 0) << Rgb(text);
    EXPECT_EQ(0, CountPixels(dc.get(), after, 20, ::GetSysColor(COLOR_HIGHLIGHTTEXT)));
    RECT icon{2, other.top, 18, other.bottom};
    EXPECT_LT(CountPixels(dc.get(), icon, 2, combo::kItemColour), 16 * (other.bottom - other.top))
        << "the shell icon sits in the icon column";
    // The long item is drawn as far as the list's width reaches, its "×" in the icon place.
    EXPECT_EQ(combo::kItemColour, ::GetPixel(dc.get(), longItem.right - 2, longItem.bottom - 1));
    RECT cross{2, longItem.top, 18, longItem.bottom};
    EXPECT_GT(CountPixels(dc.get(), cross, 2, RGB(0, 0, 0)), 0);
    EXPECT_GT(CountPixels(dc.get(), longItem, 20, RGB(0, 0, 0)), 0);
    ::SendMessageW(inner, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST(FileListDropDown, TipIsTheHintOverTheLeftQuarterAndTheCurrentFileElsewhere) {
    const RECT r{100, 50, 500, 72};  // quarter: 100 pixels
    EXPECT_FALSE(combo::TipShowsPath(r, {200, 60}));
    EXPECT_TRUE(combo::TipShowsPath(r, {201, 60}));
    EXPECT_FALSE(combo::TipShowsPath(r, {120, 60}));

    Harness h;
    h.Create(SW_SHOW);
    salva::FrmCopy& f = *h.frm;
    const std::wstring a = h.dir / L"a.dat";
    f.AddFileListItem(a);
    f.SetFileListText(a);
    HWND imageCombo = f.FileListCombo();
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(imageCombo, CBEM_GETEDITCONTROL, 0, 0));
    RECT wr{};
    ::GetWindowRect(imageCombo, &wr);
    const int y = (wr.top + wr.bottom) / 2;
    auto hoverAt = [&](int x) {
        ::SetCursorPos(x, y);
        ::SendMessageW(imageCombo, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    hoverAt(wr.left + 10);
    EXPECT_EQ(std::wstring(combo::kHint), combo::TipText());
    const std::vector<HWND> tips = TipWindowsOf(edit);
    ASSERT_EQ(1u, tips.size());
    EXPECT_EQ(std::wstring(combo::kHint), TipText(tips[0], edit));
    hoverAt(wr.right - 30);
    EXPECT_EQ(a, combo::TipText());
    EXPECT_EQ(a, TipText(tips[0], edit));
    hoverAt(wr.left + 10);
    EXPECT_EQ(std::wstring(combo::kHint), TipText(tips[0], edit));
}

TEST(FileListDropDown, RightButtonPressOpensTheFileMenuAndEveryPressIsAnsweredWithZero) {
    Harness h;
    h.Create(SW_SHOW);
    HWND imageCombo = h.frm->FileListCombo();
    int menus = 0;
    combo::UnsubclassImageCombo(imageCombo);
    ASSERT_TRUE(combo::SubclassImageCombo(imageCombo, [&] { ++menus; }));
    EXPECT_FALSE(combo::SubclassImageCombo(imageCombo, [&] { menus += 100; })) << "one subclass at a time";
    EXPECT_EQ(0, ::SendMessageW(imageCombo, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN)));
    EXPECT_EQ(1, menus);
    EXPECT_EQ(0, ::SendMessageW(imageCombo, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    EXPECT_EQ(0, ::SendMessageW(imageCombo, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTBORDER, WM_RBUTTONDOWN)));
    EXPECT_EQ(1, menus) << "only a right press in the client area opens the menu";
    combo::UnsubclassImageCombo(imageCombo);
    ::SendMessageW(imageCombo, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN));
    EXPECT_EQ(1, menus) << "removed, the list is its own again";
}

TEST(FileListDropDown, AnItemPaintedUnderTheOpenFileMenuLeavesTheMenuItsKeys) {
    int abouts = 0;
    Harness h;
    h.configure = [&](salva::FrmCopy::Options& o) { o.windows.about = [&] { ++abouts; }; };
    h.Create(SW_SHOW);
    const std::wstring a = h.dir / L"a.dat";
    ASSERT_TRUE(WriteBytes(a, Pattern(10)));
    h.frm->AddFileListItem(a);
    h.frm->SetFileListText(a);

    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintUnderMenuProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SalvaPaintUnderMenu";
    ::RegisterClassW(&wc);
    salva::unique_hwnd painter(::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                               wc.hInstance, nullptr));
    ASSERT_TRUE(painter);
    g_paint.imageCombo = h.frm->FileListCombo();
    bool painted = false;
    Watcher watcher(
        [] { return WaitForOpenMenu(120000); },
        [&](HWND popup) {
            g_paint.popup = popup;
            // Escape is queued when the item is painted; Up and Enter after it choose About
            // only when the painting took Escape away from the menu.
            painted = ::SendMessageW(painter.get(), kPaintUnderMenu, 0, 0) == 1;
            ::PostMessageW(popup, WM_KEYDOWN, VK_UP, 0);
            ::PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
        });
    h.frm->ShowPopupMenu(0);
    watcher.Join();
    ASSERT_TRUE(watcher.found()) << "no popup menu opened";
    EXPECT_TRUE(painted);
    EXPECT_EQ(0, abouts) << "Escape closed the menu";
}
