#include "FuzzInput.h"
#include "inspect/ResourceDirectory.h"

using namespace salva::readers;

namespace {

void Check(const ResourceDirectory& dir, size_t size) {
    uint64_t entries = 0, nameChars = 0;
    for (const ResourceType& t : dir.types) {
        ++entries;
        nameChars += t.key.name.size();
        for (const ResourceName& n : t.names) {
            ++entries;
            nameChars += n.key.name.size();
            for (const ResourceData& d : n.languages) {
                ++entries;
                fuzzinput::Require(d.offset <= size && d.size <= size - d.offset);
            }
        }
    }
    // Every entry and name character was paid for from the walk's allowance.
    fuzzinput::Require(entries * 8 + nameChars * 2 <= 2 * uint64_t{size} + 4096);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzinput::EachSource(data, size, [&](ByteSource& file) {
        if (size >= 2 && data[0] == 'M' && data[1] == 'Z') {
            Check(ReadResourceDirectory(file), size);
        } else {
            // Any other input as a bare resource section, so that small inputs reach the walk.
            const uint32_t bare = size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
            Check(WalkResourceDirectory(file, {{0, bare, 0}}, 0), size);
        }
    });
    return 0;
}
