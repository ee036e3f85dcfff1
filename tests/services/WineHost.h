// What the tests need of the Wine host they run on: Unix paths, the link loop the test command
// made, and drive letters mapped in the test's own prefix through Wine's mount manager.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace wine_host {

// The Unix path of a Windows path, "" when not running under Wine.
std::string UnixPath(const std::wstring& path);
// The folder the test command made with a Unix link back to itself, sub\loop
// (SALVA_LINK_LOOP); "" when the test runs without one. Wine makes no link
// itself: CreateSymbolicLinkW succeeds without making one, and reparse points are not supported.
std::wstring LinkLoopFolder();
// Sets an environment variable as the system's C runtimes (which Wine's own libraries read
// with getenv) and the process see it.
void SetRuntimeVariable(const std::wstring& name, const std::wstring& value);
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
