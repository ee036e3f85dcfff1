// One real popup menu under X: opened with TrackPopupMenu on a hooked window, painted by the
// library, photographed by the screenshot script when run through run_popup.sh, and
// dismissed by the test itself.
#include "VelmoraTest.h"
#include <cstdlib>

using namespace vtest;

namespace {

struct PopupRun {
    HWND popup = nullptr;
    RECT client{};
    COLORREF stripBottom = 0;
    COLORREF stripTop = 0;
    COLORREF itemBack = 0;
    COLORREF icon = 0;
    bool waitForShot = false;
    std::wstring readyFile, doneFile;
    DWORD started = 0;
    bool ready = false;
    bool shotSeen = false;
} g_run;

std::wstring OwnDir() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L'\\'));
}

// Reads the popup's own client area as it stands on its window surface.
COLORREF PopupPixel(HWND popup, int x, int y) {
    salva::unique_window_dc dc = salva::unique_window_dc::client(popup);
    return ::GetPixel(dc.get(), x, y);
}

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    PopupRun& r = g_run;
    if (!r.popup) {
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        if (!popup || !::IsWindowVisible(popup)) {
            if (::GetTickCount() - r.started > static_cast<DWORD>(testsupport::ScaledMs(10000))) {
                testsupport::ReportGaveUp("the popup menu to show", testsupport::ScaledMs(10000));
                ::EndMenu();
            }
            return;
        }
        r.popup = popup;
        return;  // one more tick so that every item is painted
    }
    if (!r.ready) {
        RECT c{};
        ::GetClientRect(r.popup, &c);
        POINT origin{0, 0};
        ::ClientToScreen(r.popup, &origin);
        ::OffsetRect(&c, origin.x, origin.y);
        r.client = c;
        // Wine draws the menu's 3-pixel frame inside the client area; the strip starts with
        // the first item, right of and below the frame. Its last column is read.
        r.stripTop = PopupPixel(r.popup, 3 + 19, 3);
        r.stripBottom = PopupPixel(r.popup, 3 + 19, 3 + 87);
        r.itemBack = PopupPixel(r.popup, 100, 5);
        // The first item's picture: cell from x 21 of the item, picture 2 further in, inner
        // square 2 more.
        r.icon = PopupPixel(r.popup, 3 + 21 + 2 + 8, 3 + 2 + 8);
        r.ready = true;
        if (!r.waitForShot) {
            ::EndMenu();
            return;
        }
        salva::unique_hfile marker(::CreateFileW(r.readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        r.started = ::GetTickCount();
        return;
    }
    if (::GetFileAttributesW(r.doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
        r.shotSeen = true;
        ::EndMenu();
    } else if (::GetTickCount() - r.started > static_cast<DWORD>(testsupport::ScaledMs(20000))) {
        testsupport::ReportGaveUp("the screenshot of the popup", testsupport::ScaledMs(20000));
        ::EndMenu();
    }
}

}  // namespace

TEST(RealPopup, PaintedUnderXAndDismissed) {
    RegisterLibrary();
    auto obj = CreateMenuObject();
    ASSERT_TRUE(obj);
    HWND host = CreateHost();
    ASSERT_NE(nullptr, host);
    ::ShowWindow(host, SW_SHOW);
    ::SetForegroundWindow(host);
    ::UpdateWindow(host);
    // Let the window reach the screen before the menu loop takes over.
    for (DWORD until = ::GetTickCount() + static_cast<DWORD>(testsupport::ScaledMs(500)); ::GetTickCount() < until;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(20);
    }

    salva::unique_bstr title(::SysAllocString(L"光盘救星"));
    obj->put_VerticalTitleBarTitle(title.get());
    obj->put_VerticalTitleBarTextColor(RGB(255, 255, 255));
    VTitleBarFontName face = static_cast<VTitleBarFontName>(11);  // "宋体", which has the Chinese glyphs
    obj->put_VerticalTitleBarFontName(&face);
    obj->put_VerticalTitleBarStartColor(RGB(0, 0, 255));
    obj->put_VerticalTitleBarEndColor(RGB(255, 0, 0));
    obj->put_IsMenuItemGradient(VARIANT_TRUE);
    obj->put_MenuItemBackColor(RGB(250, 250, 240));
    auto pic = MakePicture(16, RGB(255, 0, 255), RGB(0, 128, 255), 2);
    long mask = RGB(255, 0, 255);
    // Icons are looked up by caption and shortcut together.
    salva::unique_bstr open(::SysAllocString(L"打开文件 Ctrl+O"));
    obj->SetMenuItemIcon(open.get(), pic.get(), &mask);
    ASSERT_EQ(S_OK, obj->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(host))));

    salva::unique_hmenu menu(::CreatePopupMenu());
    ::AppendMenuW(menu.get(), MF_STRING, 1, L"打开文件\tCtrl+O");
    ::AppendMenuW(menu.get(), MF_STRING | MF_CHECKED, 2, L"总在最前");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 3, L"文件属性");
    ::AppendMenuW(menu.get(), MF_STRING, 4, L"退出");

    const char* shot = std::getenv("VELMORA_SHOT");
    g_run = PopupRun{};
    g_run.waitForShot = shot && *shot == '1';
    g_run.readyFile = OwnDir() + L"\\velmora_popup.ready";
    g_run.doneFile = OwnDir() + L"\\velmora_popup.done";
    g_run.started = ::GetTickCount();
    const UINT_PTR timer = ::SetTimer(host, 1, 200, &Step);
    ASSERT_NE(0u, timer);
    Log() = HostLog{};
    const BOOL chosen = ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 300, 200, 0,
                                         host, nullptr);
    ::KillTimer(host, timer);

    EXPECT_EQ(0, chosen) << "dismissed without a choice";
    ASSERT_NE(nullptr, g_run.popup) << "the popup never showed";
    EXPECT_TRUE(g_run.ready);
    short height = 0;
    obj->get_VerticalTitleBarHeight(&height);
    EXPECT_EQ(88, height);
    EXPECT_EQ(RGB(255, 0, 0), g_run.stripBottom) << "strip foot " << Rgb(g_run.stripBottom);
    EXPECT_GT(GetBValue(g_run.stripTop), 200) << "strip head " << Rgb(g_run.stripTop);
    EXPECT_EQ(RGB(250, 250, 240), g_run.itemBack) << "item back " << Rgb(g_run.itemBack);
    EXPECT_EQ(RGB(0, 128, 255), g_run.icon) << "item icon " << Rgb(g_run.icon);
    EXPECT_EQ(0, Log().drawItem) << "the menu's paint requests are the library's";
    if (g_run.waitForShot) {
        EXPECT_TRUE(g_run.shotSeen) << "the screenshot script did not answer";
    }

    obj.reset();
    ::DestroyWindow(host);
}
