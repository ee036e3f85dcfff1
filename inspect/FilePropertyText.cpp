#include "inspect/FilePropertyText.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include <windows.h>
#include <cmath>
#include <cwchar>

namespace salva::file_property {

using filesystem_text::GroupedNumber;

const wchar_t kInvalidValue[] = L"无效";
const wchar_t kUnknownValue[] = L"未知";

namespace {
constexpr uint64_t kKiloThreshold = 1024000;
constexpr double kMegaThreshold = 1024000.0;
constexpr double kGigaThreshold = 1024000000.0;

// Attributes SetFileAttributes takes; the others (directory, compressed, encrypted ...) are
// the file system's own and cannot be set that way.
constexpr uint32_t kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

uint64_t WholeBytes(double bytes) { return bytes > 0 ? static_cast<uint64_t>(bytes) : 0; }

std::wstring LocaleInfo(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[16] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 0) return fallback;
    return buffer;
}

UINT LocaleNumber(LCTYPE type, UINT fallback) {
    const std::wstring text = LocaleInfo(type, L"");
    return text.empty() ? fallback : static_cast<UINT>(std::wcstoul(text.c_str(), nullptr, 10));
}

// The system wants the number as plain digits with "." and an optional leading "-".
std::wstring PlainNumber(double value, int decimals) {
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%.*f", decimals, value);
    return text;
}
}  // namespace

std::wstring FileLengthText(uint64_t length) {
    if (length <= kKiloThreshold) return GroupedNumber(length) + L"字节";
    // The quotient is formatted, not cut: the nearest whole KB, halves up.
    return GroupedNumber((length + 512) / 1024) + L"KB [" + GroupedNumber(length) + L"字节]";
}

AttributeBoxes BoxesFromAttributes(int32_t attributes) {
    AttributeBoxes boxes;
    if (attributes == -1) return boxes;
    const auto a = static_cast<uint32_t>(attributes);
    boxes.readOnly = (a & kReadOnlyBit) != 0;
    boxes.hidden = (a & kHiddenBit) != 0;
    boxes.system = (a & kSystemBit) != 0;
    boxes.archive = (a & kArchiveBit) != 0;
    return boxes;
}

uint32_t AppliedAttributes(uint32_t current, bool readOnly, bool hidden, bool archive) {
    uint32_t value = current & kSettable & ~(kReadOnlyBit | kHiddenBit | kArchiveBit);
    if (readOnly) value |= kReadOnlyBit;
    if (hidden) value |= kHiddenBit;
    if (archive) value |= kArchiveBit;
    return value;
}

std::wstring AttributesNotSetText(const std::wstring& path, uint32_t error, const std::wstring& reason) {
    return L"无法更改文件“" + path + L"”的属性。\r\n原因：" + reason + L"（错误代码 " + std::to_wstring(error) + L"）";
}

std::wstring RegionalNumber(double value, int decimals) {
    const std::wstring decimalSep = LocaleInfo(LOCALE_SDECIMAL, L".");
    const std::wstring thousandSep = LocaleInfo(LOCALE_STHOUSAND, L",");
    NUMBERFMTW format{};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
    // "3;0" in the locale means groups of three; the format wants 3.
    format.Grouping = LocaleNumber(LOCALE_SGROUPING, 3);
    format.lpDecimalSep = const_cast<wchar_t*>(decimalSep.c_str());
    format.lpThousandSep = const_cast<wchar_t*>(thousandSep.c_str());
    format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER, 1);
    const std::wstring plain = PlainNumber(value, decimals);
    wchar_t out[96] = {};
    if (::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, plain.c_str(), &format, out, 96) <= 0) return plain;
    return out;
}

std::wstring ByteCountText(double bytes) { return GroupedNumber(WholeBytes(bytes)) + L" 字节"; }

std::wstring ScaledSizeText(double bytes) {
    if (bytes >= kGigaThreshold) return RegionalNumber(bytes / 1024 / 1024 / 1024, 2) + L" GB";
    if (bytes >= kMegaThreshold) return RegionalNumber(bytes / 1024 / 1024, 2) + L" MB";
    if (bytes >= 1024) return RegionalNumber(bytes / 1024, 2) + L" KB";
    return ByteCountText(bytes);
}

std::wstring PercentText(double part, double total) {
    if (!(total > 0) || part < 0) return kInvalidValue;
    return RegionalNumber(part / total * 100.0, static_cast<int>(LocaleNumber(LOCALE_IDIGITS, 2))) + L"%";
}

bool SpaceValuesUsable(double used, double total) { return total > 0 && used >= 0 && used <= total; }

std::wstring DriveSummaryLine(wchar_t letter, const std::wstring& serial, double available, double used,
                              double total) {
    const bool usable = SpaceValuesUsable(used, total) && available >= 0 && available <= total;
    const std::wstring letterText = UpperCase(std::wstring(1, letter));
    return L"Drive:" + letterText + L"  SN:" + serial + L"  p(A/T):" +
           (usable ? PercentText(available, total) : kInvalidValue) + L"  p(U/T):" +
           (usable ? PercentText(used, total) : kInvalidValue);
}

std::wstring DriveTabCaption(const std::wstring& driveTypeText, const std::wstring& root) {
    return driveTypeText + L"(" + UpperCase(root.substr(0, 2)) + L")属性";
}

std::wstring DriveRootOf(const std::wstring& path) {
    const std::wstring first = UpperCase(path.substr(0, 1));
    if (first.empty() || first[0] < L'A' || first[0] > L'Z') return L"C:\\";
    return path.substr(0, 1) + L":\\";
}

}  // namespace salva::file_property
