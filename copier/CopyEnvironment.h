// Facts about drives, files, the platform and the clock that the copy engine asks for.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

class CopyEnvironment {
public:
    virtual ~CopyEnvironment() = default;
    // GetDriveType code (0 to 6) of the drive holding `path`.
    virtual unsigned DriveType(const std::wstring& path) = 0;
    // The drive holding `path` answers a volume query (a disc is in the drive).
    virtual bool DriveIsReady(const std::wstring& path) = 0;
    // Bytes free for the user on the drive of `path`, -1 when the drive is missing.
    virtual int64_t FreeBytes(const std::wstring& path) = 0;
    // 0 Win32s, 1 the 9x family, 2 the NT family, 3 other or unknown.
    virtual int OSPlatformCode() = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    // Length in bytes, -1 when the file cannot be queried.
    virtual int64_t FileLength(const std::wstring& path) = 0;
    // Last-write time in the system's 100 ns units, 0 when the file cannot be queried.
    virtual uint64_t LastWriteTime(const std::wstring& path) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // The two paths name one existing file.
    virtual bool SameFile(const std::wstring& a, const std::wstring& b) = 0;
    // One text for every name of one file, by the rule of SameFile: the file's identity where
    // its volume tells one, else its full long path in upper case; empty for no valid name.
    virtual std::wstring FileKey(const std::wstring& path) = 0;
    // The existing file `path` is listed in its folder under the very name it was given (its
    // long or short form, in any letter case). Not so for a name the file system cut short
    // (Wine on a Unix file system keeps 255 bytes of UTF-8), nor for one the path rules
    // changed (trailing dots, device names): another file, or none, answers for it.
    virtual bool NameKept(const std::wstring& path) = 0;
    // A monotonic clock in milliseconds.
    virtual int64_t NowMs() = 0;
};

class Win32CopyEnvironment : public CopyEnvironment {
public:
    unsigned DriveType(const std::wstring& path) override;
    bool DriveIsReady(const std::wstring& path) override;
    int64_t FreeBytes(const std::wstring& path) override;
    int OSPlatformCode() override;
    bool FileExists(const std::wstring& path) override;
    int64_t FileLength(const std::wstring& path) override;
    uint64_t LastWriteTime(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    bool SameFile(const std::wstring& a, const std::wstring& b) override;
    std::wstring FileKey(const std::wstring& path) override;
    bool NameKept(const std::wstring& path) override;
    int64_t NowMs() override;
};

// The root of the drive or share holding `path` ("C:\", "\\server\share\"), empty when none.
std::wstring DriveRootOf(const std::wstring& path);

}  // namespace salva
