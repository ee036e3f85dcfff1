#include "inspect/ResourceImageChecks.h"

#include <cstring>

namespace salva {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
// Run-length coded bits are not bounded by their own size: the image they unpack into is.
constexpr uint64_t kMostUnpackedBytes = 64ull << 20;

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t Be32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

uint64_t RowBytes(int64_t width, uint32_t bits) { return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4; }

// a * b when it is at most `limit`; false when it is more.
bool ProductWithin(uint64_t a, uint64_t b, uint64_t limit, uint64_t* product) {
    if (a != 0 && b > limit / a) return false;
    *product = a * b;
    return true;
}

// Each run, skip and literal run reads inside [at, end).
bool RunLengthWalkFits(const unsigned char* data, size_t at, size_t end, bool fourBit) {
    while (at + 2 <= end) {
        const unsigned count = data[at], code = data[at + 1];
        at += 2;
        if (count != 0 || code == 0) continue;  // a run, or the end of a line
        if (code == 1) return true;             // the end of the bitmap
        if (code == 2) {                        // a skip: two more bytes
            if (at + 2 > end) return false;
            at += 2;
            continue;
        }
        size_t literal = fourBit ? (code + 1) / 2 : code;
        literal += literal & 1;  // literal runs keep 16-bit alignment
        if (literal > end - at) return false;
        at += literal;
    }
    return true;
}

bool CheckIconFile(const ResourceBytes& b) {
    const size_t count = Le16(&b[4]);
    if (count == 0 || 6 + count * 16 > b.size()) return false;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* e = &b[6 + i * 16];
        const uint64_t bytes = Le32(e + 8), at = Le32(e + 12);
        if (at < 6 + count * 16 || at > b.size() || bytes > b.size() - at) return false;
        const auto first = b.begin() + static_cast<ptrdiff_t>(at);
        const ResourceBytes image(first, first + static_cast<ptrdiff_t>(bytes));
        if (!CheckIconImage(image, false)) return false;
    }
    return true;
}

bool CheckBitmapFile(const ResourceBytes& b) {
    if (b.size() < 14) return false;
    const uint32_t bitsAt = Le32(&b[10]);
    if (bitsAt <= 14 || bitsAt > b.size()) return false;
    return CheckDib(b.data() + 14, b.size() - 14, DibUse::Bitmap, nullptr, bitsAt - 14);
}

}  // namespace

bool CheckDib(const unsigned char* data, size_t size, DibUse use, DibLayout* layout, size_t bitsAt) {
    DibLayout l;
    if (data == nullptr || size < 12) return false;
    l.headerSize = Le32(data);
    uint16_t planes = 0;
    uint32_t sizeImage = 0, colourCount = 0;
    if (l.headerSize == 12) {
        l.width = Le16(data + 4);
        l.height = static_cast<int16_t>(Le16(data + 6));
        planes = Le16(data + 8);
        l.bitCount = Le16(data + 10);
        l.colourBytes = 3;
    } else {
        const bool known = l.headerSize == 40 ||
                           (use == DibUse::Bitmap && (l.headerSize == 52 || l.headerSize == 56 ||
                                                      l.headerSize == 108 || l.headerSize == 124));
        if (!known || size < l.headerSize) return false;
        l.width = static_cast<int32_t>(Le32(data + 4));
        l.height = static_cast<int32_t>(Le32(data + 8));
        planes = Le16(data + 12);
        l.bitCount = Le16(data + 14);
        l.compression = Le32(data + 16);
        sizeImage = Le32(data + 20);
        colourCount = Le32(data + 32);
        l.colourBytes = 4;
    }
    if (planes != 1 || l.width <= 0 || l.height == 0) return false;
    const uint16_t bits = l.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const bool runLength = l.compression == kRle8 || l.compression == kRle4;
    switch (l.compression) {
    case kRgb: break;
    case kRle8: if (bits != 8) return false; break;
    case kRle4: if (bits != 4) return false; break;
    case kBitfields: if (bits != 16 && bits != 32) return false; break;
    default: return false;
    }
    if (use == DibUse::IconImage && (runLength || l.height < 2)) return false;
    if (runLength && l.height < 0) return false;  // coded bitmaps are stored bottom-up only

    // The three colour masks follow the plain header; the later headers hold them.
    const size_t masks = (l.compression == kBitfields && l.headerSize == 40) ? 12 : 0;
    const uint64_t most = bits <= 8 ? (1u << bits) : 0;
    if (bits <= 8 && colourCount > most) return false;
    l.colours = colourCount != 0 ? colourCount : static_cast<size_t>(most);
    l.colourTableAt = l.headerSize + masks;
    const uint64_t tableEnd = l.colourTableAt + static_cast<uint64_t>(l.colours) * l.colourBytes;
    if (tableEnd > size) return false;
    if (bitsAt == 0) bitsAt = static_cast<size_t>(tableEnd);
    if (bitsAt < tableEnd || bitsAt > size) return false;
    l.bitsAt = bitsAt;

    const uint64_t rows = use == DibUse::IconImage ? static_cast<uint64_t>(l.height / 2)
                                                   : static_cast<uint64_t>(l.height < 0 ? -l.height : l.height);
    const uint64_t room = size - bitsAt;
    uint64_t colourBits = 0, mask = 0;
    if (runLength) {
        if (!ProductWithin(RowBytes(l.width, bits), rows, kMostUnpackedBytes, &colourBits)) return false;
        if (sizeImage == 0 || sizeImage > room) return false;
        if (!RunLengthWalkFits(data, bitsAt, bitsAt + sizeImage, l.compression == kRle4)) return false;
        l.bitsBytes = sizeImage;
    } else {
        if (!ProductWithin(RowBytes(l.width, bits), rows, room, &colourBits)) return false;
        if (use == DibUse::IconImage && !ProductWithin(RowBytes(l.width, 1), rows, room - colourBits, &mask))
            return false;
        l.bitsBytes = static_cast<size_t>(colourBits + mask);
    }
    if (layout) *layout = l;
    return true;
}

bool CheckPng(const unsigned char* data, size_t size) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data == nullptr || size < 8 + 25 || std::memcmp(data, signature, 8) != 0) return false;
    if (Be32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    const uint64_t width = Be32(data + 16), height = Be32(data + 20);
    const unsigned depth = data[24], colour = data[25];
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || width * height > kMostPngPixels)
        return false;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) return false;
    if (colour != 0 && colour != 2 && colour != 3 && colour != 4 && colour != 6) return false;
    if (data[26] != 0 || data[27] != 0 || data[28] > 1) return false;
    // Every chunk (length, type, data, check sum) inside the bytes, up to the end chunk.
    for (size_t at = 8; size - at >= 12;) {
        const uint64_t length = Be32(data + at);
        if (length > 0x7FFFFFFF || length > size - at - 12) return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
        at += static_cast<size_t>(12 + length);
    }
    return false;
}

bool CheckIconImage(const ResourceBytes& image, bool cursor) {
    const size_t skip = cursor ? 4 : 0;  // a cursor's hot spot
    if (image.size() <= skip) return false;
    const unsigned char* p = image.data() + skip;
    const size_t n = image.size() - skip;
    if (n >= 8 && p[0] == 0x89 && p[1] == 'P') return CheckPng(p, n);
    return CheckDib(p, n, DibUse::IconImage);
}

bool CheckBitmapResource(const ResourceBytes& bitmap) {
    return CheckDib(bitmap.data(), bitmap.size(), DibUse::Bitmap);
}

std::vector<IconGroupEntry> ReadIconGroup(const ResourceBytes& group, bool cursor) {
    std::vector<IconGroupEntry> entries;
    if (group.size() < 6 || Le16(&group[0]) != 0) return entries;
    const uint16_t type = Le16(&group[2]);
    const size_t count = Le16(&group[4]);
    if ((type != 1 && type != 2) || count == 0 || 6 + count * 14 > group.size()) return entries;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* e = &group[6 + i * 14];
        IconGroupEntry entry;
        if (cursor) {
            entry.width = Le16(e);
            entry.height = Le16(e + 2) / 2;  // a cursor entry counts both masks
        } else {
            entry.width = e[0] ? e[0] : 256;
            entry.height = e[1] ? e[1] : 256;
        }
        entry.bitCount = Le16(e + 6);
        entry.id = Le16(e + 12);
        entries.push_back(entry);
    }
    return entries;
}

const IconGroupEntry* PickIconGroupEntry(const std::vector<IconGroupEntry>& entries) {
    if (entries.empty()) return nullptr;
    const IconGroupEntry* best = &entries.front();
    for (const IconGroupEntry& e : entries)
        if (e.width == best->width && e.height == best->height && e.bitCount > best->bitCount) best = &e;
    return best;
}

bool CheckPictureData(const ResourceBytes& picture) {
    if (picture.size() >= 2 && picture[0] == 'B' && picture[1] == 'M') return CheckBitmapFile(picture);
    if (picture.size() >= 6 && Le16(&picture[0]) == 0 && (Le16(&picture[2]) == 1 || Le16(&picture[2]) == 2))
        return CheckIconFile(picture);
    return !picture.empty();
}

}  // namespace salva
