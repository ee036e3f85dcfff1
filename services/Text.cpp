#include "services/Text.h"
#include <windows.h>

namespace salva {

std::wstring UpperCase(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

wchar_t MnemonicOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;
    }
    return 0;
}

std::wstring UpperTail(const std::wstring& text, size_t n) {
    return UpperCase(text.size() > n ? text.substr(text.size() - n) : text);
}

std::wstring Trim(const std::wstring& text, const wchar_t* blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring FromCodePage(uint32_t codePage, const char* bytes, size_t size) {
    if (size == 0) return {};
    const int n = ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), &out[0], n);
    return out;
}

std::string ToCodePage(uint32_t codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string EncodeTextFile(const std::wstring& text) { return "\xEF\xBB\xBF" + ToCodePage(CP_UTF8, text); }

std::wstring DecodeTextFile(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return FromCodePage(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    return FromCodePage(CP_ACP, bytes.data(), bytes.size());
}

}  // namespace salva
