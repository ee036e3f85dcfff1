#include "inspect/PictureFile.h"

#include "services/Holders.h"
#include <cstring>

namespace salva {

namespace {

template <typename T>
void Append(std::vector<unsigned char>& out, const T& value) {
    const auto* p = reinterpret_cast<const unsigned char*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
}

// The bitmap's pixels bottom-up at `bits` per pixel; empty when it cannot be read.
std::vector<unsigned char> Pixels(HBITMAP bitmap, int width, int height, WORD bits) {
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    std::vector<unsigned char> pixels(stride * static_cast<size_t>(height));
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } info{};
    info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) pixels.clear();
    return pixels;
}

}  // namespace

std::vector<unsigned char> IconFileBytes(HICON icon, bool asCursor) {
    ICONINFO ii{};
    if (!icon || !::GetIconInfo(icon, &ii)) return {};
    unique_hbitmap colour(ii.hbmColor), mask(ii.hbmMask);
    BITMAP bm{};
    if (!::GetObjectW(mask.get(), sizeof(bm), &bm)) return {};
    const int width = bm.bmWidth;
    // A monochrome icon keeps its image below the mask in one bitmap twice as high.
    const int height = colour ? bm.bmHeight : bm.bmHeight / 2;
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return {};
    std::vector<unsigned char> xorBits;
    if (colour) {
        xorBits = Pixels(colour.get(), width, height, 32);
    } else {
        std::vector<unsigned char> both = Pixels(mask.get(), width, height * 2, 32);
        if (!both.empty()) xorBits.assign(both.begin(), both.begin() + both.size() / 2);
    }
    std::vector<unsigned char> andBits = Pixels(mask.get(), width, colour ? height : height * 2, 1);
    if (xorBits.empty() || andBits.empty()) return {};
    if (!colour) andBits.erase(andBits.begin() + andBits.size() / 2, andBits.end());

    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), width, height * 2, 1, 32, BI_RGB,
                                  static_cast<DWORD>(xorBits.size() + andBits.size())};
    const DWORD imageBytes = static_cast<DWORD>(sizeof(header) + xorBits.size() + andBits.size());
    std::vector<unsigned char> out;
    Append<WORD>(out, 0);
    Append<WORD>(out, asCursor ? 2 : 1);
    Append<WORD>(out, 1);
    out.push_back(static_cast<unsigned char>(width == 256 ? 0 : width));
    out.push_back(static_cast<unsigned char>(height == 256 ? 0 : height));
    out.push_back(0);  // colour count
    out.push_back(0);
    Append<WORD>(out, asCursor ? static_cast<WORD>(ii.xHotspot) : 1);   // planes, or hot spot x
    Append<WORD>(out, asCursor ? static_cast<WORD>(ii.yHotspot) : 32);  // bits, or hot spot y
    Append<DWORD>(out, imageBytes);
    Append<DWORD>(out, 22);
    Append(out, header);
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    return out;
}

std::vector<unsigned char> BitmapFileBytes(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
    const std::vector<unsigned char> pixels = Pixels(bitmap, bm.bmWidth, bm.bmHeight, 24);
    if (pixels.empty()) return {};
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), bm.bmWidth, bm.bmHeight, 1, 24, BI_RGB,
                                  static_cast<DWORD>(pixels.size())};
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::vector<unsigned char> out;
    Append(out, file);
    Append(out, header);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace salva
