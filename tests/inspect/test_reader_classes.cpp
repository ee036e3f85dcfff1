// The reader classes on files made by ffmpeg, zip and the sample script, and on hostile files
// written here: properties, kept values, the tag written back at exactly 128 bytes.
#include "TestSupport.h"
#include "inspect/FlashInformation.h"
#include "inspect/MP3Information.h"
#include "inspect/Mp3ID3v1TAG.h"
#include "inspect/ZipInformation.h"
#include <gtest/gtest.h>

using testsupport::Narrow;

namespace {
std::wstring Sample(const wchar_t* name) { return std::wstring(SALVA_SAMPLES_DIR) + L"\\" + name; }
}  // namespace

TEST(MP3Information, VersionTwoAndKeptValues) {
    MP3Information info;
    info.FileName(Sample(L"tagged.mp3"));
    EXPECT_EQ(info.FrameSize(), 384);
    EXPECT_EQ(info.BitStr().substr(0, 16), L"1111111111111011");
    MP3Information v2;
    v2.FileName(Sample(L"mpeg2.mp3"));
    EXPECT_EQ(Narrow(v2.VersionLayer()), "MPEG 2.0 Layer 3");
    EXPECT_EQ(v2.BitRate(), 64);
    EXPECT_EQ(v2.Frequency(), 22050);

    // A path that cannot be read keeps the previous parse.
    info.FileName(Sample(L"missing.mp3"));
    EXPECT_EQ(info.FileName(), Sample(L"tagged.mp3"));
    EXPECT_EQ(info.BitRate(), 128);
}

TEST(MP3Information, HostileAndEmptyFiles) {
    testsupport::TempDir dir;
    // 0xFF in the last three bytes: no header, nothing read past the end.
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"tail.mp3", {0x41, 0x42, 0xFF, 0xFB, 0x90}));
    MP3Information tail;
    tail.FileName(dir / L"tail.mp3");
    EXPECT_EQ(tail.FileSize(), L"5");
    EXPECT_EQ(tail.BitStr(), L"");
    EXPECT_EQ(tail.BitRate(), 0);
    // Sampling bits 11: no frequency, so no frame size or frames; the time still comes.
    std::vector<uint8_t> bad(16000, 0);
    bad[0] = 0xFF, bad[1] = 0xFB, bad[2] = 0x9C;
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"rate.mp3", bad));
    MP3Information rate;
    rate.FileName(dir / L"rate.mp3");
    EXPECT_EQ(rate.Frequency(), 0);
    EXPECT_EQ(rate.FrameSize(), 0);
    EXPECT_EQ(rate.Frames(), 0);
    EXPECT_EQ(rate.Seconds().value_or(-1), 1);
    EXPECT_EQ(rate.BitRate(), 128);
}

TEST(Mp3ID3v1TAG, UntaggedFileKeepsANewRecord) {
    Mp3ID3v1TAG none;
    EXPECT_FALSE(none.GetId3(Sample(L"untagged.mp3")));
    EXPECT_EQ(none.Artist(), L"未知艺术家");
    EXPECT_EQ(Narrow(none.Genre()), "Blues");
    EXPECT_EQ(none.Track(), L"");
    EXPECT_FALSE(none.GetId3(Sample(L"missing.mp3")));
    const auto genres = none.GetGenreList();
    ASSERT_EQ(genres.size(), 148u);
    EXPECT_EQ(Narrow(genres[147]), "Synth Pop");
}

TEST(Mp3ID3v1TAG, ChineseTitleSavedAtFixedWidth) {
    testsupport::TempDir dir;
    const std::wstring path = dir / L"song.mp3";
    ASSERT_TRUE(testsupport::WriteBytes(path, testsupport::ReadBytes(Sample(L"untagged.mp3"))));
    const int64_t before = testsupport::FileLength(path);

    std::wstring title;
    for (int i = 0; i < 30; ++i) title.push_back(static_cast<wchar_t>(L'一' + i));
    Mp3ID3v1TAG tag;
    tag.Title(title);
    tag.Artist(L"歌手");
    tag.Comments(L"two words");
    EXPECT_TRUE(tag.Track(L"12"));
    EXPECT_FALSE(tag.Track(L"256"));
    EXPECT_FALSE(tag.Genre(L"x"));
    EXPECT_TRUE(tag.Genre(L"148"));
    ASSERT_TRUE(tag.SaveId3(path));
    EXPECT_EQ(testsupport::FileLength(path), before + 128);
    ASSERT_TRUE(tag.SaveId3(path));
    EXPECT_EQ(testsupport::FileLength(path), before + 128) << "the second save overwrites";

    Mp3ID3v1TAG back;
    ASSERT_TRUE(back.GetId3(path));
    EXPECT_EQ(back.Title(), title.substr(0, 15)) << "30 bytes hold 15 double-byte characters";
    EXPECT_EQ(back.Artist(), L"歌手");
    EXPECT_EQ(Narrow(back.Comments()), "two words");
    EXPECT_EQ(Narrow(back.Track()), "12");
    EXPECT_EQ(Narrow(back.Genre()), "None");

    // 127 bytes hold no tag; saving gives them one after their bytes.
    const std::wstring small = dir / L"small.mp3";
    ASSERT_TRUE(testsupport::WriteBytes(small, std::vector<uint8_t>(127, 'T')));
    EXPECT_FALSE(back.GetId3(small));
    ASSERT_TRUE(back.SaveId3(small));
    EXPECT_EQ(testsupport::FileLength(small), 255);
    EXPECT_FALSE(back.SaveId3(dir / L"missing.mp3"));

    // A control character inside a field (a forged line of facts) reads back as a space.
    back.Title(L"A\r\n长度：9\x1b\x7f秒");
    ASSERT_TRUE(back.SaveId3(small));
    ASSERT_TRUE(back.GetId3(small));
    EXPECT_EQ(Narrow(back.Title()), Narrow(L"A  长度：9  秒"));
}

TEST(FlashInformation, RefusedFilesChangeNothingAndAreLetGo) {
    FlashInformation flash;
    ASSERT_TRUE(flash.GetFlashInformation(Sample(L"movie.swf")));
    EXPECT_EQ(flash.Sizes(), 30);
    EXPECT_EQ(flash.Red(), 0x33);
    EXPECT_FALSE(flash.GetFlashInformation(Sample(L"compressed.swf")));
    EXPECT_EQ(flash.Version(), L"6");

    testsupport::TempDir dir;
    auto ten = testsupport::ReadBytes(Sample(L"movie.swf"));
    ten.resize(10);
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"ten.swf", ten));
    EXPECT_FALSE(flash.GetFlashInformation(dir / L"ten.swf"));
    EXPECT_TRUE(::DeleteFileW((dir / L"ten.swf").c_str())) << "closed after the refusal";
    EXPECT_EQ(flash.Width(), 550u);
    EXPECT_EQ(ShortestFloatText(12.5f), L"12.5");
}

TEST(ZipText, ColumnTexts) {
    EXPECT_EQ(zip_text::DosDateText(0x2A21), L"2001-01-01");
    EXPECT_EQ(zip_text::DosTimeText(0x6C48), L"13:34:16");
    EXPECT_EQ(zip_text::DosTimeText(0x6C48 + 1), L"13:34:18");
    // Two digits a byte, no line break in the cell.
    EXPECT_EQ(zip_text::CrcText(0x0A0B0C0D), L"0A0B0C0D");
    EXPECT_EQ(zip_text::CrcText(0x1FAB0010), L"1FAB0010");
    EXPECT_EQ(zip_text::RatioText(100, 100), L"0.00%");
    EXPECT_EQ(zip_text::RatioText(25, 100), L"75.00%");
    EXPECT_EQ(zip_text::RatioText(5, 0), L"");
    salva::readers::ZipEntry e;
    e.name = "\xD6\xD0.txt";
    EXPECT_EQ(zip_text::EntryName(e), L"中.txt");
    e.name = "\xE4\xB8\xAD.txt";
    e.flags = 0x0800;
    EXPECT_EQ(zip_text::EntryName(e), L"中.txt") << "names flagged UTF-8";
}
