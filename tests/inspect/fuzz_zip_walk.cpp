#include "FuzzInput.h"
#include "inspect/ZipLocalHeaders.h"

using namespace salva::readers;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::EachSource(data, size, [&](ByteSource& archive) {
        ZipTotals totals;
        uint64_t last = 0;
        bool first = true;
        const uint64_t n = WalkZipLocalHeaders(archive, [&](const ZipEntry& e) {
            fuzzinput::Require(e.offset + 30 + e.name.size() <= size);
            fuzzinput::Require(first || e.offset > last);
            first = false;
            last = e.offset;
            totals.Add(e);
            fuzzinput::Require(totals.totalSize >= e.uncompressedSize);
            return true;
        });
        fuzzinput::Require(n == uint64_t(totals.files) + totals.folders && n <= size / 30);
    });
    return 0;
}
