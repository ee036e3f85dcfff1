// Starts the system information tool, found through the registry.
#pragma once
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace salva::mSystemInfo {

// Starts the tool in a normal window with focus; does nothing when it cannot be found or started.
void StartSysInfo();

namespace detail {
// The text of a registry value's data: REG_SZ as is (up to its first NUL), REG_DWORD as "&h" and
// eight upper-case hexadecimal digits; nothing for any other type.
std::optional<std::wstring> ValueText(DWORD type, const std::vector<uint8_t>& data);
// Reads one value under root\subkey with read access. False leaves `value` empty; a value of
// another type returns True and leaves `value` as it was.
bool GetKeyValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName, std::wstring& value);
// The tool's path from the two places the system records it, below `machine` (the local
// machine's root key in the program); "" when neither names one.
std::wstring FindSysInfoTool(HKEY machine);
// Starts `path` as its own application name, quoted as its command line.
bool StartProgram(const std::wstring& path);
}  // namespace detail

}  // namespace salva::mSystemInfo
