#include "services/ModalHold.h"
#include <cstdint>

namespace salva {

namespace {
const wchar_t kHoldsProperty[] = L"SalvadiskModalHolds";
}  // namespace

int WindowHolds(HWND window) {
    if (!window) return 0;
    return static_cast<int>(reinterpret_cast<intptr_t>(::GetPropW(window, kHoldsProperty)));
}

bool HoldWindow(HWND window) {
    if (!window || !::IsWindow(window)) return false;
    const int holds = WindowHolds(window);
    if (holds == 0 && !::IsWindowEnabled(window)) return false;
    if (!::SetPropW(window, kHoldsProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(holds + 1)))) return false;
    ::EnableWindow(window, FALSE);
    return true;
}

void ReleaseWindow(HWND window) {
    if (!window || !::IsWindow(window)) return;
    const int holds = WindowHolds(window);
    if (holds <= 1) {
        ::RemovePropW(window, kHoldsProperty);
        ::EnableWindow(window, TRUE);
    } else {
        ::SetPropW(window, kHoldsProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(holds - 1)));
        // Whatever enabled it meanwhile (a system dialog closing), a loop still runs above it.
        ::EnableWindow(window, FALSE);
    }
}

int HeldMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT style) {
    HWND active = ::GetActiveWindow();
    window_hold_scope hold(owner);
    const int answer = ::MessageBoxW(owner, text, title, style);
    hold.release();
    // The box went while its owner was disabled, so the system activated another window.
    if (active && ::IsWindow(active) && ::IsWindowEnabled(active) && ::IsWindowVisible(active))
        ::SetActiveWindow(active);
    return answer;
}

}  // namespace salva
