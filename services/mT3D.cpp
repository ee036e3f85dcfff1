#include "services/mT3D.h"
#include "services/GradientChannel.h"
#include "services/Holders.h"
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>
#include <algorithm>

namespace mT3D {

namespace {

// Reused by every DrawShellIcon call.
SHFILEINFOW g_shellInfo;

int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

COLORREF Shift(COLORREF c, int delta) {
    return RGB(Clamp255(GetRValue(c) + delta), Clamp255(GetGValue(c) + delta), Clamp255(GetBValue(c) + delta));
}

void Line(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2) {
    salva::unique_hpen pen(::CreatePen(PS_SOLID, 1, colour));
    salva::select_scope sel(dc, pen.get());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

int Interpolate(int start, int diff, int num, int den) { return Clamp255(salva::GradientChannel(start, diff, num, den)); }

}  // namespace

COLORREF TranslateOleColor(uint32_t colour) {
    COLORREF out = 0;
    if (SUCCEEDED(::OleTranslateColor(colour, nullptr, &out))) return out;
    return colour & 0x00FFFFFFu;
}

void SetWindowTopMost(HWND window, bool topMost) {
    ::SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void SleepMs(uint32_t milliseconds) { ::Sleep(milliseconds); }

UINT ShellIconFlags(int size) {
    // No SHGFI_EXETYPE: with it the call answers the executable type (or 0 for any other
    // file) instead of the system image list.
    const UINT large = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE;
    return size == 32 ? large : (large | SHGFI_SMALLICON);
}

bool DrawShellIconOn(HDC dc, const std::wstring& path, int size) {
    g_shellInfo = SHFILEINFOW{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(path.c_str(), 0, &g_shellInfo, sizeof(g_shellInfo), ShellIconFlags(size)));
    // The system image list belongs to the shell and is not destroyed here.
    if (!list) return false;
    return ::ImageList_Draw(list, g_shellInfo.iIcon, dc, 0, 0, ILD_TRANSPARENT) != FALSE;
}

void DrawShellIcon(HWND picture, const std::wstring& path, int size) {
    auto dc = salva::unique_window_dc::client(picture);
    if (!dc) return;
    // Erasing with the window's own background clears the previous icon.
    ::SendMessageW(picture, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    DrawShellIconOn(dc.get(), path, size);
}

FrameShades FrameShadesFor(COLORREF back, int style) {
    switch (style) {
    case Frame3DRaised: return {Shift(back, 64), Shift(back, -64)};
    case Frame3DSunken: return {Shift(back, -64), Shift(back, 64)};
    default: return {back, back};
    }
}

void DrawFrame3D(HDC dc, int l, int t, int w, int h, int d, int style, uint32_t controlBack) {
    const FrameShades s = FrameShadesFor(TranslateOleColor(controlBack), style);
    Line(dc, s.light, l - d, t - d, l - d, t + h + d);
    Line(dc, s.light, l - d, t - d, l + w + d, t - d);
    Line(dc, s.dark, l + w + d - 1, t - d, l + w + d - 1, t + h + d - 1);
    Line(dc, s.dark, l - d, t + h + d - 1, l + w + d, t + h + d - 1);
}

void DrawControlFrame3D(HWND container, HWND control, int distance, int style, uint32_t controlBack) {
    RECT rc{};
    if (!::GetWindowRect(control, &rc)) return;
    ::MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
    auto dc = salva::unique_window_dc::client(container);
    if (!dc) return;
    DrawFrame3D(dc.get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, distance, style,
                controlBack);
}

void SetParentAndMove(HWND child, HWND newParent, int x, int y, int width, int height) {
    ::SetParent(child, newParent);
    ::MoveWindow(child, x, y, width, height, TRUE);
}

POINT CentredOver(const RECT& over, SIZE size, const RECT& work) {
    LONG x = over.left + (over.right - over.left - size.cx) / 2;
    LONG y = over.top + (over.bottom - over.top - size.cy) / 2;
    x = std::max(work.left, std::min(x, work.right - size.cx));
    y = std::max(work.top, std::min(y, work.bottom - size.cy));
    return POINT{x, y};
}

void CentreOverWindow(HWND window, HWND over) {
    RECT wr{}, orc{};
    if (!::GetWindowRect(window, &wr) || !::GetWindowRect(over, &orc)) return;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfoW(::MonitorFromWindow(over, MONITOR_DEFAULTTONEAREST), &mi)) return;
    const POINT at = CentredOver(orc, SIZE{wr.right - wr.left, wr.bottom - wr.top}, mi.rcWork);
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DragWindow(HWND window) {
    ::ReleaseCapture();
    ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

UINT CaptionButtonState(int kind, bool pressed) {
    UINT state;
    switch (kind) {
    case 0: state = DFCS_CAPTIONMAX; break;
    case 1: state = DFCS_CAPTIONMIN; break;
    case 2: state = DFCS_CAPTIONRESTORE; break;
    case 4: state = DFCS_CAPTIONHELP; break;
    default: state = DFCS_CAPTIONCLOSE; break;
    }
    return pressed ? (state | DFCS_PUSHED) : state;
}

// Pressed gives DFCS_PUSHED alone: the sunken face over the whole rectangle.
UINT PushButtonState(bool pressed) { return pressed ? DFCS_PUSHED : DFCS_BUTTONPUSH; }

void DrawCaptionButton(HDC dc, int x, int y, int width, int height, int kind, bool pressed) {
    RECT rc{x, y, x + width, y + height};
    ::DrawFrameControl(dc, &rc, DFC_CAPTION, CaptionButtonState(kind, pressed));
}

void DrawPushButtonFrame(HDC dc, int x, int y, int width, int height, bool pressed) {
    RECT rc{x, y, x + width, y + height};
    ::DrawFrameControl(dc, &rc, DFC_BUTTON, PushButtonState(pressed));
}

std::vector<GradientBand> GradientBands(int left, int top, int right, int bottom, COLORREF endColour,
                                        COLORREF startColour, bool vertical) {
    std::vector<GradientBand> bands;
    const int extent = vertical ? bottom - top : right - left;
    // An empty or inverted rectangle has nothing to fill (and no fraction to compute).
    if (extent <= 0) return bands;
    const int k = std::max(extent / 255, 2);
    const int sr = GetRValue(startColour), sg = GetGValue(startColour), sb = GetBValue(startColour);
    const int dr = GetRValue(endColour) - sr, dg = GetGValue(endColour) - sg, db = GetBValue(endColour) - sb;
    COLORREF current = startColour & 0x00FFFFFFu;
    int farEdge = vertical ? bottom : right;
    for (int i = extent; i >= 0; i -= k) {
        GradientBand band;
        if (vertical) {
            const int nearEdge = std::max(farEdge - k, top);
            band.rect = RECT{left, nearEdge, right, farEdge};
            farEdge = nearEdge;
        } else {
            const int nearEdge = std::max(farEdge - k, left);
            band.rect = RECT{nearEdge, top, farEdge, bottom};
            farEdge = nearEdge;
        }
        band.colour = current;
        bands.push_back(band);
        const int done = extent - i;
        current = RGB(Interpolate(sr, dr, done, extent), Interpolate(sg, dg, done, extent),
                      Interpolate(sb, db, done, extent));
    }
    return bands;
}

void GradientFillRect(HDC dc, int left, int top, int right, int bottom, uint32_t endColour,
                      uint32_t startColour, bool vertical) {
    for (const GradientBand& band : GradientBands(left, top, right, bottom, TranslateOleColor(endColour),
                                                  TranslateOleColor(startColour), vertical)) {
        salva::unique_hbrush brush(::CreateSolidBrush(band.colour));
        ::FillRect(dc, &band.rect, brush.get());
    }
}

void DrawRotatedText(HDC dc, const std::wstring& text, int height, int escapement, int weight,
                     bool italic, bool underline, bool strikeOut, const std::wstring& faceName, int x,
                     int y, uint32_t colour) {
    salva::unique_hfont font(::CreateFontW(height, 0, escapement, escapement, weight, italic, underline,
                                           strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_LH_ANGLES,
                                           CLEARTYPE_NATURAL_QUALITY, 4, faceName.c_str()));
    if (!font) return;
    salva::select_scope sel(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TranslateOleColor(colour));
    ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height) {
    ::DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

void DrawTextInRect(HDC dc, const std::wstring& text, int left, int top, int right, int bottom) {
    RECT rc{left, top, right, bottom};
    ::DrawTextW(dc, text.c_str(), -1, &rc, DT_SINGLELINE | DT_WORD_ELLIPSIS);
}

COLORREF GetSystemColor(int index) { return ::GetSysColor(index); }

void AnimateToTray(HWND window) {
    RECT wr{};
    if (!::GetWindowRect(window, &wr)) return;
    const RECT from{wr.left, wr.top, wr.left + 200, wr.top + 200};
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT to{cx, cy, cx, cy};
    ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

std::vector<std::wstring> InstalledScreenFonts() {
    std::vector<std::wstring> fonts;
    auto dc = salva::unique_window_dc::client(nullptr);
    if (!dc) return fonts;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(
        dc.get(), &lf,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) CALLBACK -> int {
            auto* list = reinterpret_cast<std::vector<std::wstring>*>(param);
            const std::wstring face = font->lfFaceName;
            if (std::find(list->begin(), list->end(), face) == list->end()) list->push_back(face);
            return 1;
        },
        reinterpret_cast<LPARAM>(&fonts), 0);
    return fonts;
}

bool FontExistsIn(const std::vector<std::wstring>& fonts, const std::wstring& name) {
    for (const std::wstring& f : fonts) {
        if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, f.c_str(), static_cast<int>(f.size()),
                             name.c_str(), static_cast<int>(name.size())) == CSTR_EQUAL)
            return true;
    }
    return false;
}

bool FontExists(const std::wstring& name) { return FontExistsIn(InstalledScreenFonts(), name); }

WindowFontChoice ChooseWindowFont(bool songTiInstalled) {
    if (songTiInstalled) return {L"宋体", 9};
    return {L"MS Sans Serif", 8};
}

WindowFontChoice WindowFontRule() { return ChooseWindowFont(FontExists(L"宋体")); }

HFONT WindowFont() {
    static salva::unique_hfont font = [] {
        const WindowFontChoice choice = WindowFontRule();
        auto dc = salva::unique_window_dc::client(nullptr);
        const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        LOGFONTW lf{};
        lf.lfHeight = -::MulDiv(choice.points, dpi, 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, choice.face.c_str(), LF_FACESIZE);
        return salva::unique_hfont(::CreateFontIndirectW(&lf));
    }();
    return font.get();
}

void ApplyWindowFontRule(HWND window) {
    HFONT font = WindowFont();
    if (!font) return;
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(param), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

void DrawFocusRectOver(HDC dc, int width, int height) {
    RECT rc{0, 0, width, height};
    ::DrawFocusRect(dc, &rc);
}

void DrawWindowFocusRect(HWND window) {
    RECT wr{};
    if (!::GetWindowRect(window, &wr)) return;
    auto dc = salva::unique_window_dc::client(window);
    if (!dc) return;
    DrawFocusRectOver(dc.get(), wr.right - wr.left, wr.bottom - wr.top);
}

}  // namespace mT3D
