// One subclass of one window, safe in a chain of subclasses. Windows keeps a single window
// procedure per window: whoever replaces it keeps the one before and passes messages on. So a
// subclass may only put its predecessor back while it is still the window's procedure; with
// another one installed above it, writing the old procedure back would cut that one off.
//
// Each installed subclass gets a window procedure of its own (one of a fixed set of slots of
// this module), so it is found again by the address that a later subclass keeps as its
// predecessor. Removed while something else sits above it, a subclass stays in the chain and
// only passes messages on; it takes itself out as soon as it can: at once when the subclass
// directly above is one of ours (that one is relinked), otherwise when it is the window's
// procedure again or the window is destroyed.
#pragma once
#include <windows.h>
#include <functional>

namespace salva {

class WindowSubclass {
public:
    // The replacement procedure: returns the message's answer, and passes a message on with
    // CallPrevious.
    using Procedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    WindowSubclass() = default;
    ~WindowSubclass() { Remove(); }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // Replaces hwnd's window procedure. False when this object already holds a subclass, the
    // window does not exist, the procedure cannot be replaced or every slot is taken.
    bool Install(HWND hwnd, Procedure procedure);
    // Takes the subclass off; the procedure is not called again. Harmless when not installed.
    void Remove();

    bool Installed() const;
    HWND Window() const { return Installed() ? hwnd_ : nullptr; }
    // The procedure this subclass replaced (also after Remove, for a message in progress).
    WNDPROC Previous() const;
    LRESULT CallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const;

    // Slots still linked into some window's chain: while any is, this module must stay loaded.
    static int LinkedCount();

private:
    int slot_ = -1;
    unsigned generation_ = 0;
    HWND hwnd_ = nullptr;
    WNDPROC lastPrevious_ = nullptr;
};

}  // namespace salva
