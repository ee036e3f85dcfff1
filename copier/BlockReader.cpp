#include "copier/BlockReader.h"

namespace salva {

DWORD Win32BlockReader::QueryLength(const std::wstring& path, int64_t* length) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return ::GetLastError();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_FILE_NOT_FOUND;
    *length = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return ERROR_SUCCESS;
}

DWORD Win32BlockReader::Open(const std::wstring& path) {
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file_ ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Win32BlockReader::ReadAt(int64_t offset, uint8_t* buffer, uint32_t size, uint32_t* got) {
    *got = 0;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    if (!::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return ::GetLastError();
    while (*got < size) {
        DWORD n = 0;
        if (!::ReadFile(file_.get(), buffer + *got, size - *got, &n, nullptr)) return ::GetLastError();
        if (n == 0) break;  // end of file
        *got += n;
    }
    return ERROR_SUCCESS;
}

}  // namespace salva
