// Pause, continue, cancel, the timer texts and the resume record left by a cancel.
#include "CopyFakes.h"
#include "copier/CopyTiming.h"

using namespace copytest;
using namespace testsupport;
using salva::CopyControl;
using salva::CopyLabel;

namespace {

const std::wstring kTargetChanged = L"目标文件已不存在或已被改动，将从头开始复制。";

// Copies the rig's source in blocks of 4,096 bytes and pauses after `blocks` of them.
void CopyAndPause(Rig& rig, int blocks) {
    rig.host.onPump = [&rig, blocks](int n) {
        if (n == blocks) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    rig.host.onPump = nullptr;
}

}  // namespace

TEST(CopyStates, PauseStopsBeforeTheNextBlockAndContinueAppendsTheRest) {
    Rig rig;
    const auto src = rig.MakeSource(100000);
    rig.host.onPump = [&](int n) {
        if (n == 5) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    const auto& s = rig.engine.State();
    EXPECT_TRUE(s.Paused);
    EXPECT_FALSE(rig.engine.Running());
    EXPECT_EQ(1 + 5 * 4096, s.SourcePos);
    EXPECT_EQ(L"继续复制[&P]", rig.host.pauseCaption);
    EXPECT_FALSE(rig.host.Enabled(CopyControl::CancelButton));
    EXPECT_TRUE(rig.host.Enabled(CopyControl::SetUpButton));
    EXPECT_FALSE(rig.host.Enabled(CopyControl::StartButton));
    EXPECT_FALSE(rig.host.timer);
    EXPECT_TRUE(rig.host.log.empty()) << rig.LogText();
    // Each block writes one byte past the step, so the target ends at the next block's position.
    EXPECT_EQ(s.SourcePos, FileLength(rig.dst));
    EXPECT_EQ(5u, rig.reader.reads.size());

    rig.host.onPump = nullptr;
    rig.host.answers = {IDNO};  // keep the target, continue by appending
    rig.engine.PauseOrContinue(L"");
    ASSERT_GE(rig.host.shown.size(), 1u);
    EXPECT_EQ(rig.dst + L"\r\n该文件已经存在，是否覆盖或以追加方式继续复制？\r\n是[Y]：覆盖该文件\r\n否[N]：以追加方式继续复制",
              rig.host.shown[0].text);
    EXPECT_EQ(52u, rig.host.shown[0].style);
    EXPECT_EQ(20481, rig.reader.reads[5].first + 1) << "continued at the kept position";
    EXPECT_EQ(src, ReadBytes(rig.dst));
    EXPECT_EQ(L"文件复制完成！", rig.host.shown.back().title);
    EXPECT_FALSE(rig.engine.State().Paused);
    EXPECT_EQ(L"暂停复制[&S]", rig.host.pauseCaption);
}

TEST(CopyStates, ContinueWithYesStartsAgainAtTheFirstByte) {
    Rig rig;
    const auto src = rig.MakeSource(50000);
    CopyAndPause(rig, 2);
    rig.reader.reads.clear();
    rig.host.answers = {IDYES};
    rig.engine.PauseOrContinue(L"");
    ASSERT_FALSE(rig.reader.reads.empty());
    EXPECT_EQ(0, rig.reader.reads[0].first);
    EXPECT_EQ(src, ReadBytes(rig.dst));
}

TEST(CopyStates, PausedMergeContinuesAsAMerge) {
    Rig rig;
    const auto src = rig.MakeSource(40000);
    const auto old = Pattern(777, 5);
    WriteBytes(rig.dst, old);
    rig.host.onPump = [&](int n) {
        if (n == 3) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.MergeFileByBlocks(rig.src, rig.dst, 1000, 778);
    ASSERT_TRUE(rig.engine.State().Paused);
    rig.host.onPump = nullptr;
    rig.engine.PauseOrContinue(L"");
    auto expected = old;
    expected.insert(expected.end(), src.begin(), src.end());
    EXPECT_EQ(expected, ReadBytes(rig.dst));
    EXPECT_EQ(L"文件合并完成！", rig.host.shown.back().title) << Narrow(rig.host.Titles());
}

TEST(CopyStates, ContinueOntoAFullDriveCanTakeANewTarget) {
    Rig rig;
    const auto src = rig.MakeSource(30000);
    CopyAndPause(rig, 2);
    rig.env.freeBytes = 1000;
    rig.host.answers = {IDNO};
    rig.engine.PauseOrContinue(L"");
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"提醒！", rig.host.shown[0].title);
    EXPECT_NE(std::wstring::npos, rig.host.shown[0].text.find(L"盘空间不足，请重新选择文件保存路径，然后单击[继续]并继续复制\r\n可用空间:0MB\r\n文件大小:0MB"))
        << Narrow(rig.host.shown[0].text);
    EXPECT_TRUE(rig.engine.State().Paused);
    EXPECT_TRUE(rig.host.Enabled(CopyControl::TargetBox));
    EXPECT_TRUE(rig.host.Enabled(CopyControl::TargetButton));
    EXPECT_EQ(L"继续复制[&P]", rig.host.pauseCaption);

    // The new target holds nothing of what came before the kept position: it is copied whole.
    rig.env.freeBytes.reset();
    const std::wstring other = rig.dir / L"other.dat";
    rig.engine.PauseOrContinue(other);
    ASSERT_EQ(3u, rig.host.shown.size()) << Narrow(rig.host.Titles());
    EXPECT_EQ(kTargetChanged, rig.host.shown[1].text);
    EXPECT_EQ(src, ReadBytes(other));
    EXPECT_EQ(other, rig.engine.State().Target);
}

TEST(CopyStates, ContinueIntoATargetDeletedWhilePausedCopiesFromTheFirstByte) {
    Rig rig;
    const auto src = rig.MakeSource(50000);
    CopyAndPause(rig, 5);
    ASSERT_TRUE(rig.engine.State().Paused);
    ASSERT_TRUE(::DeleteFileW(rig.dst.c_str()));
    rig.engine.PauseOrContinue(L"");
    ASSERT_EQ(2u, rig.host.shown.size()) << Narrow(rig.host.Titles());
    EXPECT_EQ(kTargetChanged, rig.host.shown[0].text);
    EXPECT_EQ(L"提醒！", rig.host.shown[0].title);
    EXPECT_EQ(48u, rig.host.shown[0].style);
    EXPECT_EQ(src, ReadBytes(rig.dst));
    EXPECT_EQ(L"文件复制完成！", rig.host.shown[1].title);
}

TEST(CopyStates, CancelWithYesDeletesTheTarget) {
    Rig rig;
    rig.MakeSource(100000);
    rig.host.onPump = [&](int n) {
        if (n == 3) rig.engine.Cancel();
    };
    rig.host.answers = {IDYES};
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(rig.dst + L"\r\n该文件已经存在，是否删除？", rig.host.shown[0].text);
    EXPECT_EQ(52u, rig.host.shown[0].style);
    EXPECT_EQ(L"提醒！", rig.host.shown[0].title);
    EXPECT_EQ(std::vector<std::wstring>{L"取消复制：" + rig.src}, rig.host.log);
    EXPECT_EQ(-1, FileLength(rig.dst));
    EXPECT_EQ(L"0字节", rig.host.Label(CopyLabel::Copied));
    EXPECT_EQ(L"0KB/秒", rig.host.Label(CopyLabel::Rate));
    EXPECT_TRUE(rig.host.Enabled(CopyControl::StartButton));
    EXPECT_TRUE(rig.prompts.written.empty());
}

TEST(CopyStates, CancelWithNoLeavesARecordAndALaterStartContinuesFromIt) {
    Rig rig;
    const auto src = rig.MakeSource(100000);
    rig.host.onPump = [&](int n) {
        if (n == 3) {
            rig.env.nowMs += 4000;
            rig.engine.TimerTick();
            rig.engine.Cancel();
        }
    };
    rig.host.answers = {IDNO};
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    const int64_t pos = 1 + 3 * 4096;  // 12289
    ASSERT_EQ(1u, rig.prompts.written.size());
    const auto& v = rig.prompts.written[0];
    EXPECT_EQ(pos, v.fileLength);
    EXPECT_EQ(pos, v.haveCopied);
    EXPECT_EQ(4, v.totalTime);
    EXPECT_EQ(static_cast<int>(100000.0 / (pos / 4.0)), v.consumeTime);
    EXPECT_EQ(pos / 1024 / 4, v.copySpeed);
    const auto bytes = ReadBytes(rig.dst);
    ASSERT_EQ(static_cast<size_t>(pos + 16), bytes.size());
    EXPECT_EQ(-1, FirstDifference(src, bytes, 0, pos - 1));
    EXPECT_EQ('P', bytes[pos - 1]);
    EXPECT_EQ('D', bytes[pos]);
    EXPECT_EQ('V', bytes[pos + 1]);
    EXPECT_FALSE(rig.engine.State().RecordPending);

    // A later start finds the record and continues 16 bytes before the stored length.
    rig.host.onPump = nullptr;
    rig.host.shown.clear();
    rig.host.log.clear();
    rig.reader.reads.clear();
    rig.prompts.overwriteOrContinue = 2;
    rig.engine.ReadBlocksReleased(1, rig.src, rig.dst);
    rig.engine.BeginCopy(rig.src, rig.dst);
    ASSERT_FALSE(rig.reader.reads.empty());
    EXPECT_EQ(pos - 16, rig.reader.reads[0].first + 1);
    ASSERT_FALSE(rig.host.log.empty());
    EXPECT_EQ(L"续拷文件：" + rig.src + L"\r\n" + std::wstring(22, L' ') + L"到：" + rig.dst, rig.host.log[0]);
    EXPECT_EQ(src, ReadBytes(rig.dst)) << "record gone, target equals source";
}

TEST(CopyStates, CancelledMergeWritesNoCopyRecord) {
    Rig rig;
    rig.MakeSource(50000);
    const auto old = Pattern(300, 8);
    WriteBytes(rig.dst, old);
    rig.host.onPump = [&](int n) {
        if (n == 2) rig.engine.Cancel();
    };
    rig.host.answers = {IDNO};
    rig.engine.MergeFileByBlocks(rig.src, rig.dst, 4096, 301);
    EXPECT_EQ(std::vector<std::wstring>{L"取消合并：" + rig.src}, rig.host.log);
    EXPECT_TRUE(rig.prompts.written.empty());
    const auto bytes = ReadBytes(rig.dst);
    EXPECT_EQ(-1, FirstDifference(old, bytes, 0, 300));
    rig.engine.WriteResumeRecordOnClose();
    EXPECT_TRUE(rig.prompts.written.empty());
}

TEST(CopyStates, PausedCopyLeavesItsRecordOnceAtShutdown) {
    Rig rig;
    rig.MakeSource(60000);
    rig.host.onPump = [&](int n) {
        if (n == 2) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    EXPECT_TRUE(rig.engine.State().RecordPending);
    rig.engine.WriteResumeRecordOnClose();
    rig.engine.WriteResumeRecordOnClose();
    ASSERT_EQ(1u, rig.prompts.written.size());
    EXPECT_EQ(1 + 2 * 4096, rig.prompts.written[0].haveCopied);
    EXPECT_EQ(1 + 2 * 4096 + 16, FileLength(rig.dst));
}

TEST(CopyStates, TimerCountsRealElapsedTimeWithoutPauses) {
    Rig rig;
    rig.MakeSource(2000000);
    int ticks = 0;
    rig.host.onPump = [&](int n) {
        if (n == 1) {
            // The first tick within the same second adds nothing and divides by nothing.
            rig.env.nowMs += 400;
            rig.engine.TimerTick();
            EXPECT_EQ(L"00:00:00", rig.host.Label(CopyLabel::Elapsed));
            EXPECT_EQ(L"0KB/秒", rig.host.Label(CopyLabel::Rate));
            ++ticks;
        }
        if (n == 10) {
            rig.env.nowMs += 1600;  // two seconds in all
            rig.engine.TimerTick();
            ++ticks;
            rig.engine.PauseOrContinue(L"");
        }
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 100000);
    ASSERT_EQ(2, ticks);
    const int64_t pos = 1 + 10 * 100000;
    EXPECT_EQ(2, rig.engine.State().ElapsedSeconds);
    EXPECT_EQ(L"00:00:02", rig.host.Label(CopyLabel::Elapsed));
    const int64_t rate = pos / 2;
    EXPECT_EQ(salva::ClockText((2000000 - pos) / rate), rig.host.Label(CopyLabel::Remaining));
    EXPECT_EQ(salva::ClockText(2000000 / rate), rig.host.Label(CopyLabel::Estimated));
    EXPECT_EQ(salva::GroupedNumber(pos / 1024 / 2) + L"KB/秒", rig.host.Label(CopyLabel::Rate));

    // An hour of pause does not count.
    rig.env.nowMs += 3600 * 1000;
    rig.engine.TimerTick();
    EXPECT_EQ(2, rig.engine.State().ElapsedSeconds);
    rig.host.onPump = [&](int n) {
        if (n == 12) {
            rig.env.nowMs += 3000;
            rig.engine.TimerTick();
        }
    };
    rig.host.answers = {IDNO};
    rig.engine.PauseOrContinue(L"");
    EXPECT_NE(std::wstring::npos, rig.host.log.back().find(L"总计消耗：" + rig.host.Label(CopyLabel::Estimated)))
        << rig.LogText();
    EXPECT_EQ(0, rig.engine.State().ElapsedSeconds) << "reset at the end of the copy";

    // The next copy takes half a second and no tick comes: it shows and logs its own figures.
    const int first = rig.host.pumps + 1;
    rig.host.onPump = [&](int n) {
        if (n == first) rig.env.nowMs += 500;
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 1000000);
    EXPECT_EQ(L"00:00:00", rig.host.Label(CopyLabel::Elapsed));
    EXPECT_EQ(L"3,906KB/秒", rig.host.Label(CopyLabel::Rate)) << "1,953 KB in 0.5 s";
    EXPECT_NE(std::wstring::npos, rig.host.log.back().find(L"总计消耗：00:00:00  存取速度：3,906KB/秒")) << rig.LogText();
}

TEST(CopyStates, LongCopyStillLeavesARecordWithClampedTimes) {
    Rig rig;
    rig.MakeSource(100000);
    std::wstring elapsed;
    rig.host.onPump = [&](int n) {
        if (n == 1) {
            rig.env.nowMs += int64_t{40000} * 1000;
            rig.engine.TimerTick();
            elapsed = rig.host.Label(CopyLabel::Elapsed);
            rig.engine.Cancel();
        }
    };
    rig.host.answers = {IDNO};
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    EXPECT_EQ(L"11:06:40", elapsed);
    ASSERT_EQ(1u, rig.prompts.written.size());
    EXPECT_EQ(32767, rig.prompts.written[0].totalTime);
    EXPECT_EQ(32767, rig.prompts.written[0].consumeTime);
    EXPECT_EQ(0, rig.prompts.written[0].copySpeed);
}

TEST(CopyStates, SlidersWhilePausedMoveThePositionAndChangeTheReadSize) {
    Rig rig;
    const auto src = rig.MakeSource(200000);
    rig.host.onPump = [&](int n) {
        if (n == 2) rig.engine.PauseOrContinue(L"");
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    ASSERT_TRUE(rig.engine.State().Paused);
    const int64_t kept = rig.engine.State().SourcePos;
    rig.env.driveType = DRIVE_CDROM;
    rig.engine.ReadBlocksReleased(2, rig.src, rig.dst);  // 2 × 4,096
    rig.engine.SkipBlocksReleased(3);                    // moves on by 3 × 8,192
    EXPECT_EQ(L"3块", rig.host.Label(CopyLabel::SkipBlocks));
    EXPECT_EQ(kept + 3 * 8192, rig.engine.State().SourcePos);
    rig.host.onPump = nullptr;
    rig.reader.reads.clear();
    rig.host.answers = {IDNO};
    rig.engine.PauseOrContinue(L"");
    ASSERT_FALSE(rig.reader.reads.empty());
    EXPECT_EQ(kept + 3 * 8192, rig.reader.reads[0].first + 1);
    EXPECT_EQ(8193u, rig.reader.reads[0].second);
    const auto dst = ReadBytes(rig.dst);
    ASSERT_EQ(src.size(), dst.size());
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, kept));
    EXPECT_EQ(-1, FirstDifference(src, dst, kept + 3 * 8192 - 1, src.size()));
}

TEST(CopyStates, PauseAndContinueWithinOnePumpKeepsTheLoopGoing) {
    Rig rig;
    const auto src = rig.MakeSource(50000);
    rig.host.onPump = [&](int n) {
        if (n == 2) {
            rig.engine.PauseOrContinue(L"");
            rig.engine.PauseOrContinue(L"");
        }
    };
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 4096);
    EXPECT_EQ(src, ReadBytes(rig.dst));
    ASSERT_EQ(1u, rig.host.shown.size()) << Narrow(rig.host.Titles());
    EXPECT_EQ(L"文件复制完成！", rig.host.shown[0].title);
    EXPECT_EQ(13u, rig.reader.reads.size()) << "each block read once";
}
