#include "copier/BlockUnit.h"
#include "services/Text.h"

namespace salva {

bool IsNetworkPath(const std::wstring& path) { return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\'; }

int BlockUnit(const std::wstring& source, const std::wstring& destination, unsigned driveType, int platformCode) {
    if (IsNetworkPath(source) || IsNetworkPath(destination)) return 4096;
    switch (driveType) {
    case 5:
        return UpperTail(source, 3) == L"VOB" ? 5120 : 4096;
    case 3:
        // Win32s has no rule of its own; it gets the unit of the NT family.
        return platformCode == 1 ? 61440 : 6144;
    case 2:
        return UpperTail(source.substr(0, 3), 3) == L"A:\\" ? 128 : 1024;
    default:
        return 4096;
    }
}

}  // namespace salva
