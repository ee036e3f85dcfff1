// Window classes of the program: a static window procedure stores `this` at WM_NCCREATE,
// clears it at WM_NCDESTROY and hands every other message to the derived class's
// HandleMessage.
#pragma once
#include <windows.h>

namespace salva {

template <typename Derived>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow() {
        if (hwnd_) {
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            ::DestroyWindow(hwnd_);
        }
    }

    HWND Window() const { return hwnd_; }

    static Derived* FromWindow(HWND hwnd) {
        return reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }

protected:
    // Registers the class once (Derived::ClassName()) and creates the window.
    bool CreateWindowOf(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
                        HWND parent = nullptr, HMENU menu = nullptr, HBRUSH background = nullptr,
                        UINT classStyle = CS_DBLCLKS) {
        HINSTANCE inst = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{sizeof(wc)};
        if (!::GetClassInfoExW(inst, Derived::ClassName(), &wc)) {
            wc = WNDCLASSEXW{sizeof(wc)};
            wc.style = classStyle;
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = inst;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = Derived::ClassName();
            wc.hIcon = ::LoadIconW(inst, MAKEINTRESOURCEW(1));
            if (!::RegisterClassExW(&wc)) return false;
        }
        return ::CreateWindowExW(exStyle, Derived::ClassName(), title, style, x, y, w, h, parent, menu,
                                 inst, this) != nullptr;
    }

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
    // Called once the window is gone; the object may be reused or deleted afterwards.
    virtual void OnFinalDestroy() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = FromWindow(hwnd);
        }
        if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            BaseWindow* base = self;
            const LRESULT r = base->HandleMessage(msg, wp, lp);
            base->hwnd_ = nullptr;
            base->OnFinalDestroy();
            return r;
        }
        return static_cast<BaseWindow*>(self)->HandleMessage(msg, wp, lp);
    }
};

}  // namespace salva
