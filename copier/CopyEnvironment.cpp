#include "copier/CopyEnvironment.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include "services/mGetOSverioninfo.h"
#include <cwctype>

namespace salva {

std::wstring DriveRootOf(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    const std::wstring p = (n && n < MAX_PATH * 2) ? std::wstring(full) : path;
    if (p.size() >= 2 && p[1] == L':') return p.substr(0, 2) + L"\\";
    if (p.size() > 2 && p[0] == L'\\' && p[1] == L'\\') {
        const size_t server = p.find(L'\\', 2);
        if (server == std::wstring::npos) return {};
        const size_t share = p.find(L'\\', server + 1);
        return (share == std::wstring::npos ? p : p.substr(0, share)) + L"\\";
    }
    return {};
}

unsigned Win32CopyEnvironment::DriveType(const std::wstring& path) {
    const std::wstring root = DriveRootOf(path);
    return root.empty() ? DRIVE_NO_ROOT_DIR : ::GetDriveTypeW(root.c_str());
}

bool Win32CopyEnvironment::DriveIsReady(const std::wstring& path) {
    const std::wstring root = DriveRootOf(path);
    if (root.empty()) return false;
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    // Some file systems refuse the volume query yet serve files; their root still answers.
    const bool ok = ::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) ||
                    ::GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
    ::SetErrorMode(oldMode);
    return ok;
}

int64_t Win32CopyEnvironment::FreeBytes(const std::wstring& path) {
    const std::wstring root = DriveRootOf(path);
    if (root.empty()) return -1;
    ULARGE_INTEGER avail{}, total{}, free{};
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const BOOL ok = ::GetDiskFreeSpaceExW(root.c_str(), &avail, &total, &free);
    ::SetErrorMode(oldMode);
    return ok ? static_cast<int64_t>(avail.QuadPart) : -1;
}

int Win32CopyEnvironment::OSPlatformCode() { return mGetOSverioninfo::GetOSPlatform(); }

bool Win32CopyEnvironment::FileExists(const std::wstring& path) {
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t Win32CopyEnvironment::FileLength(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

uint64_t Win32CopyEnvironment::LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool Win32CopyEnvironment::RemoveFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileW(path.c_str())) return true;
    // A file that stays (in use, protected) keeps its read-only and other attributes.
    if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), attributes);
    return false;
}

namespace {

// The answer of a call that fills a buffer and, when it is too small, returns the size needed.
template <typename Call>
std::wstring Grown(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (int tries = 0; tries < 3; ++tries) {
        const DWORD n = call(&text[0], static_cast<DWORD>(text.size()));
        if (n == 0) return {};
        if (n < text.size()) {
            text.resize(n);
            return text;
        }
        text.assign(n + 1, L'\0');
    }
    return {};
}

// The full path, with short names spelled long where the file or folder exists; empty when
// the path is no valid name. Paths longer than MAX_PATH are taken whole.
std::wstring NormalisedPath(const std::wstring& path) {
    const std::wstring full =
        Grown([&](wchar_t* b, DWORD n) { return ::GetFullPathNameW(path.c_str(), n, b, nullptr); });
    if (full.empty()) return {};
    const std::wstring long_ = Grown([&](wchar_t* b, DWORD n) { return ::GetLongPathNameW(full.c_str(), b, n); });
    return long_.empty() ? full : long_;
}

// The file's volume serial and index, false when it cannot be opened or its volume has no
// serial (Wine's FUSE and tmpfs mounts: files on two such volumes can share an index).
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    unique_hfile f(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return f && ::GetFileInformationByHandle(f.get(), info) && info->dwVolumeSerialNumber != 0;
}

}  // namespace

bool Win32CopyEnvironment::SameFile(const std::wstring& a, const std::wstring& b) {
    const std::wstring fa = NormalisedPath(a), fb = NormalisedPath(b);
    if (!fa.empty() && ::CompareStringOrdinal(fa.c_str(), -1, fb.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
    // Different spellings of one file (short names, links): compare the file identities.
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (!FileIdentity(a, &ia) || !FileIdentity(b, &ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

std::wstring Win32CopyEnvironment::FileKey(const std::wstring& path) {
    BY_HANDLE_FILE_INFORMATION i{};
    if (FileIdentity(path, &i))
        return L"#" + std::to_wstring(i.dwVolumeSerialNumber) + L":" + std::to_wstring(i.nFileIndexHigh) + L":" +
               std::to_wstring(i.nFileIndexLow);
    std::wstring full = NormalisedPath(path);
    if (!full.empty()) ::CharUpperBuffW(&full[0], static_cast<DWORD>(full.size()));
    return full;
}

bool Win32CopyEnvironment::NameKept(const std::wstring& path) { return ListedUnderItsName(path); }

int64_t Win32CopyEnvironment::NowMs() { return static_cast<int64_t>(::GetTickCount64()); }

}  // namespace salva
