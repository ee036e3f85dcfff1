#include "PDVTrailer.h"
#include "services/Holders.h"
#include <cstring>

namespace dorvex {
namespace {

void Put(uint8_t* p, uint32_t v, int width) {
    for (int i = 0; i < width; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get(const uint8_t* p, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

bool FileSize(HANDLE h, int64_t& size) {
    LARGE_INTEGER li{};
    if (!::GetFileSizeEx(h, &li)) return false;
    size = li.QuadPart;
    return true;
}

bool Seek(HANDLE h, int64_t pos) {
    LARGE_INTEGER li{};
    li.QuadPart = pos;
    return ::SetFilePointerEx(h, li, nullptr, FILE_BEGIN) != 0;
}

}  // namespace

TrailerBytes EncodeTrailer(const PDVTrailer& t) {
    TrailerBytes b{};
    b[0] = 'P';
    b[1] = 'D';
    b[2] = 'V';
    Put(&b[3], static_cast<uint32_t>(t.lFileLength), 4);
    Put(&b[7], static_cast<uint32_t>(t.lHaveCopied), 4);
    Put(&b[11], static_cast<uint16_t>(t.iConsumeTime), 2);
    Put(&b[13], static_cast<uint16_t>(t.iTotalTime), 2);
    Put(&b[15], static_cast<uint16_t>(t.iCopySpeed), 2);
    return b;
}

bool DecodeTrailer(const uint8_t* bytes, size_t size, PDVTrailer& out) {
    if (!bytes || size < kTrailerSize || std::memcmp(bytes, "PDV", 3) != 0) return false;
    out.lFileLength = static_cast<int32_t>(Get(bytes + 3, 4));
    out.lHaveCopied = static_cast<int32_t>(Get(bytes + 7, 4));
    out.iConsumeTime = static_cast<int16_t>(Get(bytes + 11, 2));
    out.iTotalTime = static_cast<int16_t>(Get(bytes + 13, 2));
    out.iCopySpeed = static_cast<int16_t>(Get(bytes + 15, 2));
    return true;
}

bool WriteTrailerToFile(const std::wstring& path, const PDVTrailer& t) {
    salva::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    int64_t size = 0;
    if (!file || !FileSize(file.get(), size) || size < 1) return false;
    if (!Seek(file.get(), size - 1)) return false;
    const TrailerBytes bytes = EncodeTrailer(t);
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ReadTrailerFromFile(const std::wstring& path, PDVTrailer& out) {
    salva::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    int64_t size = 0;
    if (!file || !FileSize(file.get(), size) || size < static_cast<int64_t>(kTrailerSize)) return false;
    if (!Seek(file.get(), size - static_cast<int64_t>(kTrailerSize))) return false;
    TrailerBytes bytes{};
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
        got != bytes.size())
        return false;
    return DecodeTrailer(bytes.data(), bytes.size(), out);
}

}  // namespace dorvex
