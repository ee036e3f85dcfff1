#include "PromptText.h"

namespace dorvex {

std::wstring GroupDigits(int64_t n, const std::wstring& separator) {
    const bool negative = n < 0;
    uint64_t v = negative ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::wstring digits = std::to_wstring(v);
    std::wstring out;
    const size_t len = digits.size();
    for (size_t i = 0; i < len; ++i) {
        if (i > 0 && (len - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return negative ? L"-" + out : out;
}

std::wstring SizeLine(int64_t n, const std::wstring& sep) {
    if (n < 1024) return GroupDigits(n, sep) + L" 字节";
    if (n <= 10240000) return GroupDigits(n / 1024, sep) + L" KB [" + GroupDigits(n, sep) + L" 字节]";
    return GroupDigits(n / 1048576, sep) + L" MB [" + GroupDigits(n, sep) + L" 字节]";
}

std::wstring InformationText(const std::wstring& sizeLine, const std::wstring& modified,
                             const std::wstring& accessed) {
    return sizeLine + L"\r\n修改时间：" + modified + L"\r\n访问时间：" + accessed;
}

std::wstring AmPmSuffix(int hour) { return hour < 12 ? L" AM" : L" PM"; }

std::wstring NameLines(const std::wstring& path) {
    std::wstring out;
    out += path.substr(0, 48) + L"\r\n";
    if (path.size() > 48) out += path.substr(48, 48) + L"\r\n";
    if (path.size() > 96) out += path.substr(96) + L"\r\n";
    return out;
}

}  // namespace dorvex
