// File, folder and disk services for the program's windows. Each window that needs them keeps
// its own instance; the object holds no state, every operation works on its arguments only.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <variant>

// windows.h maps these names to their ...A/...W functions; the class keeps them as its own names.
#undef GetDriveType
#undef GetTempPath
#undef GetTempFileName
#undef GetShortPathName

#include <vector>

namespace salva {

// Every root of the system's logical-drive list ("C:\\"), empty when it cannot be read.
std::vector<std::wstring> LogicalDriveRoots();

// The shell's folder picker (BIF_... `flags`, `callback` may be null): the chosen folder as the
// shell gives it, "" on cancel or for a place that is no file-system folder.
using FolderPickerCallback = int(CALLBACK*)(HWND picker, UINT message, LPARAM value, LPARAM data);
std::wstring ShowFolderPicker(HWND owner, const std::wstring& title, UINT flags, FolderPickerCallback callback);

// Byte length of a file at any size; false for a folder (last error ERROR_ACCESS_DENIED) or a
// path that cannot be queried.
bool FileLength64(const std::wstring& path, uint64_t& length);

// The existing item `path` names is listed in its folder under that very name (long or short
// form, case aside). A path cut after a dot or a blank names, by the path rules, the item
// called like the part before it; a pattern would match other names.
bool ListedUnderItsName(const std::wstring& path);

// Raw value of one disk information item: nothing, a byte count, a text or a 32-bit count.
using DiskValue = std::variant<std::monostate, uint64_t, std::wstring, uint32_t>;

class FileSystem {
public:
    // Shell property sheet of a file or folder.
    void ShowFile_FolderProperty(const std::wstring& path, HWND owner) const;
    // Shell property sheet of the drive named by the first letter, or a warning when it is not ready.
    void ShowDriveProperty(const std::wstring& drive, HWND owner) const;
    // Asks for a folder and copies / moves the file there through the shell; True only when the
    // shell finished the operation without it being aborted.
    bool FileCopyTo(HWND owner, const std::wstring& source) const;
    bool FileMoveTo(HWND owner, const std::wstring& source) const;
    void FileDelToRecycle(const std::wstring& path) const;
    void FileDeleted(const std::wstring& path) const;
    // Refused (False) when the new name belongs to another existing file or folder.
    bool ReName(const std::wstring& oldPath, const std::wstring& newPath) const;
    // The system's open-with chooser for an existing file.
    void FileOpenStyle(const std::wstring& path) const;
    // Opens an existing file with its associated program, or the open-with chooser without one.
    void OpenFile(const std::wstring& path, HWND owner) const;
    // Opens the folder that holds a file, or the folder itself.
    void OpenFolder(const std::wstring& path, HWND owner) const;
    // Folder pickers (new dialog style / classic); the path ends in "\", "" on cancel.
    std::wstring GetBrowseDirectoryWinNT(HWND owner, const std::wstring& title) const;
    std::wstring GetBrowseDirectoryWin9X(HWND owner, const std::wstring& title) const;
    // which: 0 created, 1 modified, 2 accessed; long date, blank, long time; "未知" when not found.
    std::wstring GetFileDateTime(const std::wstring& path, int32_t which) const;
    std::wstring GetFileTypeName(const std::wstring& path) const;
    // Text after the last "\" (the whole argument without one, "" when it ends in one).
    std::wstring GetFileName(const std::wstring& path) const;
    std::wstring GetFolderName(const std::wstring& path) const;
    // Text up to and including the last "\" (the whole argument without one).
    std::wstring GetParentFolderName(const std::wstring& path) const;
    std::wstring GetFilePath(const std::wstring& path) const;
    std::wstring GetShortPathName(const std::wstring& path) const;
    std::wstring GetTempPath() const;
    // Creates an empty, uniquely named file; with no folder, in the temporary folder with the
    // executable's name as prefix.
    std::wstring GetTempFileName(const std::wstring& folder, const std::wstring& prefix) const;
    // Byte length; -1 when the file cannot be measured or is 2 GiB or longer.
    int32_t GetFileSize(const std::wstring& path) const;
    int32_t GetFileSizeA(const std::wstring& path) const;
    // The system attribute value, -1 for a missing path.
    int32_t GetFileAttributesNumber(const std::wstring& path) const;
    std::wstring GetFileAttributesStr(const std::wstring& path) const;
    // The path, trimmed of blanks and of one trailing "\", names an entry (a folder counts too).
    bool FileExists(const std::wstring& path) const;
    bool FolderExists(const std::wstring& path) const;

    // Disk and drive information. A root path is passed to the system as it is ("C:\"); of a
    // drive argument only the first character, the letter, counts.
    std::wstring GetDiskInformation(const std::wstring& root, int32_t item) const;
    DiskValue GetDiskInformationA(const std::wstring& root, int32_t item) const;
    std::wstring GetDiskInformationStr(const std::wstring& root) const;
    // which: 0 total bytes, 1 free bytes for the caller, 2 used bytes; -1 when unavailable.
    double GetDiskSpaceSize(const std::wstring& drive, int32_t which) const;
    int32_t GetDriveType(const std::wstring& drive) const;
    std::wstring GetDriveTypeStr(const std::wstring& drive) const;
    bool DriveExists(const std::wstring& drive) const;
    bool DriveIsReady(const std::wstring& drive) const;
    // Roots of every fixed disk, upper-cased, run together ("C:\D:\").
    std::wstring GetFixedDiskList() const;
    bool SetDiskVolumeLabel(const std::wstring& root, const std::wstring& label) const;

private:
    HINSTANCE ShowPropertiesSheet(const std::wstring& path, HWND owner) const;
};

// The module's text rules, apart from the system calls.
namespace filesystem_text {

struct DiskFacts {
    uint64_t totalBytes = 0;
    uint64_t freeBytesToCaller = 0;
    uint64_t totalFreeBytes = 0;
    std::wstring volumeLabel;
    uint32_t serialNumber = 0;
    std::wstring fileSystem;
    uint32_t totalClusters = 0;
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t freeClusters = 0;
};

// Label and value text of item 0 to 10; "" for any other item.
std::wstring DiskItemText(const DiskFacts& facts, int32_t item);
DiskValue DiskItemValue(const DiskFacts& facts, int32_t item);
// All eleven items, CR LF between them.
std::wstring DiskInformationText(const DiskFacts& facts);
// 1234567 -> "1,234,567".
std::wstring GroupedNumber(uint64_t value);
// Text of a drive-type code (0 to 6) for the drive `letter`; "" for any other code.
std::wstring DriveTypeText(int32_t code, wchar_t letter);
// Text of an attribute value; "" for -1.
std::wstring AttributesText(int32_t attributes);
// Type name when the shell knows none: the upper-cased extension of the name and " 文件".
std::wstring TypeNameFallback(const std::wstring& path);
// A full path ("X:\..." or "\\server\share...") below a drive root, without wildcards, for the
// shell's copy, move, delete and rename.
bool IsOperablePath(const std::wstring& path);

}  // namespace filesystem_text
}  // namespace salva
