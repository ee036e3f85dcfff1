#include "WineHost.h"
#include "services/Holders.h"
#include <winioctl.h>
#include <cstring>
#include <vector>

namespace wine_host {
namespace {

// Request of Wine's mount manager that maps (or, with type DRIVE_NO_ROOT_DIR and no folder,
// removes) a drive letter; the Unix folder follows the record.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fileSystemType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
const DWORD kDefineUnixDrive = CTL_CODE(0x6D /* 'm' */, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool DefineUnixDrive(wchar_t letter, UINT type, const std::string& folder) {
    salva::unique_hfile manager(::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!manager) return false;
    std::vector<char> request(sizeof(UnixDriveRequest) + (folder.empty() ? 0 : folder.size() + 1), '\0');
    auto* r = reinterpret_cast<UnixDriveRequest*>(request.data());
    r->size = static_cast<ULONG>(request.size());
    r->type = type;
    r->letter = static_cast<WCHAR>(letter | 0x20);
    if (!folder.empty()) {
        r->mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(request.data() + sizeof(UnixDriveRequest), folder.c_str(), folder.size() + 1);
    }
    DWORD returned = 0;
    return ::DeviceIoControl(manager.get(), kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                             nullptr, 0, &returned, nullptr) != FALSE;
}

}  // namespace

std::string UnixPath(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return "";
    char* unix = convert(path.c_str());
    if (!unix) return "";
    std::string out = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return out;
}

std::wstring LinkLoopFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"SALVA_LINK_LOOP", folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? folder : L"";
}

void SetRuntimeVariable(const std::wstring& name, const std::wstring& value) {
    ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    const std::wstring setting = name + L"=" + value;
    using PutEnv = int(CDECL*)(const wchar_t*);
    for (const wchar_t* runtime : {L"ucrtbase.dll", L"msvcrt.dll"}) {
        HMODULE module = ::LoadLibraryW(runtime);  // stays loaded: the setting lives in it
        if (!module) continue;
        if (auto put = reinterpret_cast<PutEnv>(reinterpret_cast<void*>(::GetProcAddress(module, "_wputenv"))))
            put(setting.c_str());
    }
}

wchar_t FreeDriveLetter(wchar_t first) {
    const DWORD used = ::GetLogicalDrives();
    for (wchar_t c = first; c <= L'Z'; ++c)
        if (!(used & (1u << (c - L'A')))) return c;
    return 0;
}

MappedDrive::MappedDrive(wchar_t letter, UINT type, const std::string& unixFolder)
    : letter_(letter), type_(type), folder_(unixFolder) {
    ok_ = letter != 0 && !(::GetLogicalDrives() & (1u << (letter - L'A'))) && Define(type, unixFolder);
}

MappedDrive::~MappedDrive() {
    if (ok_) Define(DRIVE_NO_ROOT_DIR, "");
}

bool MappedDrive::Remount() { return ok_ && Define(DRIVE_NO_ROOT_DIR, "") && Define(type_, folder_); }

bool MappedDrive::Define(UINT type, const std::string& unixFolder) { return DefineUnixDrive(letter_, type, unixFolder); }

}  // namespace wine_host
