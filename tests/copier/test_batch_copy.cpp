// The batch copy of all listed files through its real window, with the copy engine's fakes
// for the prompts, the drive facts and failing reads.
#include "BatchRig.h"
#include "copier/BatchCopyRules.h"
#include "copier/FileNameRules.h"
#include "copier/CopyTiming.h"
#include "copier/SkipMapFile.h"
#include "copier/mplayAVICtrl.h"
#include "dorvex/PDVTrailer.h"
#include "services/Text.h"
#include <commctrl.h>
#include <cstdlib>
#include <cstring>

using namespace copytest;
using namespace testsupport;
using salva::frmCopyAllFiles;
namespace rules = salva::batch_copy_rules;

namespace {

constexpr int64_t kStep = 61440;  // ten 6,144-byte units of a fixed disk

bool HasRecord(const std::wstring& path) {
    dorvex::PDVTrailer t;
    return dorvex::ReadTrailerFromFile(path, t);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(BatchCopy, EveryExistingListedFileIsCopiedByteEqualIntoItsMirroredFolder) {
    BatchRig rig;
    rig.sameFolder = false;
    const auto a = rig.AddSource(L"a\\one.dat", 300000, 1);
    const auto b = rig.AddSource(L"b\\c\\two.vob", 70000, 2);
    const auto empty = rig.AddSource(L"a\\empty.dat", 0, 3);
    rig.listed.insert(rig.listed.begin() + 1, rig.dir / L"src\\gone.dat");  // listed, no longer there
    std::wstring countSeen, sourceSeen;
    rig.reader.onRead = [&](int, int64_t offset) {
        if (offset != 0) return;
        countSeen += rig.Text(frmCopyAllFiles::IDC_lblTotalFiles) + L"|";
        sourceSeen = rig.Text(frmCopyAllFiles::IDC_lblSurFilePath);
    };
    rig.Run();

    EXPECT_EQ(1, rig.folderAsks);
    ASSERT_EQ(3u, rig.batch->BatchList().size());
    EXPECT_EQ(L"1/3 ]|2/3 ]|", countSeen) << Narrow(countSeen);
    EXPECT_EQ(L"从“" + b + L"”", sourceSeen);
    // The source's folders below its drive root, again below the chosen folder.
    const std::wstring below = rig.dir.path().substr(3) + L"\\src\\";
    EXPECT_EQ(ReadBytes(a), ReadBytes(rig.out + L"\\" + below + L"a\\one.dat"));
    EXPECT_EQ(ReadBytes(b), ReadBytes(rig.out + L"\\" + below + L"b\\c\\two.vob"));
    ASSERT_TRUE(Exists(rig.out + L"\\" + below + L"a\\empty.dat"));
    EXPECT_EQ(0, FileLength(rig.out + L"\\" + below + L"a\\empty.dat"));
    EXPECT_EQ(370000, rig.batch->BatchState().BatchBytes);
    EXPECT_EQ(370000, rig.batch->BatchState().BatchDoneBytes);
    EXPECT_TRUE(rig.shown.empty()) << Narrow(rig.shown.front().text);
    EXPECT_TRUE(rig.log.empty()) << rig.LogText();
    EXPECT_TRUE(rig.prompts.asked.empty());
    // The window is gone with its animation.
    EXPECT_EQ(nullptr, rig.batch->Window());
    (void)empty;
}

TEST(BatchCopy, SkipPastTheEndOfOneFileCountsItDoneAndTheNextIsCopied) {
    BatchRig rig;
    const auto first = rig.AddSource(L"first.dat", 200000, 4);
    const auto second = rig.AddSource(L"second.dat", 150000, 5);
    // An unreadable spot in the second block of the first file only.
    rig.reader.bad = {{kStep + 100, kStep + 100, ERROR_CRC}};
    rig.reader.onRead = [&](int, int64_t offset) {
        if (offset == 0 && rig.reader.count > 1) rig.reader.bad.clear();
    };
    rig.Run();

    const auto src = ReadBytes(first), got = ReadBytes(rig.Target(L"first.dat"));
    ASSERT_EQ(src.size(), got.size()) << "a target ends where its source ends";
    EXPECT_EQ(-1, FirstDifference(src, got, 0, kStep + 1)) << "bytes before the unreadable block";
    for (size_t i = kStep + 1; i < got.size(); ++i) ASSERT_EQ(0, got[i]) << "skipped byte " << i << " was written";
    EXPECT_EQ(ReadBytes(second), ReadBytes(rig.Target(L"second.dat")));
    EXPECT_EQ(350000, rig.batch->BatchState().BatchDoneBytes);
    EXPECT_FALSE(HasRecord(rig.Target(L"first.dat")));
    // The file and the batch's end both tell what the skip left out.
    const std::wstring counted = L"其中有 1 处无法读取，共跳过 " + salva::GroupedNumber(200000 - (kStep + 1)) + L" 字节没有复制。";
    EXPECT_EQ(std::vector<std::wstring>{rules::ErrorEntry(first, counted)}, rig.log) << rig.LogText();
    ASSERT_EQ(1u, rig.shown.size());
    EXPECT_EQ(L"复制所有文件到：" + rig.out + L"\\\r\n" + counted, rig.shown[0].text);
    EXPECT_EQ(L"提醒！", rig.shown[0].title);
}

// A single copy cancelled with its target kept, then continued from the record by the batch: a
// first continue a full disk stops before its first block lands leaves the record and the map
// as they were, and the next one's report counts what the single copy left out.
TEST(BatchCopy, ContinuingARecordCountsWhatTheEarlierCopySkipped) {
    BatchRig rig;
    const auto source = rig.AddSource(L"movie.dat", 300000, 21);
    const std::wstring target = rig.Target(L"movie.dat");
    rig.reader.bad = {{9999, 9999, ERROR_CRC}};
    FakeHost host;  // answers No to keeping the target
    salva::CopyEngine engine(host, rig.env, rig.prompts, rig.reader, rig.writer);
    engine.SkipBlocksReleased(1);
    host.onPump = [&](int) {
        if (engine.State().SourcePos > 100000) engine.Cancel();
    };
    engine.CopyFileByBlocks(source, target, 4096);
    ASSERT_EQ(1u, rig.prompts.written.size());
    rig.reader.bad.clear();
    const auto before = ReadBytes(target), map = ReadBytes(salva::SkipMapPath(target));
    rig.prompts.overwriteOrContinue = 2;
    rig.writer.writeError = ERROR_DISK_FULL;
    rig.Run();
    EXPECT_TRUE(before == ReadBytes(target)) << "target now " << FileLength(target) << " bytes";
    EXPECT_EQ(map, ReadBytes(salva::SkipMapPath(target)));
    rig.writer.writeError = 0;
    rig.log.clear();
    rig.Run();

    // Blocks of 4,096 bytes at 8,193 fail; the skip goes on at 40,961.
    const std::wstring counted = salva::SkippedText(1, 40960 - 8193);
    EXPECT_EQ(std::vector<std::wstring>{rules::ErrorEntry(source, counted)}, rig.log) << rig.LogText();
    ASSERT_FALSE(rig.shown.empty());
    EXPECT_EQ(L"复制所有文件到：" + rig.out + L"\\\r\n" + counted, rig.shown.back().text);
    EXPECT_EQ(-1, FileLength(salva::SkipMapPath(rig.Target(L"movie.dat"))));
}

TEST(BatchCopy, NoSendsTheFileBesideTheTargetAskingAgainWhenThatNameIsTakenToo) {
    BatchRig rig;
    const auto one = rig.AddSource(L"one.dat", 90000, 6);
    const auto two = rig.AddSource(L"two.dat", 90000, 7);
    const auto three = rig.AddSource(L"three.dat", 90000, 8);
    const auto four = rig.AddSource(L"four.dat", 5000, 9);
    const auto keptOne = Pattern(1000, 60), keptAltOne = Pattern(2000, 61), keptTwo = Pattern(3000, 62),
               keptAltTwo = Pattern(4000, 63), sameThree = Pattern(90000, 64);
    WriteBytes(rig.Target(L"one.dat"), keptOne);
    WriteBytes(rig.Target(L"N[01]one.dat"), keptAltOne);
    WriteBytes(rig.Target(L"two.dat"), keptTwo);
    WriteBytes(rig.Target(L"N[01]two.dat"), keptAltTwo);
    WriteBytes(rig.Target(L"three.dat"), sameThree);
    // one: no, no (left out); two: no, yes (the second name is replaced); three: no, and the
    // target is as long as the source (left out); four: no existing target.
    rig.prompts.replace = {3, 3, 3, 1, 3};
    rig.Run();

    const std::vector<std::wstring> asked{
        L"replace:" + one + L">" + rig.Target(L"one.dat"),   L"replace:" + one + L">" + rig.Target(L"N[01]one.dat"),
        L"replace:" + two + L">" + rig.Target(L"two.dat"),   L"replace:" + two + L">" + rig.Target(L"N[01]two.dat"),
        L"replace:" + three + L">" + rig.Target(L"three.dat"),
    };
    EXPECT_EQ(asked, rig.prompts.asked);
    EXPECT_EQ(keptOne, ReadBytes(rig.Target(L"one.dat")));
    EXPECT_EQ(keptAltOne, ReadBytes(rig.Target(L"N[01]one.dat")));
    EXPECT_EQ(keptTwo, ReadBytes(rig.Target(L"two.dat")));
    EXPECT_EQ(ReadBytes(two), ReadBytes(rig.Target(L"N[01]two.dat")));
    EXPECT_EQ(sameThree, ReadBytes(rig.Target(L"three.dat")));
    EXPECT_FALSE(Exists(rig.Target(L"N[01]three.dat")));
    EXPECT_EQ(ReadBytes(four), ReadBytes(rig.Target(L"four.dat")));
    // Left-out files do not count as handled.
    EXPECT_EQ(90000 + 5000, rig.batch->BatchState().BatchDoneBytes);
}

TEST(BatchCopy, CancelMidFileLeavesARecordOnTheFileBeingWrittenOnly) {
    BatchRig rig;
    const auto first = rig.AddSource(L"first.dat", 100000, 10);
    const auto second = rig.AddSource(L"second.dat", 600000, 11);
    rig.AddSource(L"third.dat", 1000, 12);
    // The user's own second.dat stays; "no" sends the copy to N[01]second.dat.
    const auto kept = Pattern(5000, 65);
    WriteBytes(rig.Target(L"second.dat"), kept);
    rig.prompts.replace = {3};
    int64_t secondReads = 0;
    std::wstring shownTarget;
    rig.reader.onRead = [&](int, int64_t) {
        if (rig.batch->CurrentTarget() == rig.Target(L"N[01]second.dat") && ++secondReads == 4) {
            shownTarget = rig.Text(frmCopyAllFiles::IDC_lblDecFilePath);
            rig.env.nowMs += 3000;
            ::SendMessageW(rig.batch->Window(), WM_TIMER, 1, 0);
            rig.ClickCancel();
        }
    };
    rig.Run();

    EXPECT_FALSE(HasRecord(rig.Target(L"first.dat")));
    EXPECT_EQ(kept, ReadBytes(rig.Target(L"second.dat"))) << "the kept file is never written";
    const std::wstring partial = rig.Target(L"N[01]second.dat");
    ASSERT_TRUE(HasRecord(partial));
    ASSERT_EQ(1u, rig.prompts.written.size());
    const salva::ResumeValues& v = rig.prompts.written[0];
    EXPECT_EQ(1 + 4 * kStep, v.haveCopied);
    EXPECT_EQ(3, v.totalTime);
    const auto src = ReadBytes(second), got = ReadBytes(partial);
    EXPECT_EQ(-1, FirstDifference(src, got, 0, static_cast<size_t>(4 * kStep))) << "data before the record";
    EXPECT_FALSE(Exists(rig.Target(L"third.dat"))) << "the files after it are not copied";
    EXPECT_EQ(L"到“" + partial + L"”", shownTarget) << "the window names the file being written";
}

TEST(BatchCopy, CancelBetweenTwoFilesEndsTheBatchWithoutARecord) {
    BatchRig rig;
    const auto first = rig.AddSource(L"first.dat", 20000, 13);  // one block
    rig.AddSource(L"second.dat", 20000, 14);
    rig.AddSource(L"third.dat", 20000, 15);
    const auto kept = Pattern(100, 69);
    WriteBytes(rig.Target(L"second.dat"), kept);
    rig.reader.onRead = [&](int count, int64_t) {
        if (count == 1) rig.ClickCancel();
    };
    rig.Run();
    EXPECT_TRUE(rig.prompts.asked.empty()) << "no question about the next file";
    EXPECT_EQ(kept, ReadBytes(rig.Target(L"second.dat")));
    EXPECT_FALSE(Exists(rig.Target(L"third.dat")));
    EXPECT_TRUE(rig.prompts.written.empty());
}

TEST(BatchCopy, ReplacedTargetsEndAtTheSourceLengthAndAllReplacesTheRestUnasked) {
    BatchRig rig;
    const auto one = rig.AddSource(L"one.dat", 100000, 15);
    const auto two = rig.AddSource(L"two.dat", 70000, 16);
    WriteBytes(rig.Target(L"one.dat"), Pattern(250000, 66));
    // An older partial copy of two.dat with its record: "all" overwrites it unasked.
    WriteBytes(rig.Target(L"two.dat"), Pattern(90000, 67));
    rig.prompts.WriteResumeRecord(rig.Target(L"two.dat"), salva::ResumeValues{90000, 40000, 0, 0, 0});
    rig.prompts.written.clear();
    rig.prompts.replace = {2};
    rig.Run();
    EXPECT_EQ(ReadBytes(one), ReadBytes(rig.Target(L"one.dat")));
    EXPECT_EQ(ReadBytes(two), ReadBytes(rig.Target(L"two.dat")));
    EXPECT_EQ(std::vector<std::wstring>{L"replace:" + one + L">" + rig.Target(L"one.dat")}, rig.prompts.asked);
    EXPECT_TRUE(rig.batch->BatchState().ReplaceAll);
}

// A target that is the source itself (case, ".\", hard link, mirrored root) is logged, never written.
TEST(BatchCopy, ATargetThatIsTheSourceItselfIsNeverWritten) {
    for (const bool mirrored : {false, true}) {
        BatchRig rig;
        const auto a = rig.AddSource(L"a.dat", 100000, 18), b = rig.AddSource(L"b.dat", 70000, 19);
        const std::wstring link = rig.Target(L"b.dat");  // only a volume with file identities knows a link
        if (::CreateHardLinkW(link.c_str(), b.c_str(), nullptr) && rig.env.SameFile(link, b)) rig.listed.push_back(link);
        rig.sameFolder = !mirrored;
        rig.folderAnswer = mirrored ? rig.dir.path().substr(0, 3) : salva::UpperCase(rig.dir / L".\\src");
        rig.prompts.replace = {2, 2, 2};
        rig.Run();
        EXPECT_TRUE(rig.prompts.asked.empty()) << Narrow(rig.prompts.asked.front());
        ASSERT_EQ(rig.listed.size(), rig.log.size()) << rig.LogText();
        EXPECT_EQ(rules::ErrorEntry(a, L"错误原因：目标文件就是源文件本身，文件没有复制。"), rig.log[0]);
        const std::wstring end = rig.shown.empty() ? L"" : rig.shown.back().text;
        EXPECT_NE(std::wstring::npos, end.find(rules::SelfTargetText(int64_t(rig.listed.size())))) << Narrow(end);
    }
}

// "All" never covers a target this batch wrote (two sources of one name) nor a listed file.
TEST(BatchCopy, AllNeverWritesOverAListedFileOrATargetThisBatchWrote) {
    BatchRig rig;
    rig.AddSource(L"first.dat", 30000, 20);
    rig.AddSource(L"mine.dat", 60000, 23);
    const auto x = rig.AddSource(L"x\\same.dat", 40000, 21), y = rig.AddSource(L"y\\same.dat", 50000, 22);
    WriteBytes(rig.Target(L"first.dat"), Pattern(1000, 69));
    const auto kept = Pattern(5000, 70);
    WriteBytes(rig.Target(L"mine.dat"), kept);
    rig.listed.push_back(rig.Target(L"mine.dat"));
    rig.prompts.replace = {2, 3, 3};
    rig.Run();
    EXPECT_EQ(3u, rig.prompts.asked.size());
    EXPECT_EQ(kept, ReadBytes(rig.Target(L"mine.dat")));
    EXPECT_EQ(ReadBytes(x), ReadBytes(rig.Target(L"same.dat")));
    EXPECT_EQ(ReadBytes(y), ReadBytes(rig.Target(L"N[01]same.dat")));
}

// A longer file replaced and cancelled early: the record counts only what this copy wrote, so
// a continue never keeps the old file's bytes as copied ones.
TEST(BatchCopy, AReplacedLongerTargetCancelledEarlyHoldsOnlyTheCopiedPart) {
    BatchRig rig;
    const auto source = rig.AddSource(L"movie.dat", 600000, 17);
    WriteBytes(rig.Target(L"movie.dat"), Pattern(900000, 68));
    rig.prompts.replace = {1};
    rig.reader.onRead = [&](int count, int64_t) {
        if (count == 4) rig.ClickCancel();
    };
    rig.Run();
    ASSERT_EQ(1u, rig.prompts.written.size());
    const salva::ResumeValues& v = rig.prompts.written[0];
    EXPECT_EQ(1 + 4 * kStep, v.haveCopied);
    EXPECT_EQ(v.haveCopied, v.fileLength) << "the record's continue position";
    const auto src = ReadBytes(source), got = ReadBytes(rig.Target(L"movie.dat"));
    ASSERT_EQ(static_cast<size_t>(v.haveCopied + 16), got.size()) << "copied part and record";
    EXPECT_EQ(-1, FirstDifference(src, got, 0, static_cast<size_t>(v.haveCopied - 1))) << "the copied bytes";
}

TEST(BatchCopy, ARecordedTargetContinuesFromItsRecordAndEndsWhole) {
    BatchRig rig;
    const auto src = rig.AddSource(L"movie.vob", 300000, 17);
    const auto bytes = ReadBytes(src);
    // The first 100,000 bytes copied before, then the record.
    WriteBytes(rig.Target(L"movie.vob"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 100000));
    rig.prompts.WriteResumeRecord(rig.Target(L"movie.vob"), salva::ResumeValues{100000 + 16, 100000, 0, 7, 0});
    rig.prompts.overwriteOrContinue = 2;
    std::vector<int64_t> offsets;
    rig.reader.onRead = [&](int, int64_t offset) { offsets.push_back(offset); };
    rig.Run();
    EXPECT_EQ(bytes, ReadBytes(rig.Target(L"movie.vob")));
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(100000 - 1, offsets.front()) << "continued from the record's position";
    EXPECT_EQ(7, rig.batch->BatchState().PastSeconds) << "the record's seconds count for this file";
}

TEST(BatchCopy, APromptThatCannotBeShownRefusesWithTheNotRegisteredMessage) {
    BatchRig rig;
    rig.AddSource(L"one.dat", 1000, 18);
    rig.AddSource(L"two.dat", 1000, 19);
    const auto kept = Pattern(10, 68);
    WriteBytes(rig.Target(L"one.dat"), kept);
    rig.prompts.replace = {salva::CopyPrompts::kUnavailable};
    rig.Run();
    ASSERT_EQ(1u, rig.shown.size());
    EXPECT_EQ(L"无法显示提示窗口，Dorvex组件可能没有注册。", rig.shown[0].text);
    EXPECT_EQ(kept, ReadBytes(rig.Target(L"one.dat")));
    EXPECT_FALSE(Exists(rig.Target(L"two.dat")));
    EXPECT_TRUE(rig.prompts.written.empty());
}

TEST(BatchCopy, FolderChecksEndTheBatchBeforeAnyFileIsTouched) {
    {
        BatchRig rig;
        rig.AddSource(L"one.dat", 5000, 20);
        rig.folderAnswer = L"";
        rig.Run();
        EXPECT_EQ(1, rig.folderAsks);
        EXPECT_TRUE(rig.shown.empty());
        EXPECT_FALSE(Exists(rig.Target(L"one.dat")));
    }
    {
        BatchRig rig;
        rig.AddSource(L"one.dat", 5000, 20);
        rig.env.freeBytes = -1;
        rig.Run();
        ASSERT_EQ(1u, rig.shown.size());
        EXPECT_EQ(L"无效的文件保存路径。", rig.shown[0].text);
        EXPECT_FALSE(Exists(rig.Target(L"one.dat")));
    }
    // Room for the batch to the byte asks nothing; one byte less asks, and No ends it.
    for (const int64_t free : {int64_t{8000}, int64_t{7999}}) {
        BatchRig rig;
        rig.AddSource(L"one.dat", 5000, 20);
        rig.AddSource(L"two.dat", 3000, 21);
        rig.env.freeBytes = free;
        rig.answers = {IDNO};
        rig.Run();
        if (free == 8000) {
            EXPECT_TRUE(rig.shown.empty());
            EXPECT_TRUE(Exists(rig.Target(L"two.dat")));
            continue;
        }
        ASSERT_EQ(1u, rig.shown.size());
        EXPECT_EQ(rules::SpaceQuestionText(rig.out + L"\\", 7999, 8000), rig.shown[0].text);
        EXPECT_EQ(L"提醒！", rig.shown[0].title);
        EXPECT_FALSE(Exists(rig.Target(L"one.dat")));
    }
    {
        BatchRig rig;  // an empty list: no folder question, the window comes and goes
        rig.Run();
        EXPECT_EQ(0, rig.folderAsks);
        EXPECT_EQ(nullptr, rig.batch->Window());
    }
}

TEST(BatchCopy, FailuresAreLoggedAndDecideWhetherTheBatchGoesOn) {
    {
        // A target in use by another program: logged, and the next file is copied.
        BatchRig rig;
        const auto one = rig.AddSource(L"one.dat", 5000, 22);
        const auto two = rig.AddSource(L"two.dat", 5000, 23);
        WriteBytes(rig.Target(L"one.dat"), {});
        rig.prompts.replace = {1};
        salva::unique_hfile busy(::CreateFileW(rig.Target(L"one.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(busy);
        rig.Run();
        busy.reset();
        ASSERT_EQ(1u, rig.log.size());
        EXPECT_EQ(rules::ErrorEntry(one, L"错误原因：共享冲突,源文件或目标文件可能正在使用。"), rig.log[0]);
        EXPECT_EQ(ReadBytes(two), ReadBytes(rig.Target(L"two.dat")));
    }
    for (const bool full : {true, false}) {
        // A full disk ends the batch, a write refused part way lets it go on: logged either way,
        // the part written keeps a record, and the end box tells what stopped or failed.
        BatchRig rig;
        const auto one = rig.AddSource(L"one.dat", 200000, 24);
        const auto two = rig.AddSource(L"two.dat", 5000, 25);
        rig.writer.writeError = full ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED;
        rig.writer.failFrom = 2 * kStep;
        rig.writer.failCount = full ? -1 : 1;
        rig.Run();
        ASSERT_EQ(1u, rig.log.size()) << full;
        if (full) EXPECT_EQ(rules::ErrorEntry(one, L"错误原因：磁盘已满，没有足够的可用空间用来复制文件。"), rig.log[0]);
        ASSERT_EQ(1u, rig.prompts.written.size()) << full;
        EXPECT_EQ(1 + 2 * kStep, rig.prompts.written[0].haveCopied);
        EXPECT_TRUE(HasRecord(rig.Target(L"one.dat")));
        EXPECT_EQ(full ? std::vector<uint8_t>{} : ReadBytes(two), ReadBytes(rig.Target(L"two.dat")));
        ASSERT_EQ(1u, rig.shown.size()) << full;
        const std::vector<std::wstring> told =
            full ? std::vector<std::wstring>{L"复制在“" + one + L"”处中止：磁盘已满", L"“" + rig.Target(L"one.dat") + L"”只复制了一部分",
                                             L"还有 1 个文件没有复制。"}
                 : std::vector<std::wstring>{rules::FailedFilesText(1)};
        for (const std::wstring& part : told)
            EXPECT_NE(std::wstring::npos, rig.shown[0].text.find(part)) << Narrow(rig.shown[0].text);
    }
}

TEST(BatchCopy, EveryFileNotCopiedIsLoggedByNameAndTheEndBoxClaimsOnlyThat) {
    {
        // A target the system reports as not found (how Wine answers a name too long for it).
        BatchRig rig;
        rig.AddSource(L"one.dat", 5000, 26);
        rig.writer.openError = ERROR_FILE_NOT_FOUND;
        rig.Run();
        ASSERT_EQ(1u, rig.log.size()) << rig.LogText();
        EXPECT_NE(std::wstring::npos, rig.log[0].find(rig.Target(L"one.dat"))) << rig.LogText();
        ASSERT_EQ(2u, rig.shown.size());
        EXPECT_EQ(L"[53].文件未找到\r\n" + rig.Target(L"one.dat"), rig.shown[0].text);
        EXPECT_NE(std::wstring::npos, rig.shown[1].text.find(rules::FailedFilesText(1))) << Narrow(rig.shown[1].text);
    }
    // Names the system opens as another file or a device: not copied, each logged, counted in
    // the end box; the file named "dot.dat" is copied once.
    BatchRig rig;
    const auto dot = rig.AddSource(L"dot.dat", 5000, 27);
    rig.listed.push_back(dot + L".");
    ASSERT_TRUE(WriteBytes(L"\\\\?\\" + dot + L".", Pattern(3000, 28)));
    rig.listed.push_back(rig.dir / L"src\\aux.dat");
    rig.Run();
    EXPECT_EQ(ReadBytes(dot), ReadBytes(rig.Target(L"dot.dat")));
    EXPECT_TRUE(rig.prompts.asked.empty());
    ASSERT_EQ(2u, rig.log.size()) << rig.LogText();
    EXPECT_NE(std::wstring::npos, rig.log[0].find(L"“" + dot + L".”")) << rig.LogText();
    EXPECT_NE(std::wstring::npos, rig.log[1].find(L"aux.dat”")) << rig.LogText();
    ASSERT_EQ(1u, rig.shown.size());
    EXPECT_NE(std::wstring::npos, rig.shown[0].text.find(rules::RefusedNamesText(2))) << Narrow(rig.shown[0].text);
}

TEST(BatchCopy, AListedNameTheFileSystemCutShortIsNotCopied) {
    BatchRig rig;
    // Wine on a Unix file system keeps 255 bytes of the name's UTF-8: another file answers.
    const auto cut = rig.AddSource(std::wstring(90, L'中') + L".dat", 3000, 29);
    if (rig.env.NameKept(cut)) GTEST_SKIP() << "this file system keeps the whole name";
    const auto one = rig.AddSource(L"one.dat", 5000, 26);
    rig.Run();
    EXPECT_EQ(ReadBytes(one), ReadBytes(rig.Target(L"one.dat")));
    ASSERT_EQ(1u, rig.log.size()) << rig.LogText();
    EXPECT_NE(std::wstring::npos, rig.log[0].find(salva::SourceNameNotKeptText(cut))) << rig.LogText();
    ASSERT_EQ(1u, rig.shown.size());
    EXPECT_NE(std::wstring::npos, rig.shown[0].text.find(rules::RefusedNamesText(1))) << Narrow(rig.shown[0].text);
}

TEST(BatchCopy, TheTimerShowsBatchTimesAndRate) {
    BatchRig rig;
    rig.AddSource(L"one.dat", 200000, 26);
    std::wstring elapsed, rate;
    rig.reader.onRead = [&](int count, int64_t) {
        if (count != 3) return;
        rig.env.nowMs += 59000;
        ::SendMessageW(rig.batch->Window(), WM_TIMER, 1, 0);
        elapsed = rig.Text(frmCopyAllFiles::IDC_lblZongJiHaoShi);
        rate = rig.Text(frmCopyAllFiles::IDC_lblShuJuLiuLiang);
    };
    rig.Run();
    EXPECT_EQ(L"00:00:59", elapsed);
    EXPECT_EQ(salva::GroupedNumber((1 + 2 * kStep) / 1024 / 59) + L"KB/秒", rate);
}

// Behind its end box, a batch of 1.5 s that no tick reached shows its own figures.
TEST(BatchCopy, ABatchDoneBeforeItsFirstTickShowsItsOwnTimeAndRate) {
    BatchRig rig;
    rig.AddSource(L"one.dat", 200000, 27);
    // A listed file already in the folder is its own target: the end box tells of it.
    rig.listed.push_back(rig.Target(L"self.dat"));
    ASSERT_TRUE(WriteBytes(rig.listed.back(), Pattern(10, 28)));
    rig.reader.onRead = [&](int count, int64_t) {
        if (count == 1) rig.env.nowMs += 1500;
    };
    std::wstring elapsed, rate, now;
    rig.onMessage = [&] {
        elapsed = rig.Text(frmCopyAllFiles::IDC_lblZongJiHaoShi);
        rate = rig.Text(frmCopyAllFiles::IDC_lblShuJuLiuLiang);
        now = rig.Text(frmCopyAllFiles::IDC_lblCurrentTime);
    };
    rig.Run();
    ASSERT_EQ(1u, rig.shown.size());
    EXPECT_EQ(L"00:00:01", elapsed);
    EXPECT_EQ(L"130KB/秒", rate) << "195 KB in 1.5 s";
    EXPECT_NE(L"00:00:00", now);
}

TEST(BatchCopyRules, ReadSizeMirroredFoldersAndTexts) {
    EXPECT_EQ(40960, rules::BlockBytes(L"\\\\srv\\share\\a.dat", L"D:\\x", 3, 2));
    EXPECT_EQ(51200, rules::BlockBytes(L"E:\\VIDEO_TS\\VTS_01_1.vob", L"D:\\x", 5, 2));
    EXPECT_EQ(40960, rules::BlockBytes(L"E:\\MPEGAV\\AVSEQ01.DAT", L"D:\\x", 5, 2));
    EXPECT_EQ(614400, rules::BlockBytes(L"C:\\a.dat", L"D:\\x", 3, 1));
    EXPECT_EQ(61440, rules::BlockBytes(L"C:\\a.dat", L"D:\\x", 3, 3));
    EXPECT_GT(rules::BlockBytes(L"C:\\a.dat", L"D:\\x", 3, 0), 0) << "never a read of nothing";
    EXPECT_EQ(1280, rules::BlockBytes(L"a:\\a.dat", L"D:\\x", 2, 2));
    EXPECT_EQ(10240, rules::BlockBytes(L"B:\\a.dat", L"D:\\x", 2, 2));

    using V = std::vector<std::wstring>;
    EXPECT_EQ((V{L"a", L"b"}), rules::MirroredFolders(L"C:\\a\\b\\f.dat"));
    EXPECT_EQ((V{L"d"}), rules::MirroredFolders(L"\\\\server\\share\\d\\f.dat"));
    EXPECT_EQ((V{}), rules::MirroredFolders(L"C:\\f.dat"));
    EXPECT_EQ((V{L"a"}), rules::MirroredFolders(L"C:\\a\\\\b\\f.dat"));
    EXPECT_EQ(L"D:\\out\\N[01]f.dat", rules::AlternativeTarget(L"D:\\out\\f.dat"));

    EXPECT_EQ(L"[ 总共：10,240 字节", rules::TotalLengthText(10240));
    EXPECT_EQ(L"[ 总共：10 KB", rules::TotalLengthText(10241));
    EXPECT_EQ(L"[ 总共：1,000 KB", rules::TotalLengthText(1024000));
    EXPECT_EQ(L"[ 总共：4,096 MB", rules::TotalLengthText(int64_t{4} << 30));
    EXPECT_EQ(L"12/345 ]", rules::FileCountText(12, 345));
    EXPECT_EQ(L"D:盘空间不足，请重新选择文件保存路径\r\n可用空间：1MB\r\n文件容量：5,120MB\r\n\r\n"
              L"是[Y]：忽略，继续复制\r\n否[N]：取消复制，重新选择文件保存路径",
              rules::SpaceQuestionText(L"d:\\out\\", 1 << 20, int64_t{5} << 30));
}

TEST(CopyAnimation, PlaysTheSystemClipCentredAndLeavesNothingWhenItCannot) {
    salva::unique_hwnd host(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 384, 64, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(host);
    namespace avi = salva::mplayAVICtrl;
    if (avi::OpenAVIWindow(host.get(), L"Shell32.dll", 161, true, true, true)) {
        HWND anim = avi::AnimationWindow();
        ASSERT_NE(nullptr, anim);
        EXPECT_EQ(host.get(), ::GetParent(anim));
        RECT r{};
        ::GetWindowRect(anim, &r);
        ::MapWindowPoints(nullptr, host.get(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_LE(std::abs((r.left + r.right) - 384), 1) << r.left << ".." << r.right;
        EXPECT_LE(std::abs((r.top + r.bottom) - 64), 1) << r.top << ".." << r.bottom;
    } else {
        ADD_FAILURE() << "this system's Shell32.dll carries the copy clip 161";
    }
    EXPECT_FALSE(avi::OpenAVIWindow(host.get(), L"NoSuchLibrary.dll", 161, true, true, true));
    EXPECT_EQ(nullptr, avi::AnimationWindow()) << "the earlier animation went, no new one stays";
    EXPECT_FALSE(avi::OpenAVIWindow(host.get(), L"C:\\no\\such.avi", 0, false, true, false));
    EXPECT_EQ(nullptr, avi::AnimationWindow());
    EXPECT_EQ(nullptr, ::FindWindowExW(host.get(), nullptr, ANIMATE_CLASSW, nullptr));
    avi::CloseAVIWindow();
}

// The session ends while the batch copies a file: the message reaches the batch window, or its
// owner goes and takes it along. The file gets its record and nothing more is copied.
TEST(BatchCopy, TheSessionsEndGivesTheFileBeingCopiedItsRecord) {
    for (const bool ownerGoes : {false, true}) {
        salva::unique_hwnd owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        BatchRig rig(owner.get());
        rig.AddSource(L"movie.dat", 600000, 33);
        rig.AddSource(L"next.dat", 1000, 34);
        rig.reader.onRead = [&](int count, int64_t) {
            if (count != 3) return;
            rig.env.nowMs += 1000;  // the block's progress shows, and the queue is emptied after it
            ::PostMessageW(ownerGoes ? owner.get() : rig.batch->Window(), ownerGoes ? WM_CLOSE : WM_ENDSESSION, TRUE, 0);
        };
        rig.Run();
        EXPECT_EQ(1u, rig.prompts.written.size()) << (ownerGoes ? "owner destroyed" : "WM_ENDSESSION");
        EXPECT_TRUE(HasRecord(rig.Target(L"movie.dat")));
        EXPECT_FALSE(Exists(rig.Target(L"next.dat")));
    }
}
