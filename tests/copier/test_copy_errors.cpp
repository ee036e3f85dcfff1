// Every failure of the copy and merge loops: its message, style, title and log entry. A
// failing target never turns into a skip or a success.
#include "CopyFakes.h"

using namespace copytest;
using namespace testsupport;

namespace {

const std::wstring kIndent(22, L' ');

struct Expect {
    DWORD error;
    bool onWrite;  // else on the source
    const wchar_t* reason;  // nullptr: no log entry
    const wchar_t* message;  // in both, "%T" stands for the target's path
};

std::wstring WithTarget(std::wstring text, const std::wstring& target) {
    const size_t at = text.find(L"%T");
    return at == std::wstring::npos ? text : text.replace(at, 2, target);
}

void RunCopyCase(const Expect& c, bool merge) {
    Rig rig;
    rig.MakeSource(5000);
    if (merge) WriteBytes(rig.dst, Pattern(100));
    rig.env.driveType = DRIVE_FIXED;
    if (c.onWrite) {
        rig.writer.writeError = c.error;
        rig.writer.failFrom = merge ? 100 + 1000 : 1000;
    } else {
        rig.reader.openError = c.error;
    }
    if (merge)
        rig.engine.MergeFileByBlocks(rig.src, rig.dst, 500, 101);
    else
        rig.engine.CopyFileByBlocks(rig.src, rig.dst, 500);
    const std::string what = std::to_string(c.error) + (merge ? " merge" : " copy");
    ASSERT_EQ(1u, rig.host.shown.size()) << what << " " << Narrow(rig.host.Titles());
    const auto& box = rig.host.shown[0];
    EXPECT_EQ(merge ? L"合并文件时出错！" : L"复制文件时出错！", box.title) << what;
    EXPECT_EQ(16u, box.style) << what;
    std::wstring message = WithTarget(c.message, rig.dst);
    if (message.rfind(L"无法", 0) == 0) message = (merge ? L"无法合并 " : L"无法复制 ") + rig.src + message.substr(5);
    EXPECT_EQ(message, box.text) << what;
    if (c.reason) {
        ASSERT_EQ(1u, rig.host.log.size()) << what << rig.LogText();
        const std::wstring head = merge ? L"合并文件“" + rig.src + L"”到：\r\n" + kIndent + L"“" + rig.dst + L"”时遇到错误。"
                                        : L"复制文件“" + rig.src + L"”时遇到错误。";
        EXPECT_EQ(head + L"\r\n" + kIndent + WithTarget(c.reason, rig.dst), rig.host.log[0]) << what;
    } else {
        EXPECT_TRUE(rig.host.log.empty()) << what << rig.LogText();
    }
    EXPECT_FALSE(rig.engine.Running()) << what;
    EXPECT_TRUE(rig.host.Enabled(salva::CopyControl::StartButton)) << what;
}

}  // namespace

TEST(CopyErrors, TargetFailuresTakeTheirOwnMessages) {
    const Expect cases[] = {
        {ERROR_DISK_FULL, true, L"错误原因：磁盘已满，没有足够的可用空间用来复制文件。", L"磁盘已满，没有足够的可用空间用来复制文件。"},
        {ERROR_NEGATIVE_SEEK, true, L"错误原因：未知错误，可能是文件拒绝访问权限。", L"未知错误，请检查文件访问权限。"},
        {ERROR_LOCK_VIOLATION, true, L"错误原因：共享冲突,源文件或目标文件可能正在使用。", L"无法复制 \r\n共享冲突,源文件或目标文件可能正在使用。"},
        {ERROR_ACCESS_DENIED, true, L"错误原因：路径/文件访问错误，文件拒绝访问权限。", L"路径/文件访问错误，请检查文件的访问权限。"},
        // A failure of its own kind names the file it happened on, and is logged.
        {ERROR_CRC, true, L"错误原因：[57].设备 I/O 错误：“%T”", L"[57].设备 I/O 错误\r\n%T"},
    };
    for (const auto& c : cases) RunCopyCase(c, false);
}

TEST(CopyErrors, MergeFailuresTakeTheMergeTexts) {
    const Expect cases[] = {
        {ERROR_HANDLE_DISK_FULL, true, L"错误原因：磁盘已满，没有足够的可用空间用来合并文件。", L"磁盘已满，没有足够的可用空间用来合并文件。"},
        {ERROR_SEEK, true, L"错误原因：未知错误，可能是文件拒绝访问权限。", L"未知错误，请检查文件访问权限。"},
        {ERROR_SHARING_VIOLATION, true, L"错误原因：共享冲突,源文件或目标文件可能正在使用。", L"无法合并 \r\n共享冲突,源文件或目标文件可能正在使用。"},
        {ERROR_ACCESS_DENIED, false, L"错误原因：路径/文件访问错误，文件拒绝访问权限。", L"路径/文件访问错误，请检查文件的访问权限。"},
    };
    for (const auto& c : cases) RunCopyCase(c, true);
}

TEST(CopyErrors, SourceThatCannotBeOpenedForLackOfPermission) {
    RunCopyCase({ERROR_ACCESS_DENIED, false, L"错误原因：路径/文件访问错误，文件拒绝访问权限。", L"路径/文件访问错误，请检查文件的访问权限。"},
                false);
}

TEST(CopyErrors, TargetInUseByAnotherProgramIsASharingConflict) {
    Rig rig;
    const auto src = rig.MakeSource(1000);
    const auto old = Pattern(10);
    WriteBytes(rig.dst, old);
    salva::unique_hfile lock(::CreateFileW(rig.dst.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock) << ::GetLastError();
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 100);
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"无法复制 " + rig.src + L"\r\n共享冲突,源文件或目标文件可能正在使用。", rig.host.shown[0].text);
    lock.reset();
    EXPECT_EQ(old, ReadBytes(rig.dst));
}

TEST(CopyErrors, DiskFullPartWayNeverReportsSuccess) {
    Rig rig;
    const auto src = rig.MakeSource(10000);
    rig.writer.writeError = ERROR_DISK_FULL;
    rig.writer.failFrom = 6000;
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 1000);
    for (auto& l : rig.host.log) {
        EXPECT_EQ(std::wstring::npos, l.find(L"文件跳过")) << Narrow(l);
        EXPECT_EQ(std::wstring::npos, l.find(L"成功")) << Narrow(l);
    }
    ASSERT_EQ(1u, rig.host.shown.size());
    EXPECT_EQ(L"复制文件时出错！", rig.host.shown[0].title);
    EXPECT_EQ(6001, rig.engine.State().SourcePos) << "stopped at the failed block";
    EXPECT_TRUE(rig.engine.State().RecordPending);
    const auto dst = ReadBytes(rig.dst);
    EXPECT_EQ(-1, FirstDifference(src, dst, 0, 6000));
}

TEST(CopyErrors, InvalidCallAsksAndRetriesTheSameBlock) {
    Rig rig;
    const auto src = rig.MakeSource(5000);
    rig.writer.writeError = ERROR_INVALID_PARAMETER;
    rig.writer.failFrom = 2000;
    rig.writer.failCount = 1;
    rig.host.answers = {IDYES};
    rig.engine.CopyFileByBlocks(rig.src, rig.dst, 1000);
    ASSERT_EQ(2u, rig.host.shown.size());
    EXPECT_EQ(L"复制文件时出错，是否继续复制？", rig.host.shown[0].text);
    EXPECT_EQ(L"警告！", rig.host.shown[0].title);
    EXPECT_EQ(20u, rig.host.shown[0].style);
    EXPECT_EQ(L"文件复制完成！", rig.host.shown[1].title);
    EXPECT_EQ(src, ReadBytes(rig.dst));

    Rig no;
    no.MakeSource(5000);
    WriteBytes(no.dst, Pattern(10, 2));
    no.writer.writeError = ERROR_INVALID_PARAMETER;
    no.writer.failFrom = 2000;
    no.host.answers = {IDNO};
    no.engine.MergeFileByBlocks(no.src, no.dst, 1000, 11);
    ASSERT_EQ(1u, no.host.shown.size());
    EXPECT_EQ(L"合并文件时出错，是否继续合并？", no.host.shown[0].text);
    EXPECT_FALSE(no.engine.Running());
    ASSERT_EQ(1u, no.host.log.size());
    EXPECT_NE(std::wstring::npos, no.host.log[0].find(L"错误原因：[5]."));
}

TEST(CopyErrors, CdRomWithoutDiscAndUnknownErrors) {
    for (bool merge : {false, true}) {
        Rig rig;
        rig.MakeSource(5000);
        if (merge) WriteBytes(rig.dst, Pattern(10));
        rig.env.driveType = DRIVE_CDROM;
        rig.env.ready = false;
        rig.reader.bad.push_back({2500, 2500, ERROR_NOT_READY});
        if (merge)
            rig.engine.MergeFileByBlocks(rig.src, rig.dst, 500, 11);
        else
            rig.engine.CopyFileByBlocks(rig.src, rig.dst, 500);
        ASSERT_EQ(1u, rig.host.shown.size()) << merge;
        EXPECT_EQ(merge ? L"合并文件被意外地终止，请检查光驱中是否有光盘。" : L"复制文件被意外地终止，请检查光驱中是否有光盘。",
                  rig.host.shown[0].text);
        ASSERT_EQ(1u, rig.host.log.size()) << merge;
        EXPECT_NE(std::wstring::npos,
                  rig.host.log[0].find(merge ? L"错误原因：合并文件被意外地终止，光驱中可能没有光盘。"
                                             : L"错误原因：复制文件被意外地终止，请检查光驱中是否有光盘。"))
            << rig.LogText();
    }
    for (bool merge : {false, true}) {
        Rig rig;
        rig.MakeSource(5000);
        if (merge) WriteBytes(rig.dst, Pattern(10));
        rig.env.driveType = DRIVE_FIXED;
        rig.writer.writeError = 0x2000FF01;  // no system text for this code
        if (merge)
            rig.engine.MergeFileByBlocks(rig.src, rig.dst, 500, 11);
        else
            rig.engine.CopyFileByBlocks(rig.src, rig.dst, 500);
        ASSERT_EQ(1u, rig.host.shown.size()) << merge;
        const std::wstring expected =
            merge ? L"未知错误，可能是目标文件中含有非法字符或是在文件 \r\n合并过程当中遇到了其他无法预料的情况.如果文件已经\r\n合并了一部份，请重新启动Salvadisk，若仍然存在\r\n问题，请检查文件的访问权限."
                  : L"未知错误，可能是目标文件中含有非法字符或是在文件 \r\n复制过程当中遇到了其他无法预料的情况.如果文件已经\r\n复制了一部份，请重新启动Salvadisk并再次选择该 \r\n文件然后以追加方式继续复制剩余的部分，若仍然存在\r\n问题，请检查文件的访问权限.";
        EXPECT_EQ(expected, rig.host.shown[0].text) << merge;
        ASSERT_EQ(1u, rig.host.log.size());
        const std::wstring reason =
            merge ? L"错误原因：未知错误，可能是目标文件中含有非法字符或是 \r\n" + kIndent + L"在文件合并过程当中遇到了其他无法预料的情况 。"
                  : L"错误原因：未知错误，可能是目标文件中含有非法字符 \r\n" + kIndent + L"或是在文件复制过程当中遇到了其他无法预料的情况 。";
        EXPECT_NE(std::wstring::npos, rig.host.log[0].find(reason)) << rig.LogText();
    }
}

TEST(CopyErrors, Win32CodesMapOntoTheErrorNumbers) {
    using salva::FileErrorFromWin32;
    using salva::FileStep;
    struct Case {
        DWORD code;
        FileStep step;
        bool ready;
        int number;
        bool media;
    } cases[] = {
        {ERROR_CRC, FileStep::SourceRead, true, 75, true},
        {ERROR_SECTOR_NOT_FOUND, FileStep::SourceRead, true, 75, true},
        {ERROR_READ_FAULT, FileStep::SourceRead, true, 75, true},
        {ERROR_GEN_FAILURE, FileStep::SourceRead, true, 75, true},
        {ERROR_IO_DEVICE, FileStep::SourceRead, true, 75, true},
        {ERROR_NOT_READY, FileStep::SourceRead, true, 75, true},
        {ERROR_NOT_READY, FileStep::SourceRead, false, 71, false},
        {ERROR_CRC, FileStep::TargetWrite, true, 57, false},
        {ERROR_FILE_NOT_FOUND, FileStep::SourceOpen, true, 53, false},
        {ERROR_PATH_NOT_FOUND, FileStep::SourceOpen, true, 76, false},
        {ERROR_ACCESS_DENIED, FileStep::SourceOpen, true, 75, false},
        {ERROR_SHARING_VIOLATION, FileStep::TargetOpen, true, 70, false},
        {ERROR_DISK_FULL, FileStep::TargetWrite, true, 61, false},
        {ERROR_NEGATIVE_SEEK, FileStep::SourceRead, true, 63, false},
        {ERROR_INVALID_HANDLE, FileStep::SourceRead, true, 52, false},
        {ERROR_INVALID_PARAMETER, FileStep::TargetWrite, true, 5, false},
    };
    for (const auto& c : cases) {
        const auto e = FileErrorFromWin32(c.code, c.step, c.ready);
        EXPECT_EQ(c.number, e.number) << "win32 " << c.code;
        EXPECT_EQ(c.media, e.mediaRead) << "win32 " << c.code;
    }
    EXPECT_TRUE(salva::ShortReadError().mediaRead);
    EXPECT_EQ(61, salva::ShortWriteError().number);
}
