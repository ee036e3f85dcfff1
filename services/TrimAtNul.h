// Text returned by the system in fixed-size buffers: keep what comes before the first NUL.
#pragma once
#include <string>

namespace salva {

inline std::wstring TrimAtNul(const std::wstring& text) {
    const size_t nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

// A buffer of `capacity` characters that need not hold a NUL at all.
inline std::wstring TrimAtNul(const wchar_t* buffer, size_t capacity) {
    size_t n = 0;
    while (n < capacity && buffer[n] != L'\0') ++n;
    return std::wstring(buffer, n);
}

}  // namespace salva
