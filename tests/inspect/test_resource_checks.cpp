// The checks made before an image, a picture, a clip or a version block reaches the system,
// over sound bytes and over bytes damaged the ways a hostile file damages them.
#include "HostileLibrary.h"
#include "inspect/AviClipCheck.h"
#include "inspect/ResourceImageChecks.h"
#include "inspect/VersionBlock.h"

#include <gtest/gtest.h>
#include <functional>

using namespace salva;
using namespace hostilelib;

namespace {

ResourceBytes Be(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}

ResourceBytes Png(uint32_t width, uint32_t ihdrLength = 13, uint32_t endLength = 0) {
    return Cat({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, Be(ihdrLength), Text("IHDR"), Be(width), Be(16),
                {8, 6, 0, 0, 0}, Be(0), Be(endLength), Text("IEND"), Be(0)});
}

ResourceBytes IconFile(const ResourceBytes& image, uint32_t at) {
    return Cat({{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0}, Le(static_cast<uint32_t>(image.size())), Le(at), image});
}

}  // namespace

TEST(ResourceChecks, SoundAndDamagedImagesPicturesAndClips) {
    const ResourceBytes icon = IconImage(16);
    const ResourceBytes bitmap = Cat({DibHeader(4, 3, 24), ResourceBytes(36, 0x40)});
    const ResourceBytes palette(256 * 4, 0);
    const ResourceBytes list = Chunk("LIST", Cat({Text("hdrl"), Chunk("avih", ResourceBytes(56, 0))}));
    const ResourceBytes avi = Riff(list);
    auto iconImage = [](const ResourceBytes& b) { return CheckIconImage(b, false); };
    auto cursorImage = [](const ResourceBytes& b) { return CheckIconImage(b, true); };
    auto group = [](const ResourceBytes& b) { return !ReadIconGroup(b, false).empty(); };
    const struct {
        const char* what;
        std::function<bool(const ResourceBytes&)> check;
        ResourceBytes bytes;
        bool passes;
    } cases[] = {
        {"icon image", iconImage, icon, true},
        {"icon image holding half its rows", iconImage, IconImage(16, 8), false},
        {"icon image without its mask", iconImage, ResourceBytes(icon.begin(), icon.end() - 64), false},
        {"cursor image after its hot spot", cursorImage, Cat({{1, 0, 2, 0}, icon}), true},
        {"png icon image", iconImage, Png(16), true},
        {"png header chunk of a wrong length", iconImage, Png(16, 14), false},
        {"png chunk running past the end", iconImage, Png(16, 13, 100), false},
        {"png of 2^31 - 1 pixels a row", iconImage, Png(0x7FFFFFFF), false},
        {"bitmap", CheckBitmapResource, bitmap, true},
        {"top-down bitmap", CheckBitmapResource, Cat({DibHeader(4, -3, 24), ResourceBytes(36, 0)}), true},
        {"bitmap one row short", CheckBitmapResource, ResourceBytes(bitmap.begin(), bitmap.end() - 12), false},
        {"colour table past the end", CheckBitmapResource, Cat({DibHeader(4, 3, 8, 0, 256), ResourceBytes(52, 0)}),
         false},
        {"more colours than the bits can name", CheckBitmapResource,
         Cat({DibHeader(4, 3, 4, 0, 17), ResourceBytes(17 * 4 + 6, 0)}), false},
        {"height far past its bits", CheckBitmapResource, Cat({DibHeader(4, 0x7FFFFFFF, 32), ResourceBytes(16, 0)}),
         false},
        {"run-length bitmap", CheckBitmapResource,
         Cat({DibHeader(4, 2, 8, 1, 0, 8), palette, {4, 1, 0, 0, 4, 2, 0, 1}}), true},
        {"run-length literal past the bits", CheckBitmapResource,
         Cat({DibHeader(4, 2, 8, 1, 0, 6), palette, {0, 40, 1, 2, 3, 4}}), false},
        {"icon group", group, IconGroup(1, 1, 7), true},
        {"icon group counting more than it holds", group, IconGroup(5, 1, 7), false},
        {"gif picture, for its decoder", CheckPictureData, Text("GIF89a"), true},
        {"bitmap file", CheckPictureData, BitmapFile(bitmap, 54), true},
        {"bitmap file whose bits start past the end", CheckPictureData, BitmapFile(bitmap, 5000), false},
        {"icon file", CheckPictureData, IconFile(icon, 22), true},
        {"icon file whose image lies past the end", CheckPictureData, IconFile(icon, 400), false},
        {"avi of one list", CheckAviClip, avi, true},
        {"truncated avi", CheckAviClip, ResourceBytes(avi.begin(), avi.end() - 20), false},
        {"avi claiming more than it holds", CheckAviClip, Riff(list, 4), false},
        {"avi chunk claiming more than its list", CheckAviClip,
         Riff(Chunk("LIST", Cat({Text("hdrl"), Chunk("avih", ResourceBytes(8, 0), 56)}))), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(c.bytes), c.passes) << c.what;
}

TEST(ResourceChecks, VersionTextFromTheBlockWhoseLengthsAreChecked) {
    const ResourceBytes sound = VersionResource({VersionText(u"FileDescription", u"Resource samples"),
                                                 VersionText(u"FileVersion", u"1.2.3.4"),
                                                 VersionText(u"CompanyName", u"Maker")});
    const ResourceBytes key = VersionResource({VersionText(u"CompanyName", u"Maker")});
    const char name[] = "C\0o\0m";
    const size_t value = std::search(key.begin(), key.end(), name, name + 5) - key.begin();
    ASSERT_LT(value, key.size());
    auto with = [](ResourceBytes b, size_t at, uint8_t v) { return b[at] = v, b; };
    const struct {
        const char* what;
        ResourceBytes bytes;
        std::wstring text;
    } cases[] = {
        {"sound", sound,
         L"FileVersion:\r\n\t1.2.3.4\r\nFileDescription:\r\n\tResource samples\r\nCompanyName:\r\n\tMaker\r\n"},
        {"root claiming more than the resource", with(with(sound, 0, 0xFF), 1, 0x7F), L""},
        {"value claiming more than its block, read to the block's end", with(key, value - 4, 0xFF),
         L"CompanyName:\r\n\tMaker\r\n"},
        {"string block claiming more than its table", with(key, value - 6, 0xF0), L""},
        {"empty", {}, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(VersionInfoText(c.bytes), c.text) << c.what;
}
