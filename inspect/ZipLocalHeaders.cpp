#include "inspect/ZipLocalHeaders.h"
#include <vector>

namespace salva::readers {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint64_t Le64(const uint8_t* p) { return Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32; }

constexpr uint32_t kInZip64 = 0xFFFFFFFFu;

bool SizeInZip64(const ZipEntry& e) { return e.compressedSize == kInZip64 || e.uncompressedSize == kInZip64; }

// Sizes the header marks 0xFFFFFFFF stand in the extra field's Zip64 block (id 1): the
// uncompressed size, then the compressed size. A local header carries both once either is
// marked; a block of one value gives the one that is marked, uncompressed first.
void TakeZip64Sizes(const uint8_t* extra, size_t length, ZipEntry& e) {
    for (size_t at = 0; length - at >= 4;) {
        const uint16_t id = Le16(extra + at), size = Le16(extra + at + 2);
        at += 4;
        if (length - at < size) return;
        if (id == 1) {
            const uint8_t* v = extra + at;
            const bool both = size >= 16;
            size_t used = 0;
            if (e.uncompressedSize == kInZip64 && size - used >= 8) {
                e.uncompressedSize = Le64(v);
                used += 8;
            } else if (both) {
                used += 8;
            }
            if (e.compressedSize == kInZip64 && size - used >= 8) e.compressedSize = Le64(v + used);
            return;
        }
        at += size;
    }
}

}  // namespace

uint64_t WalkZipLocalHeaders(ByteSource& archive, const std::function<bool(const ZipEntry&)>& visit) {
    uint64_t size = 0;
    if (!archive.Size(size)) return 0;
    uint64_t visited = 0;
    uint64_t pos = 0;
    while (size - pos >= 30) {
        uint8_t h[30];
        if (!archive.ReadFull(pos, h, sizeof(h))) break;
        if (h[0] != 0x50 || h[1] != 0x4B || h[2] != 0x03 || h[3] != 0x04) break;
        ZipEntry e;
        e.offset = pos;
        e.flags = Le16(h + 6);
        e.dosTime = Le16(h + 10);
        e.dosDate = Le16(h + 12);
        e.crc = Le32(h + 14);
        e.compressedSize = Le32(h + 18);
        e.uncompressedSize = Le32(h + 22);
        const uint16_t nameLength = Le16(h + 26), extraLength = Le16(h + 28);
        if (size - pos - 30 < nameLength) break;
        e.name.resize(nameLength);
        if (nameLength && !archive.ReadFull(pos + 30, reinterpret_cast<uint8_t*>(&e.name[0]), nameLength)) break;
        if (SizeInZip64(e)) {
            std::vector<uint8_t> extra(extraLength);
            if (extraLength && size - pos - 30 - nameLength >= extraLength &&
                archive.ReadFull(pos + 30 + nameLength, extra.data(), extraLength))
                TakeZip64Sizes(extra.data(), extraLength, e);
        }
        // Only forward: the header's own 30 bytes alone move it on, and a compressed size of up
        // to 64 bits cannot wrap the sum.
        const uint64_t skip = 30u + nameLength + extraLength;
        const uint64_t next = e.compressedSize > size ? size : pos + skip + e.compressedSize;
        ++visited;
        if (!visit(e)) break;
        // A size still marked is kept where the walk cannot see: the entry is listed as its own
        // header has it, but where the next header lies is not known.
        if (SizeInZip64(e)) break;
        if (next >= size) break;
        pos = next;
    }
    return visited;
}

}  // namespace salva::readers
