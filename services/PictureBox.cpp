#include "services/PictureBox.h"
#include "services/mT3D.h"
#include <ocidl.h>
#include <windowsx.h>

namespace salva {

bool PictureBox::Create(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle) {
    if (!CreateWindowOf(0, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | extraStyle, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    Clear();
    return true;
}

void PictureBox::MakeImage(int width, int height) {
    width_ = width < 1 ? 1 : width;
    height_ = height < 1 ? 1 : height;
    if (!memDC_) {
        auto screen = unique_window_dc::client(nullptr);
        memDC_.reset(::CreateCompatibleDC(screen.get()));
    }
    if (!memDC_) return;
    auto screen = unique_window_dc::client(nullptr);
    unique_hbitmap fresh(::CreateCompatibleBitmap(screen.get(), width_, height_));
    if (!fresh) return;
    if (oldBitmap_) ::SelectObject(memDC_.get(), oldBitmap_);
    oldBitmap_ = ::SelectObject(memDC_.get(), fresh.get());
    bitmap_ = std::move(fresh);
}

void PictureBox::Clear() {
    if (!memDC_) return;
    RECT rc{0, 0, width_, height_};
    unique_hbrush brush(::CreateSolidBrush(back_));
    ::FillRect(memDC_.get(), &rc, brush.get());
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Refresh() {
    if (!hwnd_) return;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    ::UpdateWindow(hwnd_);
}

void PictureBox::SetPicture(HICON icon) {
    picture_ = icon;
    loaded_.reset();
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::SetLoadedPicture(IPicture* picture) {
    loaded_ = com_ptr<IPicture>(picture);
    picture_ = nullptr;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::SetFont(HFONT font) {
    font_ = font;
    if (!memDC_ || !font) return;
    HGDIOBJ previous = ::SelectObject(memDC_.get(), font);
    if (!oldFont_) oldFont_ = previous;
}

void PictureBox::SetDrawMode(int rop2) {
    if (memDC_) ::SetROP2(memDC_.get(), rop2);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        MakeImage(cs->cx, cs->cy);
        return 0;
    }
    case WM_SIZE: {
        const int w = LOWORD(lp), h = HIWORD(lp);
        if (w > width_ || h > height_) {
            MakeImage(w > width_ ? w : width_, h > height_ ? h : height_);
            Clear();
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wp));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_PAINT: {
        paint_scope ps(hwnd_);
        if (memDC_) ::BitBlt(ps.dc(), 0, 0, width_, height_, memDC_.get(), 0, 0, SRCCOPY);
        if (picture_) ::DrawIconEx(ps.dc(), 0, 0, picture_, 0, 0, 0, nullptr, DI_NORMAL);
        if (loaded_) {
            // The picture's size comes in HIMETRIC (0.01 mm); its own pixels are kept.
            OLE_XSIZE_HIMETRIC w = 0;
            OLE_YSIZE_HIMETRIC h = 0;
            loaded_->get_Width(&w);
            loaded_->get_Height(&h);
            const int px = ::MulDiv(w, ::GetDeviceCaps(ps.dc(), LOGPIXELSX), 2540);
            const int py = ::MulDiv(h, ::GetDeviceCaps(ps.dc(), LOGPIXELSY), 2540);
            loaded_->Render(ps.dc(), 0, 0, px, py, 0, h, w, -h, nullptr);
        }
        // Drawn with the rest, so a repaint while focused cannot leave an inverted rectangle
        // behind once the focus has gone.
        if (showsFocus_ && ::GetFocus() == hwnd_) {
            RECT rc{};
            ::GetClientRect(hwnd_, &rc);
            mT3D::DrawFocusRectOver(ps.dc(), rc.right, rc.bottom);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (showsFocus_) {
            ::InvalidateRect(hwnd_, nullptr, FALSE);
            ::UpdateWindow(hwnd_);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        if (mouse_) {
            // The handler may close the window it belongs to.
            MouseHandler handler = mouse_;
            handler(msg, wp, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        }
        return 0;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ::SendMessageW(::GetParent(hwnd_), msg, wp, lp);
    case WM_DESTROY:
        if (memDC_ && oldBitmap_) ::SelectObject(memDC_.get(), oldBitmap_);
        if (memDC_ && oldFont_) ::SelectObject(memDC_.get(), oldFont_);
        oldBitmap_ = nullptr;
        oldFont_ = nullptr;
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

void DrawProgressBar(PictureBox& bar, COLORREF fill, double fraction, const std::wstring& text, int textX) {
    HDC dc = bar.dc();
    if (!dc || !bar.Window()) return;
    RECT rc{};
    ::GetClientRect(bar.Window(), &rc);
    const int filled = static_cast<int>(rc.right * (fraction < 0 ? 0 : fraction > 1 ? 1 : fraction));
    if (filled > 0) {
        unique_hbrush brush(::CreateSolidBrush(fill));
        unique_hpen pen(::CreatePen(PS_SOLID, 1, fill));
        select_scope sb(dc, brush.get()), sp(dc, pen.get());
        ::Rectangle(dc, 0, 0, filled, rc.bottom);
    }
    select_scope font(dc, mT3D::WindowFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, bar.ForeColor());
    SIZE ts{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ts);
    ::TextOutW(dc, textX, (rc.bottom - ts.cy) / 2, text.c_str(), static_cast<int>(text.size()));
    bar.Refresh();
}

}  // namespace salva
