// Checks of the image data the resource browser hands to the system's image code: single icon
// and cursor images (a device-independent bitmap with its colour and transparency masks, or a
// PNG), icon and cursor groups, bitmaps, and the picture files stored as resources. The system
// reads these structures by the sizes they claim, not by the bytes it was given; each check
// reads only inside the bytes given and says whether every size, count and offset fits there.
#pragma once
#include "inspect/ResourceFormats.h"
#include <cstddef>
#include <cstdint>
#include <vector>

namespace salva {

// Where the parts of a device-independent bitmap lie, from the start of its header.
struct DibLayout {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // as stored: an icon's counts both masks, a negative one is top-down
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    size_t colourTableAt = 0;
    size_t colours = 0;
    size_t colourBytes = 0;  // bytes a colour takes: 3 after the oldest header, else 4
    size_t bitsAt = 0;
    size_t bitsBytes = 0;    // the colour bits, and for an icon its transparency mask after them
};

enum class DibUse { Bitmap, IconImage };

// True when the header is one the system reads, and its colour table and bits lie within the
// `size` bytes. `bitsAt` 0: the bits follow the colour table (as in a resource); otherwise
// they start there (as a bitmap file's header says), which must be past the table. Run-length
// coded bits are walked: no run or skip may read past them.
bool CheckDib(const unsigned char* data, size_t size, DibUse use, DibLayout* layout = nullptr, size_t bitsAt = 0);

// A PNG's signature, its header chunk (sizes, depth, colour type) and each chunk up to the
// end chunk, all within the bytes. Images of more than kMostPngPixels pixels are refused.
constexpr uint64_t kMostPngPixels = 4096ull * 4096ull;
bool CheckPng(const unsigned char* data, size_t size);

// One image of an icon (type 3) or a cursor (type 1, which starts with its hot spot).
bool CheckIconImage(const ResourceBytes& image, bool cursor);

// A packed bitmap resource (type 2): header, colour table and bits.
bool CheckBitmapResource(const ResourceBytes& bitmap);

// One entry of an icon (type 14) or cursor (type 12) group.
struct IconGroupEntry {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitCount = 0;
    uint16_t id = 0;  // of the icon (type 3) or cursor (type 1) resource holding the image
};

// The group's entries; none when its header is damaged or its count runs past its bytes.
std::vector<IconGroupEntry> ReadIconGroup(const ResourceBytes& group, bool cursor);
// The entry shown when no size is asked for: of the first entry's size, the one of most colours.
const IconGroupEntry* PickIconGroupEntry(const std::vector<IconGroupEntry>& entries);

// What the picture loader is given: a bitmap file or an icon file is checked whole (headers,
// directory, every image); other formats are decoded by the loader from the bytes given, which
// bound every read it makes.
bool CheckPictureData(const ResourceBytes& picture);

}  // namespace salva
