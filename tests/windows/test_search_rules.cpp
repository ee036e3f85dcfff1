// The search's name and attribute rules, as values.
#include "windows/FileSearchRules.h"
#include "windows/SearchHistory.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace salva;
using file_search::AcceptsFile;
using file_search::SearchCriteria;
using file_search::SizeBoxes;

namespace {

SearchCriteria Wildcard(const std::wstring& pattern, uint32_t mask = 0) { return {pattern, false, mask}; }

}  // namespace

TEST(SearchRules, PatternsCompareTheirLastThreeCharactersOrTheWholeName) {
    SizeBoxes none{};
    EXPECT_TRUE(AcceptsFile(Wildcard(L"*.mpeg"), L"photo.JPEG", 5, 0, none));
    EXPECT_TRUE(AcceptsFile(Wildcard(L" *.* "), L"noext", 5, 0, none));
    EXPECT_FALSE(AcceptsFile(Wildcard(L"*"), L"a.dat", 5, 0, none));
    EXPECT_TRUE(file_search::IsExactPattern(L"VTS_0?.VOB"));
    EXPECT_FALSE(file_search::IsExactPattern(L"*.vob"));
    const SearchCriteria exact{L"VTS_0?.VOB", true, 2};
    EXPECT_TRUE(AcceptsFile(exact, L"vts_0?.vob", 5, 0, {true, true, true})) << "no size or attribute condition";
    EXPECT_FALSE(AcceptsFile(exact, L"vts_01.vob", 5, 0, none)) << "? is an ordinary character";
    EXPECT_EQ(file_search::ScopeFolder(L"C:"), L"C:\\");
    EXPECT_EQ(file_search::ScopeFolder(L"C:\\Data\\"), L"C:\\Data\\");
    EXPECT_EQ(file_search::FoundText(0), L"找到 0 个文件");
}

TEST(SearchRules, AttributeBoxesGiveOnlyTheListedCombinations) {
    using file_search::AttributeBoxes;
    auto mask = [](bool r, bool h, bool s, bool a, bool c) { return file_search::AttributeMask(AttributeBoxes{r, h, s, a, c}); };
    EXPECT_EQ(mask(false, false, false, false, false), 0u);
    EXPECT_EQ(mask(true, true, true, false, false), 7u);
    EXPECT_EQ(mask(true, true, true, true, false), 39u);
    EXPECT_EQ(mask(false, false, false, false, true), 128u);
    EXPECT_EQ(mask(false, true, true, true, true), 2086u);
    EXPECT_EQ(mask(true, true, true, true, true), 2087u);
    EXPECT_EQ(mask(false, false, true, true, false), 0u) << "S+A is not listed";
    EXPECT_EQ(mask(true, false, false, false, true), 0u) << "R+C is not listed";
    // With a mask, a file needs one of its attributes.
    EXPECT_TRUE(AcceptsFile(Wildcard(L"*.*", 3), L"a", 1, FILE_ATTRIBUTE_HIDDEN, {}));
    EXPECT_FALSE(AcceptsFile(Wildcard(L"*.*", 3), L"a", 1, FILE_ATTRIBUTE_ARCHIVE, {}));
}

// The history through the real profile functions: a new file and an ANSI file that a pattern
// does not fit keep every name; an ANSI file the patterns fit is not touched.
TEST(SearchHistoryFile, KeepsNamesTheCodePageCannotHold) {
    testsupport::TempDir dir;
    const std::wstring file = dir / L"Salvadisksearch.ini";
    auto write = [&](const wchar_t* key, const std::wstring& value) {
        return ::WritePrivateProfileStringW(L"SECTION", key, value.c_str(), file.c_str()) != FALSE;
    };
    auto read = [&](const wchar_t* key) {
        wchar_t value[64] = {};
        ::GetPrivateProfileStringW(L"SECTION", key, L"", value, 64, file.c_str());
        return std::wstring(value);
    };
    auto bytes = [&] { return testsupport::ReadBytes(file); };
    const std::wstring korean = L"*한국*", emoji = L"*\U0001F600*", chinese = L"*中*";

    ASSERT_TRUE(search_history::PrepareHistoryFile(file, {korean, emoji}));
    ASSERT_TRUE(write(L"TYPE0", korean) && write(L"TYPE1", emoji));
    EXPECT_EQ(read(L"TYPE0"), korean);
    EXPECT_EQ(read(L"TYPE1"), emoji);

    // Written by an earlier version in the ANSI code page.
    ASSERT_TRUE(::DeleteFileW(file.c_str()));
    ASSERT_TRUE(write(L"TYPE0", chinese));
    const std::vector<uint8_t> ansi = bytes();
    ASSERT_TRUE(ansi.size() > 2 && ansi[0] != 0xFF) << "the profile functions make an ANSI file";
    ASSERT_TRUE(search_history::PrepareHistoryFile(file, {chinese, L"*.dat"}));
    EXPECT_EQ(bytes(), ansi) << "patterns the code page holds leave the file as it was";
    ASSERT_TRUE(search_history::PrepareHistoryFile(file, {chinese, korean}));
    ASSERT_TRUE(write(L"TYPE1", korean));
    EXPECT_EQ(read(L"TYPE0"), chinese);
    EXPECT_EQ(read(L"TYPE1"), korean);
}
