#include "windows/SplashText.h"
#include "services/FileSystem.h"
#include <cwchar>
#include <cwctype>

namespace salva::splash_text {

using filesystem_text::GroupedNumber;

std::wstring MemoryLine(int kind, uint64_t totalPhysical, uint64_t availablePhysical) {
    switch (kind) {
    case 0:
        return L"TotalPhysMem:" + GroupedNumber(totalPhysical / 1024) + L"K(" +
               GroupedNumber(totalPhysical / 1024 / 1024 + 1) + L"M)";
    case 1: return L"TotalAvailMem:" + GroupedNumber(availablePhysical / 1024) + L"K";
    default: return L"";
    }
}

uint32_t HexToDec(const std::wstring& text) {
    uint32_t value = 0;
    for (wchar_t c : text) {
        const wchar_t u = static_cast<wchar_t>(std::towupper(c));
        uint32_t digit = 0;
        if (u >= L'0' && u <= L'9') digit = static_cast<uint32_t>(u - L'0');
        else if (u >= L'A' && u <= L'F') digit = static_cast<uint32_t>(u - L'A' + 10);
        value = value * 16 + digit;
    }
    return value;
}

std::wstring HexText(uint32_t value) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%X", static_cast<unsigned>(value));
    return text;
}

std::wstring FamilyCode(const std::wstring& version, bool fromNtKey) {
    if (fromNtKey) return L"NT";
    std::wstring v = version;
    // A plain number gets two decimals (5.1 -> 5.10); any other text stays as it is.
    wchar_t* end = nullptr;
    const double number = std::wcstod(v.c_str(), &end);
    if (!v.empty() && end && *end == L'\0') {
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"%.2f", number);
        v = text;
    }
    const std::wstring code = v.empty() ? L"" : v.substr(0, 1) + (v.size() >= 2 ? v.substr(v.size() - 2) : v);
    if (code == L"510" || code == L"500") return L"NT";
    if (code == L"490" || code == L"422" || code == L"410") return L"9x";
    if (code == L"400") return L"9x/NT";
    return code;
}

std::wstring SystemLines(const SystemRecord& s) {
    const std::wstring crlf = L"\r\n";
    return s.productName + crlf + s.version + L"." + s.buildNumber + L"  " + s.servicePack + crlf +
           L"RegisteredOwner:" + s.owner + crlf + L"RegisteredOrganization:" + s.organisation + crlf + L"ProductID:" +
           s.productId + crlf;
}

std::wstring ProcessorLines(const ProcessorRecord& p) {
    return p.name + L"\r\n" + p.vendor + L"  " + p.speed + L"\r\n" + p.identifier;
}

std::wstring SpeedText(const std::wstring& hexMegahertz) {
    if (hexMegahertz.empty()) return L"";
    return std::to_wstring(HexToDec(hexMegahertz)) + L"MHz";
}

}  // namespace salva::splash_text
