#include "inspect/FileByteSource.h"

namespace salva {
namespace {
// One ReadFile / WriteFile asks for at most this much.
const DWORD kChunk = 1u << 20;
}  // namespace

FileByteSource::FileByteSource(const std::wstring& path, bool writable)
    : file_(::CreateFileW(path.c_str(), GENERIC_READ | (writable ? GENERIC_WRITE : 0),
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr)) {}

bool FileByteSource::Size(uint64_t& size) {
    LARGE_INTEGER li{};
    if (!file_ || !::GetFileSizeEx(file_.get(), &li) || li.QuadPart < 0) return false;
    size = static_cast<uint64_t>(li.QuadPart);
    return true;
}

bool FileByteSource::Seek(uint64_t offset) {
    if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return file_ && ::SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN);
}

size_t FileByteSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t count) {
    if (!Seek(offset)) return 0;
    size_t done = 0;
    while (done < count) {
        const DWORD want = count - done < kChunk ? static_cast<DWORD>(count - done) : kChunk;
        DWORD got = 0;
        if (!::ReadFile(file_.get(), buffer + done, want, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

bool FileByteSource::WriteAt(uint64_t offset, const uint8_t* data, size_t count) {
    if (!Seek(offset)) return false;
    size_t done = 0;
    while (done < count) {
        const DWORD want = count - done < kChunk ? static_cast<DWORD>(count - done) : kChunk;
        DWORD put = 0;
        if (!::WriteFile(file_.get(), data + done, want, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}

}  // namespace salva
