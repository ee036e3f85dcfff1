// Local file headers written byte by byte, for archives no zip tool would make.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zipbytes {

// Appends a local header for `name` (date 2001-01-01, time 13:34:16, CRC 0x0A0B0C0D), the name,
// the extra field and `dataBytes` bytes of data.
inline void AddEntry(std::vector<uint8_t>& zip, const std::string& name, uint32_t compressed, uint32_t size,
                     size_t dataBytes = 0, uint16_t flags = 0, const std::vector<uint8_t>& extra = {}) {
    auto le16 = [&](uint32_t v) {
        zip.push_back(static_cast<uint8_t>(v));
        zip.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto le32 = [&](uint32_t v) {
        le16(v & 0xFFFF);
        le16(v >> 16);
    };
    le32(0x04034B50);
    le16(20);
    le16(flags);
    le16(0);
    le16(0x6C48);
    le16(0x2A21);
    le32(0x0A0B0C0D);
    le32(compressed);
    le32(size);
    le16(static_cast<uint32_t>(name.size()));
    le16(static_cast<uint32_t>(extra.size()));
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), extra.begin(), extra.end());
    zip.insert(zip.end(), dataBytes, 0x55);
}

// `count` entries "f0", "f1"... of one byte each, no data.
inline std::vector<uint8_t> ManyEntries(int count) {
    std::vector<uint8_t> zip;
    for (int i = 0; i < count; ++i) AddEntry(zip, "f" + std::to_string(i), 0, 1);
    return zip;
}

// A Zip64 extra field block (id 1) holding the given 64-bit values in order.
inline std::vector<uint8_t> Zip64Block(std::initializer_list<uint64_t> values) {
    std::vector<uint8_t> b{1, 0, static_cast<uint8_t>(values.size() * 8), 0};
    for (uint64_t v : values)
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return b;
}

}  // namespace zipbytes
