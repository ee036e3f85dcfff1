// What the tests need of the Wine host they run on: Unix paths, Unix commands, and drive
// letters mapped in the test's own prefix through Wine's mount manager.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace wine_host {

// The Unix path of a Windows path, "" when not running under Wine.
std::string UnixPath(const std::wstring& path);
// Starts a Unix program (absolute path) with arguments; False when it could not be started.
bool RunUnix(const std::wstring& program, const std::wstring& arguments);
// A Unix symbolic link at `link` (a Windows path) pointing to the Unix path `target`.
bool MakeSymlink(const std::string& target, const std::wstring& link);
// Sets an environment variable as the system's C runtimes (which Wine's own libraries read
// with getenv) and the process see it.
void SetRuntimeVariable(const std::wstring& name, const std::wstring& value);
// Removes such a link (the folder it points to stays).
bool RemoveSymlink(const std::wstring& link);
// Removes the links a test made (RemoveSymlink) when it goes, before their folder goes.
struct LinkCleanup {
    std::vector<std::wstring> links;
    ~LinkCleanup() {
        for (const auto& link : links) RemoveSymlink(link);
    }
};
// A letter A-Z that is no drive now, searched from `first` upwards; 0 when there is none.
wchar_t FreeDriveLetter(wchar_t first);

// A drive letter of the given type (DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_CDROM ...) mapped to a
// Unix folder, which need not exist; removed again when the object goes.
class MappedDrive {
public:
    MappedDrive(wchar_t letter, UINT type, const std::string& unixFolder);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    bool ok() const { return ok_; }
    std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }
    // Defines the drive again; Wine's mount manager reads a drive's label file only then.
    bool Remount();

private:
    bool Define(UINT type, const std::string& unixFolder);
    wchar_t letter_;
    UINT type_;
    std::string folder_;
    bool ok_ = false;
};

}  // namespace wine_host
