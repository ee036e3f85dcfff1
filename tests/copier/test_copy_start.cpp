// The copy start: path and space checks, read sizes, the record and the two prompts.
#include "CopyFakes.h"
#include "copier/BlockUnit.h"
#include "copier/FileNameRules.h"

using namespace copytest;
using namespace testsupport;
using salva::BlockUnit;

namespace {
const std::wstring kIndent(22, L' ');
}

TEST(CopyStartReadSize, BlockUnitByPathDriveTypeExtensionAndPlatform) {
    struct Case {
        const wchar_t *source, *destination;
        unsigned drive;
        int platform;
        int unit;
    } cases[] = {
        {L"D:\\v\\a.dat", L"\\\\srv\\share\\a.dat", 5, 2, 4096},
        {L"\\\\srv\\share\\a.vob", L"C:\\a.vob", 5, 2, 4096},
        {L"D:\\v\\x.vob", L"C:\\x.vob", 5, 2, 5120},
        {L"D:\\v\\x.VoB", L"C:\\x.vob", 5, 1, 5120},
        {L"D:\\v\\x.dat", L"C:\\x.dat", 5, 2, 4096},
        {L"D:\\v\\x.avi", L"C:\\x.avi", 5, 2, 4096},
        {L"C:\\a.bin", L"E:\\a.bin", 3, 1, 61440},
        {L"C:\\a.bin", L"E:\\a.bin", 3, 2, 6144},
        {L"C:\\a.bin", L"E:\\a.bin", 3, 3, 6144},
        {L"C:\\a.bin", L"E:\\a.bin", 3, 0, 6144},
        {L"A:\\a.bin", L"C:\\a.bin", 2, 2, 128},
        {L"a:\\a.bin", L"C:\\a.bin", 2, 1, 128},
        {L"F:\\a.bin", L"C:\\a.bin", 2, 2, 1024},
        {L"G:\\a.bin", L"C:\\a.bin", 0, 2, 4096},
        {L"G:\\a.bin", L"C:\\a.bin", 1, 2, 4096},
        {L"G:\\a.bin", L"C:\\a.bin", 4, 2, 4096},
        {L"G:\\a.bin", L"C:\\a.bin", 6, 2, 4096},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.unit, BlockUnit(c.source, c.destination, c.drive, c.platform))
            << Narrow(c.source) << " -> " << Narrow(c.destination) << " drive " << c.drive << " platform " << c.platform;
}

TEST(CopyStartReadSize, ReadSizeIsSliderTimesUnitForEachDriveType) {
    Rig rig;
    struct Case {
        unsigned drive;
        int platform;
        const wchar_t* source;
        int64_t bytes;
    } cases[] = {{5, 2, L"D:\\a.dat", 40960}, {5, 2, L"D:\\a.vob", 51200}, {3, 1, L"C:\\a", 614400},
                 {3, 2, L"C:\\a", 61440},     {2, 2, L"A:\\a", 1280},      {2, 2, L"F:\\a", 10240}};
    for (const auto& c : cases) {
        rig.env.driveType = c.drive;
        rig.env.platform = c.platform;
        rig.engine.ReadBlocksReleased(10, c.source, L"C:\\out");
        EXPECT_EQ(c.bytes, rig.engine.State().BlockBytes) << Narrow(c.source) << " drive " << c.drive;
    }
    EXPECT_EQ(L"10块", rig.host.Label(salva::CopyLabel::ReadBlocks));
    rig.engine.ReadBlocksReleased(3, L"\\\\srv\\s\\a", L"C:\\out");
    EXPECT_EQ(3 * 4096, rig.engine.State().BlockBytes);
    EXPECT_EQ(L"3块", rig.host.Label(salva::CopyLabel::ReadBlocks));
}

TEST(CopyStartChecks, EmptyPathsAreRefused) {
    Rig rig;
    rig.engine.BeginCopy(L"  ", rig.dst);
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"源文件路径与文件保存路径不能为空。", rig.host.shown[0].text);
    EXPECT_EQ(L"提醒！", rig.host.shown[0].title);
    EXPECT_EQ(48u, rig.host.shown[0].style);
}

TEST(CopyStartChecks, SameFileIsRefusedBeforeAnythingIsWritten) {
    Rig rig;
    const auto src = rig.MakeSource(5000);
    rig.engine.BeginCopy(rig.src, rig.dir.path() + L"\\.\\SOURCE.DAT");
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_NE(std::wstring::npos, rig.host.shown[0].text.find(L"同一个文件")) << Narrow(rig.host.shown[0].text);
    EXPECT_TRUE(rig.writer.writes.empty());
    EXPECT_EQ(src, ReadBytes(rig.src));
}

TEST(CopyStartChecks, MissingSourceAndInvalidDestination) {
    Rig rig;
    rig.engine.BeginCopy(rig.dir / L"missing.dat", rig.dst);
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"源文件没有被找到，请确定所选择的文件是否存在。", rig.host.shown[0].text);
    EXPECT_EQ(L"Error", rig.host.shown[0].title);
    EXPECT_EQ(48u, rig.host.shown[0].style);

    rig.MakeSource(10);
    rig.env.freeBytes = -1;
    rig.engine.BeginCopy(rig.src, rig.dst);
    ASSERT_EQ(2u, rig.host.shown.size());
    EXPECT_EQ(L"无效的文件保存路径。", rig.host.shown[1].text);
    EXPECT_EQ(L"Error", rig.host.shown[1].title);
    EXPECT_EQ(-1, FileLength(rig.dst));
}

TEST(CopyStartChecks, NamesOpenedAsAnotherFileOrADeviceAreToldAndLogged) {
    // As the source, and as the target (where a device name fails the drive's space query):
    // beside "dot.dat" and "sp.dat", the exact forms make the names with the dot and the blank.
    for (const bool asTarget : {false, true})
        for (const wchar_t* name : {L"dot.dat.", L"sp.dat ", L"aux.dat", L"con", L"nul.txt", L"com1.dat", L"lpt1"}) {
            Rig rig;
            const std::wstring named = rig.dir / name;
            WriteBytes(rig.dir / L"dot.dat", Pattern(3000, 1));
            WriteBytes(rig.dir / L"sp.dat", Pattern(3000, 2));
            if (salva::EndsInDotOrSpace(name)) ASSERT_TRUE(WriteBytes(L"\\\\?\\" + named, Pattern(2000, 3)));
            rig.MakeSource(2000);
            rig.engine.BeginCopy(asTarget ? rig.src : named, asTarget ? named : rig.dst);
            const std::string what = Narrow(name) + (asTarget ? " as the target" : " as the source");
            ASSERT_EQ(1u, rig.host.shown.size()) << what << Narrow(rig.host.Titles());
            EXPECT_NE(std::wstring::npos, rig.host.shown[0].text.find(L"“" + named + L"”")) << what;
            EXPECT_EQ(L"复制文件时出错！", rig.host.shown[0].title) << what;
            ASSERT_EQ(1u, rig.host.log.size()) << what;
            EXPECT_NE(std::wstring::npos, rig.host.log[0].find(L"“" + named + L"”")) << what;
            EXPECT_TRUE(rig.writer.writes.empty()) << what;
            EXPECT_EQ(-1, FileLength(rig.dst)) << what;
        }
}

TEST(CopyStartChecks, FreeSpaceEqualIsEnoughOneByteShortAsks) {
    Rig rig;
    const auto src = rig.MakeSource(3 * 1024 * 1024 + 5);
    rig.env.freeBytes = static_cast<int64_t>(src.size());
    rig.engine.BeginCopy(rig.src, rig.dst);
    EXPECT_TRUE(rig.host.log.size() == 1 && rig.host.shown.size() == 1) << rig.LogText();
    EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title);
    EXPECT_EQ(src, ReadBytes(rig.dst));

    Rig short_;
    short_.MakeSource(3 * 1024 * 1024 + 5);
    short_.env.freeBytes = 3 * 1024 * 1024 + 4;
    short_.host.answers = {IDNO};
    short_.engine.BeginCopy(short_.src, short_.dst);
    const std::wstring drive = short_.dst.substr(0, 2);
    ASSERT_EQ(1u, short_.host.log.size());
    EXPECT_EQ(L"复制文件“" + short_.src + L"”时遇到错误。\r\n" + kIndent + L"错误原因：" + drive + L"盘空间不足\r\n" + kIndent +
                  L"可用空间：3MB\r\n" + kIndent + L"文件大小：3MB",
              short_.host.log[0]);
    ASSERT_EQ(1u, short_.host.shown.size());
    std::wstring upper = drive;
    upper[0] = static_cast<wchar_t>(towupper(upper[0]));
    EXPECT_EQ(upper + L"盘空间不足，请重新选择文件保存路径\r\n可用空间：3MB\r\n文件大小：3MB\r\n\r\n是[Y]：忽略，继续复制\r\n否[N]：取消复制，重新选择文件保存路径",
              short_.host.shown[0].text);
    EXPECT_EQ(52u, short_.host.shown[0].style);
    EXPECT_EQ(L"提醒！", short_.host.shown[0].title);
    EXPECT_EQ(7, short_.engine.State().PromptResult);
    EXPECT_EQ(-1, FileLength(short_.dst));

    Rig yes;
    const auto src2 = yes.MakeSource(1000);
    yes.env.freeBytes = 999;
    yes.host.answers = {IDYES};
    yes.engine.BeginCopy(yes.src, yes.dst);
    EXPECT_EQ(src2, ReadBytes(yes.dst));
}

TEST(CopyStartPrompts, ExistingTargetWithoutRecordTakesEveryAnswer) {
    {  // overwrite
        Rig rig;
        const auto src = rig.MakeSource(20000);
        WriteBytes(rig.dst, Pattern(30000, 9));
        rig.prompts.existingTarget = 1;
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(std::vector<std::wstring>{L"existing:" + rig.src + L">" + rig.dst}, rig.prompts.asked);
        EXPECT_EQ(src, ReadBytes(rig.dst));
    }
    {  // append: goes on at the target's length
        Rig rig;
        const auto src = rig.MakeSource(20000);
        auto part = std::vector<uint8_t>(src.begin(), src.begin() + 7000);
        WriteBytes(rig.dst, part);
        rig.prompts.existingTarget = 2;
        rig.engine.BeginCopy(rig.src, rig.dst);
        ASSERT_FALSE(rig.reader.reads.empty());
        EXPECT_EQ(6999, rig.reader.reads[0].first);
        EXPECT_EQ(src, ReadBytes(rig.dst));
    }
    {  // append onto an empty target starts at the first byte
        Rig rig;
        const auto src = rig.MakeSource(5000);
        WriteBytes(rig.dst, {});
        rig.prompts.existingTarget = 2;
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(src, ReadBytes(rig.dst));
    }
    {  // merge
        Rig rig;
        const auto src = rig.MakeSource(20000);
        const auto old = Pattern(1234, 4);
        WriteBytes(rig.dst, old);
        rig.prompts.existingTarget = 3;
        rig.engine.BeginCopy(rig.src, rig.dst);
        auto expected = old;
        expected.insert(expected.end(), src.begin(), src.end());
        EXPECT_EQ(expected, ReadBytes(rig.dst));
        EXPECT_EQ(L"文件合并完成！", rig.host.shown.back().title);
    }
    {  // delete: nothing copied
        Rig rig;
        rig.MakeSource(100);
        WriteBytes(rig.dst, Pattern(10));
        rig.prompts.existingTarget = 4;
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(-1, FileLength(rig.dst));
        EXPECT_TRUE(rig.reader.reads.empty());
        EXPECT_TRUE(rig.host.shown.empty());
    }
    {  // rename: the new name in the target's folder is copied, recorded and closed
        Rig rig;
        const auto src = rig.MakeSource(9000);
        const auto old = Pattern(10);
        WriteBytes(rig.dst, old);
        rig.prompts.existingTarget = 5;
        rig.prompts.renameTo = L"renamed.dat";
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(src, ReadBytes(rig.dir / L"renamed.dat"));
        EXPECT_EQ(old, ReadBytes(rig.dst));
        EXPECT_EQ(rig.dir / L"renamed.dat", rig.engine.State().Target);
    }
    for (long cancel : {-1L, 0L, 7L}) {  // cancel: nothing copied, nothing logged
        Rig rig;
        rig.MakeSource(100);
        const auto old = Pattern(10);
        WriteBytes(rig.dst, old);
        rig.prompts.existingTarget = cancel;
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(old, ReadBytes(rig.dst)) << cancel;
        EXPECT_TRUE(rig.host.log.empty()) << cancel;
        EXPECT_TRUE(rig.reader.reads.empty()) << cancel;
    }
}

TEST(CopyStartPrompts, RecordOffersContinueOrOverwrite) {
    // A target of 100,000 bytes with its record: continue at 99,984 with the stored seconds.
    Rig rig;
    const auto src = rig.MakeSource(300000);
    std::vector<uint8_t> part(src.begin(), src.begin() + 100000);
    WriteBytes(rig.dst, part);
    salva::ResumeValues v;
    v.fileLength = 100000;
    v.haveCopied = 100000;
    v.totalTime = 33;
    rig.prompts.WriteResumeRecord(rig.dst, v);
    ASSERT_EQ(100016, FileLength(rig.dst));
    rig.prompts.overwriteOrContinue = 2;
    int64_t elapsedAtStart = -1, firstPos = -1;
    rig.host.onPump = [&](int n) {
        if (n == 1) elapsedAtStart = rig.engine.State().ElapsedSeconds, firstPos = rig.reader.reads[0].first + 1;
    };
    rig.env.nowMs += 0;
    rig.engine.BeginCopy(rig.src, rig.dst);
    EXPECT_EQ(99984, firstPos);
    EXPECT_EQ(33, elapsedAtStart);
    EXPECT_EQ(src, ReadBytes(rig.dst));
    ASSERT_EQ(1u, rig.prompts.asked.size());
    EXPECT_EQ(L"continue:" + rig.src + L">" + rig.dst, rig.prompts.asked[0]);

    // A record claiming more than the target holds is held to the byte its marker overwrote.
    Rig odd;
    const auto src2 = odd.MakeSource(50000);
    WriteBytes(odd.dst, std::vector<uint8_t>(src2.begin(), src2.begin() + 1000));
    v.fileLength = 40000;
    odd.prompts.WriteResumeRecord(odd.dst, v);
    odd.prompts.overwriteOrContinue = 2;
    odd.engine.BeginCopy(odd.src, odd.dst);
    ASSERT_FALSE(odd.reader.reads.empty());
    EXPECT_EQ(1000, odd.reader.reads[0].first + 1);
    EXPECT_EQ(src2, ReadBytes(odd.dst));

    // Cancel in the record prompt leaves the target as it was.
    Rig cancel;
    cancel.MakeSource(5000);
    WriteBytes(cancel.dst, Pattern(100));
    v.fileLength = 100;
    cancel.prompts.WriteResumeRecord(cancel.dst, v);
    const auto before = ReadBytes(cancel.dst);
    cancel.prompts.overwriteOrContinue = 0;
    cancel.engine.BeginCopy(cancel.src, cancel.dst);
    EXPECT_EQ(before, ReadBytes(cancel.dst));
    EXPECT_TRUE(cancel.host.log.empty());
}

TEST(CopyStartChecks, OtherLengthQueryFailuresShowTheirNumber) {
    Rig rig;
    rig.MakeSource(100);
    rig.reader.lengthError = ERROR_INVALID_PARAMETER;
    rig.engine.BeginCopy(rig.src, rig.dst);
    EXPECT_TRUE(rig.host.shown.empty()) << "invalid call shows nothing";
    rig.reader.lengthError = ERROR_SHARING_VIOLATION;
    rig.engine.BeginCopy(rig.src, rig.dst);
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"权限被拒绝[70]", rig.host.shown[0].text);
    EXPECT_EQ(L"Error", rig.host.shown[0].title);
    EXPECT_EQ(48u, rig.host.shown[0].style);
    EXPECT_EQ(-1, FileLength(rig.dst));
    EXPECT_TRUE(rig.host.Enabled(salva::CopyControl::StartButton));
}
