#include "ModalLoop.h"
#include "services/ModalHold.h"
#include <vector>

namespace salva {

void RunModal(HWND window, bool dialogKeys) {
    if (!::IsWindow(window)) return;
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<HWND> held;
    for (HWND h : windows)
        if (h != window && ::IsWindowVisible(h) && HoldWindow(h)) held.push_back(h);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    MSG msg;
    while (::IsWindow(window) && ::IsWindowVisible(window)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (dialogKeys && ::IsWindow(window) && ::IsDialogMessageW(window, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    for (HWND h : held) ReleaseWindow(h);
}

}  // namespace salva
