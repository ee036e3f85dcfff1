// Text rules of the file service: name and path splitting, attribute, drive and disk texts.
#include "services/FileSystem.h"
#include "TestSupport.h"

using salva::FileSystem;
using testsupport::Narrow;
namespace text = salva::filesystem_text;

TEST(FileSystemNames, SplitsNameAndFolder) {
    FileSystem fs;
    struct Case { const wchar_t* path; const wchar_t* name; const wchar_t* folder; };
    const Case cases[] = {
        {L"C:\\a\\b.dat", L"b.dat", L"C:\\a\\"},
        {L"b.dat", L"b.dat", L"b.dat"},
        {L"C:\\a\\", L"", L"C:\\a\\"},
        {L"C:\\a.b\\file", L"file", L"C:\\a.b\\"},
        {L"\\\\server\\share\\x.vob", L"x.vob", L"\\\\server\\share\\"},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fs.GetFileName(c.path), c.name) << Narrow(c.path) << " -> " << Narrow(fs.GetFileName(c.path));
        EXPECT_EQ(fs.GetFolderName(c.path), c.name) << Narrow(c.path);
        EXPECT_EQ(fs.GetFilePath(c.path), c.folder) << Narrow(c.path) << " -> " << Narrow(fs.GetFilePath(c.path));
        EXPECT_EQ(fs.GetParentFolderName(c.path), c.folder) << Narrow(c.path);
    }
}

TEST(FileSystemText, AttributeTable) {
    struct Case { int32_t value; const wchar_t* text; };
    const Case cases[] = {
        {0, L"正常(无任何属性)"},   {128, L"正常(无任何属性)"}, {1, L"只读"},
        {2, L"隐藏"},               {3, L"只读,隐藏"},          {4, L"系统"},
        {5, L"系统,只读"},          {6, L"隐藏,系统"},          {7, L"只读,隐藏,系统"},
        {32, L"存档"},              {33, L"只读,存档"},         {34, L"隐藏,存档"},
        {35, L"只读,隐藏,存档"},    {38, L"隐藏,系统,存档"},    {39, L"只读,隐藏,系统,存档"},
        {64, L"链接或快捷方式"},    {2054, L"隐藏,系统,压缩"},  {2055, L"只读,隐藏,系统,压缩"},
        {2083, L"只读,隐藏,存档,压缩"}, {2086, L"隐藏,系统,存档,压缩"}, {2087, L"只读,隐藏,系统,存档,压缩"},
        {36, L"未知(36)"},          {37, L"未知(37)"},          {0x2020, L"未知(8224)"},
        {-1, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::AttributesText(c.value), c.text)
            << c.value << " -> " << Narrow(text::AttributesText(c.value));
}

TEST(FileSystemText, DriveTypeTexts) {
    EXPECT_EQ(text::DriveTypeText(0, L'C'), L"未知磁盘");
    EXPECT_EQ(text::DriveTypeText(1, L'C'), L"无效磁盘");
    EXPECT_EQ(text::DriveTypeText(2, L'A'), L"3.5英寸软盘");
    EXPECT_EQ(text::DriveTypeText(2, L'a'), L"3.5英寸软盘");
    EXPECT_EQ(text::DriveTypeText(2, L'B'), L"可移动磁盘");
    EXPECT_EQ(text::DriveTypeText(3, L'C'), L"本地磁盘");
    EXPECT_EQ(text::DriveTypeText(4, L'N'), L"远程磁盘");
    EXPECT_EQ(text::DriveTypeText(5, L'D'), L"光盘");
    EXPECT_EQ(text::DriveTypeText(6, L'R'), L"Ram磁盘");
    EXPECT_EQ(text::DriveTypeText(7, L'C'), L"") << Narrow(text::DriveTypeText(7, L'C'));
}

TEST(FileSystemText, DiskItems) {
    text::DiskFacts facts;
    facts.totalBytes = 1234567;
    facts.freeBytesToCaller = 1000;
    facts.totalFreeBytes = 234567;
    facts.volumeLabel = L"SALVADISK01";
    facts.serialNumber = 0x00A1B2C3;
    facts.fileSystem = L"NTFS";
    facts.totalClusters = 301;
    facts.sectorsPerCluster = 8;
    facts.bytesPerSector = 512;
    facts.freeClusters = 57;
    const wchar_t* expected[11] = {
        L"总计空间：1,234,567 字节", L"可用空间：1,000 字节",   L"可用空间：234,567 字节",
        L"已用空间：1,000,000 字节", L"卷标：SALVADISK01",     L"序列号：A1B2C3",
        L"文件系统：NTFS",          L"总的簇数：301",          L"每簇的扇区数：8",
        L"每扇区的字节数：512",     L"剩余的簇数：57",
    };
    std::wstring all;
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(text::DiskItemText(facts, i), expected[i]) << i << ": " << Narrow(text::DiskItemText(facts, i));
        all += expected[i];
        if (i < 10) all += L"\r\n";
    }
    EXPECT_EQ(text::DiskInformationText(facts), all) << Narrow(text::DiskInformationText(facts));
    EXPECT_EQ(text::DiskItemText(facts, 11), L"");
    EXPECT_EQ(text::DiskItemText(facts, -1), L"");

    EXPECT_EQ(std::get<uint64_t>(text::DiskItemValue(facts, 3)), 1000000u);
    EXPECT_EQ(std::get<std::wstring>(text::DiskItemValue(facts, 5)), L"A1B2C3");
    EXPECT_EQ(std::get<uint32_t>(text::DiskItemValue(facts, 9)), 512u);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(text::DiskItemValue(facts, 11)));

    facts.serialNumber = 0;
    EXPECT_EQ(text::DiskItemText(facts, 5), L"序列号：") << Narrow(text::DiskItemText(facts, 5));
    EXPECT_EQ(std::get<std::wstring>(text::DiskItemValue(facts, 5)), L"");
    facts.serialNumber = 0xFFFFFFFF;
    EXPECT_EQ(text::DiskItemText(facts, 5), L"序列号：FFFFFFFF") << Narrow(text::DiskItemText(facts, 5));
}

TEST(FileSystemText, GroupedNumbers) {
    EXPECT_EQ(text::GroupedNumber(0), L"0");
    EXPECT_EQ(text::GroupedNumber(999), L"999");
    EXPECT_EQ(text::GroupedNumber(1000), L"1,000");
    EXPECT_EQ(text::GroupedNumber(1234567), L"1,234,567");
    EXPECT_EQ(text::GroupedNumber(5000000000ull), L"5,000,000,000");
}

TEST(FileSystemText, TypeNameFallbackUsesTheNamePartOnly) {
    EXPECT_EQ(text::TypeNameFallback(L"C:\\docs\\readme.txt"), L"TXT 文件");
    EXPECT_EQ(text::TypeNameFallback(L"readme.Txt"), L"TXT 文件");
    EXPECT_EQ(text::TypeNameFallback(L"C:\\a.b\\file"), L"文件") << Narrow(text::TypeNameFallback(L"C:\\a.b\\file"));
    EXPECT_EQ(text::TypeNameFallback(L"C:\\a\\archive.tar.gz"), L"GZ 文件");
}

TEST(FileSystemText, OperablePaths) {
    for (const wchar_t* good : {L"C:\\a", L"c:\\a\\b.dat", L"\\\\server\\share\\x", L"Z:\\tmp\\dir\\"})
        EXPECT_TRUE(text::IsOperablePath(good)) << Narrow(good);
    for (const wchar_t* bad : {L"", L"a.txt", L"sub\\a.txt", L"C:a.txt", L"\\a.txt", L"C:\\", L"C:\\\\",
                               L"C:\\*.*", L"C:\\a\\?.txt", L"\\\\server", L"\\\\server\\share", L"\\\\server\\share\\",
                               L"1:\\a"})
        EXPECT_FALSE(text::IsOperablePath(bad)) << Narrow(bad);
    EXPECT_FALSE(text::IsOperablePath(std::wstring(L"C:\\a\0b", 6)));
}
