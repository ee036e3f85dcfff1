// The file list's rules over values: the read-ahead of media files, the platform's list limit,
// what a drop changes, the delete question and the target box that follows the current file.
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

TEST(FileListRules, DropPlanComparesTheListOnceWhateverTheCase) {
    std::vector<std::wstring> listed;
    for (int i = 0; i < 20000; ++i) listed.push_back(L"C:\\disc\\clip" + std::to_wstring(i) + L".dat");
    // 500 dropped: every 80th listed name in capitals, the first of them again as listed, and
    // new names.
    std::vector<std::wstring> dropped;
    for (int i = 0; i < 20000; i += 80) dropped.push_back(L"C:\\DISC\\CLIP" + std::to_wstring(i) + L".DAT");
    dropped.push_back(listed[0]);
    while (dropped.size() < 500) dropped.push_back(L"C:\\new\\clip" + std::to_wstring(dropped.size()) + L".dat");
    size_t comparisons = 0;
    const salva::DropPlan plan = salva::PlanDrop(listed, dropped, &comparisons);
    ASSERT_EQ(250u, plan.removed.size());
    EXPECT_EQ(0u, plan.removed.front());
    EXPECT_EQ(19920u, plan.removed.back());
    // The first spelling of each name, in drop order: the second spelling of clip0 is left out.
    ASSERT_EQ(499u, plan.append.size());
    EXPECT_EQ(249u, plan.append[249]);
    EXPECT_EQ(251u, plan.append[250]);
    // One set of the dropped names and one pass over the list: about one comparison per name
    // found again, where one per listed name and dropped name would be 10 million.
    EXPECT_LE(comparisons, listed.size() + dropped.size()) << comparisons;
}
