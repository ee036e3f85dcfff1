// The about box's lines from plain values.
#include "windows/SplashText.h"
#include "TestSupport.h"

using namespace salva::splash_text;
using testsupport::Narrow;

TEST(SplashText, MemoryLines) {
    EXPECT_EQ(MemoryLine(0, 268435456, 0), L"TotalPhysMem:262,144K(257M)");
    EXPECT_EQ(MemoryLine(0, 1048576, 0), L"TotalPhysMem:1,024K(2M)");
    // Past 4 GiB the counts keep their size.
    EXPECT_EQ(MemoryLine(0, 8ull << 30, 0), L"TotalPhysMem:8,388,608K(8,193M)");
    EXPECT_EQ(MemoryLine(1, 0, 1536 * 1024), L"TotalAvailMem:1,536K");
    EXPECT_EQ(MemoryLine(2, 1, 1), L"");
}

TEST(SplashText, HexadecimalSpeeds) {
    EXPECT_EQ(HexToDec(L"3E8"), 1000u);
    EXPECT_EQ(HexToDec(L"3e8"), 1000u);
    EXPECT_EQ(HexToDec(L"FFFF"), 65535u) << "speeds past 32,767 MHz keep their value";
    EXPECT_EQ(HexText(1000), L"3E8");
    EXPECT_EQ(HexText(0), L"0");
    EXPECT_EQ(SpeedText(L"3E8"), L"1000MHz");
    EXPECT_EQ(SpeedText(L"320"), L"800MHz");
    EXPECT_EQ(SpeedText(L""), L"");
}

TEST(SplashText, FamilyCodes) {
    EXPECT_EQ(FamilyCode(L"4.10.2222", false), L"9x") << "Windows 98's version number";
    EXPECT_EQ(FamilyCode(L"4.90.3000", false), L"9x/NT") << Narrow(FamilyCode(L"4.90.3000", false));
    EXPECT_EQ(FamilyCode(L"4.9", false), L"9x");
    EXPECT_EQ(FamilyCode(L"4.1", false), L"9x");
    EXPECT_EQ(FamilyCode(L"4", false), L"9x/NT");
    EXPECT_EQ(FamilyCode(L"5.1", false), L"NT");
    EXPECT_EQ(FamilyCode(L"7.25", false), L"725");
    EXPECT_EQ(FamilyCode(L"", false), L"");
    // From the NT key every version is NT: 5.0, XP, and the systems after it.
    for (const wchar_t* v : {L"5.0", L"5.1", L"6.1", L"6.3", L"10.0"}) EXPECT_EQ(FamilyCode(v, true), L"NT") << Narrow(v);
}
