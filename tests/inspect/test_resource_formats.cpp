#include "inspect/ResourceFormats.h"

#include <gtest/gtest.h>

using namespace salva;

namespace {

wchar_t Latin(unsigned char b) { return static_cast<wchar_t>(b); }

std::wstring Ansi(const char* p, size_t n) { return std::wstring(p, p + n); }

void Put16(ResourceBytes& b, uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void Put32(ResourceBytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void PutString(ResourceBytes& b, const std::wstring& s) {
    Put16(b, static_cast<uint16_t>(s.size()));
    for (wchar_t c : s) Put16(b, c);
}

}  // namespace

TEST(HexDump, RowsAreFixedWidthAndPartialRowsKeepTheirColumns) {
    const unsigned char one[] = {'A'};
    const std::wstring dump = HexDumpText(one, 1, Latin);
    ASSERT_EQ(dump.size(), 79u);
    EXPECT_EQ(dump.substr(0, 64), L"00000000 | 41 " + std::wstring(45, L' ') + L"| A\r\n");

    unsigned char seventeen[17];
    for (int i = 0; i < 17; ++i) seventeen[i] = static_cast<unsigned char>(i == 16 ? 0x7A : i);
    const std::wstring two = HexDumpText(seventeen, 17, Latin);
    ASSERT_EQ(two.size(), 158u);
    EXPECT_EQ(two.substr(0, 79), L"00000000 | 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F | ................\r\n");
    EXPECT_EQ(two.substr(79, 15), L"00000010 | 7A  ");
    EXPECT_EQ(two.substr(79 + 59, 5), L"| z\r\n");
    EXPECT_EQ(HexDumpText(one, 0, Latin), L"");
}

TEST(HexDump, LargeResourcesAreCutAtTheRowLimit) {
    std::vector<unsigned char> big(13265, 'x');
    const std::wstring limit = HexDumpText(big.data(), 13264, Latin);
    EXPECT_EQ(limit.size(), 829u * 79u);
    EXPECT_EQ(limit.substr(828 * 79, 8), L"000033C0");
    // One byte more is not a blank page: the first 829 rows are still dumped.
    EXPECT_EQ(HexDumpText(big.data(), big.size(), Latin), limit);
    EXPECT_EQ(PadWithZeros(L"1A", 8), L"0000001A");
}

TEST(StringTable, BlockNumbersGiveIdsAndEmptyStringsAreSkipped) {
    ResourceBytes block;
    PutString(block, L"zero");
    for (int i = 1; i < 15; ++i) PutString(block, L"");
    PutString(block, L"a\nb\r\nc");
    EXPECT_EQ(StringTableText(block, 1), L"0: zero\r\n15: a\r\nb\r\nc\r\n");
    EXPECT_EQ(StringTableText(block, 7).substr(0, 4), L"96: ");

    // A count claiming more than the block holds reads what is there and stops.
    ResourceBytes lying;
    Put16(lying, 0x7FFF);
    Put16(lying, L'x');
    EXPECT_EQ(StringTableText(lying, 1), L"0: x\r\n");
}

TEST(MessageTable, EntriesInBothEncodingsAndHostileCountsStayInside) {
    ResourceBytes t;
    Put32(t, 1);              // one block
    Put32(t, 5);              // ids 5..6
    Put32(t, 6);
    Put32(t, 16);             // entries start after the block
    Put16(t, 4 + 8);          // UTF-16 "Hi\r\n"
    Put16(t, 1);
    for (wchar_t c : std::wstring(L"Hi\r\n")) Put16(t, c);
    Put16(t, 4 + 6);          // ANSI "ok\n" plus NUL padding
    Put16(t, 0);
    for (char c : std::string("ok\n\0\0\0", 6)) t.push_back(static_cast<unsigned char>(c));
    EXPECT_EQ(MessageTableText(t, Ansi), L"5: Hi\r\n6: ok\r\n");

    // A block of ids 0..0xFFFFFFFF whose first entry has length 0 ends at once; a block
    // count far beyond the data and an offset outside it read nothing.
    ResourceBytes hostile;
    Put32(hostile, 0xFFFFFFFF);
    Put32(hostile, 0);
    Put32(hostile, 0xFFFFFFFF);
    Put32(hostile, 16);
    Put32(hostile, 0);
    EXPECT_EQ(MessageTableText(hostile, Ansi), L"");
    hostile[12] = 0xF0;  // offset far outside
    EXPECT_EQ(MessageTableText(hostile, Ansi), L"");

    // Blocks that all point at one run of entries read no more than the table holds.
    ResourceBytes shared;
    Put32(shared, 200);
    for (int b = 0; b < 200; ++b) {
        Put32(shared, 1);
        Put32(shared, 100);
        Put32(shared, 4 + 200 * 12);
    }
    for (int e = 0; e < 100; ++e) {
        Put32(shared, 8);
        Put32(shared, 'x');
    }
    EXPECT_LE(MessageTableText(shared, Ansi).size(), 4 * shared.size());
}

TEST(Accelerators, ModifiersKeyNamesAndSignedIds) {
    ResourceBytes t;
    Put16(t, 1 | 4 | 8);  // virtual key, Shift, Ctrl
    Put16(t, 0x70);
    Put16(t, 40001);
    Put16(t, 0);
    Put16(t, 16 | 0x80);  // Alt, last entry
    Put16(t, 200);
    Put16(t, 7);
    Put16(t, 0);
    t.push_back(1);  // a stray byte short of an entry
    EXPECT_EQ(AcceleratorText(t), L"Shift+Ctrl+F1 (cmdID = -25535)\r\nAlt+Virtual Key 200 (cmdID = 7)\r\n");
    EXPECT_EQ(GetVirtualKeyName(L'Q'), L"Q");
    EXPECT_EQ(GetVirtualKeyName(127), L"F16");
    EXPECT_EQ(GetVirtualKeyName(144), L"NUM LOCK");
}

TEST(ResourceTexts, ReplacementTypeNamesAndTranslationKey) {
    EXPECT_EQ(ReplaceText(L"a\nb\n", L"\n", L"\r\n"), L"a\r\nb\r\n");
    EXPECT_EQ(ReplaceText(L"banana", L"a", L"aa"), L"baanaanaa");
    EXPECT_EQ(ReplaceText(L"abc", L"b", L""), L"ac");
    EXPECT_EQ(ReplaceText(L"abc", L"", L"x"), L"abc");
    EXPECT_EQ(GetResourceTypeDescription(24), L"User-defined custom resource");
    EXPECT_EQ(GetResourceTypeDescription(13), L"User-defined custom resource");
    EXPECT_EQ(GetResourceTypeDescription(14), L"Hardware-independent icon resource");
    const unsigned char translation[] = {0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ(VersionTranslationKey(translation, 4), L"040904B0");
    EXPECT_EQ(VersionTranslationKey(translation, 3), L"");
}
