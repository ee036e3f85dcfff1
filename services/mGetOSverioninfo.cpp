#include "mGetOSverioninfo.h"
#include <windows.h>

namespace salva::mGetOSverioninfo {
namespace {

bool QueryVersion(OSVERSIONINFOW& info) {
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof(info);
    return ::GetVersionExW(&info) != FALSE;
}

}  // namespace

std::wstring VersionName(uint32_t platformId, uint32_t major, uint32_t minor) {
    const std::wstring key =
        std::to_wstring(platformId) + L"." + std::to_wstring(major) + L"." + std::to_wstring(minor);
    struct Known { const wchar_t* key; const wchar_t* name; };
    static const Known known[] = {
        {L"1.4.0", L"Microsoft Windows 95"},   {L"1.4.10", L"Microsoft Windows 98"},
        {L"1.4.90", L"Microsoft Windows Me"},  {L"2.3.51", L"WindowsNT 3.51"},
        {L"2.4.0", L"WindowsNT 4.0"},          {L"2.5.0", L"Microsoft Windows 2000"},
        {L"2.5.1", L"Microsoft Windows XP"},
    };
    for (const Known& k : known)
        if (key == k.key) return k.name;
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return L"Windows3X " + key;
    case VER_PLATFORM_WIN32_NT: return L"WindowsNT " + key;
    default: return L"Windows9X " + key;
    }
}

OSPlatformCode PlatformFromId(uint32_t platformId) {
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return OSPlatformWin32s;
    case VER_PLATFORM_WIN32_WINDOWS: return OSPlatformWin9x;
    case VER_PLATFORM_WIN32_NT: return OSPlatformNT;
    default: return OSPlatformOther;
    }
}

std::wstring GetOSVersionName() {
    OSVERSIONINFOW info;
    if (!QueryVersion(info)) return L"Get Operating System Verion Error!";
    return VersionName(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

OSPlatformCode GetOSPlatform() {
    OSVERSIONINFOW info;
    if (!QueryVersion(info)) return OSPlatformOther;
    return PlatformFromId(info.dwPlatformId);
}

}  // namespace salva::mGetOSverioninfo
