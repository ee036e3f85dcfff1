// The resume record kept at the end of a partly copied target: "PDV", two signed 32-bit and
// three signed 16-bit values, little-endian, 17 bytes packed. Stored partial targets rely on
// this exact layout.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace dorvex {

struct PDVTrailer {
    int32_t lFileLength = 0;
    int32_t lHaveCopied = 0;
    int16_t iConsumeTime = 0;
    int16_t iTotalTime = 0;
    int16_t iCopySpeed = 0;
};

constexpr size_t kTrailerSize = 17;
using TrailerBytes = std::array<uint8_t, kTrailerSize>;

TrailerBytes EncodeTrailer(const PDVTrailer& t);
// False (and `out` untouched) unless the bytes start with the case-sensitive marker "PDV".
bool DecodeTrailer(const uint8_t* bytes, size_t size, PDVTrailer& out);

// Appends the record starting on the file's last byte (the file grows by 16). A missing or
// empty file is left alone: there is no last byte to start on, and fields without their
// marker would only spoil a later append. False when nothing was written.
bool WriteTrailerToFile(const std::wstring& path, const PDVTrailer& t);
// Reads the record whose marker stands 17 bytes before the end. Never creates the file.
bool ReadTrailerFromFile(const std::wstring& path, PDVTrailer& out);

}  // namespace dorvex
