#include "inspect/MpegHeader.h"
#include <vector>

namespace salva::readers {
namespace {

const int kBitRates[4][15] = {
    // version 1 layer I (also version 2 layer I)
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    // version 1 layer II (also version 2 layer II)
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    // version 1 layer III
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    // version 2 layer III
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
const int kFrequencies[2][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}};

// n / d rounded to the nearest whole number, halves to the even one.
uint64_t RoundHalfEven(uint64_t n, uint64_t d) {
    const uint64_t q = n / d, r = n % d;
    if (r > d - r || (r == d - r && (q & 1))) return q + 1;
    return q;
}

}  // namespace

MpegScan ScanMpegHeader(ByteSource& source, const std::function<void()>& afterChunk) {
    MpegScan scan;
    if (!source.Size(scan.fileSize)) return scan;
    scan.sized = true;
    std::vector<uint8_t> chunk(kMpegScanChunk);
    for (uint64_t pos = 0; pos < scan.fileSize;) {
        const uint64_t left = scan.fileSize - pos;
        const size_t want = left < chunk.size() ? static_cast<size_t>(left) : chunk.size();
        const size_t got = source.ReadAt(pos, chunk.data(), want);
        for (size_t i = 0; i < got; ++i) {
            if (chunk[i] != 0xFF) continue;
            const uint64_t at = pos + i;
            if (scan.fileSize - at < 4) return scan;
            if (!source.ReadFull(at, scan.bytes, 4)) return scan;
            scan.found = true;
            scan.headerOffset = at;
            return scan;
        }
        if (afterChunk) afterChunk();
        if (got < want) return scan;
        pos += got;
    }
    return scan;
}

MpegFields DecodeMpegHeader(const uint8_t b[4]) {
    MpegFields f;
    f.version = (b[1] & 0x08) ? 1 : 2;
    static const int kLayers[4] = {0, 3, 2, 1};
    f.layer = kLayers[(b[1] >> 1) & 3];
    f.crcProtected = (b[1] & 1) == 0;
    f.bitRateIndex = b[2] >> 4;
    f.samplingIndex = (b[2] >> 2) & 3;
    f.padding = (b[2] & 2) != 0;
    f.privateBit = (b[2] & 1) != 0;
    f.mode = b[3] >> 6;
    f.copyrighted = (b[3] & 0x08) != 0;
    f.original = (b[3] & 0x04) != 0;
    f.emphasis = b[3] & 3;
    if (f.samplingIndex < 3) f.frequency = kFrequencies[f.version - 1][f.samplingIndex];
    if (f.layer != 0 && f.bitRateIndex < 15) {
        const int row = f.layer == 3 ? (f.version == 1 ? 2 : 3) : (f.layer == 1 ? 0 : 1);
        f.bitRate = kBitRates[row][f.bitRateIndex];
    }
    return f;
}

std::string HeaderBits(const uint8_t b[4]) {
    std::string s;
    s.reserve(32);
    for (int i = 0; i < 4; ++i)
        for (int bit = 7; bit >= 0; --bit) s.push_back((b[i] >> bit) & 1 ? '1' : '0');
    return s;
}

std::optional<int64_t> FrameSize(int bitRate, int frequency, bool padding) {
    if (frequency <= 0 || bitRate < 0) return std::nullopt;
    const uint64_t n = static_cast<uint64_t>(bitRate) * 144000u;
    return static_cast<int64_t>(RoundHalfEven(n, static_cast<uint64_t>(frequency))) + (padding ? 1 : 0);
}

std::optional<uint64_t> FrameCount(uint64_t fileSize, int64_t frameSize) {
    if (frameSize <= 0) return std::nullopt;
    return fileSize / static_cast<uint64_t>(frameSize);
}

std::optional<uint64_t> PlayingSeconds(uint64_t fileSize, int bitRate) {
    if (bitRate <= 0) return std::nullopt;
    // size * 8 / (rate * 1000) without the product that overflows for huge files.
    return RoundHalfEven(fileSize, static_cast<uint64_t>(bitRate) * 125u);
}

}  // namespace salva::readers
