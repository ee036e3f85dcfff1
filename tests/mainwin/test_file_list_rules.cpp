// The file list's rules over values: the read-ahead of media files, the platform's list limit,
// the delete question and the target box that follows the current file.
#include "copier/FileListRules.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace salva;

TEST(FileListRules, ReadAheadOnlyForLargeLocalVideoOnFixedOrCdDrives) {
    EXPECT_TRUE(ReadsAheadForPreview(L"D:\\MPEGAV\\AVSEQ01.DAT", 2048, DRIVE_CDROM));
    EXPECT_TRUE(ReadsAheadForPreview(L"c:\\v\\vts_01_1.vob", 1 << 20, DRIVE_FIXED));
    EXPECT_TRUE(ReadsAheadForPreview(L"c:\\clip.mpeg", 4096, DRIVE_FIXED));
    for (const wchar_t* ext : {L"c:\\a.avi", L"c:\\a.asf", L"c:\\a.ASX"})
        EXPECT_TRUE(ReadsAheadForPreview(ext, 4096, DRIVE_FIXED)) << ext;
    EXPECT_FALSE(ReadsAheadForPreview(L"c:\\a.dat", 2047, DRIVE_FIXED));
    EXPECT_FALSE(ReadsAheadForPreview(L"c:\\a.mpg", 4096, DRIVE_FIXED));
    EXPECT_FALSE(ReadsAheadForPreview(L"f:\\a.dat", 4096, DRIVE_REMOVABLE));
    EXPECT_FALSE(ReadsAheadForPreview(L"  \\\\server\\share\\x.vob", 4096, DRIVE_FIXED));
}

TEST(FileListRules, ListLimitByPlatform) {
    EXPECT_FALSE(FileListFull(OSPlatformWin9x, 32736));
    EXPECT_TRUE(FileListFull(OSPlatformWin9x, 32737));
    EXPECT_FALSE(FileListFull(OSPlatformNT, 2147483615LL));
    EXPECT_TRUE(FileListFull(OSPlatformNT, 2147483616LL));
    EXPECT_FALSE(FileListFull(OSPlatformWin32s, 1LL << 40));
    EXPECT_FALSE(FileListFull(OSPlatformOther, 1LL << 40));
}

TEST(FileListRules, DeleteQuestionAndFollowingTarget) {
    EXPECT_EQ(L"真的要删除：c:\\a.dat 吗？\r\n\r\n是[Y]：永久删除文件\r\n否[N]：删除到回收站\r\n取 消：取消删除文件\r\n",
              DeleteQuestion(L"c:\\a.dat"));
    EXPECT_EQ(L"D:\\b.dat", TargetFollowing(L"D:\\", L"E:\\vcd\\b.dat"));
    // A box without a folder gets one "\" before the name.
    EXPECT_EQ(L"a.dat\\b.dat", TargetFollowing(L"a.dat", L"E:\\b.dat"));
}
