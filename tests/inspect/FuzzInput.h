// Shared by the fuzz targets: each input is read whole and then again with the second half
// unreadable, as a damaged medium serves it, so that short reads reach every reader step.
#pragma once
#include "inspect/ByteSource.h"
#include <cstdlib>

namespace fuzzinput {

template <typename Run>
void EachSource(const uint8_t* data, size_t size, Run run) {
    salva::readers::MemoryByteStore whole(data, size);
    run(whole);
    salva::readers::MemoryByteStore damaged(data, size, size / 2);
    run(damaged);
}

// A broken promise of a reader ends the run like a sanitizer report.
inline void Require(bool holds) {
    if (!holds) std::abort();
}

// Lead bytes of the double-byte code page the program reads tags in.
inline bool GbkLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

}  // namespace fuzzinput
