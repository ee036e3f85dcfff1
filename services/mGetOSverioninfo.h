// Which Windows the program runs on: the version's name and the platform family, which picks
// between the 9x and NT code paths.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

// Platform family of the running system.
enum OSPlatformCode : int32_t {
    OSPlatformWin32s = 0,
    OSPlatformWin9x = 1,
    OSPlatformNT = 2,
    OSPlatformOther = 3,  // any other identifier, or the version query failed
};

namespace mGetOSverioninfo {

std::wstring GetOSVersionName();
OSPlatformCode GetOSPlatform();

// The name for a platform identifier and version as the version query reports them.
std::wstring VersionName(uint32_t platformId, uint32_t major, uint32_t minor);
OSPlatformCode PlatformFromId(uint32_t platformId);

}  // namespace mGetOSverioninfo
}  // namespace salva
