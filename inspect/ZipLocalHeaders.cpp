#include "inspect/ZipLocalHeaders.h"

namespace salva::readers {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

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
        // 64-bit and only forward: the header's own 30 bytes alone move it on.
        const uint64_t next = pos + 30 + nameLength + extraLength + e.compressedSize;
        ++visited;
        if (!visit(e)) break;
        // A size of 0xFFFFFFFF is kept in the Zip64 extra field: the entry is listed as its own
        // header has it, but where the next header lies is not known.
        if (e.compressedSize == 0xFFFFFFFFu || e.uncompressedSize == 0xFFFFFFFFu) break;
        if (next >= size) break;
        pos = next;
    }
    return visited;
}

}  // namespace salva::readers
