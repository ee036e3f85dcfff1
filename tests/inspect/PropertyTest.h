// The properties window driven as a user drives it: presses on boxes, clicks on tabs and
// buttons, keys typed into the label box.
#pragma once
#include "TestSupport.h"
#include "inspect/frmFileProperty.h"
#include <commctrl.h>

namespace proptest {

using Window = salva::frmFileProperty;

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

inline LPARAM Centre(HWND h) {
    RECT r{};
    ::GetClientRect(h, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

// A press and release of a mouse button in the middle of a control.
inline void Press(HWND h, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    const WPARAM keys = down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
    ::SendMessageW(h, down, keys, Centre(h));
    ::SendMessageW(h, up, 0, Centre(h));
    Pump();
}

// A left click on tab `index` (0-based) of the window's tab strip.
inline void ClickTab(Window& w, int index) {
    HWND tab = w.Control(Window::IDC_TABSTRIP1);
    RECT r{};
    ::SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(tab, WM_LBUTTONUP, 0, at);
    Pump();
}

inline std::wstring Text(Window& w, int id) { return testsupport::WindowText(w.Control(id)); }
inline bool Checked(Window& w, int id) {
    return ::SendMessageW(w.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline bool Enabled(Window& w, int id) { return ::IsWindowEnabled(w.Control(id)) != FALSE; }
// The control's own visibility flag; the window itself may be hidden.
inline bool Shown(HWND h) { return (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0; }

inline std::wstring TabCaption(Window& w, int index) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    ::SendMessageW(w.Control(Window::IDC_TABSTRIP1), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

inline bool MakeFile(const std::wstring& path, size_t size) {
    return testsupport::WriteBytes(path, std::vector<uint8_t>(size, 0x5A));
}

// Attributes a test set are taken off again so the folder can be removed.
inline void Plain(const std::wstring& path) { ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); }

}  // namespace proptest
