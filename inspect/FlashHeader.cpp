#include "inspect/FlashHeader.h"

namespace salva::readers {
namespace {

// Reads `count` bits from `bits`, most significant first, starting at bit `at`.
uint32_t BitField(const uint8_t* bytes, uint32_t at, uint32_t count) {
    uint32_t v = 0;
    for (uint32_t i = at; i < at + count; ++i) v = (v << 1) | ((bytes[i / 8] >> (7 - i % 8)) & 1u);
    return v;
}

}  // namespace

bool ReadFlashHeader(ByteSource& file, FlashHeader& out) {
    uint8_t head[9];
    if (!file.ReadFull(0, head, sizeof(head))) return false;
    if (head[0] != 'F' || head[1] != 'W' || head[2] != 'S') return false;
    FlashHeader h;
    h.version = head[3];
    h.declaredLength = head[4] | head[5] << 8 | head[6] << 16 | static_cast<uint32_t>(head[7]) << 24;
    h.rectBits = head[8] >> 3;
    h.rectBytes = (4 * h.rectBits + 5) / 8 + 1;
    uint8_t rect[17] = {};  // 5 + 4 * 31 bits at most
    if (!file.ReadFull(8, rect, h.rectBytes)) return false;
    uint8_t rate[4];
    if (!file.ReadFull(8 + h.rectBytes, rate, sizeof(rate))) return false;
    // The rate is 8.8 fixed point: the fraction first, then the whole frames per second.
    h.speed = static_cast<uint16_t>(rate[1] + (rate[0] >= 0x80 ? 1 : 0));
    if (h.speed == 0) return false;
    h.frames = static_cast<uint16_t>(rate[2] | rate[3] << 8);
    // frames / speed to two decimals, halves to even.
    const uint32_t n = h.frames * 100u, q = n / h.speed, r = n % h.speed;
    const uint32_t hundredths = (r > h.speed - r || (r == h.speed - r && (q & 1))) ? q + 1 : q;
    h.seconds = static_cast<float>(hundredths / 100.0);
    const uint32_t bits = h.rectBits;
    h.width = BitField(rect, 5 + bits, bits) / 20;
    h.height = BitField(rect, 5 + 3 * bits, bits) / 20;
    uint8_t colour[3];
    if (file.ReadFull(14 + h.rectBytes, colour, sizeof(colour))) {
        h.hasColour = true;
        h.red = colour[0];
        h.green = colour[1];
        h.blue = colour[2];
    }
    out = h;
    return true;
}

}  // namespace salva::readers
