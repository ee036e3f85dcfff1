#include "services/Text.h"
#include <windows.h>

namespace salva {

std::wstring UpperCase(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring UpperTail(const std::wstring& text, size_t n) {
    return UpperCase(text.size() > n ? text.substr(text.size() - n) : text);
}

std::wstring Trim(const std::wstring& text, const wchar_t* blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace salva
