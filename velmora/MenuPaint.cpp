#include "MenuPaint.h"
#include "TitleBar.h"
#include "cMemDC.h"

namespace velmora {

namespace {
const UINT kCaptionFormat = DT_VCENTER | DT_SINGLELINE;                                     // 36
const UINT kCaptionFormatSelected = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP;  // 228
const UINT kShortcutFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;                         // 38

// What one item shows: its text halves and the icon slot they select.
struct ItemView {
    std::wstring caption;
    std::wstring shortcut;
    IPicture* picture = nullptr;
    COLORREF mask = 0;
};

ItemView ViewOf(const Settings& s, const DRAWITEMSTRUCT& request) {
    wchar_t buffer[255] = {};
    const int n = ::GetMenuStringW(reinterpret_cast<HMENU>(request.hwndItem), request.itemID, buffer, 254,
                                   MF_BYCOMMAND);
    const std::wstring text(buffer, n > 0 ? n : 0);
    ItemView v;
    v.caption = GetItemCaption(text);
    v.shortcut = GetItemShortcut(text);
    const int slot = FindIconSlot(s, v.caption + v.shortcut);
    v.picture = s.iconPictures[slot - 1].get();
    v.mask = s.iconMasks[slot - 1];
    return v;
}

void Fill(HDC hdc, const RECT& r, COLORREF colour) {
    salva::unique_hbrush brush(::CreateSolidBrush(colour));
    ::FillRect(hdc, &r, brush.get());
}

void FillBackPicture(const Settings& s, HDC hdc, const RECT& r) {
    OLE_HANDLE h = 0;
    s.backPicture->get_Handle(&h);
    salva::unique_hbrush brush(::CreatePatternBrush(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h))));
    ::SetBkMode(hdc, TRANSPARENT);
    ::FillRect(hdc, &r, brush.get());
}

void DrawItemText(HDC hdc, const std::wstring& text, RECT r, UINT format, bool disabled, bool embossed,
                  COLORREF colour) {
    salva::select_scope font(hdc, ItemFont());
    if (!disabled) {
        ::SetTextColor(hdc, colour);
        ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
        return;
    }
    ::SetBkMode(hdc, TRANSPARENT);
    if (embossed) {
        ::SetTextColor(hdc, RGB(255, 255, 255));
        ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
        ::OffsetRect(&r, -1, -1);
    }
    ::SetTextColor(hdc, RGB(128, 128, 128));
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

void DrawTexts(HDC hdc, const ItemView& v, const RECT& text, UINT captionFormat, bool disabled, bool embossed,
               COLORREF colour) {
    DrawItemText(hdc, v.caption, text, captionFormat, disabled, embossed, colour);
    RECT shortcut = text;
    shortcut.right -= kShortcutMargin;
    DrawItemText(hdc, v.shortcut, shortcut, kShortcutFormat, disabled, embossed, colour);
}

// A check or option mark for an item without a picture; false when the item needs none.
bool DrawMark(const Settings& s, HDC hdc, const ItemFlags& f, int x, int y) {
    if (!f.checked && !f.radio) return false;
    cMemDC surface;
    surface.DrawCheckOrOptionBox(hdc, x, y, s.iconWidth, s.iconHeight, f.checked, f.disabled);
    return true;
}

void DrawPicture(const Settings& s, HDC hdc, const ItemView& v, bool grey, int x, int y) {
    cMemDC surface;
    if (grey)
        surface.DrawDisEnabledIcon(hdc, v.picture, x, y, s.iconWidth, s.iconHeight, v.mask);
    else
        surface.DrawIcon16Or32(hdc, v.picture, x, y, s.iconWidth, s.iconHeight, v.mask);
}

void DrawMarkOrPicture(const Settings& s, HDC hdc, const ItemView& v, const ItemFlags& f, int x, int y) {
    if (v.picture)
        DrawPicture(s, hdc, v, f.disabled, x, y);
    else
        DrawMark(s, hdc, f, x, y);
}

RECT WithLeft(RECT r, int left) {
    r.left = left;
    return r;
}
}  // namespace

HGDIOBJ ItemFont() { return ::GetStockObject(DEFAULT_GUI_FONT); }

ItemFlags ReadItemFlags(HMENU menu, UINT id) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
    ItemFlags f;
    if (!::GetMenuItemInfoW(menu, id, FALSE, &info)) return f;
    f.radio = (info.fType & MFT_RADIOCHECK) != 0;
    // Greyed and disabled both look disabled.
    f.disabled = (info.fState & (MF_GRAYED | MF_DISABLED)) != 0;
    f.checked = (info.fState & MFS_CHECKED) != 0;
    f.separator = (info.fType & MFT_SEPARATOR) != 0;
    return f;
}

std::wstring GetItemCaption(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? text : text.substr(0, tab);
}

std::wstring GetItemShortcut(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

void DrawMenuItem(Settings& s, const DRAWITEMSTRUCT& request) {
    const ItemFlags flags = ReadItemFlags(reinterpret_cast<HMENU>(request.hwndItem), request.itemID);
    switch (s.style) {
    case 170:
        if (s.hasTitleBar == kTrue) DrawVerticalTitleBar(s, request);
        if (!DrawSeparator(s, request, flags)) DrawItemStyle170(s, request, flags);
        break;
    case 187:
        if (!DrawSeparator(s, request, flags)) DrawItemStyle187(s, request, flags);
        break;
    case 204:
        if (s.hasTitleBar == kTrue) DrawVerticalTitleBar(s, request);
        if (!DrawSeparator(s, request, flags)) DrawItemStyle204(s, request, flags);
        break;
    default:
        break;
    }
}

bool DrawSeparator(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags) {
    if (!flags.separator) return false;
    HDC hdc = request.hDC;
    ::SetBkMode(hdc, TRANSPARENT);
    const bool title = s.hasTitleBar == kTrue;
    const int T = s.titleWidth, I = s.iconWidth;
    RECT r = request.rcItem;
    const int x0 = r.left;
    if (s.style == 187) {
        Fill(hdc, r, ::GetSysColor(COLOR_MENU));
    } else {
        r.left = x0 + (title ? T : 0);
        if (s.style == 170 && s.backPicture)
            FillBackPicture(s, hdc, r);
        else
            Fill(hdc, r, s.backColor);
    }
    RECT line = r;
    const int m = r.top + (r.bottom - r.top) / 2;
    line.top = m - 1;
    line.bottom = m + 1;
    ::DrawEdge(hdc, &line, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
    if (s.style == 204 && s.hasIcon == kTrue) {
        RECT column = request.rcItem;
        column.left = x0 + (title ? T : 0);
        column.right = x0 + (title ? T + I + 8 : I + 8);
        Fill(hdc, column, s.frameColor);
    }
    return true;
}

void DrawItemStyle170(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& f) {
    HDC hdc = request.hDC;
    ::SetBkMode(hdc, TRANSPARENT);
    const ItemView v = ViewOf(s, request);
    const bool title = s.hasTitleBar == kTrue, icons = s.hasIcon == kTrue;
    const bool selected = (request.itemState & ODS_SELECTED) != 0;
    const int T = s.titleWidth, I = s.iconWidth;
    const bool marked = v.picture || f.checked || f.radio;
    const RECT& R = request.rcItem;
    // Left edges count from the item's own left: right of the menu frame where the system
    // draws the frame inside the client area (Wine), 0 where it draws it outside.
    const int x0 = R.left;

    RECT cell = R;
    cell.left = x0 + (title ? T + 1 : 0);
    cell.right = x0 + (title ? T + I + 5 : I + 4);
    int highlightLeft = 0, textLeft = 20;
    if (title && icons) {
        highlightLeft = marked ? T + I + 6 : T + 1;
        textLeft = T + I + 12;
    } else if (title) {
        highlightLeft = T + 1;
        textLeft = T + 8;
    } else if (icons) {
        highlightLeft = marked ? I + 5 : 0;
        textLeft = I + 12;
    }
    RECT highlight = WithLeft(R, x0 + highlightLeft);
    const RECT text = WithLeft(R, x0 + textLeft);
    const RECT back = WithLeft(R, x0 + (title ? T : 0));
    const int markX = cell.left + 2, markY = cell.top + 2;

    if (selected) {
        if (icons) {
            if (!v.picture) {
                DrawMark(s, hdc, f, markX, markY);
                if (f.checked && !f.disabled) ::DrawEdge(hdc, &cell, BDR_RAISEDINNER, BF_RECT);
            } else if (!f.disabled) {
                ::DrawEdge(hdc, &cell, s.iconEffect, BF_RECT);
            }
        }
        if (s.itemGradient == kTrue)
            GradientFill(hdc, highlight, s.itemStartColor, s.itemEndColor, s.itemTopToBottom == kTrue);
        else
            Fill(hdc, highlight, s.fillColor);
        ::DrawEdge(hdc, &highlight, s.itemEffect, BF_RECT);
        DrawTexts(hdc, v, text, kCaptionFormatSelected, f.disabled, true, s.highlightColor);
    } else {
        if (s.backPicture)
            FillBackPicture(s, hdc, back);
        else
            Fill(hdc, back, s.backColor);
        if (icons) DrawMarkOrPicture(s, hdc, v, f, markX, markY);
        DrawTexts(hdc, v, text, kCaptionFormat, f.disabled, true, s.foreColor);
    }
}

void DrawItemStyle187(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& f) {
    HDC hdc = request.hDC;
    ::SetBkMode(hdc, TRANSPARENT);
    const ItemView v = ViewOf(s, request);
    const bool icons = s.hasIcon == kTrue;
    const bool selected = (request.itemState & ODS_SELECTED) != 0;
    const int I = s.iconWidth;
    const RECT& R = request.rcItem;
    RECT cell = R;
    cell.right = R.left + I + 4;
    const RECT text = WithLeft(R, R.left + (icons ? I + 10 : 20));
    const int markX = cell.left + 3, markY = cell.top + 2;

    if (selected) {
        Fill(hdc, R, ::GetSysColor(COLOR_HIGHLIGHT));
        if (icons) DrawMarkOrPicture(s, hdc, v, f, markX, markY);
        DrawTexts(hdc, v, text, kCaptionFormat, f.disabled, false, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        Fill(hdc, R, ::GetSysColor(COLOR_MENU));
        DrawTexts(hdc, v, text, kCaptionFormat, f.disabled, true, ::GetSysColor(COLOR_MENUTEXT));
        if (icons) DrawMarkOrPicture(s, hdc, v, f, markX, markY);
    }
}

void DrawItemStyle204(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& f) {
    HDC hdc = request.hDC;
    ::SetBkMode(hdc, TRANSPARENT);
    const ItemView v = ViewOf(s, request);
    const bool title = s.hasTitleBar == kTrue, icons = s.hasIcon == kTrue;
    const bool selected = (request.itemState & ODS_SELECTED) != 0;
    const int T = s.titleWidth, I = s.iconWidth;
    const RECT& R = request.rcItem;
    const int x0 = R.left;

    const RECT highlight = WithLeft(R, x0 + (title ? T + 1 : 0));
    int textLeft = 20;
    if (title && icons)
        textLeft = T + I + 16;
    else if (title)
        textLeft = T + 12;
    else if (icons)
        textLeft = I + 16;
    const RECT text = WithLeft(R, x0 + textLeft);
    RECT column = WithLeft(R, x0 + (title ? T : 0));
    column.right = x0 + (title ? T + I + 8 : I + 8);
    const RECT back = WithLeft(R, x0 + (title ? T : 0));
    const int markX = highlight.left + 3, markY = highlight.top + 2;
    const int picX = highlight.left + 4, picY = highlight.top + 3;

    if (selected) {
        Fill(hdc, highlight, s.fillColor);
        salva::unique_hbrush border(::CreateSolidBrush(s.borderColor));
        ::FrameRect(hdc, &highlight, border.get());
        if (icons) {
            if (!v.picture) {
                DrawMark(s, hdc, f, markX, markY);
            } else {
                DrawPicture(s, hdc, v, true, picX, picY);
                // The icon stands raised over its own grey shadow.
                if (!f.disabled) DrawPicture(s, hdc, v, false, highlight.left + 2, highlight.top + 1);
            }
        }
        DrawTexts(hdc, v, text, kCaptionFormat, f.disabled, true, s.highlightColor);
    } else {
        Fill(hdc, back, s.backColor);
        DrawTexts(hdc, v, text, kCaptionFormat, f.disabled, true, s.foreColor);
        if (icons) {
            Fill(hdc, column, s.frameColor);
            if (v.picture)
                DrawPicture(s, hdc, v, f.disabled, picX, picY);
            else
                DrawMark(s, hdc, f, markX, markY);
        }
    }
}

}  // namespace velmora
