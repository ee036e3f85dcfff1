// Dialog and menu templates written field by field, and the smallest library that holds one, for
// templates no resource compiler would make.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
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
    Bytes& Put(const std::vector<uint8_t>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

// A 32-bit library of exactly `fileSize` bytes whose only resource, of `type`, number 1 and
// language 0x409, is `data` at the very end of the file.
inline std::vector<uint8_t> OneResourceLibrary(uint16_t type, const std::vector<uint8_t>& data,
                                               uint32_t fileSize = 8192) {
    std::vector<uint8_t> f(fileSize);
    auto put16 = [&](size_t at, uint32_t v) {
        f[at] = static_cast<uint8_t>(v);
        f[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    const uint32_t raw = 0x200, rva = 0x1000, sectionSize = fileSize - raw;
    const uint32_t dataAt = fileSize - static_cast<uint32_t>(data.size());
    f[0] = 'M';
    f[1] = 'Z';
    put32(0x3C, 0x40);
    f[0x40] = 'P';
    f[0x41] = 'E';
    put16(0x44, 0x14C);   // i386
    put16(0x46, 1);       // one section
    put16(0x54, 0xE0);    // optional header size
    put16(0x56, 0x2102);  // executable, 32-bit, library
    const size_t opt = 0x58;
    put16(opt, 0x10B);
    put32(opt + 28, 0x10000000);  // image base
    put32(opt + 32, 0x1000);      // section alignment
    put32(opt + 36, 0x200);       // file alignment
    put16(opt + 48, 4);           // subsystem version
    put32(opt + 56, rva + ((sectionSize + 0xFFF) & ~0xFFFu));
    put32(opt + 60, raw);         // header size
    put16(opt + 68, 2);           // GUI
    put32(opt + 92, 16);          // data directories
    put32(opt + 112, rva);        // the resource directory
    put32(opt + 116, sectionSize);
    const size_t section = opt + 0xE0;
    for (size_t i = 0; i < 5; ++i) f[section + i] = static_cast<uint8_t>(".rsrc"[i]);
    put32(section + 8, sectionSize);
    put32(section + 12, rva);
    put32(section + 16, sectionSize);
    put32(section + 20, raw);
    put32(section + 36, 0x40000040);  // initialised data, readable
    // Root, type and name directories of one numbered entry each, then the data entry.
    const uint32_t levels[][2] = {{type, 0x80000018}, {1, 0x80000030}, {0x409, 0x48}};
    for (size_t i = 0; i < 3; ++i) {
        put16(raw + i * 0x18 + 14, 1);
        put32(raw + i * 0x18 + 16, levels[i][0]);
        put32(raw + i * 0x18 + 20, levels[i][1]);
    }
    put32(raw + 0x48, rva + (dataAt - raw));
    put32(raw + 0x4C, static_cast<uint32_t>(data.size()));
    std::copy(data.begin(), data.end(), f.begin() + dataAt);
    return f;
}

}  // namespace templatebytes
