// What a copy continued from its resume record reports: the stretches every earlier session
// left out, kept in the skip map beside the target, or that they are not known.
#include "CopyFakes.h"
#include "copier/CopyTiming.h"
#include "copier/SkipMapFile.h"
#include "copier/SkipTally.h"
#include <algorithm>

using namespace copytest;
using namespace testsupport;

namespace {

// A source without a 0 byte: the 0 bytes of a new target are exactly the bytes never written.
std::vector<uint8_t> SourceWithoutZeros(Rig& rig, size_t n) {
    auto bytes = Pattern(n, 29);
    std::replace(bytes.begin(), bytes.end(), uint8_t{0}, uint8_t{1});
    EXPECT_TRUE(WriteBytes(rig.src, bytes));
    return bytes;
}

int64_t Zeros(const std::vector<uint8_t>& bytes) { return std::count(bytes.begin(), bytes.end(), uint8_t{0}); }

bool MapExists(const std::wstring& target) { return FileLength(salva::SkipMapPath(target)) > 0; }

// The first session: 4,096-byte reads and one-block skips (32,768 bytes) past the unreadable
// bytes at 10,000, 80,000 and 250,000; cancelled at 50,000, keeping the target.
void SkipAndCancel(Rig& rig) {
    SourceWithoutZeros(rig, 300000);
    rig.reader.bad = {{9999, 9999, ERROR_CRC}, {79999, 79999, ERROR_CRC}, {249999, 249999, ERROR_CRC}};
    rig.engine.SkipBlocksReleased(1);
    rig.host.onPump = [&rig](int) {
        if (rig.engine.State().SourcePos > 50000) rig.engine.Cancel();
    };
    rig.host.answers = {IDNO};
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    rig.host.onPump = nullptr;
    ASSERT_EQ(1u, rig.prompts.written.size()) << rig.LogText();
}

// A later run of the program starts the same copy again with 6,144-byte reads and one-block
// skips (49,152 bytes), answers the record's prompt, and is cancelled (keeping the target)
// once past `cancelAt` (0: never).
void StartAgain(Rig& rig, long answer, int64_t cancelAt = 0,
                std::function<void(salva::CopyEngine&)> onPump = nullptr) {
    salva::CopyEngine later(rig.host, rig.env, rig.prompts, rig.reader, rig.writer);
    rig.prompts.overwriteOrContinue = answer;
    later.ReadBlocksReleased(1, rig.src, rig.dst);
    later.SkipBlocksReleased(1);
    rig.host.onPump = [&later, onPump, cancelAt](int) {
        if (cancelAt && later.State().SourcePos > cancelAt) later.Cancel();
        if (onPump) onPump(later);
    };
    rig.host.answers = {IDNO};
    later.BeginCopy(rig.src, rig.dst);
    rig.host.onPump = nullptr;
}

std::wstring LastLine(const std::wstring& text) { return text.substr(text.rfind(L"\r\n") + 2); }

}  // namespace

TEST(CopyResume, CopyContinuedTwiceCountsWhatEverySessionSkippedAndDropsTheMap) {
    Rig rig;
    SkipAndCancel(rig);
    ASSERT_TRUE(MapExists(rig.dst));
    // A continue a full disk stops before its first block lands leaves the record and map as found.
    const auto before = ReadBytes(rig.dst), map = ReadBytes(salva::SkipMapPath(rig.dst));
    rig.writer.writeError = ERROR_DISK_FULL;
    StartAgain(rig, 2);
    rig.writer.writeError = 0;
    EXPECT_TRUE(before == ReadBytes(rig.dst)) << "target now " << FileLength(rig.dst) << " bytes";
    EXPECT_EQ(map, ReadBytes(salva::SkipMapPath(rig.dst)));
    StartAgain(rig, 2, 130000);
    ASSERT_EQ(2u, rig.prompts.written.size()) << "the second session's record";
    ASSERT_TRUE(MapExists(rig.dst));
    StartAgain(rig, 2);
    const auto copied = ReadBytes(rig.dst);
    ASSERT_EQ(300000u, copied.size());
    ASSERT_FALSE(rig.host.shown.empty());
    const Shown& done = rig.host.shown.back();
    EXPECT_EQ(L"文件复制完成！", done.title);
    EXPECT_EQ(salva::SkippedText(3, Zeros(copied)), LastLine(done.text)) << Narrow(done.text);
    EXPECT_EQ(std::wstring(22, L' ') + salva::SkippedText(3, Zeros(copied)), LastLine(rig.host.log.back()));
    EXPECT_FALSE(MapExists(rig.dst)) << "a complete copy keeps no map";
}

TEST(CopyResume, ContinueWithoutAMapSaysEarlierSkipsAreNotKnown) {
    Rig rig;
    SkipAndCancel(rig);
    salva::RemoveSkipMap(rig.dst, rig.env);
    StartAgain(rig, 2);
    ASSERT_FALSE(rig.host.shown.empty());
    const Shown& done = rig.host.shown.back();
    EXPECT_EQ(salva::kEarlierSkipsUnknownText, LastLine(done.text)) << Narrow(done.text);
    EXPECT_NE(std::wstring::npos, done.text.find(L"其中有 2 处无法读取")) << "this session's own skips";
}

// Starting over writes over the target from its first byte while its old record still stands
// at the end: should that run end without a record of its own, the old map must not vouch for
// what the target now holds.
TEST(CopyResume, StartingOverForgetsTheMap) {
    Rig rig;
    SkipAndCancel(rig);
    StartAgain(rig, 1, 0, [](salva::CopyEngine& e) {
        if (!e.State().Paused) e.PauseOrContinue(L"");
    });
    EXPECT_FALSE(MapExists(rig.dst));
    rig.host.answers.clear();
    StartAgain(rig, 2);
    ASSERT_FALSE(rig.host.shown.empty());
    EXPECT_EQ(salva::kEarlierSkipsUnknownText, LastLine(rig.host.shown.back().text));
}

// The close leaves a record only where the stopped copy wrote and its target is still as that
// copy left it; a start refused before copying keeps what the close owes, and a copy started
// onto another file leaves it at once.
TEST(CopyResume, TheCloseRecordsOnlyATargetTheStoppedCopyWroteAndLeftAsItIs) {
    enum Then { RefusedStart, CompletedElsewhere, NeverOpened, OtherFileCopied };
    for (const Then then : {RefusedStart, CompletedElsewhere, NeverOpened, OtherFileCopied}) {
        Rig rig;
        const auto src = rig.MakeSource(100000), theirs = Pattern(50000, 3);
        salva::unique_hfile busy;
        if (then == NeverOpened) {  // another program holds the target
            WriteBytes(rig.dst, theirs);
            busy.reset(::CreateFileW(rig.dst.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        rig.writer.writeError = ERROR_DISK_FULL;
        rig.writer.failFrom = 20000;
        rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
        busy.reset();
        rig.env.freeBytes = 10;  // the start is refused at the free-space question
        if (then == RefusedStart) rig.engine.BeginCopy(rig.src, rig.dst);
        if (then == CompletedElsewhere) WriteBytes(rig.dst, src);
        rig.writer.writeError = 0;
        if (then == OtherFileCopied) rig.engine.CopyFileByBlocks(rig.src, rig.dir / L"other.dat", 4096);
        rig.engine.WriteResumeRecordOnClose();
        const bool owed = then == RefusedStart || then == OtherFileCopied;
        EXPECT_EQ(owed ? 1u : 0u, rig.prompts.written.size()) << "case " << then;
        EXPECT_TRUE(owed || (then == NeverOpened ? theirs : src) == ReadBytes(rig.dst)) << then;
    }
}

// The skip slider moves a paused copy only, and the jump counts as a logged skip.
TEST(CopyResume, AHandSkipMovesOnlyAPausedCopyAndIsCounted) {
    Rig rig;
    SourceWithoutZeros(rig, 100000);
    rig.host.onPump = [&](int n) {
        if (n == 2) rig.engine.SkipBlocksReleased(5);
        if (n == 4) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    ASSERT_TRUE(rig.engine.State().Paused);
    EXPECT_EQ(1 + 4 * 4096, rig.engine.State().SourcePos) << "the running copy was moved";
    rig.host.onPump = nullptr;
    rig.engine.SkipBlocksReleased(2);
    rig.engine.PauseOrContinue(L"");
    EXPECT_EQ(salva::SkippedText(1, 2 * 4096 - 1), LastLine(rig.host.shown.back().text));
    EXPECT_TRUE(rig.Logged(L"文件跳过：" + salva::GroupedNumber(1 + 6 * 4096) + L"字节")) << rig.LogText();
}
