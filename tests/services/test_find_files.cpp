// Folder walk over a temporary tree, flat and recursive, with a link loop inside.
#include "services/mFindFiles.h"
#include "FakeMainWindow.h"
#include "TestSupport.h"
#include "WineHost.h"
#include <algorithm>
#include <chrono>

using testsupport::JoinTexts;
using testsupport::Narrow;
using testsupport::SortedTexts;
using testsupport::TempDir;
namespace mFindFiles = salva::mFindFiles;

namespace {

std::vector<std::wstring> Walk(const std::wstring& folder, const std::wstring& pattern, bool recurse) {
    std::vector<std::wstring> found;
    mFindFiles::FindFiles(folder, pattern, recurse, [&](const std::wstring& p, uint64_t) { found.push_back(p); });
    return found;
}

// root: a.dat  b.txt  XDAT  sub\c.DAT  sub\deeper\d.dat  sub\e.vob; the folders may be there.
void MakeTree(const std::wstring& root) {
    for (const wchar_t* folder : {L"\\sub", L"\\sub\\deeper"})
        ASSERT_TRUE(::CreateDirectoryW((root + folder).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    for (const wchar_t* f : {L"a.dat", L"b.txt", L"XDAT", L"sub\\c.DAT", L"sub\\deeper\\d.dat", L"sub\\e.vob"})
        ASSERT_TRUE(testsupport::WriteBytes(root + L"\\" + f, {1}));
}

class FindFilesTree : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeTree(dir.path())); }
    std::wstring root() const { return dir.path() + L"\\"; }
    TempDir dir;
};

}  // namespace

TEST(FindFilesPattern, LastThreeCharactersWithoutCase) {
    EXPECT_TRUE(mFindFiles::PatternMatches(L"VTS_01_1.VOB", L"*.vob"));
    EXPECT_TRUE(mFindFiles::PatternMatches(L"A.dat", L"*.DAT"));
    EXPECT_TRUE(mFindFiles::PatternMatches(L"XDAT", L"*.DAT"));
    EXPECT_FALSE(mFindFiles::PatternMatches(L"a.da", L"*.dat"));
    EXPECT_FALSE(mFindFiles::PatternMatches(L"at", L"*.dat"));
    EXPECT_TRUE(mFindFiles::PatternMatches(L"anything.bin", L" *.* "));
    EXPECT_TRUE(mFindFiles::PatternMatches(L"noext", L"*.*"));
}

TEST_F(FindFilesTree, FlatWalkTakesOnlyTheFolderItself) {
    const auto flat = Walk(dir.path(), L"*.dat", false);
    EXPECT_EQ(SortedTexts(flat), SortedTexts({root() + L"XDAT", root() + L"a.dat"})) << JoinTexts(flat);
    // The folder may be given with its trailing backslash.
    EXPECT_EQ(SortedTexts(Walk(root(), L"*.DAT", false)), SortedTexts(flat));
    const auto every = Walk(dir.path(), L"*.*", false);
    EXPECT_EQ(SortedTexts(every), SortedTexts({root() + L"XDAT", root() + L"a.dat", root() + L"b.txt"})) << JoinTexts(every);
}

TEST_F(FindFilesTree, RecursiveWalkAddsSubfolderFilesInListingOrder) {
    const auto deep = Walk(dir.path(), L"*.dat", true);
    EXPECT_EQ(SortedTexts(deep), SortedTexts({root() + L"XDAT", root() + L"a.dat", root() + L"sub\\c.DAT",
                                    root() + L"sub\\deeper\\d.dat"}))
        << JoinTexts(deep);
    // Files of a subfolder come together, at the place of the subfolder's entry.
    const auto all = Walk(dir.path(), L"*.*", true);
    ASSERT_EQ(all.size(), 6u) << JoinTexts(all);
    std::vector<size_t> subPositions;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].rfind(root() + L"sub\\", 0) == 0) subPositions.push_back(i);
    ASSERT_EQ(subPositions.size(), 3u) << JoinTexts(all);
    EXPECT_EQ(subPositions.back() - subPositions.front(), 2u) << JoinTexts(all);
    EXPECT_TRUE(Walk(dir / L"missing", L"*.*", true).empty());
}

TEST(FindFilesLinkLoop, LinkLoopIsNotEntered) {
    const std::wstring dir = wine_host::LinkLoopFolder();
    if (dir.empty()) GTEST_SKIP() << "no link loop: the test command makes it and names it in SALVA_LINK_LOOP";
    ASSERT_NO_FATAL_FAILURE(MakeTree(dir));
    const std::wstring root = dir + L"\\";
    const DWORD attributes = ::GetFileAttributesW((root + L"sub\\loop").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << std::hex << attributes;

    const auto start = std::chrono::steady_clock::now();
    const auto deep = Walk(dir, L"*.dat", true);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(SortedTexts(deep), SortedTexts({root + L"XDAT", root + L"a.dat", root + L"sub\\c.DAT",
                                    root + L"sub\\deeper\\d.dat"}))
        << JoinTexts(deep);
    EXPECT_LT(seconds, 5.0 * testsupport::TimeScale());
}

TEST_F(FindFilesTree, AppendsToTheMainWindowsListWithTheListedLengthsItsRedrawHeld) {
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"sub\\e.vob", testsupport::Pattern(1234)));
    testsupport::FakeMainWindow list;
    mFindFiles::FindFiles(dir.path(), L"*.vob", true, list);
    ASSERT_EQ(list.added.size(), 1u);
    EXPECT_EQ(Narrow(list.added[0].path), Narrow(root() + L"sub\\e.vob"));
    EXPECT_EQ(list.added[0].size, 1234u);
    EXPECT_EQ(list.added[0].holds, 1) << "appended while the list's redrawing is held";
    EXPECT_EQ(list.redrawHolds, 0) << "and released at the end";
}
