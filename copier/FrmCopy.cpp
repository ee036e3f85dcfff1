#include "FrmCopy.h"

namespace salva {

bool FrmCopy::Create(int showCommand) {
    if (!CreateWindowOf(0, L"Salvadisk", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 520, 400))
        return false;
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    return true;
}

LRESULT FrmCopy::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
