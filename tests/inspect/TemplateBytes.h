// Templates written field by field, and the smallest library that holds one, for templates no
// resource compiler would make.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace templatebytes {

struct Bytes {
    std::vector<uint8_t> b;
    Bytes& W(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    Bytes& D(uint32_t v) { return W(v & 0xFFFF).W(v >> 16); }
    // UTF-16, ended by a NUL unless told otherwise.
    Bytes& S(const std::u16string& text, bool ended = true) {
        for (char16_t c : text) W(c);
        return ended ? W(0) : *this;
    }
    Bytes& Align4() {
        while (b.size() % 4) b.push_back(0);
        return *this;
    }
};

// A 32-bit library of 8 KB, two whole pages, whose only resource (of `type`, number 1, language
// 0x409) is `data` at the very end of the file.
inline std::vector<uint8_t> OneResourceLibrary(uint16_t type, const std::vector<uint8_t>& data) {
    const uint32_t size = 8192, raw = 0x200, rva = 0x1000, opt = 0x58, section = opt + 0xE0;
    const uint32_t dataAt = size - static_cast<uint32_t>(data.size());
    std::vector<uint8_t> f(size);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    // DOS stub pointer, "PE", i386, one section, optional header size, a 32-bit library.
    for (auto [at, v, n] : {std::tuple{0u, 0x5A4Du, 2}, {0x3Cu, 0x40u, 4}, {0x40u, 0x4550u, 4}, {0x44u, 0x14Cu, 2},
                            {0x46u, 1u, 2}, {0x54u, 0xE0u, 2}, {0x56u, 0x2102u, 2}})
        put(at, v, n);
    // Magic, image base, alignments, subsystem version, image and header sizes, GUI, 16 data
    // directories of which the third is the resources.
    for (auto [at, v, n] : {std::tuple{0u, 0x10Bu, 2}, {28u, 0x10000000u, 4}, {32u, 0x1000u, 4}, {36u, 0x200u, 4},
                            {48u, 4u, 2}, {56u, rva + 0x2000u, 4}, {60u, raw, 4}, {68u, 2u, 2}, {92u, 16u, 4},
                            {112u, rva, 4}, {116u, size - raw, 4}})
        put(opt + at, v, n);
    std::copy_n(".rsrc", 5, f.begin() + section);
    for (auto [at, v] : {std::pair{8u, size - raw}, {12u, rva}, {16u, size - raw}, {20u, raw}, {36u, 0x40000040u}})
        put(section + at, v, 4);
    // Root, type and name directories of one numbered entry each, then the data entry.
    const uint32_t levels[][2] = {{type, 0x80000018}, {1, 0x80000030}, {0x409, 0x48}};
    for (uint32_t i = 0; i < 3; ++i) {
        put(raw + i * 0x18 + 14, 1, 2);
        put(raw + i * 0x18 + 16, levels[i][0], 4);
        put(raw + i * 0x18 + 20, levels[i][1], 4);
    }
    put(raw + 0x48, rva + dataAt - raw, 4);
    put(raw + 0x4C, static_cast<uint32_t>(data.size()), 4);
    std::copy(data.begin(), data.end(), f.begin() + dataAt);
    return f;
}

}  // namespace templatebytes
