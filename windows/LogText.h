// Text of the operation log: the time stamp and the line every log writer appends.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

// "hh:mm:ss AM/PM": 12-hour clock with leading zeros; midnight is 12 AM, noon 12 PM.
std::wstring FormatLogTime(const SYSTEMTIME& t);

// The date in the user's short date format.
std::wstring FormatShortDate(const SYSTEMTIME& t);

// "[" date " " time "] " message CRLF. The message is taken as it is, so continuation
// lines keep their indentation.
std::wstring OperationLogLine(const std::wstring& date, const SYSTEMTIME& t, const std::wstring& message);
std::wstring OperationLogLine(const SYSTEMTIME& t, const std::wstring& message);

}  // namespace salva
