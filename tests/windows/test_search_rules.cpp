// The search's acceptance rules and the pattern history's write rule, as values.
#include "windows/FileSearchRules.h"
#include "windows/SearchHistory.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace salva;
using file_search::AcceptsFile;
using file_search::SearchCriteria;
using file_search::SizeBoxes;

namespace {

SearchCriteria Wildcard(const std::wstring& pattern, uint32_t mask = 0) { return {pattern, false, mask}; }

std::string Keys(const std::vector<std::pair<std::wstring, std::wstring>>& writes) {
    std::string out;
    for (const auto& [key, value] : writes) out += std::string(key.begin(), key.end()) + "=" + std::string(value.begin(), value.end()) + ";";
    return out;
}

}  // namespace

TEST(SearchRules, SizeBoxesTakeWholeRangesAndTheFirstCheckedDecides) {
    const SearchCriteria all = Wildcard(L"*.*");
    const SizeBoxes one{true, false, false}, three{false, false, true}, oneAndThree{true, false, true};
    EXPECT_FALSE(AcceptsFile(all, L"a", 1023, 0, one));
    EXPECT_TRUE(AcceptsFile(all, L"a", 1024, 0, one));
    EXPECT_TRUE(AcceptsFile(all, L"a", 10240000, 0, one));
    EXPECT_TRUE(AcceptsFile(all, L"a", 10240000, 0, {false, true, false})) << "10M lies in two ranges";
    EXPECT_TRUE(AcceptsFile(all, L"a", 1024000000, 0, three));
    EXPECT_FALSE(AcceptsFile(all, L"a", 1024000001, 0, three));
    // 3 GiB does not fold into a small or negative count.
    const uint64_t threeGiB = 3ull << 30;
    EXPECT_FALSE(AcceptsFile(all, L"a", threeGiB, 0, three));
    EXPECT_FALSE(AcceptsFile(all, L"a", threeGiB + 2048, 0, one));
    EXPECT_TRUE(AcceptsFile(all, L"a", threeGiB, 0, {}));
    EXPECT_TRUE(AcceptsFile(all, L"a", 2048, 0, oneAndThree));
    EXPECT_FALSE(AcceptsFile(all, L"a", 1024000000, 0, oneAndThree));
}

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

TEST(SearchHistoryRules, DistinctPatternsFromTypeZeroAndTheNineEntryRule) {
    using search_history::Writes;
    EXPECT_TRUE(Writes({}).empty());
    EXPECT_EQ(Keys(Writes({L"*.dat", L"*.DAT", L"*.dat", L"*.vob", L"*.DAT"})), "TYPE0=*.dat;TYPE1=*.DAT;TYPE2=*.vob;");
    std::vector<std::wstring> list;
    for (int i = 0; i < 8; ++i) list.push_back(L"p" + std::to_wstring(i));
    EXPECT_EQ(Writes(list).size(), 8u);
    list.push_back(L"p8");
    list.push_back(L"p8");
    auto nine = Writes(list);
    ASSERT_EQ(nine.size(), 10u) << Keys(nine);
    EXPECT_EQ(nine[8].second, L"p8");
    EXPECT_EQ(nine[9].first, L"TYPE9");
    EXPECT_EQ(nine[9].second, L"") << "nine patterns write TYPE9 empty";
    list.push_back(L"p9");
    list.push_back(L"p10");
    auto eleven = Writes(list);
    ASSERT_EQ(eleven.size(), 10u) << Keys(eleven);
    EXPECT_EQ(eleven[9].second, L"p9") << "the first ten distinct patterns, not the newest";
}
