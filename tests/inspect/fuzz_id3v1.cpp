#include "FuzzInput.h"
#include "inspect/Id3v1Record.h"
#include <algorithm>
#include <cstring>
#include <vector>

using namespace salva::readers;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int pass = 0;
    fuzzinput::EachSource(data, size, [&](MemoryByteStore& file) {
        Id3v1Record record{};
        const bool tagged = ReadId3v1(file, record);
        const Id3v1Field fields[] = {kId3Title, kId3Artist, kId3Album, kId3Year, kId3Comment};
        for (const Id3v1Field& f : fields) {
            fuzzinput::Require(TrimTagBytes(record, f, fuzzinput::GbkLead).size() <= f.width);
            fuzzinput::Require(TrimPadBytes(record, f, fuzzinput::GbkLead).size() <= f.width);
        }
        GenreName(record[kId3GenreAt]);
        // The input's first bytes as new field texts, then a save and a read back.
        const std::string text(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
        for (const Id3v1Field& f : fields) FitField(record, f, text, fuzzinput::GbkLead);
        // What the save must leave: a tag's record overwritten in place, or "TAG" and the
        // record appended to a file without one; every other byte as it was.
        const bool hasTag = size >= kId3v1TagSize && std::memcmp(data + size - kId3v1TagSize, "TAG", 3) == 0;
        std::vector<uint8_t> expected(data, data + size);
        if (hasTag) {
            std::copy(record.begin(), record.end(), expected.end() - kId3v1RecordSize);
        } else {
            expected.insert(expected.end(), {'T', 'A', 'G'});
            expected.insert(expected.end(), record.begin(), record.end());
        }
        // The whole input comes first: its tag is read and saved as it stands. The damaged one
        // may refuse both, and then keeps its bytes.
        const bool whole = ++pass == 1;
        fuzzinput::Require(!whole || tagged == hasTag);
        if (!SaveId3v1(file, record)) {
            fuzzinput::Require(!whole && file.bytes() == std::vector<uint8_t>(data, data + size));
            return;
        }
        fuzzinput::Require(file.bytes() == expected);
        Id3v1Record back{};
        fuzzinput::Require(ReadId3v1(file, back) && back == record);
    });
    return 0;
}
