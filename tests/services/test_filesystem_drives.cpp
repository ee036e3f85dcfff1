// Drive and disk information on drive letters mapped in the test's own Wine prefix: a folder as
// a floppy A:, a folder as a removable and as a fixed disk, a missing folder as an empty CD drive.
#include "services/FileSystem.h"
#include "TestSupport.h"
#include "WineHost.h"

using salva::FileSystem;
using testsupport::Narrow;
using testsupport::TempDir;
using wine_host::MappedDrive;

namespace {

std::string Mount(const TempDir& dir, const wchar_t* name) {
    const std::wstring folder = dir / name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return wine_host::UnixPath(folder);
}

#define REQUIRE_DRIVE(drive)                                                                   \
    if (!(drive).ok()) GTEST_SKIP() << "Wine's mount manager did not map " << Narrow((drive).root())

std::wstring MessageBoxText(HWND box) {
    std::wstring found;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM p) CALLBACK -> BOOL {
            wchar_t cls[32] = {};
            ::GetClassNameW(child, cls, 32);
            const std::wstring text = testsupport::WindowText(child);
            if (lstrcmpiW(cls, L"Static") == 0 && !text.empty()) {
                *reinterpret_cast<std::wstring*>(p) = text;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST(FileSystemDrives, FloppyRemovableAndFixedDrives) {
    TempDir dir;
    FileSystem fs;
    MappedDrive floppy(L'A', DRIVE_REMOVABLE, Mount(dir, L"floppy"));
    REQUIRE_DRIVE(floppy);
    MappedDrive removable(L'B', DRIVE_REMOVABLE, Mount(dir, L"stick"));
    REQUIRE_DRIVE(removable);
    MappedDrive fixed(wine_host::FreeDriveLetter(L'K'), DRIVE_FIXED, Mount(dir, L"disk"));
    REQUIRE_DRIVE(fixed);

    for (const wchar_t* a : {L"A", L"a", L"a:", L"A:\\", L"a:\\some\\file.dat"}) {
        EXPECT_TRUE(fs.DriveExists(a)) << Narrow(a);
        EXPECT_EQ(fs.GetDriveType(a), DRIVE_REMOVABLE) << Narrow(a);
        EXPECT_EQ(fs.GetDriveTypeStr(a), L"3.5英寸软盘") << Narrow(a) << ": " << Narrow(fs.GetDriveTypeStr(a));
        EXPECT_TRUE(fs.DriveIsReady(a)) << "an empty medium is ready: " << Narrow(a);
    }
    EXPECT_EQ(fs.GetDriveTypeStr(L"b:"), L"可移动磁盘") << Narrow(fs.GetDriveTypeStr(L"b:"));
    EXPECT_EQ(fs.GetDriveType(fixed.root()), DRIVE_FIXED);
    EXPECT_EQ(fs.GetDriveTypeStr(fixed.root()), L"本地磁盘");
    EXPECT_EQ(fs.GetDriveTypeStr(L"C:\\"), L"本地磁盘");

    const std::wstring fixedList = fs.GetFixedDiskList();
    EXPECT_NE(fixedList.find(L"C:\\"), std::wstring::npos) << Narrow(fixedList);
    EXPECT_NE(fixedList.find(fixed.root()), std::wstring::npos) << Narrow(fixedList);
    EXPECT_EQ(fixedList.find(L"A:\\"), std::wstring::npos) << Narrow(fixedList);
    EXPECT_EQ(fixedList.find(L"B:\\"), std::wstring::npos) << Narrow(fixedList);
    EXPECT_EQ(fixedList.size() % 3, 0u) << Narrow(fixedList);

    // Sizes of a present drive.
    const double total = fs.GetDiskSpaceSize(L"a", 0);
    const double free = fs.GetDiskSpaceSize(L"a", 1);
    const double used = fs.GetDiskSpaceSize(L"a", 2);
    EXPECT_GT(total, 0) << total;
    EXPECT_GE(free, 0) << free;
    EXPECT_LE(used, total) << used << " of " << total;
    EXPECT_EQ(fs.GetDiskSpaceSize(L"a", 3), 0);
    const salva::DiskValue rawTotal = fs.GetDiskInformationA(L"A:\\", 0);
    ASSERT_TRUE(std::holds_alternative<uint64_t>(rawTotal));
    EXPECT_EQ(static_cast<double>(std::get<uint64_t>(rawTotal)), total);
    EXPECT_EQ(fs.GetDiskInformation(L"A:\\", 0),
              L"总计空间：" + salva::filesystem_text::GroupedNumber(std::get<uint64_t>(rawTotal)) + L" 字节");

    const std::wstring all = fs.GetDiskInformationStr(L"A:\\");
    EXPECT_EQ(all.rfind(L"总计空间：", 0), 0u) << Narrow(all);
    size_t lines = 1;
    for (size_t at = all.find(L"\r\n"); at != std::wstring::npos; at = all.find(L"\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 11u) << Narrow(all);
    EXPECT_NE(all.find(L"\r\n剩余的簇数："), std::wstring::npos) << Narrow(all);
    EXPECT_EQ(fs.GetDiskInformation(L"A:\\", 11), L"");
    EXPECT_EQ(fs.GetDiskInformation(L"A:\\", -1), L"");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(fs.GetDiskInformationA(L"A:\\", 11)));
}

TEST(FileSystemDrives, VolumeLabelOfElevenCharactersRoundTrips) {
    TempDir dir;
    FileSystem fs;
    MappedDrive drive(wine_host::FreeDriveLetter(L'L'), DRIVE_FIXED, Mount(dir, L"labelled"));
    REQUIRE_DRIVE(drive);
    ASSERT_TRUE(fs.SetDiskVolumeLabel(drive.root(), L"SALVADISK01"));
    ASSERT_TRUE(drive.Remount());
    const salva::DiskValue label = fs.GetDiskInformationA(drive.root(), 4);
    ASSERT_TRUE(std::holds_alternative<std::wstring>(label));
    EXPECT_EQ(std::get<std::wstring>(label), L"SALVADISK01") << Narrow(std::get<std::wstring>(label));
    EXPECT_EQ(std::get<std::wstring>(label).size(), 11u);
    EXPECT_EQ(fs.GetDiskInformation(drive.root(), 4), L"卷标：SALVADISK01");
    const std::wstring serial = fs.GetDiskInformation(drive.root(), 5);
    EXPECT_EQ(serial.rfind(L"序列号：", 0), 0u) << Narrow(serial);
    EXPECT_EQ(serial.find_first_not_of(L"0123456789ABCDEF", 4), std::wstring::npos) << Narrow(serial);
}

TEST(FileSystemDrives, EmptyCdDriveAndLettersThatAreNoDrive) {
    TempDir dir;
    FileSystem fs;
    // A drive whose folder does not exist is what Wine shows for a CD drive without a disc.
    MappedDrive cd(wine_host::FreeDriveLetter(L'R'), DRIVE_CDROM, wine_host::UnixPath(dir / L"no-disc"));
    REQUIRE_DRIVE(cd);
    const std::wstring letter = cd.root().substr(0, 1);
    EXPECT_TRUE(fs.DriveExists(letter));
    EXPECT_FALSE(fs.DriveIsReady(letter));
    EXPECT_EQ(fs.GetDriveType(letter), DRIVE_CDROM);
    EXPECT_EQ(fs.GetDriveTypeStr(letter), L"光盘") << Narrow(fs.GetDriveTypeStr(letter));
    EXPECT_EQ(fs.GetDiskSpaceSize(letter, 0), -1);
    EXPECT_EQ(fs.GetDiskInformationStr(cd.root()), L"");
    EXPECT_EQ(fs.GetDiskInformation(cd.root(), 4), L"");

    // The warning instead of the property sheet, titled with the drive's root.
    const std::wstring title = L"[" + letter + L":\\]属性";
    std::wstring shown;
    testsupport::Watcher watcher(title.c_str(), [&](HWND box) {
        shown = MessageBoxText(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    fs.ShowDriveProperty(letter + L":\\", nullptr);
    watcher.Join();
    EXPECT_TRUE(watcher.found()) << "no box titled " << Narrow(title);
    EXPECT_EQ(shown, L"驱动器没有准备好.") << Narrow(shown);

    const wchar_t none = wine_host::FreeDriveLetter(L'M');
    ASSERT_NE(none, 0);
    const std::wstring noDrive(1, none);
    EXPECT_FALSE(fs.DriveExists(noDrive));
    EXPECT_FALSE(fs.DriveIsReady(noDrive));
    EXPECT_EQ(fs.GetDriveType(noDrive), 0);
    EXPECT_EQ(fs.GetDriveTypeStr(noDrive), L"");
    EXPECT_EQ(fs.GetDiskSpaceSize(noDrive, 0), -1);
    EXPECT_EQ(fs.GetDiskSpaceSize(noDrive, 3), -1);
    // Only a letter names a drive, not another character of the list text.
    for (const wchar_t* notLetter : {L"", L":", L"\\", L":\\", L"\\\\server\\share", L"1"}) {
        EXPECT_FALSE(fs.DriveExists(notLetter)) << Narrow(notLetter);
        EXPECT_EQ(fs.GetDriveType(notLetter), 0) << Narrow(notLetter);
        EXPECT_EQ(fs.GetDriveTypeStr(notLetter), L"") << Narrow(notLetter);
    }
    EXPECT_EQ(fs.GetDiskInformationStr(noDrive + L":\\"), L"");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(fs.GetDiskInformationA(noDrive + L":\\", 0)));
}
