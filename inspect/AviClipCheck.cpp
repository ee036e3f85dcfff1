#include "inspect/AviClipCheck.h"

#include <cstring>

namespace salva {

namespace {

constexpr int kMostListDepth = 16;

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// The chunks in [at, end): each header and body inside, lists walked in turn. Fewer than the
// eight bytes of a header left at the end are padding.
bool ChunksFit(const ResourceBytes& b, size_t at, size_t end, int depth) {
    if (depth > kMostListDepth) return false;
    while (end - at >= 8) {
        const unsigned char* head = &b[at];
        const size_t length = Le32(head + 4);
        if (length > end - at - 8) return false;
        if (std::memcmp(head, "LIST", 4) == 0) {
            if (length < 4 || !ChunksFit(b, at + 12, at + 8 + length, depth + 1)) return false;
        }
        at += 8 + length;
        if (length & 1) {  // bodies of odd length are padded to an even one
            if (at == end) break;
            ++at;
        }
    }
    return true;
}

}  // namespace

bool CheckAviClip(const ResourceBytes& clip) {
    if (clip.size() < 12 || std::memcmp(clip.data(), "RIFF", 4) != 0 || std::memcmp(&clip[8], "AVI ", 4) != 0)
        return false;
    const size_t length = Le32(&clip[4]);
    if (length < 4 || length > clip.size() - 8) return false;
    return ChunksFit(clip, 12, 8 + length, 1);
}

}  // namespace salva
