#include "services/FormatNumber.h"
#include <windows.h>
#include <cwchar>
#include <vector>

namespace salva {
namespace {

std::wstring LocaleText(LCTYPE item, const wchar_t* fallback) {
    wchar_t b[16] = {};
    return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, b, 16) > 0 ? std::wstring(b) : std::wstring(fallback);
}

UINT LocaleNumber(LCTYPE item, UINT fallback) {
    const std::wstring t = LocaleText(item, L"");
    return t.empty() ? fallback : static_cast<UINT>(std::wcstoul(t.c_str(), nullptr, 10));
}

// "3;0" (groups of three) -> 3, "3;2;0" -> 32, as NUMBERFMT takes the grouping.
UINT Grouping(const std::wstring& text) {
    UINT g = 0;
    for (wchar_t c : text)
        if (c >= L'1' && c <= L'9') g = g * 10 + static_cast<UINT>(c - L'0');
    return g;
}

}  // namespace

std::wstring FormatNumber(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    wchar_t raw[400];
    std::swprintf(raw, 400, L"%.*f", decimals + 3, value);
    std::wstring decimal = LocaleText(LOCALE_SDECIMAL, L".");
    std::wstring thousand = LocaleText(LOCALE_STHOUSAND, L",");
    NUMBERFMTW f{};
    f.NumDigits = static_cast<UINT>(decimals);
    f.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
    f.Grouping = Grouping(LocaleText(LOCALE_SGROUPING, L"3;0"));
    f.lpDecimalSep = &decimal[0];
    f.lpThousandSep = &thousand[0];
    f.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER, 1);
    const int n = ::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, raw, &f, nullptr, 0);
    if (n <= 0) return raw;
    std::vector<wchar_t> out(static_cast<size_t>(n), L'\0');
    ::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, raw, &f, out.data(), n);
    return out.data();
}

}  // namespace salva
