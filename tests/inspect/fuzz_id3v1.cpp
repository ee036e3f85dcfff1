#include "FuzzInput.h"
#include "inspect/Id3v1Record.h"

using namespace salva::readers;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
        const size_t before = file.bytes().size();
        if (!SaveId3v1(file, record)) return;
        const size_t after = file.bytes().size();
        fuzzinput::Require(after == before || (!tagged && after == before + kId3v1TagSize) ||
                           (tagged && after == before));
        Id3v1Record back{};
        fuzzinput::Require(ReadId3v1(file, back) && back == record);
    });
    return 0;
}
