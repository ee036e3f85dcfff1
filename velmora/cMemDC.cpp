#include "cMemDC.h"
#include <cmath>

namespace velmora {

namespace {
const COLORREF kDisabledGrey = RGB(152, 152, 152);
// Above this size a bitmap is stretched in one call instead of copied pixel by pixel.
const int kPixelCopyLimit = 72;

salva::unique_hdc DisplayDC() { return salva::unique_hdc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)); }

// Rounds half to even, as the pixel placement of scaled icons requires.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

HBITMAP PictureBitmap(IPicture* pic) {
    OLE_HANDLE h = 0;
    if (!pic || FAILED(pic->get_Handle(&h))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h));
}

short PictureType(IPicture* pic) {
    short type = PICTYPE_NONE;
    if (pic) pic->get_Type(&type);
    return type;
}
}  // namespace

cMemDC::~cMemDC() { DestroyMemDC(); }

void cMemDC::CreateMemDC(long w, long h) {
    DestroyMemDC();
    salva::unique_hdc ref = DisplayDC();
    dc_.reset(::CreateCompatibleDC(ref.get()));
    bitmap_.reset(::CreateCompatibleBitmap(ref.get(), w, h));
    oldBitmap_ = dc_ && bitmap_ ? ::SelectObject(dc_.get(), bitmap_.get()) : nullptr;
    if (oldBitmap_ && oldBitmap_ != HGDI_ERROR) {
        width_ = w;
        height_ = h;
    } else {
        oldBitmap_ = nullptr;
        DestroyMemDC();
    }
}

void cMemDC::DestroyMemDC() {
    if (dc_ && oldBitmap_) ::SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    bitmap_.reset();
    width_ = height_ = 0;
    dc_.reset();
}

void cMemDC::Width(long w) {
    if (w > width_) CreateMemDC(w, height_);
}

void cMemDC::Height(long h) {
    if (h > height_) CreateMemDC(width_, h);
}

void cMemDC::CopyPixels(HDC hdc, IPicture* pic, int left, int top, int width, int height, COLORREF mask,
                        bool grey) {
    const short type = PictureType(pic);
    if (type != PICTYPE_BITMAP && type != PICTYPE_ICON) return;
    int w = 0, h = 0;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    if (type == PICTYPE_BITMAP) {
        bitmap = PictureBitmap(pic);
        BITMAP bm{};
        if (!::GetObjectW(bitmap, sizeof(bm), &bm)) return;
        w = bm.bmWidth;
        h = bm.bmHeight;
    } else {
        icon = reinterpret_cast<HICON>(PictureBitmap(pic));
        ICONINFO info{};
        if (!::GetIconInfo(icon, &info)) return;
        // GetIconInfo hands out copies of both bitmaps; they are the caller's to delete.
        salva::unique_hbitmap color(info.hbmColor), maskBits(info.hbmMask);
        w = 2 * static_cast<int>(info.xHotspot);
        h = 2 * static_cast<int>(info.yHotspot);
    }
    if (w <= 0 || h <= 0) return;

    salva::unique_hdc ref = DisplayDC();
    salva::unique_hdc scratch(::CreateCompatibleDC(ref.get()));
    salva::unique_hbitmap scratchBits(::CreateCompatibleBitmap(ref.get(), w, h));
    salva::select_scope keep(scratch.get(), scratchBits.get());
    {
        salva::unique_hbrush maskBrush(::CreateSolidBrush(mask));
        RECT all{0, 0, w, h};
        ::FillRect(scratch.get(), &all, maskBrush.get());
    }
    if (bitmap) {
        salva::unique_hdc source(::CreateCompatibleDC(ref.get()));
        salva::select_scope pick(source.get(), bitmap);
        ::BitBlt(scratch.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    } else {
        ::DrawStateW(scratch.get(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0,
                     DST_ICON | DSS_NORMAL);
    }
    if (bitmap && (w > kPixelCopyLimit || h > kPixelCopyLimit)) {
        ::StretchBlt(hdc, left, top, width, height, scratch.get(), 0, 0, w, h, SRCCOPY);
        return;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = ::GetPixel(scratch.get(), x, y);
            if (c == mask) continue;
            ::SetPixel(hdc, left + RoundEven(static_cast<double>(width) * x / w),
                       top + RoundEven(static_cast<double>(height) * y / h), grey ? kDisabledGrey : c);
        }
    }
}

void cMemDC::DrawIcon16Or32(HDC hdc, IPicture* pic, int left, int top, int width, int height, COLORREF mask) {
    CopyPixels(hdc, pic, left, top, width, height, mask, false);
}

void cMemDC::DrawDisEnabledIcon(HDC hdc, IPicture* pic, int left, int top, int width, int height,
                                COLORREF mask) {
    CopyPixels(hdc, pic, left, top, width, height, mask, true);
}

void cMemDC::TransParentPaint(HDC dest, IPicture* pic, int x, int y, COLORREF mask) {
    if (PictureType(pic) != PICTYPE_BITMAP) return;
    HBITMAP sourceBits = PictureBitmap(pic);
    BITMAP bm{};
    if (!::GetObjectW(sourceBits, sizeof(bm), &bm)) return;
    const int w = bm.bmWidth, h = bm.bmHeight;

    salva::unique_hdc src(::CreateCompatibleDC(dest)), save(::CreateCompatibleDC(dest)),
        maskDC(::CreateCompatibleDC(dest)), invDC(::CreateCompatibleDC(dest)), work(::CreateCompatibleDC(dest));
    salva::unique_hbitmap maskBits(::CreateBitmap(w, h, 1, 1, nullptr));
    salva::unique_hbitmap invBits(::CreateBitmap(w, h, 1, 1, nullptr));
    salva::unique_hbitmap saveBits(::CreateCompatibleBitmap(dest, w, h));
    salva::unique_hbitmap workBits(::CreateCompatibleBitmap(dest, w, h));
    salva::select_scope s1(src.get(), sourceBits), s2(save.get(), saveBits.get()),
        s3(maskDC.get(), maskBits.get()), s4(invDC.get(), invBits.get()), s5(work.get(), workBits.get());

    ::BitBlt(save.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
    const COLORREF oldBack = ::SetBkColor(src.get(), mask);
    ::BitBlt(maskDC.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
    ::SetBkColor(src.get(), oldBack);
    ::BitBlt(invDC.get(), 0, 0, w, h, maskDC.get(), 0, 0, NOTSRCCOPY);
    ::BitBlt(work.get(), 0, 0, w, h, dest, x, y, SRCCOPY);
    ::BitBlt(work.get(), 0, 0, w, h, maskDC.get(), 0, 0, SRCAND);
    ::BitBlt(src.get(), 0, 0, w, h, invDC.get(), 0, 0, SRCAND);
    ::BitBlt(work.get(), 0, 0, w, h, src.get(), 0, 0, SRCPAINT);
    ::BitBlt(dest, x, y, w, h, work.get(), 0, 0, SRCCOPY);
    ::BitBlt(src.get(), 0, 0, w, h, save.get(), 0, 0, SRCCOPY);
}

UINT cMemDC::MarkState(bool check, bool disabled) noexcept {
    UINT state = (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_CHECKED | DFCS_FLAT;
    if (disabled) state |= DFCS_PUSHED;
    return state;
}

void cMemDC::DrawCheckOrOptionBox(HDC hdc, int left, int top, int width, int height, bool check, bool disabled) {
    RECT r{left, top, left + width, top + height};
    ::DrawFrameControl(hdc, &r, DFC_BUTTON, MarkState(check, disabled));
    ::DrawEdge(hdc, &r, EDGE_ETCHED, BF_RECT | BF_SOFT);
}

void cMemDC::DrawPatternMask(HDC hdc, int left, int top, int width, int height) {
    static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    salva::unique_hbitmap pattern(::CreateBitmap(8, 8, 1, 1, kRows));
    salva::unique_hbrush brush(::CreatePatternBrush(pattern.get()));
    RECT r{left, top, left + width, top + height};
    ::FillRect(hdc, &r, brush.get());
}

void cMemDC::CreateFromPicture(IPicture* pic) {
    HBITMAP bits = PictureType(pic) == PICTYPE_BITMAP ? PictureBitmap(pic) : nullptr;
    BITMAP bm{};
    if (!bits || !::GetObjectW(bits, sizeof(bm), &bm)) return;
    Width(bm.bmWidth);
    Height(bm.bmHeight);
    if (!dc_) return;
    salva::unique_hdc ref = DisplayDC();
    salva::unique_hdc scratch(::CreateCompatibleDC(ref.get()));
    salva::select_scope pick(scratch.get(), bits);
    ::BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, scratch.get(), 0, 0, SRCCOPY);
}

}  // namespace velmora
