#include "copier/FrmCopyPictures.h"
#include "services/DrawnIcon.h"
#include <cstdint>
#include <functional>
#include <vector>

namespace salva {

namespace {

struct Gdi {
    HDC dc;
    void Box(int l, int t, int r, int b, COLORREF fill, COLORREF line) const {
        unique_hbrush br(::CreateSolidBrush(fill));
        unique_hpen pen(::CreatePen(PS_SOLID, 1, line));
        select_scope sb(dc, br.get()), sp(dc, pen.get());
        ::Rectangle(dc, l, t, r, b);
    }
    void Round(int l, int t, int r, int b, COLORREF fill, COLORREF line) const {
        unique_hbrush br(::CreateSolidBrush(fill));
        unique_hpen pen(::CreatePen(PS_SOLID, 1, line));
        select_scope sb(dc, br.get()), sp(dc, pen.get());
        ::Ellipse(dc, l, t, r, b);
    }
    void Ring(int l, int t, int r, int b, COLORREF line, int width) const {
        unique_hpen pen(::CreatePen(PS_SOLID, width, line));
        select_scope sb(dc, ::GetStockObject(NULL_BRUSH)), sp(dc, pen.get());
        ::Ellipse(dc, l, t, r, b);
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF c, int width = 1) const {
        unique_hpen pen(::CreatePen(PS_SOLID, width, c));
        select_scope sp(dc, pen.get());
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    }
    void Poly(std::initializer_list<POINT> pts, COLORREF fill) const {
        unique_hbrush br(::CreateSolidBrush(fill));
        unique_hpen pen(::CreatePen(PS_SOLID, 1, fill));
        select_scope sb(dc, br.get()), sp(dc, pen.get());
        std::vector<POINT> v(pts);
        ::Polygon(dc, v.data(), static_cast<int>(v.size()));
    }
    void Text(int x, int y, const wchar_t* s, COLORREF c, int height, int weight = FW_BOLD) const {
        unique_hfont font(::CreateFontW(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                                        L"Arial"));
        select_scope sf(dc, font.get());
        ::SetTextColor(dc, c);
        ::TextOutW(dc, x, y, s, lstrlenW(s));
    }
    // A sheet of paper with a folded corner.
    void Page(int l, int t, int r, int b) const {
        Box(l, t, r, b, RGB(255, 255, 255), RGB(64, 64, 64));
        Poly({{r - 4, t}, {r, t + 4}, {r - 4, t + 4}}, RGB(160, 160, 160));
    }
    // A disc tray: a drive front with a disc.
    void Drive(COLORREF arrow, bool up) const {
        Box(1, 9, 15, 15, RGB(210, 210, 210), RGB(64, 64, 64));
        Line(3, 12, 12, 12, RGB(64, 64, 64));
        if (up)
            Poly({{8, 1}, {13, 6}, {3, 6}}, arrow);
        else
            Poly({{3, 1}, {13, 1}, {8, 6}}, arrow);
    }
};

const COLORREF kBlue = RGB(0, 64, 192), kGreen = RGB(0, 144, 0), kRed = RGB(200, 0, 0), kDark = RGB(48, 48, 48);

}  // namespace

unique_hicon MakeWindowIcon(int size) {
    return DrawnIcon(size, RGB(255, 0, 255), RGB(255, 0, 255), [size](HDC dc) {
        Gdi g{dc};
        const int s = size;
        g.Round(0, 0, s, s, RGB(176, 196, 232), RGB(40, 60, 120));
        g.Ring(s / 5, s / 5, s - s / 5, s - s / 5, RGB(120, 150, 220), 1);
        g.Round(s * 3 / 8, s * 3 / 8, s - s * 3 / 8, s - s * 3 / 8, RGB(255, 255, 255), RGB(40, 60, 120));
        g.Line(s / 2, s / 2, s - 1, s - 1, RGB(200, 40, 40), s >= 32 ? 3 : 2);
    });
}

unique_hicon MakeMenuIcon(int index) {
    return DrawnIcon(16, kMenuIconMask, kMenuIconMask, [index](HDC dc) {
        Gdi g{dc};
        switch (index) {
        case 0:  // open file
            g.Box(1, 5, 13, 14, RGB(240, 208, 96), RGB(120, 90, 0));
            g.Poly({{4, 8}, {15, 8}, {12, 14}, {1, 14}}, RGB(255, 232, 140));
            break;
        case 1:  // add to list
            g.Page(2, 1, 12, 15);
            g.Line(9, 10, 15, 10, kGreen, 2);
            g.Line(12, 7, 12, 13, kGreen, 2);
            break;
        case 2:  // delete
            g.Line(3, 3, 13, 13, kRed, 3);
            g.Line(13, 3, 3, 13, kRed, 3);
            break;
        case 3:  // rename
            g.Box(1, 4, 15, 12, RGB(255, 255, 255), kDark);
            g.Text(3, 3, L"ab", kBlue, 9);
            g.Line(12, 2, 12, 14, kDark);
            break;
        case 4:  // copy to
            g.Page(1, 1, 9, 11);
            g.Page(6, 5, 14, 15);
            break;
        case 5:  // move to
            g.Page(1, 1, 9, 12);
            g.Poly({{9, 7}, {15, 11}, {9, 15}}, kGreen);
            break;
        case 6:  // find
            g.Ring(1, 1, 11, 11, kBlue, 2);
            g.Line(9, 9, 15, 15, kDark, 3);
            break;
        case 7:  // properties
            g.Page(2, 1, 14, 15);
            for (int y = 5; y <= 12; y += 3) g.Line(4, y, 12, y, kBlue);
            break;
        case 8:  // about
            g.Round(1, 1, 15, 15, RGB(255, 255, 255), kBlue);
            g.Text(6, 1, L"i", kBlue, 12);
            break;
        case 9:  // open all doors
            g.Drive(kGreen, true);
            g.Line(1, 7, 15, 7, kGreen);
            break;
        case 10:  // close all doors
            g.Drive(kRed, false);
            g.Line(1, 7, 15, 7, kRed);
            break;
        case 11:  // open one door
            g.Drive(kGreen, true);
            break;
        default:  // close one door
            g.Drive(kRed, false);
            break;
        }
    });
}

unique_hicon MakeButtonPicture(int button, bool hover) {
    const COLORREF back = hover ? RGB(255, 255, 225) : ::GetSysColor(COLOR_BTNFACE);
    const COLORREF ink = hover ? RGB(0, 96, 224) : RGB(32, 64, 128);
    return DrawnIcon(20, back, CLR_INVALID, [button, ink](HDC dc) {
        Gdi g{dc};
        switch (button) {
        case 0:  // refresh: a circle with an arrow head
            g.Ring(4, 4, 16, 16, ink, 2);
            g.Poly({{12, 1}, {18, 5}, {12, 8}}, ink);
            break;
        case 1:  // search
            g.Ring(3, 3, 13, 13, ink, 2);
            g.Line(11, 11, 17, 17, ink, 3);
            break;
        case 2:  // settings: two sliders
            g.Line(3, 7, 17, 7, kDark);
            g.Line(3, 13, 17, 13, kDark);
            g.Box(6, 4, 10, 11, ink, ink);
            g.Box(11, 10, 15, 17, ink, ink);
            break;
        default:  // log: a page with lines
            g.Page(4, 2, 16, 18);
            for (int y = 6; y <= 14; y += 3) g.Line(6, y, 14, y, ink);
            break;
        }
    });
}

}  // namespace salva
