// The format readers over bytes in memory: header fields and tables, tag trimming and fitting,
// the Flash rectangle, the ZIP walk's ends, and every reader's answer to short reads.
#include "inspect/FlashHeader.h"
#include "inspect/Id3v1Record.h"
#include "inspect/MpegHeader.h"
#include "inspect/ZipLocalHeaders.h"
#include "ZipBytes.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace salva::readers;

namespace {

bool GbkLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list) v.push_back(static_cast<uint8_t>(b));
    return v;
}

MpegFields Decode(int b1, int b2, int b3) {
    const uint8_t h[4] = {0xFF, static_cast<uint8_t>(b1), static_cast<uint8_t>(b2), static_cast<uint8_t>(b3)};
    return DecodeMpegHeader(h);
}

}  // namespace

TEST(MpegHeader, FieldsTablesAndDerivedSizes) {
    const MpegFields f = Decode(0xFB, 0x90, 0x64);
    EXPECT_EQ(f.version, 1);
    EXPECT_EQ(f.layer, 3);
    EXPECT_FALSE(f.crcProtected);
    EXPECT_EQ(f.bitRate.value_or(-1), 128);
    EXPECT_EQ(f.frequency.value_or(-1), 44100);
    EXPECT_EQ(f.mode, 1);
    EXPECT_TRUE(f.original);
    EXPECT_EQ(FrameSize(128, 44100, false).value_or(-1), 418);
    EXPECT_EQ(FrameSize(128, 44100, true).value_or(-1), 419);
    const uint8_t h[4] = {0xFF, 0xFB, 0x90, 0x64};
    EXPECT_EQ(HeaderBits(h), "11111111111110111001000001100100");

    EXPECT_EQ(Decode(0xF3, 0x90, 0).bitRate.value_or(-1), 80) << "version 2 layer III has its own row";
    EXPECT_EQ(Decode(0xF5, 0x90, 0).bitRate.value_or(-1), 160) << "version 2 layer II uses version 1's";
    EXPECT_EQ(Decode(0xF3, 0x94, 0).frequency.value_or(-1), 24000);
    EXPECT_FALSE(Decode(0xFB, 0x9C, 0).frequency) << "sampling index 3";
    EXPECT_FALSE(Decode(0xFB, 0xF0, 0).bitRate) << "bit-rate index 15";
    EXPECT_FALSE(Decode(0xF9, 0x90, 0).bitRate) << "layer 0";
    EXPECT_EQ(Decode(0xFB, 0x02, 0).bitRate.value_or(-1), 0);
    EXPECT_EQ(FrameSize(0, 44100, true).value_or(-1), 1);

    // Nothing is divided by zero.
    EXPECT_FALSE(FrameSize(128, 0, false));
    EXPECT_FALSE(FrameCount(1000, 0));
    EXPECT_FALSE(PlayingSeconds(1000, 0));
    // Halves go to the even neighbour: 24000 and 40000 bytes at 128 kbit/s are 1.5 and 2.5 s.
    EXPECT_EQ(PlayingSeconds(24000, 128).value_or(0), 2u);
    EXPECT_EQ(PlayingSeconds(40000, 128).value_or(0), 2u);
    EXPECT_EQ(PlayingSeconds(5ull << 40, 128).value_or(0), 343597384ull) << "no overflow for huge files";
}

TEST(MpegHeader, ScanStaysInsideTheFileAndStopsAtShortReads) {
    std::vector<uint8_t> file(70000, 0x20);
    file[69990] = 0xFF;  // past the first 64 KiB read
    file[69991] = 0xFB;
    MemoryByteStore whole(file);
    MpegScan scan = ScanMpegHeader(whole);
    ASSERT_TRUE(scan.found);
    EXPECT_EQ(scan.headerOffset, 69990u);
    EXPECT_EQ(scan.bytes[1], 0xFB);

    MemoryByteStore damaged(file, 40000);
    scan = ScanMpegHeader(damaged);
    EXPECT_TRUE(scan.sized);
    EXPECT_FALSE(scan.found) << "the bytes past the unreadable spot are not guessed at";

    auto tail = Bytes({0x20, 0x20, 0xFF, 0xFB, 0x90});
    MemoryByteStore late(tail);
    EXPECT_FALSE(ScanMpegHeader(late).found) << "0xFF in the last three bytes is no header";
    auto none = Bytes({1, 2, 3, 4, 5});
    MemoryByteStore empty(none);
    EXPECT_FALSE(ScanMpegHeader(empty).found);
}

TEST(Id3v1Record, TrimRulesKeepTheInsideAndDoubleByteCharacters) {
    Id3v1Record r{};
    std::memcpy(r.data() + kId3Title.offset, "Song", 4);
    EXPECT_EQ(TrimTagBytes(r, kId3Title, GbkLead), "Song");

    std::string artist = "  Two  Words";
    artist.append(30 - artist.size() - 1, ' ');
    artist.push_back('\xFF');
    std::memcpy(r.data() + kId3Artist.offset, artist.data(), 30);
    EXPECT_EQ(TrimTagBytes(r, kId3Artist, GbkLead), "Two  Words");

    // "中文" in code page 936, with a control byte before it.
    const char album[] = "\x01\xD6\xD0\xCE\xC4";
    std::memcpy(r.data() + kId3Album.offset, album, 5);
    EXPECT_EQ(TrimTagBytes(r, kId3Album, GbkLead), "\xD6\xD0\xCE\xC4");

    std::memcpy(r.data() + kId3Comment.offset, " a b c", 6);
    EXPECT_EQ(TrimPadBytes(r, kId3Comment, GbkLead), "a b c") << "comments lose their padding at the ends only";

    std::memset(r.data() + kId3Year.offset, ' ', 4);
    EXPECT_EQ(TrimTagBytes(r, kId3Year, GbkLead), "");
    EXPECT_STREQ(GenreName(147), "Synth Pop");
    EXPECT_STREQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(148), nullptr);
}

TEST(Id3v1Record, FitCutsBeforeASplitDoubleByteCharacter) {
    Id3v1Record r{};
    std::string chinese;
    for (int i = 0; i < 16; ++i) chinese += "\xD6\xD0";  // 32 bytes
    FitField(r, kId3Title, chinese, GbkLead);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r.data()), 30), chinese.substr(0, 30));
    EXPECT_EQ(r[30], 0) << "the next field is untouched";

    FitField(r, kId3Title, "a" + chinese, GbkLead);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r.data()), 30), "a" + chinese.substr(0, 28) + " ");
    FitField(r, kId3Year, "19", GbkLead);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r.data()) + kId3Year.offset, 4), "19  ");
}

TEST(Id3v1Record, SaveAppendsOnceThenOverwrites) {
    Id3v1Record r{};
    FitField(r, kId3Title, "Title", GbkLead);
    MemoryByteStore file(std::vector<uint8_t>(1000, 7));
    ASSERT_TRUE(SaveId3v1(file, r));
    ASSERT_EQ(file.bytes().size(), 1128u);
    EXPECT_EQ(std::string(file.bytes().begin() + 1000, file.bytes().begin() + 1003), "TAG");
    FitField(r, kId3Title, "Other", GbkLead);
    ASSERT_TRUE(SaveId3v1(file, r));
    EXPECT_EQ(file.bytes().size(), 1128u);
    Id3v1Record back{};
    ASSERT_TRUE(ReadId3v1(file, back));
    EXPECT_EQ(back, r);

    // A file shorter than a tag has none; the tag goes after its bytes.
    MemoryByteStore small(std::vector<uint8_t>(127, 'T'));
    EXPECT_FALSE(ReadId3v1(small, back));
    ASSERT_TRUE(SaveId3v1(small, r));
    EXPECT_EQ(small.bytes().size(), 255u);

    // Where the tag cannot be looked for, nothing is written and the caller hears of it.
    MemoryByteStore damaged(std::vector<uint8_t>(1000, 7), 500);
    EXPECT_FALSE(SaveId3v1(damaged, r));
    EXPECT_EQ(damaged.bytes().size(), 1000u);
    // A tag whose record cannot be read in full is not taken.
    MemoryByteStore cut(file.bytes(), 1100);
    Id3v1Record kept{};
    kept[0] = 'K';
    EXPECT_FALSE(ReadId3v1(cut, kept));
    EXPECT_EQ(kept[0], 'K');
}

namespace {

// An uncompressed movie header with a rectangle of `n`-bit fields.
std::vector<uint8_t> Movie(uint32_t n, uint32_t xmax, uint32_t ymax, uint8_t frac, uint8_t whole, uint16_t frames) {
    std::vector<bool> bits;
    auto put = [&](uint32_t v, uint32_t w) {
        for (uint32_t i = w; i-- > 0;) bits.push_back((v >> i) & 1);
    };
    put(n, 5);
    put(0, n);
    put(xmax, n);
    put(0, n);
    put(ymax, n);
    std::vector<uint8_t> f = {'F', 'W', 'S', 6, 0, 0, 0, 0};
    for (size_t i = 0; i < bits.size(); i += 8) {
        uint8_t b = 0;
        for (size_t j = 0; j < 8; ++j) b = static_cast<uint8_t>(b << 1 | (i + j < bits.size() && bits[i + j]));
        f.push_back(b);
    }
    for (int b : {int(frac), int(whole), frames & 0xFF, frames >> 8, 0x43, 0x02, 0x33, 0x66, 0x99, 0, 0})
        f.push_back(static_cast<uint8_t>(b));
    return f;
}

}  // namespace

TEST(FlashHeader, RectangleRateAndCount) {
    MemoryByteStore movie(Movie(15, 11000, 8000, 0, 12, 120));
    FlashHeader h;
    ASSERT_TRUE(ReadFlashHeader(movie, h));
    EXPECT_EQ(h.version, 6);
    EXPECT_EQ(h.rectBytes, 9u);
    EXPECT_EQ(h.speed, 12);
    EXPECT_EQ(h.frames, 120);
    EXPECT_EQ(h.seconds, 10.0f);
    EXPECT_EQ(h.width, 550u);
    EXPECT_EQ(h.height, 400u);
    EXPECT_TRUE(h.hasColour);
    EXPECT_EQ(h.red, 0x33);
    EXPECT_EQ(h.blue, 0x99);

    MemoryByteStore eights(Movie(15, 11000, 8000, 0, 12, 100));
    ASSERT_TRUE(ReadFlashHeader(eights, h));
    EXPECT_EQ(h.seconds, 8.33f);

    MemoryByteStore zero(Movie(0, 0, 0, 0, 25, 50));
    ASSERT_TRUE(ReadFlashHeader(zero, h));
    EXPECT_EQ(h.rectBytes, 1u);
    EXPECT_EQ(h.width, 0u);
    EXPECT_EQ(h.speed, 25);

    MemoryByteStore wide(Movie(31, 0x7FFFFFFF, 20, 0x80, 0, 0xFFFF));
    ASSERT_TRUE(ReadFlashHeader(wide, h));
    EXPECT_EQ(h.frames, 65535) << "the count is unsigned";
    EXPECT_EQ(h.speed, 1) << "half a frame per second rounds to one";
    EXPECT_EQ(h.width, 0x7FFFFFFFu / 20);
    EXPECT_EQ(h.seconds, 65535.0f);
}

TEST(FlashHeader, RefusedHeadersLeaveTheResultAlone) {
    FlashHeader h;
    h.version = 99;
    auto ten = Movie(15, 11000, 8000, 0, 12, 120);
    ten.resize(10);
    MemoryByteStore shortFile(ten);
    EXPECT_FALSE(ReadFlashHeader(shortFile, h));
    MemoryByteStore stopped(Movie(15, 11000, 8000, 0x10, 0, 120));
    EXPECT_FALSE(ReadFlashHeader(stopped, h)) << "a frame rate of 0";
    auto cws = Movie(15, 11000, 8000, 0, 12, 120);
    cws[0] = 'C';
    MemoryByteStore compressed(cws);
    EXPECT_FALSE(ReadFlashHeader(compressed, h));
    MemoryByteStore damaged(Movie(15, 11000, 8000, 0, 12, 120), 18);
    EXPECT_FALSE(ReadFlashHeader(damaged, h)) << "the frame count lies in the unreadable part";
    EXPECT_EQ(h.version, 99);

    // Without the colour bytes the header still counts; the colour is marked missing.
    auto bare = Movie(15, 11000, 8000, 0, 12, 120);
    bare.resize(21);
    MemoryByteStore noColour(bare);
    ASSERT_TRUE(ReadFlashHeader(noColour, h));
    EXPECT_FALSE(h.hasColour);
}

namespace {

using zipbytes::AddEntry;

std::vector<ZipEntry> Walk(ByteSource& source) {
    std::vector<ZipEntry> seen;
    WalkZipLocalHeaders(source, [&](const ZipEntry& e) {
        seen.push_back(e);
        return true;
    });
    return seen;
}

}  // namespace

TEST(ZipWalk, EntriesInOrderAndTotals) {
    std::vector<uint8_t> zip;
    AddEntry(zip, "dir/", 0, 0, 0);
    AddEntry(zip, "dir/a.txt", 5, 20, 5);
    AddEntry(zip, "b.bin", 3, 3, 3);
    zip.insert(zip.end(), {0x50, 0x4B, 1, 2, 0, 0});  // the central directory ends the walk
    MemoryByteStore archive(zip);
    const auto seen = Walk(archive);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].IsFolder());
    EXPECT_EQ(seen[1].name, "dir/a.txt");
    EXPECT_EQ(seen[1].crc, 0x0A0B0C0Du);
    EXPECT_EQ(seen[1].dosDate, 0x2A21);
    EXPECT_EQ(seen[2].offset, 30u + 4 + 30 + 9 + 5);
    ZipTotals t;
    for (const auto& e : seen) t.Add(e);
    EXPECT_EQ(t.folders, 1u);
    EXPECT_EQ(t.files, 2u);
    EXPECT_EQ(t.totalSize, 23u);
}

TEST(ZipWalk, Zip64SizesComeFromTheExtraField) {
    using zipbytes::Zip64Block;
    const uint32_t kMarked = 0xFFFFFFFFu;
    auto afterTime = Bytes({0x55, 0x54, 1, 0, 9, 1, 0, 16, 0, 12, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0});
    // Both marked, the block after another one; one marked, in a block of both; one in a block of one.
    const struct { uint32_t compressed, size; std::vector<uint8_t> extra; uint64_t wantCompressed, wantSize; } cases[] = {
        {kMarked, kMarked, afterTime, 12, 12},
        {12, kMarked, Zip64Block({5000000000ull, 12}), 12, 5000000000ull},
        {kMarked, 30, Zip64Block({12}), 12, 30}};
    for (const auto& c : cases) {
        std::vector<uint8_t> zip;
        AddEntry(zip, "a.txt", c.compressed, c.size, 12, 0, c.extra);
        AddEntry(zip, "b.txt", 0, 0, 0);
        MemoryByteStore archive(zip);
        const auto seen = Walk(archive);
        ASSERT_EQ(seen.size(), 2u) << &c - cases << ": the walk goes on to the next header";
        EXPECT_EQ(seen[0].compressedSize, c.wantCompressed) << &c - cases;
        EXPECT_EQ(seen[0].uncompressedSize, c.wantSize) << &c - cases;
    }
}

TEST(ZipWalk, HostileArchivesEndTheWalk) {
    // A compressed size that would wrap a 32-bit position back to the first header.
    std::vector<uint8_t> wrap;
    AddEntry(wrap, "a", 0xFFFFFFFFu - 30, 1, 0);
    AddEntry(wrap, "b", 0, 0, 0);
    MemoryByteStore wrapping(wrap);
    auto seen = Walk(wrapping);
    ASSERT_EQ(seen.size(), 1u) << "listed once, no loop";
    EXPECT_EQ(seen[0].name, "a");

    std::vector<uint8_t> zip64;
    AddEntry(zip64, "big", 0xFFFFFFFFu, 0xFFFFFFFFu, 0);
    AddEntry(zip64, "after", 0, 0, 0);
    MemoryByteStore sized(zip64);
    seen = Walk(sized);
    ASSERT_EQ(seen.size(), 1u) << "sizes kept elsewhere: listed, then the walk cannot go on";
    EXPECT_EQ(seen[0].name, "big");
    EXPECT_EQ(seen[0].uncompressedSize, 0xFFFFFFFFu);

    std::vector<uint8_t> cut;
    AddEntry(cut, "first", 2, 2, 2);
    AddEntry(cut, "second-name", 0, 0, 0);
    cut.resize(cut.size() - 4);
    MemoryByteStore truncated(cut);
    seen = Walk(truncated);
    ASSERT_EQ(seen.size(), 1u) << "a name cut short is not read";

    std::vector<uint8_t> both;
    AddEntry(both, "one", 1, 1, 1);
    AddEntry(both, "two", 1, 1, 1);
    MemoryByteStore damaged(both, 40);
    EXPECT_EQ(Walk(damaged).size(), 1u) << "a short read ends the walk";

    // Sizes after the data: listed with 0, the walk stops on the data.
    std::vector<uint8_t> desc;
    AddEntry(desc, "streamed", 0, 0, 10, 0x0008);
    AddEntry(desc, "later", 0, 0, 0);
    MemoryByteStore streamed(desc);
    seen = Walk(streamed);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].uncompressedSize, 0u);

    std::vector<uint8_t> many;
    for (int i = 0; i < 40000; ++i) AddEntry(many, "f" + std::to_string(i), 0, 0, 0);
    MemoryByteStore crowded(many);
    ZipTotals t;
    WalkZipLocalHeaders(crowded, [&](const ZipEntry& e) {
        t.Add(e);
        return true;
    });
    EXPECT_EQ(t.files, 40000u) << "counts past 32,767";
}
