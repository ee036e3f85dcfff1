// The file-operation error numbers the copy start and the copy and merge loops act on, and the
// one place where Win32 error codes are turned into them.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

enum FileErrorNumber : int {
    kErrInvalidCall = 5,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrDeviceIO = 57,
    kErrDiskFull = 61,
    kErrBadRecordNumber = 63,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
};

// What a failed file step reports.
struct FileError {
    int number = 0;           // FileErrorNumber
    DWORD win32 = 0;          // the system's code, 0 when the failure was not a system error
    bool mediaRead = false;   // the medium could not deliver these bytes (an unreadable spot)
    std::wstring description; // the text shown in the default case, empty when none is known
};

// Which step failed; media read errors only count as such on a source read.
enum class FileStep { SourceOpen, SourceRead, TargetOpen, TargetWrite, Other };

// Maps a Win32 error of `step` to its error number. `driveReady` tells whether the source's
// drive still reports ready: ERROR_NOT_READY on a ready drive is how an unreadable sector of a
// file comes back (Wine reports every EIO this way), on a drive without a disc it is not.
FileError FileErrorFromWin32(DWORD win32, FileStep step, bool driveReady);

// A read that delivered fewer bytes than asked before the end of the file.
FileError ShortReadError();

// A write that wrote fewer bytes than asked: the disk is full.
FileError ShortWriteError();

}  // namespace salva
