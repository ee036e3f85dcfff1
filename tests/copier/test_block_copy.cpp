// The copy and merge loops over real files, with chosen source ranges unreadable.
#include "CopyFakes.h"

using namespace copytest;
using namespace testsupport;
using salva::CopyControl;
using salva::CopyLabel;

namespace {

const std::wstring kIndent(22, L' ');

std::vector<std::pair<int64_t, uint32_t>> Ranges(std::initializer_list<std::pair<int64_t, uint32_t>> r) { return r; }

}  // namespace

TEST(BlockCopy, TenBytesInStepsOfFourOverlapByOneAndFinishWithTheRemainder) {
    Rig rig;
    const auto src = rig.MakeSource(10);
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    // Blocks at positions 1-5 and 5-9, then the final pass of step 1 covers 9-10.
    EXPECT_EQ(Ranges({{0, 5}, {4, 5}, {8, 2}}), rig.reader.reads);
    EXPECT_EQ(src, ReadBytes(rig.dst));
    EXPECT_EQ(L"10字节", rig.host.Label(CopyLabel::Copied));
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(rig.src + L"\r\n已被成功地复制到：" + rig.dst, rig.host.shown[0].text);
    EXPECT_EQ(L"文件复制完成！", rig.host.shown[0].title);
    EXPECT_EQ(48u, rig.host.shown[0].style);
    ASSERT_EQ(1u, rig.host.log.size());
    EXPECT_EQ(rig.src + L"\r\n" + kIndent + L"被成功地复制到：\r\n" + kIndent + rig.dst + L"\r\n" + kIndent +
                  L"文件大小：10字节  总计消耗：00:00:00  存取速度：0KB/秒",
              rig.host.log[0])
        << rig.LogText();
    EXPECT_FALSE(rig.engine.Running());
    EXPECT_TRUE(rig.host.Enabled(CopyControl::StartButton));
    EXPECT_FALSE(rig.host.Enabled(CopyControl::PauseButton));
    EXPECT_FALSE(rig.host.timer);
}

TEST(BlockCopy, SourceShorterThanTheStepIsOneBlock) {
    Rig rig;
    const auto src = rig.MakeSource(3);
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    EXPECT_EQ(Ranges({{0, 3}}), rig.reader.reads);
    EXPECT_EQ(src, ReadBytes(rig.dst));
}

TEST(BlockCopy, UnreadableByteIsSkippedBySkipBlocksTimesStepTimesEight) {
    Rig rig;
    const auto src = rig.MakeSource(100);
    rig.engine.SkipBlocksReleased(1);
    rig.reader.bad.push_back({9, 9, ERROR_NOT_READY});  // byte 10; Wine's code for an unreadable sector
    rig.env.ready = true;
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    ASSERT_GE(rig.host.log.size(), 2u) << rig.LogText();
    EXPECT_EQ(L"文件跳过：41字节", rig.host.log[0]);
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(100u, dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, 9)) << "bytes 1-9";
    for (size_t i = 9; i < 40; ++i) ASSERT_EQ(0, dst[i]) << "gap byte at position " << i + 1;
    EXPECT_EQ(-1, FirstDifference(src, dst, 40, 100)) << "bytes 41-100";
    EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title);
}

TEST(BlockCopy, MediaErrorInTheFirstBlockSkipsToo) {
    Rig rig;
    const auto src = rig.MakeSource(200);
    rig.engine.SkipBlocksReleased(1);
    rig.reader.bad.push_back({0, 0, ERROR_CRC});
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    ASSERT_FALSE(rig.host.log.empty());
    EXPECT_EQ(L"文件跳过：33字节", rig.host.log[0]);
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(200u, dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 32, 200));
    EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title) << Narrow(rig.host.Titles());
}

TEST(BlockCopy, DefaultSizesSkipThreeMillionBytesPastOneBadSpot) {
    Rig rig;
    const auto src = rig.MakeSource(10000000);
    rig.env.driveType = DRIVE_CDROM;
    rig.env.freeBytes = int64_t{1} << 40;
    rig.env.ready = true;
    rig.reader.bad.push_back({5000000, 5000000, ERROR_NOT_READY});
    rig.engine.BeginCopy(rig.src, rig.dst);
    EXPECT_EQ(40960, rig.engine.State().BlockBytes);
    // The block holding position 5,000,001 starts at 1 + 122 × 40,960.
    const int64_t failed = 1 + 122 * 40960, resumed = failed + 10 * 40960 * 8;
    ASSERT_FALSE(rig.host.log.empty());
    EXPECT_EQ(L"文件跳过：8,273,921字节", rig.host.log[0]);
    EXPECT_EQ(8273921, resumed);
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(src.size(), dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, failed)) << "before the spot";
    EXPECT_EQ(-1, FirstDifference(src, dst, resumed - 1, src.size())) << "after the skip";
    size_t nonzero = 0;
    for (int64_t i = failed; i < resumed - 1; ++i) nonzero += dst[i] != 0;
    EXPECT_EQ(0u, nonzero);
}

TEST(BlockCopy, SkipPastTheEndFinishesWithTheSourceLengthAndCountsWhatItLeftOut) {
    Rig rig;
    const auto src = rig.MakeSource(100);
    rig.engine.SkipBlocksReleased(1);
    rig.reader.bad.push_back({89, 89, ERROR_SECTOR_NOT_FOUND});
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(100u, dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, 89));
    for (size_t i = 89; i < 100; ++i) EXPECT_EQ(0, dst[i]) << "position " << i + 1;
    // The block at 89 fails after the one before brought byte 89: positions 90-100 are missing.
    const std::wstring counted = L"其中有 1 处无法读取，共跳过 11 字节没有复制。";
    ASSERT_EQ(2u, rig.host.log.size()) << rig.LogText();
    EXPECT_EQ(L"文件跳过：101字节", rig.host.log[0]);
    EXPECT_EQ(L"\r\n" + kIndent + counted, rig.host.log[1].substr(rig.host.log[1].rfind(L"\r\n"))) << rig.LogText();
    EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title);
    EXPECT_EQ(rig.src + L"\r\n已被成功地复制到：" + rig.dst + L"\r\n" + counted, rig.host.shown.back().text);
}

TEST(BlockCopy, OverwrittenLongerTargetEndsWithTheSourceLength) {
    Rig rig;
    const auto src = rig.MakeSource(1000);
    WriteBytes(rig.dst, Pattern(5000, 99));
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 64);
    EXPECT_EQ(src, ReadBytes(rig.dst));
}

TEST(BlockCopy, SkippedStretchOfAnExistingTargetKeepsItsBytes) {
    Rig rig;
    const auto src = rig.MakeSource(300);
    const auto old = Pattern(300, 42);
    WriteBytes(rig.dst, old);
    rig.engine.SkipBlocksReleased(1);
    rig.reader.bad.push_back({100, 100, ERROR_CRC});
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 10);
    // The block at 91 fails; the copy goes on at 91 + 80 = 171.
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(300u, dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, 91));
    EXPECT_EQ(-1, FirstDifference(old, dst, 91, 170));
    EXPECT_EQ(-1, FirstDifference(src, dst, 170, 300));
}

TEST(BlockCopy, EmptySourceEmptiesTheTarget) {
    Rig rig;
    rig.MakeSource(0);
    WriteBytes(rig.dst, Pattern(50));
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    EXPECT_EQ(0, FileLength(rig.dst));
    ASSERT_EQ(1u, rig.host.log.size());
    EXPECT_NE(std::wstring::npos, rig.host.log[0].find(L"文件大小：0字节")) << rig.LogText();
}

TEST(BlockMerge, TenBytesOntoAHundredAreWrittenAt101And105And109) {
    Rig rig;
    const auto src = rig.MakeSource(10);
    const auto old = Pattern(100, 3);
    WriteBytes(rig.dst, old);
    rig.engine.MergeFileByBlocks(rig.src, rig.dst, 4, 101);
    EXPECT_EQ(Ranges({{100, 5}, {104, 5}, {108, 2}}), rig.writer.writes);
    auto expected = old;
    expected.insert(expected.end(), src.begin(), src.end());
    EXPECT_EQ(expected, ReadBytes(rig.dst));
    ASSERT_EQ(1u, rig.host.log.size());
    EXPECT_EQ(rig.src + L"\r\n" + kIndent + L"被成功地合并到：\r\n" + kIndent + rig.dst + L"\r\n" + kIndent +
                  L"文件大小：10字节  总计消耗：00:00:00  存取速度：0KB/秒",
              rig.host.log[0]);
    EXPECT_EQ(L"文件合并完成！", rig.host.shown.back().title);
    EXPECT_EQ(rig.src + L"\r\n已被成功地合并到：" + rig.dst, rig.host.shown.back().text);
}

TEST(BlockMerge, SkipLeavesTheUnreadStretchOutWithoutAGap) {
    Rig rig;
    const auto src = rig.MakeSource(100);
    const auto old = Pattern(50, 3);
    WriteBytes(rig.dst, old);
    rig.engine.SkipBlocksReleased(1);
    rig.reader.bad.push_back({9, 9, ERROR_CRC});
    rig.engine.MergeFileByBlocks(rig.src, rig.dst, 4, 51);
    ASSERT_FALSE(rig.host.log.empty());
    EXPECT_EQ(L"文件跳过：41字节", rig.host.log[0]);
    // Old target, then source bytes 1-9 (byte 9 came with the block before the bad one), then 41-100.
    auto expected = old;
    expected.insert(expected.end(), src.begin(), src.begin() + 9);
    expected.insert(expected.end(), src.begin() + 40, src.end());
    const auto dst = ReadBytes(rig.dst);
    EXPECT_EQ(expected.size(), dst.size());
    EXPECT_EQ(expected, dst);
}

TEST(BlockMerge, EmptySourceFinishesWithoutDividingByZero) {
    Rig rig;
    rig.MakeSource(0);
    WriteBytes(rig.dst, Pattern(20));
    rig.engine.MergeFileByBlocks(rig.src, rig.dst, 4, 21);
    EXPECT_EQ(20, FileLength(rig.dst));
    EXPECT_EQ(L"100.00%", rig.host.lastPercent);
    EXPECT_EQ(L"文件合并完成！", rig.host.shown.back().title);
}

TEST(BlockCopy, BadFileNumberOnAReadSkipsOneStep) {
    Rig rig;
    const auto src = rig.MakeSource(100);
    rig.reader.bad.push_back({18, 18, ERROR_INVALID_HANDLE});
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4);
    // The block at 17 (17-21) fails; the copy goes on one step later, at 21.
    ASSERT_FALSE(rig.host.log.empty());
    EXPECT_EQ(L"文件跳过：21字节", rig.host.log[0]) << rig.LogText();
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(100u, dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, 17));
    for (size_t i = 17; i < 20; ++i) EXPECT_EQ(0, dst[i]) << "position " << i + 1;
    EXPECT_EQ(-1, FirstDifference(src, dst, 20, 100));
}
