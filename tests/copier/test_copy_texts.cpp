// The display texts of the copy: counts, megabytes, clock and percentage, and one tick's figures.
#include "TestSupport.h"
#include "copier/CopyTiming.h"

using namespace salva;
using testsupport::Narrow;

TEST(CopyTexts, GroupedCountsAndMegabytes) {
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"0"}, {7, L"7"}, {999, L"999"}, {1000, L"1,000"}, {3276800, L"3,276,800"}, {-1234, L"-1,234"},
        {int64_t{5} << 32, L"21,474,836,480"}};
    for (const auto& c : cases) EXPECT_EQ(c.second, GroupedNumber(c.first)) << c.first;
    EXPECT_EQ(L"0", MegabyteText(1024 * 1024 - 1));
    EXPECT_EQ(L"1", MegabyteText(1024 * 1024));
    EXPECT_EQ(L"2,048", MegabyteText(int64_t{2} << 30));
}

TEST(CopyTexts, ClockTexts) {
    EXPECT_EQ(L"00:00:07", ClockText(7));
    EXPECT_EQ(L"00:00:59", ClockText(59));
    EXPECT_EQ(L"00:01:00", ClockText(60));
    EXPECT_EQ(L"01:02:05", ClockText(3725));
    EXPECT_EQ(L"09:06:07", ClockText(32767));
    EXPECT_EQ(L"100:00:00", ClockText(360000));
    EXPECT_EQ(L"00:00:00", ClockText(-5));
}

TEST(CopyTexts, PercentTexts) {
    EXPECT_EQ(L"42.50%", PercentText(0.425));
    EXPECT_EQ(L"0.00%", PercentText(0));
    EXPECT_EQ(L"100.00%", PercentText(1));
}

TEST(CopyTexts, TickFiguresNeverDivideByZero) {
    auto t = ComputeTick(0, 5000, 10000);
    EXPECT_FALSE(t.known);
    EXPECT_EQ(0, t.kbPerSecond);
    t = ComputeTick(10, 5, 10000);  // fewer bytes than seconds: no rate yet
    EXPECT_FALSE(t.known);
    EXPECT_EQ(0, t.rate);
    t = ComputeTick(10, 1024001, 2048001);
    EXPECT_TRUE(t.known);
    EXPECT_EQ(102400, t.rate);
    EXPECT_EQ(10, t.remainingSeconds);
    EXPECT_EQ(20, t.estimatedSeconds);
    EXPECT_EQ(100, t.kbPerSecond);
    t = ComputeTick(3, 9000, 6000);  // past the end after a skip
    EXPECT_EQ(0, t.remainingSeconds);
}
