// The header of an uncompressed Flash movie ("FWS"): version, declared length, stage
// rectangle, frame rate and count, and the colour of the first tag. Compressed movies ("CWS")
// are not read.
#pragma once
#include "inspect/ByteSource.h"
#include <cstdint>

namespace salva::readers {

struct FlashHeader {
    uint8_t version = 0;
    uint32_t declaredLength = 0;
    uint32_t rectBits = 0;   // N, the width of each rectangle field
    uint32_t rectBytes = 0;  // R, the rectangle's size in bytes
    uint16_t speed = 0;      // whole frames per second
    uint16_t frames = 0;
    float seconds = 0;       // frames / speed to two decimals
    uint32_t width = 0;      // Xmax and Ymax in pixels (20 twips each)
    uint32_t height = 0;
    bool hasColour = false;  // the three bytes after the first tag's header were there
    uint8_t red = 0, green = 0, blue = 0;
};

// True when the file starts with "FWS" and holds the whole header through the frame count,
// with a frame rate of at least one frame per second once rounded. `header` is written only
// then.
bool ReadFlashHeader(ByteSource& file, FlashHeader& header);

}  // namespace salva::readers
