#include "LogText.h"
#include <cstdio>

namespace salva {

std::wstring FormatLogTime(const SYSTEMTIME& t) {
    const unsigned hour24 = t.wHour % 24;
    unsigned hour12 = hour24 % 12;
    if (hour12 == 0) hour12 = 12;
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%02u:%02u:%02u %ls", hour12, static_cast<unsigned>(t.wMinute),
                  static_cast<unsigned>(t.wSecond), hour24 < 12 ? L"AM" : L"PM");
    return buf;
}

std::wstring FormatShortDate(const SYSTEMTIME& t) {
    wchar_t buf[128] = {};
    const int n = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buf, 128);
    if (n > 0) return std::wstring(buf, static_cast<size_t>(n - 1));
    wchar_t fallback[32];
    std::swprintf(fallback, 32, L"%u-%u-%u", static_cast<unsigned>(t.wYear), static_cast<unsigned>(t.wMonth),
                  static_cast<unsigned>(t.wDay));
    return fallback;
}

std::wstring OperationLogLine(const std::wstring& date, const SYSTEMTIME& t, const std::wstring& message) {
    return L"[" + date + L" " + FormatLogTime(t) + L"] " + message + L"\r\n";
}

std::wstring OperationLogLine(const SYSTEMTIME& t, const std::wstring& message) {
    return OperationLogLine(FormatShortDate(t), t, message);
}

}  // namespace salva
