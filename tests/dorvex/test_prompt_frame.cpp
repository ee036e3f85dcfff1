// The filling the three prompts share: size rows, name lines, file times.
#include "TestSupport.h"
#include "dorvex/PromptFrame.h"
#include "dorvex/PromptText.h"
#include "dorvex/SwitchDialogA.h"

using namespace testsupport;
using dorvex::NameLines;
using dorvex::SizeLine;

TEST(PromptText, SizeRowsAroundTheThresholds) {
    EXPECT_EQ(L"0 字节", SizeLine(0, L","));
    EXPECT_EQ(L"1,023 字节", SizeLine(1023, L","));
    EXPECT_EQ(L"1 KB [1,024 字节]", SizeLine(1024, L","));
    EXPECT_EQ(L"1 KB [1,025 字节]", SizeLine(1025, L","));
    EXPECT_EQ(L"9,999 KB [10,239,999 字节]", SizeLine(10239999, L","));
    EXPECT_EQ(L"10,000 KB [10,240,000 字节]", SizeLine(10240000, L","));
    EXPECT_EQ(L"9 MB [10,240,001 字节]", SizeLine(10240001, L","));
    EXPECT_EQ(L"4,096 MB [4,294,967,296 字节]", SizeLine(4294967296LL, L","));
    EXPECT_EQ(L"1.000 KB [1.024.000 字节]", SizeLine(1024000, L"."));
}

TEST(PromptText, NameLinesOfFortyEightCharacters) {
    EXPECT_EQ(L"C:\\a.dat\r\n", NameLines(L"C:\\a.dat"));
    const std::wstring p48(48, L'x');
    EXPECT_EQ(p48 + L"\r\n", NameLines(p48));
    std::wstring p100(100, L'a');
    for (size_t i = 0; i < p100.size(); ++i) p100[i] = static_cast<wchar_t>(L'a' + i % 26);
    EXPECT_EQ(p100.substr(0, 48) + L"\r\n" + p100.substr(48, 48) + L"\r\n" + p100.substr(96, 4) + L"\r\n",
              NameLines(p100));
    const std::wstring p200(200, L'z');
    const std::wstring lines = NameLines(p200);
    EXPECT_EQ(std::wstring(48, L'z') + L"\r\n" + std::wstring(48, L'z') + L"\r\n" + std::wstring(104, L'z') + L"\r\n",
              lines);
}

TEST(PromptText, AmPmByHourAndFileNamePart) {
    EXPECT_EQ(L" AM", dorvex::AmPmSuffix(0));
    EXPECT_EQ(L" AM", dorvex::AmPmSuffix(11));
    EXPECT_EQ(L" PM", dorvex::AmPmSuffix(12));
    EXPECT_EQ(L" PM", dorvex::AmPmSuffix(23));
    EXPECT_EQ(L"AVSEQ01.DAT", dorvex::FileNamePart(L"D:\\OUT\\AVSEQ01.DAT"));
    EXPECT_EQ(L"plain", dorvex::FileNamePart(L"plain"));
}

namespace {
void SetModified(const std::wstring& path, WORD hour, WORD minute) {
    SYSTEMTIME local{2003, 12, 0, 14, hour, minute, 5, 0};
    FILETIME lft{}, utc{};
    ::SystemTimeToFileTime(&local, &lft);
    ::LocalFileTimeToFileTime(&lft, &utc);
    salva::unique_hfile f(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    ASSERT_TRUE(::SetFileTime(f.get(), nullptr, nullptr, &utc));
}
bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

TEST(PromptFrame, FileTimesCarryTheirSuffixAndHiddenFilesShowNone) {
    TempDir dir;
    const std::wstring early = dir / L"early.dat", noon = dir / L"noon.dat", hidden = dir / L"hidden.dat";
    for (const auto& p : {early, noon, hidden}) ASSERT_TRUE(WriteBytes(p, Pattern(10)));
    SetModified(early, 0, 30);
    SetModified(noon, 12, 0);
    const std::wstring e = dorvex::FormatFileTime(early, 0);
    const std::wstring n = dorvex::FormatFileTime(noon, 0);
    EXPECT_TRUE(EndsWith(e, L" AM")) << Narrow(e);
    EXPECT_TRUE(EndsWith(n, L" PM")) << Narrow(n);
    EXPECT_NE(std::wstring::npos, e.find(L"2003")) << Narrow(e);
    SYSTEMTIME t{2003, 12, 0, 14, 0, 30, 5, 0};
    EXPECT_EQ(dorvex::FormatDateTimeText(t) + L" AM", e);
    EXPECT_EQ(L"", dorvex::FormatFileTime(early, 2));
    EXPECT_EQ(L"", dorvex::FormatFileTime(dir / L"none.dat", 0));
    EXPECT_EQ(L"", dorvex::FormatFileTime(dir.path(), 0)) << "a folder is not found by a normal search";

    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::wstring info = dorvex::FileInformationText(hidden);
    EXPECT_EQ(L"10 字节\r\n修改时间：\r\n访问时间：", info) << Narrow(info);
}

TEST(PromptFrame, InformationTextOfAVisibleFile) {
    TempDir dir;
    const std::wstring p = dir / L"f.dat";
    ASSERT_TRUE(WriteBytes(p, Pattern(2048)));
    const std::wstring info = dorvex::FileInformationText(p);
    EXPECT_EQ(0u, info.find(L"2 KB [2")) << Narrow(info);
    EXPECT_NE(std::wstring::npos, info.find(L"\r\n修改时间：")) << Narrow(info);
    EXPECT_NE(std::wstring::npos, info.find(L"\r\n访问时间：")) << Narrow(info);
    EXPECT_FALSE(EndsWith(info, L"\r\n"));
}

TEST(PromptFrame, NewNameRefusesPathsDevicesAndTrailingDotsOrBlanks) {
    for (const wchar_t* ok : {L"AVSEQ01.DAT[01]", L"a", L"CONSOLE.dat", L"COM10", L"LPT0.txt", L"nul1", L"新文件.vob"})
        EXPECT_TRUE(dorvex::IsPlainFileName(ok)) << testsupport::Narrow(ok);
    for (const wchar_t* bad : {L"", L".", L"..", L"a\\b", L"c:x", L"x?", L"CON", L"nul", L"Nul.dat", L"NUL .txt",
                               L"com1", L"LPT9.vob", L"aux.tar.gz", L"CONOUT$", L"name.", L"name ", L"tab\tname"})
        EXPECT_FALSE(dorvex::IsPlainFileName(bad)) << testsupport::Narrow(bad);
}
