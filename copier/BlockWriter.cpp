#include "copier/BlockWriter.h"

namespace salva {

DWORD Win32BlockWriter::Open(const std::wstring& path) {
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_ ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Win32BlockWriter::WriteAt(int64_t offset, const uint8_t* buffer, uint32_t size) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return ::GetLastError();
    uint32_t done = 0;
    while (done < size) {
        DWORD n = 0;
        if (!::WriteFile(file_.get(), buffer + done, size - done, &n, nullptr)) return ::GetLastError();
        if (n == 0) return ERROR_DISK_FULL;
        done += n;
    }
    return ERROR_SUCCESS;
}

DWORD Win32BlockWriter::SetLength(int64_t length) {
    LARGE_INTEGER to;
    to.QuadPart = length;
    if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return ::GetLastError();
    if (!::SetEndOfFile(file_.get())) return ::GetLastError();
    return ERROR_SUCCESS;
}

}  // namespace salva
