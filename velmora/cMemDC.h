// Off-screen drawing surface of the menu painters: a memory device context with its own
// bitmap, plus the routines that draw item icons, check and option marks, a mask-transparent
// picture and a halftone pattern.
#pragma once
#include "services/Holders.h"
#include <ocidl.h>
#include <olectl.h>

namespace velmora {

class cMemDC {
public:
    cMemDC() = default;
    ~cMemDC();
    cMemDC(const cMemDC&) = delete;
    cMemDC& operator=(const cMemDC&) = delete;

    // The picture at (left, top) scaled to width x height, pixels of the mask colour left out.
    void DrawIcon16Or32(HDC hdc, IPicture* pic, int left, int top, int width, int height, COLORREF mask);
    // The picture's shape in flat grey.
    void DrawDisEnabledIcon(HDC hdc, IPicture* pic, int left, int top, int width, int height, COLORREF mask);
    // A bitmap picture at its own size with the mask colour transparent.
    void TransParentPaint(HDC dest, IPicture* pic, int x, int y, COLORREF mask);
    void DrawCheckOrOptionBox(HDC hdc, int left, int top, int width, int height, bool check, bool disabled);
    void DrawPatternMask(HDC hdc, int left, int top, int width, int height);
    // Grows the surface to hold the bitmap picture and copies it in at (0, 0).
    void CreateFromPicture(IPicture* pic);

    HDC hDC() const noexcept { return dc_.get(); }
    long Width() const noexcept { return width_; }
    long Height() const noexcept { return height_; }
    // Grow only: a smaller value leaves the surface as it is.
    void Width(long w);
    void Height(long h);

    // State flags DrawFrameControl gets for a mark.
    static UINT MarkState(bool check, bool disabled) noexcept;

private:
    void CreateMemDC(long w, long h);
    void DestroyMemDC();
    void CopyPixels(HDC hdc, IPicture* pic, int left, int top, int width, int height, COLORREF mask, bool grey);

    salva::unique_hdc dc_;
    salva::unique_hbitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    long width_ = 0;
    long height_ = 0;
};

}  // namespace velmora
