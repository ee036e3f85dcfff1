// The search's name and attribute rules, as values.
#include "windows/FileSearchRules.h"
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
