// Bytes per block for a copy, by the form of the paths, the source's drive type, its file
// extension and the platform family.
#pragma once
#include <string>

namespace salva {

// driveType is a GetDriveType code (0 to 6); platformCode is 0 Win32s, 1 the 9x family,
// 2 the NT family, 3 other.
int BlockUnit(const std::wstring& source, const std::wstring& destination, unsigned driveType, int platformCode);

bool IsNetworkPath(const std::wstring& path);

}  // namespace salva
