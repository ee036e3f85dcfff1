#include "copier/FileErrors.h"
#include "services/SystemErrorText.h"

namespace salva {

namespace {

bool IsMediaCode(DWORD code) {
    switch (code) {
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return true;
    default:
        return false;
    }
}

}  // namespace

FileError FileErrorFromWin32(DWORD win32, FileStep step, bool driveReady) {
    FileError e;
    e.win32 = win32;
    const bool sourceRead = step == FileStep::SourceRead;
    if (sourceRead && (IsMediaCode(win32) || (win32 == ERROR_NOT_READY && driveReady))) {
        e.number = kErrPathFileAccess;
        e.mediaRead = true;
        e.description = L"无法读取文件数据（介质错误）";
        return e;
    }
    switch (win32) {
    case ERROR_FILE_NOT_FOUND:
        e.number = kErrFileNotFound;
        e.description = L"文件未找到";
        break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        e.number = kErrPathNotFound;
        e.description = L"路径未找到";
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        e.number = kErrPathFileAccess;
        e.description = L"路径/文件访问错误";
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        e.number = kErrPermissionDenied;
        e.description = L"权限被拒绝";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        e.number = kErrDiskFull;
        e.description = L"磁盘已满";
        break;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
        e.number = kErrBadRecordNumber;
        e.description = L"记录号错误";
        break;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_HANDLE:
        e.number = kErrBadFileName;
        e.description = L"文件名或文件号错误";
        break;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_FUNCTION:
        e.number = kErrInvalidCall;
        e.description = L"无效的过程调用或参数";
        break;
    case ERROR_NOT_READY:
        e.number = kErrDiskNotReady;
        e.description = L"磁盘未准备好";
        break;
    default:
        if (IsMediaCode(win32)) {
            e.number = kErrDeviceIO;
            e.description = L"设备 I/O 错误";
        } else {
            e.number = kErrDeviceIO;
            e.description = SystemErrorText(win32);
        }
        break;
    }
    return e;
}

FileError ShortReadError() {
    FileError e;
    e.number = kErrPathFileAccess;
    e.mediaRead = true;
    e.description = L"无法读取文件数据（介质错误）";
    return e;
}

FileError ShortWriteError() { return FileErrorFromWin32(ERROR_DISK_FULL, FileStep::TargetWrite, true); }

}  // namespace salva
