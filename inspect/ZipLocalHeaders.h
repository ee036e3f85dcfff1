// A walk over the local file headers of a ZIP archive from its first byte: each entry's name,
// DOS time and date, CRC and sizes. The central directory is not read.
#pragma once
#include "inspect/ByteSource.h"
#include <cstdint>
#include <functional>
#include <string>

namespace salva::readers {

struct ZipEntry {
    uint64_t offset = 0;  // of the entry's local header
    uint16_t flags = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    // As the header has them, or from its Zip64 extra field where the header says 0xFFFFFFFF.
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    std::string name;  // as stored (bit 11 of the flags set: UTF-8)
    bool IsFolder() const { return !name.empty() && name.back() == '/'; }
    bool NameIsUtf8() const { return (flags & 0x0800) != 0; }
};

// Calls `visit` for each entry in archive order while it answers true. The walk ends at the
// first four bytes that are no local header signature, at a header or name that cannot be read
// in full, after an entry with a size of 0xFFFFFFFF that its Zip64 extra field does not give
// (so the next header cannot be found), and once the next header would lie at or past the end
// of the file. Returns the entries visited.
uint64_t WalkZipLocalHeaders(ByteSource& archive, const std::function<bool(const ZipEntry&)>& visit);

// What the entries add up to.
struct ZipTotals {
    uint32_t files = 0;
    uint32_t folders = 0;
    // Uncompressed bytes of every entry. Sizes are the archive's claims: a sum past 2^64 - 1
    // stays there, and `sizesOverflow` says that no sum of them can be believed.
    uint64_t totalSize = 0;
    bool sizesOverflow = false;
    void Add(const ZipEntry& entry) {
        if (entry.IsFolder())
            ++folders;
        else
            ++files;
        if (entry.uncompressedSize > UINT64_MAX - totalSize) {
            totalSize = UINT64_MAX;
            sizesOverflow = true;
        } else {
            totalSize += entry.uncompressedSize;
        }
    }
};

}  // namespace salva::readers
