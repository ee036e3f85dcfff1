#include "mSystemInfo.h"
#include "Holders.h"
#include "TrimAtNul.h"
#include <cstring>
#include <cwchar>

namespace salva::mSystemInfo {
namespace detail {

std::optional<std::wstring> ValueText(DWORD type, const std::vector<uint8_t>& data) {
    if (type == REG_SZ) {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        if (!text.empty()) std::memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
        return TrimAtNul(text);
    }
    if (type == REG_DWORD) {
        uint32_t value = 0;
        for (size_t i = 0; i < data.size() && i < 4; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
        wchar_t text[16];
        std::swprintf(text, 16, L"&h%08X", value);
        return std::wstring(text);
    }
    return std::nullopt;
}

bool GetKeyValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName, std::wstring& value) {
    unique_hkey key;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    // The value may grow between the two calls; ask again until it fits.
    std::vector<uint8_t> data;
    DWORD type = 0;
    LSTATUS status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        DWORD size = 0;
        status = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) break;
        data.assign(size, 0);
        status = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) data.resize(size);
    }
    if (status != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    if (auto text = ValueText(type, data)) value = *text;
    return true;
}

std::wstring FindSysInfoTool(HKEY machine) {
    std::wstring path;
    if (GetKeyValue(machine, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", path) && !path.empty())
        return path;
    std::wstring folder;
    if (GetKeyValue(machine, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", folder) && !folder.empty()) {
        const std::wstring candidate = folder + L"\\MSINFO32.EXE";
        const DWORD attributes = ::GetFileAttributesW(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
    }
    return L"";
}

bool StartProgram(const std::wstring& path) {
    if (path.empty()) return false;
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    unique_handle processHandle(process.hProcess);
    unique_handle threadHandle(process.hThread);
    return true;
}

}  // namespace detail

void StartSysInfo() { detail::StartProgram(detail::FindSysInfoTool(HKEY_LOCAL_MACHINE)); }

}  // namespace salva::mSystemInfo
