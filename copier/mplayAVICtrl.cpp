#include "copier/mplayAVICtrl.h"
#include "services/Holders.h"
#include <commctrl.h>
#include <cmath>

namespace salva::mplayAVICtrl {

namespace {

struct Animation {
    unique_hwnd window;
    unique_hmodule library;
    bool controlsReady = false;
};

Animation& A() {
    static Animation a;
    return a;
}

}  // namespace

void InitAnimateControl(uint32_t classes) {
    if (A().controlsReady) return;
    A().controlsReady = true;
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = classes;
    ::InitCommonControlsEx(&icc);
}

void FitAVIWindow(HWND host) {
    HWND anim = A().window.get();
    if (!anim || !host) return;
    RECT h{}, a{};
    ::GetClientRect(host, &h);
    ::GetWindowRect(anim, &a);
    const int w = a.right - a.left, ht = a.bottom - a.top;
    const int x = static_cast<int>(std::lround((h.right - w) / 2.0));
    const int y = static_cast<int>(std::lround((h.bottom - ht) / 2.0));
    ::MoveWindow(anim, x, y, w, ht, TRUE);
}

bool OpenAVIWindow(HWND host, const std::wstring& library, int32_t resource, bool centre, bool autoPlay,
                   bool transparent) {
    InitAnimateControl(ICC_ANIMATE_CLASS);
    CloseAVIWindow();
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (autoPlay) style |= ACS_AUTOPLAY;
    if (transparent) style |= ACS_TRANSPARENT;
    Animation& a = A();
    bool opened = false;
    if (resource != 0) {
        a.library.reset(::LoadLibraryW(library.c_str()));
        if (a.library) {
            a.window.reset(::CreateWindowExW(0, ANIMATE_CLASSW, L"", style, 0, 0, 0, 0, host, nullptr,
                                             a.library.get(), nullptr));
            opened = a.window && ::SendMessageW(a.window.get(), ACM_OPENW, reinterpret_cast<WPARAM>(a.library.get()),
                                                static_cast<LPARAM>(resource)) != 0;
        }
    } else {
        a.window.reset(::CreateWindowExW(0, ANIMATE_CLASSW, L"", style, 0, 0, 0, 0, host, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr));
        opened = a.window && ::SendMessageW(a.window.get(), ACM_OPENW, 0, reinterpret_cast<LPARAM>(library.c_str())) != 0;
    }
    if (!opened) {
        a.library.reset();
        a.window.reset();
        return false;
    }
    if (centre) FitAVIWindow(host);
    // The whole clip, over and over.
    ::SendMessageW(a.window.get(), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
    return true;
}

void CloseAVIWindow() {
    Animation& a = A();
    if (a.window) {
        ::SendMessageW(a.window.get(), ACM_STOP, 0, 0);
        ::SendMessageW(a.window.get(), ACM_OPENW, 0, 0);
        a.window.reset();
    }
    a.library.reset();
}

HWND AnimationWindow() { return A().window.get(); }

}  // namespace salva::mplayAVICtrl
