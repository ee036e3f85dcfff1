#include "TitleBar.h"
#include "MenuHook.h"
#include "cMemDC.h"
#include "services/GradientChannel.h"

namespace velmora {

namespace {
// Where the first item starts in the popup's client area: (0, 0) where the system draws the
// menu frame outside the client area, right of and below the frame where it draws the frame
// inside (Wine). A context that belongs to no window (a memory drawing) starts at (0, 0).
POINT FirstItemOrigin(HDC hdc, HMENU menu) {
    HWND popup = ::WindowFromDC(hdc);
    RECT item{};
    if (!popup || !::GetMenuItemRect(nullptr, menu, 0, &item)) return POINT{0, 0};
    POINT p{item.left, item.top};
    ::ScreenToClient(popup, &p);
    return POINT{p.x > 0 ? p.x : 0, p.y > 0 ? p.y : 0};
}
}  // namespace

void DrawVerticalTitleBar(Settings& s, const DRAWITEMSTRUCT& request) {
    HookState& h = Hook();
    if (s.hasTitleBar != kTrue || h.titlePending != kTrue) return;
    PaintTitleBar(s, request.hDC, reinterpret_cast<HMENU>(request.hwndItem), s.title, s.titleStartColor,
                  s.titleEndColor);
    h.titlePending = kFalse;
}

short TitleBarHeight(const Settings& s, HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    int height = 0;
    for (int pos = 0; pos < count; ++pos) {
        // The same test as the item measuring, so strip and items end at the same line.
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE;
        const bool separator = ::GetMenuItemInfoW(menu, pos, TRUE, &info) && (info.fType & MFT_SEPARATOR);
        height += separator ? 8 : s.iconHeight + 4;
    }
    return static_cast<short>(height);
}

void PaintTitleBar(Settings& s, HDC hdc, HMENU menu, const std::wstring& title, COLORREF start, COLORREF end) {
    const short height = TitleBarHeight(s, menu);
    s.titleHeight = height;
    const POINT origin = FirstItemOrigin(hdc, menu);
    const int left = origin.x, top = origin.y;
    const RECT strip{left, top, left + s.titleWidth, top + height};
    std::wstring text = title;
    if (s.hasImageInTitleBar != kFalse) {
        if (s.titleImage) {
            cMemDC surface;
            surface.CreateFromPicture(s.titleImage.get());
            ::StretchBlt(hdc, left, top, s.titleWidth, height, surface.hDC(), 0, 0, surface.Width(), surface.Height(),
                         SRCCOPY);
            return;
        }
        GradientFill(hdc, strip, RGB(216, 216, 209), RGB(216, 216, 209), true);
        text = L"No Image !";
    } else {
        const bool vertical = s.titleTopToBottom == kTrue || s.titleLeftToRight != kTrue;
        GradientFill(hdc, strip, start, end, vertical);
    }
    DrawVerticalText(s, hdc, text, left, top + height - 2);
}

void GradientFill(HDC hdc, const RECT& rect, COLORREF start, COLORREF end, bool vertical) {
    const int extent = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (extent <= 0) return;
    int band = extent / 255;
    if (band < 2) band = 2;
    const int dr = GetRValue(start) - GetRValue(end);
    const int dg = GetGValue(start) - GetGValue(end);
    const int db = GetBValue(start) - GetBValue(end);
    COLORREF colour = end;
    RECT rest = rect;
    for (int i = extent; i >= 0; i -= band) {
        RECT piece = rest;
        if (vertical) {
            piece.top = rest.bottom - band;
            if (piece.top < rect.top) piece.top = rect.top;
            rest.bottom = piece.top;
        } else {
            piece.left = rest.right - band;
            if (piece.left < rect.left) piece.left = rect.left;
            rest.right = piece.left;
        }
        salva::unique_hbrush brush(::CreateSolidBrush(colour));
        ::FillRect(hdc, &piece, brush.get());
        const int done = extent - i;
        const auto channel = [done, extent](int from, int diff) {
            return static_cast<BYTE>(salva::GradientChannel(from, diff, done, extent));
        };
        colour = RGB(channel(GetRValue(end), dr), channel(GetGValue(end), dg), channel(GetBValue(end), db));
    }
}

int TitleIconSize(const Settings& s) {
    const int T = s.titleWidth;
    if (T <= 16) return 12;
    if (T <= 32) return 16;
    if (T <= 64) return 32;
    return s.iconWidth;
}

void DrawVerticalText(const Settings& s, HDC hdc, const std::wstring& text, int x, int y) {
    salva::unique_hfont font(::CreateFontW(s.fontSize, 0, s.escapement, s.escapement, s.fontWeight,
                                           s.fontItalic != 0, s.fontUnderline != 0, s.fontStrike != 0,
                                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_LH_ANGLES,
                                           CLEARTYPE_NATURAL_QUALITY, 4, s.faceName.c_str()));
    salva::select_scope pick(hdc, font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int stripLeft = x;
    const int offset = (s.titleWidth - extent.cy) / 2;
    x = s.escapement == 900 ? x + offset : x - offset;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, s.titleTextColor);
    if (s.titleIcon) {
        const int size = TitleIconSize(s);
        const int height = s.titleWidth > 64 ? s.iconHeight : size;
        cMemDC surface;
        surface.DrawIcon16Or32(hdc, s.titleIcon.get(), stripLeft + (s.titleWidth - size) / 2 + 1, y - size, size,
                               height, RGB(192, 192, 192));
        y -= size;
    }
    ::TextOutW(hdc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace velmora
