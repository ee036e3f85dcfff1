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

std::wstring ShortenInMiddle(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits) {
    if (fits(text)) return text;
    auto isHigh = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    auto isLow = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    // k characters kept: the first half of them before the ellipsis, the rest after it.
    auto shortened = [&](size_t k) {
        size_t head = k / 2, tail = text.size() - (k - head);
        if (head > 0 && isHigh(text[head - 1])) --head;
        if (tail < text.size() && isLow(text[tail])) ++tail;
        return text.substr(0, head) + L"…" + text.substr(tail);
    };
    // Widths grow with k: the largest k that fits, by halving.
    size_t lo = 0, hi = text.size();
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (fits(shortened(mid))) lo = mid;
        else hi = mid - 1;
    }
    return shortened(lo);
}

std::wstring NameLines(const std::wstring& path, int maxWidth, const TextWidth& width) {
    const std::wstring lines = NameLines(path);
    std::wstring out;
    for (size_t start = 0; start < lines.size();) {
        const size_t end = lines.find(L"\r\n", start);
        out += ShortenInMiddle(lines.substr(start, end - start),
                               [&](const std::wstring& s) { return width(s) <= maxWidth; }) +
               L"\r\n";
        start = end + 2;
    }
    return out;
}

POINT PlaceInside(const RECT& area, int width, int height) {
    auto axis = [](LONG from, LONG to, int size) {
        const LONG centred = from + (to - from - size) / 2;
        return centred < from ? from : centred;
    };
    return POINT{axis(area.left, area.right, width), axis(area.top, area.bottom, height)};
}

}  // namespace dorvex
