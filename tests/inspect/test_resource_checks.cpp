// The checks made before an image, a picture, a clip or a version block reaches the system,
// over sound bytes and over bytes damaged the ways a hostile file damages them.
#include "HostileLibrary.h"
#include "inspect/AviClipCheck.h"
#include "inspect/ResourceImageChecks.h"
#include "inspect/VersionBlock.h"

#include <gtest/gtest.h>
#include <functional>

using namespace salva;
using hostilelib::DibHeader;
using hostilelib::IconImage;
using hostilelib::Put32;

namespace {

ResourceBytes Cat(std::initializer_list<ResourceBytes> parts) {
    ResourceBytes b;
    for (const auto& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

ResourceBytes Be(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}

ResourceBytes Text(const std::string& s) { return ResourceBytes(s.begin(), s.end()); }

ResourceBytes Le(uint32_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)}; }

ResourceBytes Png(uint32_t width, uint32_t ihdrLength = 13, uint32_t endLength = 0) {
    ResourceBytes ihdr = Cat({Be(width), Be(16), {8, 6, 0, 0, 0}});
    return Cat({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, Be(ihdrLength), Text("IHDR"), ihdr, Be(0),
                Be(endLength), Text("IEND"), Be(0)});
}

ResourceBytes Chunk(const std::string& id, const ResourceBytes& body, uint32_t claimed = UINT32_MAX) {
    return Cat({Text(id), Le(claimed == UINT32_MAX ? static_cast<uint32_t>(body.size()) : claimed), body});
}

ResourceBytes Riff(const ResourceBytes& chunks, uint32_t extraClaimed = 0) {
    return Cat({Text("RIFF"), Le(static_cast<uint32_t>(4 + chunks.size()) + extraClaimed), Text("AVI "), chunks});
}

ResourceBytes IconGroup(uint16_t count, uint16_t entriesHeld, uint16_t id) {
    ResourceBytes b{0, 0, 1, 0, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (int i = 0; i < entriesHeld; ++i)
        b.insert(b.end(), {16, 16, 0, 0, 1, 0, 32, 0, 0x68, 4, 0, 0, static_cast<uint8_t>(id), 0});
    return b;
}

ResourceBytes BitmapFile(const ResourceBytes& dib, uint32_t bitsAt) {
    ResourceBytes head = Cat({Text("BM"), Le(static_cast<uint32_t>(14 + dib.size())), Le(0), Le(bitsAt)});
    return Cat({head, dib});
}

ResourceBytes IconFile(const ResourceBytes& image, uint32_t at) {
    return Cat({{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0}, Le(static_cast<uint32_t>(image.size())), Le(at), image});
}

}  // namespace

TEST(ResourceChecks, SoundAndDamagedImagesPicturesAndClips) {
    const ResourceBytes icon = IconImage(16);
    const ResourceBytes bitmap = Cat({DibHeader(4, 3, 24), ResourceBytes(36, 0x40)});
    ResourceBytes lyingColours = Cat({DibHeader(4, 3, 8, 0, 256), ResourceBytes(10 * 4 + 12, 0)});
    const ResourceBytes rle = Cat({DibHeader(4, 2, 8, 1, 0, 8), ResourceBytes(256 * 4, 0), {4, 1, 0, 0, 4, 2, 0, 1}});
    const ResourceBytes rleLiteralPastEnd =
        Cat({DibHeader(4, 2, 8, 1, 0, 6), ResourceBytes(256 * 4, 0), {0, 40, 1, 2, 3, 4}});
    const ResourceBytes topDown = Cat({DibHeader(4, -3, 24), ResourceBytes(36, 0)});
    const ResourceBytes tooTall = Cat({DibHeader(4, 0x7FFFFFFF, 32), ResourceBytes(16, 0)});
    const ResourceBytes sixteenColours = Cat({DibHeader(4, 3, 4, 0, 17), ResourceBytes(17 * 4 + 6, 0)});
    const ResourceBytes list = Chunk("LIST", Cat({Text("hdrl"), Chunk("avih", ResourceBytes(56, 0))}));
    const struct {
        const char* what;
        std::function<bool()> check;
        bool passes;
    } cases[] = {
        {"icon image", [&] { return CheckIconImage(icon, false); }, true},
        {"icon image holding half its rows", [&] { return CheckIconImage(IconImage(16, 8), false); }, false},
        {"icon image without its mask", [&] { return CheckIconImage(ResourceBytes(icon.begin(), icon.end() - 64), false); }, false},
        {"cursor image after its hot spot", [&] { return CheckIconImage(Cat({{1, 0, 2, 0}, icon}), true); }, true},
        {"cursor image cut in its header", [&] { return CheckIconImage({1, 0, 2, 0, 40, 0, 0}, true); }, false},
        {"png icon image", [&] { return CheckIconImage(Png(16), false); }, true},
        {"png header chunk of a wrong length", [&] { return CheckIconImage(Png(16, 14), false); }, false},
        {"png chunk running past the end", [&] { return CheckIconImage(Png(16, 13, 100), false); }, false},
        {"png of 2^31 - 1 pixels a row", [&] { return CheckIconImage(Png(0x7FFFFFFF), false); }, false},
        {"png without its end chunk", [&] { const ResourceBytes p = Png(16); return CheckPng(p.data(), p.size() - 12); }, false},
        {"bitmap", [&] { return CheckBitmapResource(bitmap); }, true},
        {"top-down bitmap", [&] { return CheckBitmapResource(topDown); }, true},
        {"bitmap one row short", [&] { return CheckBitmapResource(ResourceBytes(bitmap.begin(), bitmap.end() - 12)); }, false},
        {"colour table past the end", [&] { return CheckBitmapResource(lyingColours); }, false},
        {"more colours than the bits can name", [&] { return CheckBitmapResource(sixteenColours); }, false},
        {"height far past its bits", [&] { return CheckBitmapResource(tooTall); }, false},
        {"header of an unknown size", [&] { ResourceBytes b = bitmap; b[0] = 41; return CheckBitmapResource(b); }, false},
        {"run-length bitmap", [&] { return CheckBitmapResource(rle); }, true},
        {"run-length literal past the bits", [&] { return CheckBitmapResource(rleLiteralPastEnd); }, false},
        {"icon group", [&] { return ReadIconGroup(IconGroup(1, 1, 7), false).size() == 1; }, true},
        {"icon group counting more than it holds", [&] { return !ReadIconGroup(IconGroup(5, 1, 7), false).empty(); }, false},
        {"gif picture, for its decoder", [&] { return CheckPictureData(Text("GIF89a")); }, true},
        {"bitmap file", [&] { return CheckPictureData(BitmapFile(bitmap, 54)); }, true},
        {"bitmap file whose bits start past the end", [&] { return CheckPictureData(BitmapFile(bitmap, 5000)); }, false},
        {"icon file", [&] { return CheckPictureData(IconFile(icon, 22)); }, true},
        {"icon file whose image lies past the end", [&] { return CheckPictureData(IconFile(icon, 400)); }, false},
        {"icon file holding a damaged image", [&] { return CheckPictureData(IconFile(IconImage(16, 4), 22)); }, false},
        {"avi of one list", [&] { return CheckAviClip(Riff(list)); }, true},
        {"avi of no chunks", [&] { return CheckAviClip(Riff({})); }, true},
        {"truncated avi", [&] { const ResourceBytes a = Riff(list); return CheckAviClip(ResourceBytes(a.begin(), a.end() - 20)); }, false},
        {"avi claiming more than it holds", [&] { return CheckAviClip(Riff(list, 4)); }, false},
        {"avi chunk claiming more than its list", [&] { return CheckAviClip(Riff(Chunk("LIST", Cat({Text("hdrl"), Chunk("avih", ResourceBytes(8, 0), 56)})))); }, false},
        {"riff of another form", [&] { ResourceBytes a = Riff(list); a[8] = 'W'; return CheckAviClip(a); }, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(), c.passes) << c.what;

    DibLayout l;
    ASSERT_TRUE(CheckDib(rle.data(), rle.size(), DibUse::Bitmap, &l));
    EXPECT_EQ(l.colourTableAt, 40u);
    EXPECT_EQ(l.colours, 256u);
    EXPECT_EQ(l.bitsAt, 40u + 1024u);
}

TEST(ResourceChecks, VersionTextFromTheBlockWhoseLengthsAreChecked) {
    using hostilelib::VersionText;
    const ResourceBytes sound = hostilelib::VersionResource(
        {VersionText(u"FileDescription", u"Resource samples"), VersionText(u"FileVersion", u"1.2.3.4"),
         VersionText(u"CompanyName", u"Maker")});
    const std::wstring soundText = L"FileVersion:\r\n\t1.2.3.4\r\nFileDescription:\r\n\tResource samples\r\n"
                                   L"CompanyName:\r\n\tMaker\r\n";
    EXPECT_EQ(VersionInfoText(sound), soundText);

    // The root claiming more than the resource: nothing is read.
    ResourceBytes b = sound;
    b[0] = 0xFF, b[1] = 0x7F;
    EXPECT_EQ(VersionInfoText(b), L"");
    // The resource cut short of its own length.
    EXPECT_EQ(VersionInfoText(ResourceBytes(sound.begin(), sound.end() - 8)), L"");
    // A string whose value claims more than its block is read up to the block's end.
    const ResourceBytes key = hostilelib::VersionResource({VersionText(u"CompanyName", u"Maker")});
    b = key;
    const size_t value = std::search(b.begin(), b.end(), std::begin(u8"C\0o\0m"), std::begin(u8"C\0o\0m") + 5) - b.begin();
    ASSERT_LT(value, b.size());
    b[value - 4] = 0xFF;  // the value length of the CompanyName block
    EXPECT_EQ(VersionInfoText(b), L"CompanyName:\r\n\tMaker\r\n");
    // A string block claiming more than its table ends the walk of that table.
    b = key;
    b[value - 6] = 0xF0;
    EXPECT_EQ(VersionInfoText(b), L"");
    // A translation shorter than four bytes gives no text.
    b = key;
    const size_t tr = std::search(b.begin(), b.end(), std::begin(u8"T\0r\0a"), std::begin(u8"T\0r\0a") + 5) - b.begin();
    ASSERT_LT(tr, b.size());
    b[tr - 4] = 2;
    EXPECT_EQ(VersionInfoText(b), L"");
    EXPECT_EQ(VersionInfoText({}), L"");
}
