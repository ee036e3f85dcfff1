#include "services/DrawnIcon.h"
#include <cstdint>
#include <vector>

namespace salva {

unique_hicon DrawnIcon(int size, COLORREF back, COLORREF transparent, const std::function<void(HDC)>& draw) {
    auto screen = unique_window_dc::client(nullptr);
    unique_hdc dc(::CreateCompatibleDC(screen.get()));
    if (!dc) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    unique_hbitmap colour(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return {};
    {
        select_scope sel(dc.get(), colour.get());
        RECT rc{0, 0, size, size};
        unique_hbrush brush(::CreateSolidBrush(back));
        ::FillRect(dc.get(), &rc, brush.get());
        ::SetBkMode(dc.get(), TRANSPARENT);
        draw(dc.get());
        ::GdiFlush();
    }
    // 1-bit mask: set where the picture is see-through, with those colour pixels black.
    // CreateBitmap takes rows padded to 16 bits.
    const int stride = ((size + 15) / 16) * 2;
    std::vector<uint8_t> maskBits(static_cast<size_t>(stride) * size, 0);
    auto* px = static_cast<uint32_t*>(bits);
    const uint32_t key = transparent == CLR_INVALID
                             ? 0xFFFFFFFFu
                             : (GetRValue(transparent) << 16) | (GetGValue(transparent) << 8) | GetBValue(transparent);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint32_t& p = px[y * size + x];
            if ((p & 0xFFFFFF) == key) {
                p = 0;
                maskBits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    unique_hbitmap mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmMask = mask.get();
    ii.hbmColor = colour.get();
    return unique_hicon(::CreateIconIndirect(&ii));
}

namespace {

void FillPolygon(HDC dc, const POINT* points, int count, COLORREF colour) {
    unique_hbrush brush(::CreateSolidBrush(colour));
    unique_hpen pen(::CreatePen(PS_SOLID, 1, colour));
    select_scope sb(dc, brush.get()), sp(dc, pen.get());
    ::Polygon(dc, points, count);
}

constexpr COLORREF kIconKey = RGB(255, 0, 255);
constexpr COLORREF kGreyInk = RGB(150, 150, 150);

}  // namespace

unique_hicon MakePlayIcon(bool usable) {
    return DrawnIcon(16, kIconKey, kIconKey, [usable](HDC dc) {
        const POINT triangle[] = {{5, 4}, {11, 8}, {5, 12}};
        FillPolygon(dc, triangle, 3, usable ? RGB(0, 144, 0) : kGreyInk);
    });
}

unique_hicon MakeStopIcon(bool usable) {
    return DrawnIcon(16, kIconKey, kIconKey, [usable](HDC dc) {
        const POINT square[] = {{5, 5}, {10, 5}, {10, 10}, {5, 10}};
        FillPolygon(dc, square, 4, usable ? RGB(200, 0, 0) : kGreyInk);
    });
}

}  // namespace salva
