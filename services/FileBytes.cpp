#include "services/FileBytes.h"
#include "services/Holders.h"
#include <algorithm>

namespace salva {

bool ReadFileAt(HANDLE f, int64_t offset, size_t size, std::string& out) {
    out.assign(size, '\0');
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    if (!::SetFilePointerEx(f, at, nullptr, FILE_BEGIN)) return false;
    size_t done = 0;
    while (done < size) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
        if (!::ReadFile(f, &out[done], chunk, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    out.resize(done);
    return true;
}

bool WriteAllBytes(HANDLE f, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(f, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool ReplaceWholeFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring temp = path + L".new";
    {
        unique_hfile f(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!f) return false;
        if (!WriteAllBytes(f.get(), bytes) || !::FlushFileBuffers(f.get())) {
            f.reset();
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace salva
