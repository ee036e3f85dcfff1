// The first MPEG audio frame header of a file: where it lies, its fields, and the sizes and
// times derived from them. Plain values; the texts belong to MP3Information.
#pragma once
#include "inspect/ByteSource.h"
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace salva::readers {

struct MpegScan {
    bool sized = false;          // the length could be had
    uint64_t fileSize = 0;
    bool found = false;          // four header bytes were read
    uint64_t headerOffset = 0;   // of the first byte 0xFF
    uint8_t bytes[4] = {};
};

// Takes the first byte 0xFF as the start of the header. One that leaves fewer than four bytes
// to the end of the file, or a read that comes back short before it, gives no header. The file
// is read in pieces of kMpegScanChunk bytes; `afterChunk`, when given, is called after each.
constexpr size_t kMpegScanChunk = 64 * 1024;
MpegScan ScanMpegHeader(ByteSource& source, const std::function<void()>& afterChunk = {});

struct MpegFields {
    int version = 0;         // 1, or 2 (MPEG-2.5 reads as 2)
    int layer = 0;           // 0 to 3
    bool crcProtected = false;
    int bitRateIndex = 0;    // 0 to 15
    int samplingIndex = 0;   // 0 to 3
    bool padding = false;
    bool privateBit = false;
    int mode = 0;            // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool copyrighted = false;
    bool original = false;
    int emphasis = 0;        // 0 none, 1 50/15, 2 reserved, 3 CCITT J.17
    std::optional<int> bitRate;    // kbit/s; none for layer 0 or index 15
    std::optional<int> frequency;  // Hz; none for index 3
};

MpegFields DecodeMpegHeader(const uint8_t bytes[4]);
// The header as 32 digits "1"/"0", the first byte's top bit first.
std::string HeaderBits(const uint8_t bytes[4]);

// bitRate * 144000 / frequency rounded half to even, one more with padding; none for a
// frequency of 0.
std::optional<int64_t> FrameSize(int bitRate, int frequency, bool padding);
// Whole frames in the file; none for a frame size of 0 or less.
std::optional<uint64_t> FrameCount(uint64_t fileSize, int64_t frameSize);
// The whole file's playing time in seconds at the bit rate, rounded half to even; none for a
// bit rate of 0 or less.
std::optional<uint64_t> PlayingSeconds(uint64_t fileSize, int bitRate);

}  // namespace salva::readers
