// What the copy does to a target that was there before it: an older, longer file written over
// and then cancelled, an append onto a file that is already long enough, a delete or a record
// that fails, and the record of a window that closes while the loop is still on the stack.
#include "CopyFakes.h"
#include "copier/FileNameRules.h"
#include "copier/ResumeRecord.h"
#include "copier/SkipMapFile.h"
#include "copier/TargetName.h"

using namespace copytest;
using namespace testsupport;

namespace {

// Opens `path` the way another program holding it would: reading and writing by others
// allowed, deleting not.
salva::unique_hfile HoldOpen(const std::wstring& path) {
    return salva::unique_hfile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
}

const wchar_t* const kRecordFailed = salva::kRecordFailedText;
const wchar_t kDeleteFailed[] = L"无法删除该文件，它可能正在使用或没有删除权限。";

}  // namespace

TEST(CopyTargets, ANameCutShortIsRefusedAsTargetOrSourceItsMapNeverReplacesItAndSuccessNeedsTheTarget) {
    Rig rig;
    rig.MakeSource(100000);
    // 274 bytes of UTF-8 in 94 characters: Wine on a Unix file system keeps 255 bytes of it,
    // for the target and for "<target>.skipmap" alike.
    const std::wstring target = rig.dir / (std::wstring(90, L'中') + L".dat");
    WriteBytes(target, Pattern(1000, 3));
    if (rig.env.NameKept(target)) GTEST_SKIP() << "this file system keeps the whole name";

    // A partial target keeps its record; the map, which would be the target itself, is not kept.
    salva::SkipTally skips;
    skips.Reset(1);
    EXPECT_EQ(salva::RecordOutcome::Written, salva::LeaveResumeRecord(rig.src, target, 1000, 100000, 0, skips, rig.env,
                                                                     rig.writer, rig.prompts));
    int32_t at = 0;
    int16_t seconds = 0;
    EXPECT_EQ(1, rig.prompts.ReadResumeRecord(target, &at, &seconds)) << "the record was replaced by the map";
    salva::RemoveSkipMap(target, rig.env);
    EXPECT_EQ(1016, FileLength(target)) << "the map's removal took the target";

    // A copy onto such a name is refused, told by name and logged; nothing stays behind.
    ::DeleteFileW(target.c_str());
    rig.engine.BeginCopy(rig.src, target);
    ASSERT_EQ(1u, rig.host.shown.size()) << Narrow(rig.host.Titles());
    EXPECT_EQ(salva::NameNotKeptText(target), rig.host.shown[0].text);
    ASSERT_EQ(1u, rig.host.log.size());
    EXPECT_EQ(-1, FileLength(target)) << "a file stays under the cut name";

    // A source typed under such a name would open the file of the cut name: refused by name.
    Rig typed;
    const std::wstring source = typed.dir / (std::wstring(90, L'中') + L".dat");
    ASSERT_TRUE(WriteBytes(source, Pattern(3000, 5)));
    typed.engine.BeginCopy(source, typed.dst);
    ASSERT_EQ(1u, typed.host.shown.size()) << Narrow(typed.host.Titles());
    EXPECT_EQ(salva::SourceNameNotKeptText(source), typed.host.shown[0].text);
    ASSERT_EQ(1u, typed.host.log.size());
    EXPECT_NE(std::wstring::npos, typed.host.log[0].find(salva::SourceNameNotKeptText(source))) << typed.LogText();
    EXPECT_EQ(-1, FileLength(typed.dst));

    // A target that no longer answers under its name when the copy ends is no success.
    Rig renamed;
    renamed.MakeSource(5000);
    renamed.host.onPump = [&](int) { renamed.env.nameKept = false; };
    renamed.engine.BeginCopy(renamed.src, renamed.dst);
    ASSERT_EQ(1u, renamed.host.shown.size()) << Narrow(renamed.host.Titles());
    EXPECT_EQ(salva::TargetMissingText(renamed.dst), renamed.host.shown[0].text);
    EXPECT_EQ(1u, renamed.host.log.size()) << renamed.LogText();
}

TEST(CopyTargets, NamesTooLongAreToldByNameAndLogged) {
    // A 300-character name, and the rename prompt's "[01]" on a 255-character name.
    for (const bool rename : {false, true}) {
        Rig rig;
        rig.MakeSource(5000);
        std::wstring target = rig.dir / (std::wstring(296, L'n') + L".dat");
        if (rename) {
            target = rig.dir / (std::wstring(251, L'y') + L".dat");
            ASSERT_TRUE(WriteBytes(target, Pattern(100)));
            rig.prompts.existingTarget = 5;
            rig.prompts.renameTo = std::wstring(251, L'y') + L".dat[01]";
        }
        const std::wstring tooLong = rename ? rig.dir / rig.prompts.renameTo : target;
        rig.engine.BeginCopy(rig.src, target);
        ASSERT_EQ(1u, rig.host.shown.size()) << rename << Narrow(rig.host.Titles());
        EXPECT_EQ(salva::NameProblemText(salva::NameProblem::NameTooLong, tooLong), rig.host.shown[0].text) << rename;
        ASSERT_EQ(1u, rig.host.log.size()) << rename;
        EXPECT_NE(std::wstring::npos, rig.host.log[0].find(tooLong)) << rename;
    }
}

TEST(CopyTargets, LongerTargetOverwrittenCancelledAndContinuedEqualsTheSource) {
    for (long choice : {1L, 5L}) {  // overwrite, or rename onto a name that exists
        Rig rig;
        const auto src = rig.MakeSource(100000);
        const std::wstring target = choice == 1 ? rig.dst : rig.dir / L"另一个.dat";
        WriteBytes(rig.dst, Pattern(250000, 3));
        if (choice == 5) WriteBytes(target, Pattern(250000, 4));
        rig.prompts.existingTargets = {choice, 1};  // a new name that exists is asked about in turn
        rig.prompts.renameTo = L"另一个.dat";
        rig.host.onPump = [&](int n) {
            if (n == 3) rig.engine.Cancel();
        };
        rig.host.answers = {IDNO};  // keep the partial target
        rig.engine.ReadBlocksReleased(1, rig.src, rig.dst);
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_EQ(L"existing:" + rig.src + L">" + target, rig.prompts.asked.back());
        ASSERT_EQ(1u, rig.prompts.written.size()) << choice << " " << Narrow(rig.host.Titles()) << rig.LogText();
        // The target ends where the copy stopped; the record follows it.
        const int64_t reached = rig.engine.State().SourcePos;
        EXPECT_EQ(reached, rig.prompts.written[0].fileLength) << choice;
        EXPECT_EQ(reached + 16, FileLength(target)) << choice;

        rig.host.onPump = nullptr;
        rig.prompts.overwriteOrContinue = 2;
        rig.engine.BeginCopy(rig.src, target);
        EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title) << choice;
        EXPECT_TRUE(src == ReadBytes(target)) << "choice " << choice << ": first difference at "
                                              << FirstDifference(src, ReadBytes(target), 0, src.size());
    }
}

TEST(CopyTargets, AppendOntoATargetAsLongAsTheSourceOrLongerWritesNothing) {
    for (size_t length : {size_t{20000}, size_t{35000}}) {
        Rig rig;
        rig.MakeSource(20000);
        const auto old = Pattern(length, 6);
        WriteBytes(rig.dst, old);
        rig.prompts.existingTarget = 2;
        rig.engine.BeginCopy(rig.src, rig.dst);
        EXPECT_TRUE(old == ReadBytes(rig.dst)) << "target of " << length << " bytes changed";
        EXPECT_TRUE(rig.reader.reads.empty()) << length;
        ASSERT_EQ(1u, rig.host.shown.size()) << length;
        EXPECT_EQ(rig.dst + L"\r\n该文件不小于源文件，没有可以追加的内容，文件保持不变。", rig.host.shown[0].text);
        EXPECT_EQ(L"提醒！", rig.host.shown[0].title);
        EXPECT_TRUE(rig.host.log.empty()) << rig.LogText();
        EXPECT_FALSE(rig.engine.Running());
    }
}

TEST(CopyTargets, DeleteThatFailsIsTold) {
    {  // the "delete the existing file" choice
        Rig rig;
        rig.MakeSource(100);
        WriteBytes(rig.dst, Pattern(10));
        ::SetFileAttributesW(rig.dst.c_str(), FILE_ATTRIBUTE_READONLY);  // kept when the delete fails
        auto held = HoldOpen(rig.dst);
        ASSERT_TRUE(held);
        rig.prompts.existingTarget = 4;
        rig.engine.BeginCopy(rig.src, rig.dst);
        ASSERT_EQ(1u, rig.host.shown.size());
        EXPECT_EQ(rig.dst + L"\r\n" + kDeleteFailed, rig.host.shown[0].text);
        EXPECT_EQ(10, FileLength(rig.dst));
        EXPECT_TRUE(::GetFileAttributesW(rig.dst.c_str()) & FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesW(rig.dst.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    {  // Cancel answered with Yes
        Rig rig;
        rig.MakeSource(100000);
        salva::unique_hfile held;
        rig.host.onPump = [&](int n) {
            if (n == 2) {
                held = HoldOpen(rig.dst);
                rig.engine.Cancel();
            }
        };
        rig.host.answers = {IDYES};
        rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
        ASSERT_TRUE(held);
        ASSERT_EQ(2u, rig.host.shown.size()) << "the delete question, then the failure";
        EXPECT_EQ(rig.dst + L"\r\n" + kDeleteFailed, rig.host.shown[1].text);
        EXPECT_GT(FileLength(rig.dst), 0);
        EXPECT_FALSE(rig.engine.Running());
        EXPECT_TRUE(rig.host.Enabled(salva::CopyControl::StartButton));
    }
}

TEST(CopyTargets, RecordThatCannotBeWrittenIsTold) {
    {  // the library writes nothing
        Rig rig;
        rig.MakeSource(100000);
        rig.prompts.recordFails = true;
        rig.host.onPump = [&](int n) {
            if (n == 2) rig.engine.Cancel();
        };
        rig.host.answers = {IDNO};
        rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
        ASSERT_EQ(2u, rig.host.shown.size()) << rig.host.Titles();
        EXPECT_EQ(rig.dst + L"\r\n" + kRecordFailed, rig.host.shown[1].text);
        EXPECT_EQ(L"提醒！", rig.host.shown[1].title);
        EXPECT_EQ(1 + 2 * 4096, FileLength(rig.dst)) << "the partial target stays as it was";
    }
    {  // a position beyond the record's 32 bits: a paused copy far into a large sparse source
        Rig rig;
        {
            salva::unique_hfile big(::CreateFileW(rig.src.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(big);
            LARGE_INTEGER at;
            at.QuadPart = int64_t{3} << 30;
            ASSERT_TRUE(::SetFilePointerEx(big.get(), at, nullptr, FILE_BEGIN));
            if (!::SetEndOfFile(big.get())) GTEST_SKIP() << "no room for a 3 GiB sparse file here, error " << ::GetLastError();
        }
        rig.host.onPump = [&](int n) {
            if (n == 2) rig.engine.PauseOrContinue(L"");
        };
        rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096, (int64_t{2} << 30) + 1);
        ASSERT_TRUE(rig.engine.State().Paused);
        rig.engine.WriteResumeRecordOnClose();
        EXPECT_TRUE(rig.prompts.written.empty()) << "a 32-bit record cannot describe this target";
        ASSERT_EQ(1u, rig.host.shown.size());
        EXPECT_EQ(rig.dst + L"\r\n" + kRecordFailed, rig.host.shown[0].text);
        ::DeleteFileW(rig.dst.c_str());
        ::DeleteFileW(rig.src.c_str());
    }
}

TEST(CopyTargets, CloseWithTheLoopOnTheStackLeavesOneRecordAndStopsTheLoop) {
    // Pause and the close land in one pump: the loop has not unwound when the window goes.
    Rig rig;
    const auto src = rig.MakeSource(100000);
    int pumpsAfterClose = 0;
    bool closed = false;
    rig.host.onPump = [&](int n) {
        if (closed) ++pumpsAfterClose;
        if (n == 3) {
            rig.engine.PauseOrContinue(L"");
            rig.engine.WriteResumeRecordOnClose();
            closed = true;
        }
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    ASSERT_EQ(1u, rig.prompts.written.size());
    EXPECT_EQ(1 + 3 * 4096, rig.prompts.written[0].haveCopied);
    EXPECT_EQ(1 + 3 * 4096, rig.prompts.written[0].fileLength);
    EXPECT_EQ(0, pumpsAfterClose) << "the loop went on after the close";
    const auto partial = ReadBytes(rig.dst);
    ASSERT_EQ(size_t{1 + 3 * 4096 + 16}, partial.size());
    EXPECT_EQ(-1, FirstDifference(src, partial, 0, 3 * 4096));
    rig.engine.WriteResumeRecordOnClose();
    EXPECT_EQ(1u, rig.prompts.written.size());

    // Cancel and the close in one pump: no delete question comes after the window is gone.
    Rig cancel;
    cancel.MakeSource(100000);
    cancel.host.onPump = [&](int n) {
        if (n == 2) {
            cancel.engine.Cancel();
            cancel.engine.WriteResumeRecordOnClose();
        }
    };
    cancel.engine.CopyFileByBlocks(cancel.src, cancel.dst, 4096);
    EXPECT_TRUE(cancel.host.shown.empty()) << cancel.host.Titles();
    EXPECT_EQ(1u, cancel.prompts.written.size());
    EXPECT_GT(FileLength(cancel.dst), 0);
}
