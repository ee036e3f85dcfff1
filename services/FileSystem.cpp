#include "FileSystem.h"
#include "Holders.h"
#include "TrimAtNul.h"
#include "mDoEvents.h"
#include "ProgramFolder.h"
#include "Text.h"
#include "WaitCursor.h"
#include <shellapi.h>
#include <shlobj.h>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace salva {
namespace {

bool HasWildcard(const std::wstring& path) { return path.find_first_of(L"*?") != std::wstring::npos; }

// The path as FileExists and FolderExists search for it.
std::wstring SearchablePath(const std::wstring& path) {
    std::wstring p = Trim(path);
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    return p;
}

// The drive letter of a drive argument, upper-cased; 0 when the argument does not start with one.
wchar_t DriveLetter(const std::wstring& drive) {
    if (drive.empty()) return 0;
    const wchar_t c = static_cast<wchar_t>(std::towupper(drive[0]));
    return (c >= L'A' && c <= L'Z') ? c : 0;
}

std::wstring RootOf(wchar_t letter) { return std::wstring(1, letter) + L":\\"; }

}  // namespace

std::wstring ShowFolderPicker(HWND owner, const std::wstring& title, UINT flags, FolderPickerCallback callback) {
    co_init_scope com;  // the new dialog style needs COM on this thread
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    info.lpfn = callback;
    unique_cotaskmem item(::SHBrowseForFolderW(&info));
    if (!item) return L"";
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(item.get()), buffer)) return L"";
    return TrimAtNul(buffer, MAX_PATH);
}

std::vector<std::wstring> LogicalDriveRoots() {
    std::vector<std::wstring> roots;
    const DWORD needed = ::GetLogicalDriveStringsW(0, nullptr);
    if (needed == 0) return roots;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD got = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (got == 0 || got > buffer.size()) return roots;
    for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) roots.emplace_back(p);
    return roots;
}

namespace {

// No "insert a disk" box from the system while a drive is probed.
class quiet_errors_scope {
public:
    quiet_errors_scope() : old_(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~quiet_errors_scope() { ::SetErrorMode(old_); }
    quiet_errors_scope(const quiet_errors_scope&) = delete;
    quiet_errors_scope& operator=(const quiet_errors_scope&) = delete;

private:
    UINT old_;
};

bool QueryDiskFacts(const std::wstring& root, filesystem_text::DiskFacts& facts) {
    quiet_errors_scope quiet;
    ULARGE_INTEGER toCaller{}, total{}, totalFree{};
    if (!::GetDiskFreeSpaceExW(root.c_str(), &toCaller, &total, &totalFree)) return false;
    facts.freeBytesToCaller = toCaller.QuadPart;
    facts.totalBytes = total.QuadPart;
    facts.totalFreeBytes = totalFree.QuadPart;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
        facts.sectorsPerCluster = sectorsPerCluster;
        facts.bytesPerSector = bytesPerSector;
        facts.freeClusters = freeClusters;
        facts.totalClusters = totalClusters;
    }
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, &maxComponent, &flags, fileSystem,
                                MAX_PATH + 1)) {
        facts.volumeLabel = TrimAtNul(label, MAX_PATH + 1);
        facts.serialNumber = serial;
        facts.fileSystem = TrimAtNul(fileSystem, MAX_PATH + 1);
    }
    return true;
}

// One shell file operation on single-path lists; True when it ran to the end unaborted.
bool ShellFileOperation(UINT function, const std::wstring& from, const std::wstring& to, FILEOP_FLAGS flags) {
    // Each list is one path ended by two NULs.
    std::wstring fromList = from + std::wstring(2, L'\0');
    std::wstring toList = to + std::wstring(2, L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = nullptr;
    op.wFunc = function;
    op.pFrom = fromList.c_str();
    op.pTo = to.empty() ? nullptr : toList.c_str();
    op.fFlags = flags;
    const int result = ::SHFileOperationW(&op);
    return result == 0 && !op.fAnyOperationsAborted;
}

std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = TrimAtNul(path, MAX_PATH);
    name = name.substr(name.rfind(L'\\') + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, UINT flags) {
    std::wstring path = ShowFolderPicker(owner, title, flags, nullptr);
    if (path.empty()) return L"";
    if (path.back() != L'\\') path += L'\\';
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool StartOpenWith(const std::wstring& path) {
    wchar_t system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    const std::wstring application = std::wstring(system) + L"\\rundll32.exe";
    std::wstring commandLine = L"\"" + application + L"\" shell32.dll,OpenAs_RunDLL " + path;
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(application.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    unique_handle processHandle(process.hProcess);
    unique_handle threadHandle(process.hThread);
    return true;
}

}  // namespace

namespace filesystem_text {

std::wstring GroupedNumber(uint64_t value) {
    std::wstring digits = std::to_wstring(value);
    std::wstring out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += L',';
        out += digits[i];
    }
    return out;
}

namespace {
const wchar_t* const kDiskLabels[11] = {
    L"总计空间：", L"可用空间：", L"可用空间：", L"已用空间：", L"卷标：", L"序列号：",
    L"文件系统：", L"总的簇数：", L"每簇的扇区数：", L"每扇区的字节数：", L"剩余的簇数：",
};

std::wstring SerialText(uint32_t serial) {
    if (serial == 0) return L"";
    wchar_t text[16];
    swprintf(text, 16, L"%X", serial);
    return text;
}

uint64_t UsedBytes(const DiskFacts& facts) {
    return facts.totalBytes >= facts.totalFreeBytes ? facts.totalBytes - facts.totalFreeBytes : 0;
}
}  // namespace

DiskValue DiskItemValue(const DiskFacts& facts, int32_t item) {
    switch (item) {
    case 0: return facts.totalBytes;
    case 1: return facts.freeBytesToCaller;
    case 2: return facts.totalFreeBytes;
    case 3: return UsedBytes(facts);
    case 4: return facts.volumeLabel;
    case 5: return SerialText(facts.serialNumber);
    case 6: return facts.fileSystem;
    case 7: return facts.totalClusters;
    case 8: return facts.sectorsPerCluster;
    case 9: return facts.bytesPerSector;
    case 10: return facts.freeClusters;
    default: return std::monostate{};
    }
}

std::wstring DiskItemText(const DiskFacts& facts, int32_t item) {
    const DiskValue value = DiskItemValue(facts, item);
    if (std::holds_alternative<std::monostate>(value)) return L"";
    std::wstring text = kDiskLabels[item];
    if (const auto* bytes = std::get_if<uint64_t>(&value)) text += GroupedNumber(*bytes) + L" 字节";
    else if (const auto* s = std::get_if<std::wstring>(&value)) text += *s;
    else if (const auto* count = std::get_if<uint32_t>(&value)) text += std::to_wstring(*count);
    return text;
}

std::wstring DiskInformationText(const DiskFacts& facts) {
    std::wstring text;
    for (int32_t item = 0; item <= 10; ++item) {
        if (item > 0) text += L"\r\n";
        text += DiskItemText(facts, item);
    }
    return text;
}

std::wstring DriveTypeText(int32_t code, wchar_t letter) {
    switch (code) {
    case DRIVE_UNKNOWN: return L"未知磁盘";
    case DRIVE_NO_ROOT_DIR: return L"无效磁盘";
    case DRIVE_REMOVABLE: return std::towupper(letter) == L'A' ? L"3.5英寸软盘" : L"可移动磁盘";
    case DRIVE_FIXED: return L"本地磁盘";
    case DRIVE_REMOTE: return L"远程磁盘";
    case DRIVE_CDROM: return L"光盘";
    case DRIVE_RAMDISK: return L"Ram磁盘";
    default: return L"";
    }
}

std::wstring AttributesText(int32_t attributes) {
    if (attributes == -1) return L"";
    const uint32_t value = static_cast<uint32_t>(attributes);
    struct Entry { uint32_t value; const wchar_t* text; };
    static const Entry table[] = {
        {0, L"正常(无任何属性)"},
        {1, L"只读"},
        {2, L"隐藏"},
        {3, L"只读,隐藏"},
        {4, L"系统"},
        {5, L"系统,只读"},
        {6, L"隐藏,系统"},
        {7, L"只读,隐藏,系统"},
        {32, L"存档"},
        {33, L"只读,存档"},
        {34, L"隐藏,存档"},
        {35, L"只读,隐藏,存档"},
        {38, L"隐藏,系统,存档"},
        {39, L"只读,隐藏,系统,存档"},
        {64, L"链接或快捷方式"},
        {FILE_ATTRIBUTE_NORMAL, L"正常(无任何属性)"},
        {2054, L"隐藏,系统,压缩"},
        {2055, L"只读,隐藏,系统,压缩"},
        {2083, L"只读,隐藏,存档,压缩"},  // 0x823: read-only, hidden, archive, compressed
        {2086, L"隐藏,系统,存档,压缩"},
        {2087, L"只读,隐藏,系统,存档,压缩"},
    };
    for (const Entry& e : table)
        if (e.value == value) return e.text;
    return L"未知(" + std::to_wstring(attributes) + L")";
}

std::wstring TypeNameFallback(const std::wstring& path) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) return L"文件";
    return UpperCase(name.substr(dot + 1)) + L" 文件";
}

bool IsOperablePath(const std::wstring& path) {
    if (path.empty() || HasWildcard(path) || path.find(L'\0') != std::wstring::npos) return false;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        // \\server\share\item: an item below a share, not the share itself.
        const size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return false;
        const size_t share = path.find(L'\\', server + 1);
        return share != std::wstring::npos && share > server + 1 && share + 1 < path.size();
    }
    const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
    if (path.size() < 4 || letter < L'A' || letter > L'Z' || path[1] != L':' || path[2] != L'\\') return false;
    return path.find_first_not_of(L'\\', 3) != std::wstring::npos;
}

}  // namespace filesystem_text

using namespace filesystem_text;

HINSTANCE FileSystem::ShowPropertiesSheet(const std::wstring& path, HWND owner) const {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpFile = path.c_str();
    info.lpParameters = L"";
    info.lpDirectory = L"";
    info.nShow = 0;
    ::ShellExecuteExW(&info);
    unique_handle process(info.hProcess);
    return info.hInstApp;
}

void FileSystem::ShowFile_FolderProperty(const std::wstring& path, HWND owner) const {
    ShowPropertiesSheet(path, owner);
    mDoEvents::PumpMessages();
}

void FileSystem::ShowDriveProperty(const std::wstring& drive, HWND owner) const {
    if (DriveIsReady(drive)) {
        ShowPropertiesSheet(RootOf(DriveLetter(drive)), owner);
        mDoEvents::PumpMessages();
        return;
    }
    const std::wstring title = L"[" + UpperCase(drive.substr(0, 1)) + L":\\]属性";
    ::MessageBoxW(owner, L"驱动器没有准备好.", title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool FileSystem::FileCopyTo(HWND owner, const std::wstring& source) const {
    if (!IsOperablePath(source)) return false;
    const std::wstring folder = GetBrowseDirectoryWinNT(owner, L"选择文件保存路径");
    if (folder.empty()) return false;
    return ShellFileOperation(FO_COPY, source, folder, 0);
}

bool FileSystem::FileMoveTo(HWND owner, const std::wstring& source) const {
    if (!IsOperablePath(source)) return false;
    const std::wstring folder = GetBrowseDirectoryWinNT(owner, L"选择文件保存路径");
    if (folder.empty()) return false;
    return ShellFileOperation(FO_MOVE, source, folder, 0);
}

void FileSystem::FileDelToRecycle(const std::wstring& path) const {
    if (!IsOperablePath(path)) return;
    // Where the drive has no recycle bin the shell would delete for good: it warns first.
    ShellFileOperation(FO_DELETE, path, L"", FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_WANTNUKEWARNING);
}

void FileSystem::FileDeleted(const std::wstring& path) const {
    if (!IsOperablePath(path)) return;
    ShellFileOperation(FO_DELETE, path, L"", FOF_SILENT | FOF_NOCONFIRMATION);
}

bool FileSystem::ReName(const std::wstring& oldPath, const std::wstring& newPath) const {
    if (!IsOperablePath(oldPath) || !IsOperablePath(newPath)) return false;
    // With no confirmation asked, the shell would replace an existing target; a change of case
    // only is the same entry and stays allowed.
    if (::GetFileAttributesW(newPath.c_str()) != INVALID_FILE_ATTRIBUTES && !SamePath(oldPath, newPath)) return false;
    return ShellFileOperation(FO_RENAME, oldPath, newPath, FOF_NOCONFIRMATION);
}

void FileSystem::FileOpenStyle(const std::wstring& path) const {
    if (FileExists(path)) StartOpenWith(path);
}

void FileSystem::OpenFile(const std::wstring& path, HWND owner) const {
    if (!FileExists(path)) return;
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"Open", path.c_str(), L"", L"", SW_SHOWNORMAL));
    if (result == 0 || result == SE_ERR_NOASSOC) FileOpenStyle(path);
}

void FileSystem::OpenFolder(const std::wstring& path, HWND owner) const {
    if (FileExists(path)) {
        ::ShellExecuteW(owner, L"Open", GetFilePath(path).c_str(), L"", nullptr, SW_SHOWNORMAL);
    } else if (FolderExists(path)) {
        ::ShellExecuteW(owner, L"Open", path.c_str(), L"", nullptr, SW_SHOWNORMAL);
    } else {
        ::ShellExecuteW(owner, L"Open", path.c_str(), L"", ProgramFolder().c_str(), SW_SHOWNORMAL);
    }
}

std::wstring FileSystem::GetBrowseDirectoryWinNT(HWND owner, const std::wstring& title) const {
    return BrowseForFolder(owner, title, BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE);
}

std::wstring FileSystem::GetBrowseDirectoryWin9X(HWND owner, const std::wstring& title) const {
    return BrowseForFolder(owner, title, BIF_RETURNONLYFSDIRS);
}

std::wstring FileSystem::GetFileDateTime(const std::wstring& path, int32_t which) const {
    WIN32_FIND_DATAW entry{};
    {
        unique_hfind search(::FindFirstFileW(path.c_str(), &entry));
        if (!search) return L"未知";
    }
    SYSTEMTIME parts{};
    const FILETIME* chosen = nullptr;
    switch (which) {
    case 0: chosen = &entry.ftCreationTime; break;
    case 1: chosen = &entry.ftLastWriteTime; break;
    case 2: chosen = &entry.ftLastAccessTime; break;
    default: break;
    }
    if (chosen) {
        FILETIME local{};
        if (!::FileTimeToLocalFileTime(chosen, &local) || !::FileTimeToSystemTime(&local, &parts)) return L"未知";
    } else {
        // No time chosen: the zero date of the calendar the callers use, at midnight.
        parts.wYear = 1899;
        parts.wMonth = 12;
        parts.wDay = 30;
    }
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &parts, nullptr, date, 128);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &parts, nullptr, time, 128);
    return TrimAtNul(date, 128) + L" " + TrimAtNul(time, 128);
}

std::wstring FileSystem::GetFileTypeName(const std::wstring& path) const {
    SHFILEINFOW info{};
    // No executable-type flag: combined with others, the call would answer only that type (0
    // for every file that is no program) and leave the type name empty.
    const DWORD_PTR ok = ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info),
                                          SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME |
                                              SHGFI_SHELLICONSIZE);
    if (ok) return TrimAtNul(info.szTypeName, 80);
    return TypeNameFallback(path);
}

std::wstring FileSystem::GetFileName(const std::wstring& path) const {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FileSystem::GetFolderName(const std::wstring& path) const { return GetFileName(path); }

std::wstring FileSystem::GetParentFolderName(const std::wstring& path) const {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

std::wstring FileSystem::GetFilePath(const std::wstring& path) const { return GetParentFolderName(path); }

std::wstring FileSystem::GetShortPathName(const std::wstring& path) const {
    const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return L"";
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD got = ::GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0 || got >= buffer.size()) return L"";
    return TrimAtNul(buffer.data(), buffer.size());
}

std::wstring FileSystem::GetTempPath() const {
    wchar_t buffer[MAX_PATH + 2] = {};
    if (::GetTempPathW(MAX_PATH + 2, buffer) == 0) return L"";
    return TrimAtNul(buffer, MAX_PATH + 2);
}

std::wstring FileSystem::GetTempFileName(const std::wstring& folder, const std::wstring& prefix) const {
    const std::wstring where = folder.empty() ? GetTempPath() : folder;
    const std::wstring start = folder.empty() ? ProgramName() : prefix;
    wchar_t buffer[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(where.c_str(), start.c_str(), 0, buffer) == 0) return L"";
    return TrimAtNul(buffer, MAX_PATH + 1);
}

int32_t FileSystem::GetFileSize(const std::wstring& path) const {
    LARGE_INTEGER size{};
    bool measured = false;
    {
        // Attribute access is enough to measure, and works on read-only media and open files.
        unique_hfile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        measured = file && ::GetFileSizeEx(file.get(), &size);
    }
    if (!measured) return GetFileSizeA(path);
    return size.QuadPart <= INT32_MAX ? static_cast<int32_t>(size.QuadPart) : -1;
}

bool ListedUnderItsName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) return false;
    WIN32_FIND_DATAW data{};
    unique_hfind found(::FindFirstFileW(path.c_str(), &data));
    if (!found) return false;
    auto same = [&](const wchar_t* listed) {
        return listed[0] && ::CompareStringOrdinal(listed, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
    return same(data.cFileName) || same(data.cAlternateFileName);
}

bool FileLength64(const std::wstring& path, uint64_t& length) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    length = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

int32_t FileSystem::GetFileSizeA(const std::wstring& path) const {
    uint64_t size = 0;
    if (!FileLength64(path, size)) return -1;
    return size <= INT32_MAX ? static_cast<int32_t>(size) : -1;
}

int32_t FileSystem::GetFileAttributesNumber(const std::wstring& path) const {
    return static_cast<int32_t>(::GetFileAttributesW(path.c_str()));
}

std::wstring FileSystem::GetFileAttributesStr(const std::wstring& path) const {
    return AttributesText(GetFileAttributesNumber(path));
}

bool FileSystem::FileExists(const std::wstring& path) const {
    const std::wstring p = SearchablePath(path);
    if (p.empty() || HasWildcard(p)) return false;
    WIN32_FIND_DATAW entry{};
    unique_hfind search(::FindFirstFileW(p.c_str(), &entry));
    return static_cast<bool>(search);
}

bool FileSystem::FolderExists(const std::wstring& path) const {
    const std::wstring p = SearchablePath(path);
    if (p.empty() || HasWildcard(p)) return false;
    WIN32_FIND_DATAW entry{};
    unique_hfind search(::FindFirstFileW(p.c_str(), &entry));
    return search && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FileSystem::GetDiskInformation(const std::wstring& root, int32_t item) const {
    if (item < 0 || item > 10) return L"";
    DiskFacts facts;
    if (!QueryDiskFacts(root, facts)) return L"";
    return DiskItemText(facts, item);
}

DiskValue FileSystem::GetDiskInformationA(const std::wstring& root, int32_t item) const {
    if (item < 0 || item > 10) return std::monostate{};
    DiskFacts facts;
    if (!QueryDiskFacts(root, facts)) return std::monostate{};
    return DiskItemValue(facts, item);
}

std::wstring FileSystem::GetDiskInformationStr(const std::wstring& root) const {
    DiskFacts facts;
    if (!QueryDiskFacts(root, facts)) return L"";
    return DiskInformationText(facts);
}

double FileSystem::GetDiskSpaceSize(const std::wstring& drive, int32_t which) const {
    if (!DriveExists(drive)) return -1;
    quiet_errors_scope quiet;
    ULARGE_INTEGER toCaller{}, total{}, totalFree{};
    if (!::GetDiskFreeSpaceExW(RootOf(DriveLetter(drive)).c_str(), &toCaller, &total, &totalFree)) return -1;
    switch (which) {
    case 0: return static_cast<double>(total.QuadPart);
    case 1: return static_cast<double>(toCaller.QuadPart);
    case 2: return static_cast<double>(total.QuadPart >= totalFree.QuadPart ? total.QuadPart - totalFree.QuadPart : 0);
    default: return 0;
    }
}

int32_t FileSystem::GetDriveType(const std::wstring& drive) const {
    if (!DriveExists(drive)) return DRIVE_UNKNOWN;
    const UINT code = ::GetDriveTypeW(RootOf(DriveLetter(drive)).c_str());
    return code <= DRIVE_RAMDISK ? static_cast<int32_t>(code) : DRIVE_UNKNOWN;
}

std::wstring FileSystem::GetDriveTypeStr(const std::wstring& drive) const {
    if (!DriveExists(drive)) return L"";
    const wchar_t letter = DriveLetter(drive);
    const UINT code = ::GetDriveTypeW(RootOf(letter).c_str());
    return code <= DRIVE_RAMDISK ? DriveTypeText(static_cast<int32_t>(code), letter) : L"";
}

bool FileSystem::DriveExists(const std::wstring& drive) const {
    const wchar_t letter = DriveLetter(drive);
    if (letter == 0) return false;
    for (const std::wstring& root : LogicalDriveRoots())
        if (!root.empty() && std::towupper(root[0]) == letter) return true;
    return false;
}

bool FileSystem::DriveIsReady(const std::wstring& drive) const {
    if (!DriveExists(drive)) return false;
    quiet_errors_scope quiet;
    WIN32_FIND_DATAW entry{};
    unique_hfind search(::FindFirstFileW((RootOf(DriveLetter(drive)) + L"*.*").c_str(), &entry));
    if (search) return true;
    // An empty medium lists nothing, which is no error.
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

std::wstring FileSystem::GetFixedDiskList() const {
    std::wstring list;
    for (const std::wstring& root : LogicalDriveRoots())
        if (GetDriveType(root) == DRIVE_FIXED) list += UpperCase(root);
    return list;
}

bool FileSystem::SetDiskVolumeLabel(const std::wstring& root, const std::wstring& label) const {
    wait_cursor_scope wait;
    return ::SetVolumeLabelW(root.c_str(), label.c_str()) != FALSE;
}

}  // namespace salva
