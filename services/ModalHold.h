// Windows held disabled by the modal loops that run above them. A loop takes a hold on each
// window it disables and lets it go when it ends, and loops do not always end in the order they
// began: a prompt answered while a question opened under it is still up ends first. So no loop
// puts back the state it found: a window is disabled while it has at least one hold and enabled
// when its last hold goes, whichever loop lets go last.
// The count is a property of the window itself, so the program and the libraries loaded into it
// (the prompts) share it.
#pragma once
#include <windows.h>

namespace salva {

// Takes a hold on `window` and disables it, when it is enabled or already held. A window that
// something else keeps disabled (a system dialog over it) is left alone: false, no hold taken.
bool HoldWindow(HWND window);
// Gives up one hold; the window is enabled when it was the last.
void ReleaseWindow(HWND window);
// The holds on `window` now.
int WindowHolds(HWND window);

// One hold for a scope.
class window_hold_scope {
public:
    explicit window_hold_scope(HWND window) : window_(HoldWindow(window) ? window : nullptr) {}
    ~window_hold_scope() { release(); }
    void release() {
        if (window_) ReleaseWindow(window_);
        window_ = nullptr;
    }
    bool held() const { return window_ != nullptr; }
    window_hold_scope(const window_hold_scope&) = delete;
    window_hold_scope& operator=(const window_hold_scope&) = delete;

private:
    HWND window_;
};

// A message box owned by `owner`, which is held meanwhile; when the box has gone the window
// that was active before it gets the input back, if it may take it.
int HeldMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style);

}  // namespace salva
