// Templates written field by field, for templates no resource compiler would make.
#pragma once
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
};

}  // namespace templatebytes
