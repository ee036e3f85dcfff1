#include "FuzzInput.h"
#include "inspect/FlashHeader.h"

using namespace salva::readers;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::EachSource(data, size, [&](ByteSource& file) {
        FlashHeader h;
        if (!ReadFlashHeader(file, h)) return;
        fuzzinput::Require(h.speed > 0 && h.rectBytes <= 17 && 12 + h.rectBytes <= size);
        fuzzinput::Require(h.seconds >= 0 && h.seconds <= 65535.0f);
    });
    return 0;
}
