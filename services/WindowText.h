// The whole text of a window or control.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

inline std::wstring WindowTextOf(HWND window) {
    std::wstring s(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(window, &s[0], static_cast<int>(s.size()))));
    return s;
}

}  // namespace salva
