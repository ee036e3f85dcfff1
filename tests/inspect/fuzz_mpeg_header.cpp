#include "FuzzInput.h"
#include "inspect/MpegHeader.h"

using namespace salva::readers;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::EachSource(data, size, [&](ByteSource& source) {
        const MpegScan scan = ScanMpegHeader(source);
        fuzzinput::Require(scan.sized && scan.fileSize == size);
        if (!scan.found) return;
        fuzzinput::Require(scan.headerOffset + 4 <= size && scan.bytes[0] == 0xFF);
        const MpegFields f = DecodeMpegHeader(scan.bytes);
        fuzzinput::Require(HeaderBits(scan.bytes).size() == 32);
        const auto frame = FrameSize(f.bitRate.value_or(0), f.frequency.value_or(0), f.padding);
        if (frame) FrameCount(scan.fileSize, *frame);
        PlayingSeconds(scan.fileSize, f.bitRate.value_or(0));
    });
    return 0;
}
