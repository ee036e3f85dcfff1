// A 32-bit memory drawing surface whose pixels the tests read back.
#pragma once
#include "services/Holders.h"
#include <cstdint>
#include <memory>
#include <vector>
#include <string>

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        dc_.reset(::CreateCompatibleDC(nullptr));
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        select_ = std::make_unique<salva::select_scope>(dc_.get(), bitmap_.get());
        Fill(fill);
    }
    ~Canvas() { select_.reset(); }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    bool ok() const { return dc_ && bitmap_ && bits_; }
    void Fill(COLORREF c) {
        salva::unique_hbrush brush(::CreateSolidBrush(c));
        RECT rc{0, 0, width_, height_};
        ::FillRect(dc_.get(), &rc, brush.get());
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const uint32_t v = static_cast<const uint32_t*>(bits_)[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) all.push_back(At(x, y));
        return all;
    }
    // Pixels that differ from `c` inside (l, t)-(r, b).
    int CountNot(COLORREF c, int l, int t, int r, int b) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += At(x, y) != c;
        return n;
    }

private:
    int width_, height_;
    salva::unique_hdc dc_;
    salva::unique_hbitmap bitmap_;
    void* bits_ = nullptr;
    std::unique_ptr<salva::select_scope> select_;
};

inline std::string Rgb(COLORREF c) {
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}
