// The properties window's texts and attribute values, from plain values.
#include "inspect/FilePropertyText.h"
#include "TestSupport.h"

using namespace salva::file_property;
using testsupport::Narrow;

TEST(PropertyText, FileLengthAtTheKilobyteThreshold) {
    EXPECT_EQ(FileLengthText(0), L"0字节");
    EXPECT_EQ(FileLengthText(1024000), L"1,024,000字节");
    EXPECT_EQ(FileLengthText(1024001), L"1,000KB [1,024,001字节]");
    EXPECT_EQ(FileLengthText(1536000), L"1,500KB [1,536,000字节]");
    // The KB figure is the nearest whole number, not the cut quotient (3,754.79 and 4,882,812.5).
    EXPECT_EQ(FileLengthText(3844909), L"3,755KB [3,844,909字节]") << Narrow(FileLengthText(3844909));
    EXPECT_EQ(FileLengthText(5000000000ull), L"4,882,813KB [5,000,000,000字节]") << Narrow(FileLengthText(5000000000ull));
}

TEST(PropertyText, BoxesFollowTheBitsOfAnyValue) {
    struct Case {
        int32_t value;
        bool r, h, s, a;
    };
    const Case cases[] = {{2086, 0, 1, 1, 1}, {2083, 1, 1, 0, 1}, {37, 1, 0, 1, 1},
                          {16, 0, 0, 0, 0},   {-1, 0, 0, 0, 0},   {128, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        const AttributeBoxes b = BoxesFromAttributes(c.value);
        EXPECT_EQ(b.readOnly, c.r) << c.value;
        EXPECT_EQ(b.hidden, c.h) << c.value;
        EXPECT_EQ(b.system, c.s) << c.value;
        EXPECT_EQ(b.archive, c.a) << c.value;
    }
}

TEST(PropertyText, ApplyKeepsTheBitsWithoutAChangeableBox) {
    EXPECT_EQ(AppliedAttributes(0x20, true, false, true), 33u);
    EXPECT_EQ(AppliedAttributes(0x23, false, false, false), 0u);
    // System stays; compressed and the "normal" marker are the system's, not written.
    EXPECT_EQ(AppliedAttributes(0x24, false, true, true), 0x26u);
    EXPECT_EQ(AppliedAttributes(0x800 | 0x04 | 0x01, false, false, false), 0x04u);
    EXPECT_EQ(AppliedAttributes(0x80, true, false, false), 0x01u);
    EXPECT_EQ(AppliedAttributes(0x100 | 0x2000, false, false, true), 0x2120u) << "temporary, not indexed kept";
}

TEST(PropertyText, SpaceTextsUseTheDecimalThresholds) {
    EXPECT_EQ(ByteCountText(1023), L"1,023 字节");
    EXPECT_EQ(ScaledSizeText(1023), L"1,023 字节");
    const std::wstring dot = RegionalNumber(1.5, 2).substr(1, 1);
    EXPECT_EQ(ScaledSizeText(1024), L"1" + dot + L"00 KB");
    EXPECT_EQ(ScaledSizeText(1024000), L"0" + dot + L"98 MB");
    EXPECT_EQ(ScaledSizeText(1050000000.0), L"0" + dot + L"98 GB");
    EXPECT_EQ(ScaledSizeText(5.0 * 1024 * 1024 * 1024 * 1024), RegionalNumber(5120, 2) + L" GB");
    EXPECT_EQ(ByteCountText(250059350016.0), L"250,059,350,016 字节");
}

TEST(PropertyText, DriveSummaryAndCaption) {
    const std::wstring line = DriveSummaryLine(L'd', L"1A2B3C4D", 250, 750, 1000);
    EXPECT_EQ(line, L"Drive:D  SN:1A2B3C4D  p(A/T):" + PercentText(250, 1000) + L"  p(U/T):" + PercentText(750, 1000))
        << Narrow(line);
    EXPECT_EQ(PercentText(250, 1000).substr(0, 2), L"25") << Narrow(PercentText(250, 1000));
    EXPECT_EQ(PercentText(250, 1000).back(), L'%');
    // A failed space query (-1 for every count) and an empty total give no division.
    EXPECT_EQ(DriveSummaryLine(L'R', L"", -1, -1, -1), L"Drive:R  SN:  p(A/T):无效  p(U/T):无效");
    EXPECT_EQ(DriveSummaryLine(L'R', L"", 0, 0, 0), L"Drive:R  SN:  p(A/T):无效  p(U/T):无效");
    EXPECT_FALSE(SpaceValuesUsable(11, 10));
    EXPECT_TRUE(SpaceValuesUsable(0, 10));
    EXPECT_EQ(DriveTabCaption(L"本地磁盘", L"c:\\"), L"本地磁盘(C:)属性");
    // A network path has no drive letter: its facts are those of C:.
    EXPECT_EQ(DriveRootOf(L"\\\\server\\share\\a.dat"), L"C:\\");
    EXPECT_EQ(DriveRootOf(L"d:\\video\\a.dat"), L"d:\\");
}
