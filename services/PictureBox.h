// A child window that draws into a memory image of its own size and shows that image whenever
// it is painted, so its drawing survives being covered. Mouse input goes to a handler; button
// commands, scroll and notification messages of controls inside it go on to its parent.
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include <ocidl.h>
#include <functional>
#include <string>

namespace salva {

class PictureBox : public BaseWindow<PictureBox> {
public:
    // (message, wParam, x, y) for WM_*BUTTON* and WM_MOUSEMOVE.
    using MouseHandler = std::function<void(UINT, WPARAM, int, int)>;

    static const wchar_t* ClassName() { return L"SalvadiskPictureBox"; }
    bool Create(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle = WS_VISIBLE);

    HDC dc() const { return memDC_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Fills the image with the back colour.
    void Clear();
    // Shows the image on screen now.
    void Refresh();
    void SetBackColor(COLORREF c) { back_ = c; }
    COLORREF BackColor() const { return back_; }
    void SetForeColor(COLORREF c) { fore_ = c; }
    COLORREF ForeColor() const { return fore_; }
    // A picture shown at (0, 0) over the image; nullptr shows none. Not owned. It replaces a
    // loaded picture.
    void SetPicture(HICON icon);
    HICON Picture() const { return picture_; }
    // A loaded picture (bitmap, metafile, JPEG ...) shown unscaled at (0, 0) over the image,
    // held until replaced; it replaces the icon picture. Null shows none.
    void SetLoadedPicture(IPicture* picture);
    IPicture* LoadedPicture() const { return loaded_.get(); }
    // Draws a focus rectangle round the whole box while it has the keyboard focus.
    void SetShowsFocus(bool on) { showsFocus_ = on; }
    void SetMouseHandler(MouseHandler h) { mouse_ = std::move(h); }
    // The font text is printed with on the image (not owned); also set by WM_SETFONT.
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    // Raster operation for pens and brushes on the image (R2_COPYPEN unless set).
    void SetDrawMode(int rop2);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void MakeImage(int width, int height);

    unique_hdc memDC_;
    unique_hbitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    COLORREF back_ = ::GetSysColor(COLOR_BTNFACE);
    COLORREF fore_ = RGB(0, 0, 0);
    HICON picture_ = nullptr;
    com_ptr<IPicture> loaded_;
    bool showsFocus_ = false;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    MouseHandler mouse_;
};

// A progress bar on the box's image: `fraction` (0 to 1) of its width filled with `fill`, the
// text printed at `textX` in the window font, then shown.
void DrawProgressBar(PictureBox& bar, COLORREF fill, double fraction, const std::wstring& text, int textX);

}  // namespace salva
