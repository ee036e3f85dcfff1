// The rename popup's placement beside its anchor and its texts, and the copy's name rules,
// over plain values.
#include "copier/FileNameRules.h"
#include "copier/frmDialogBalloon.h"
#include "copier/frmDialogText.h"
#include <gtest/gtest.h>

using namespace salva;
using namespace salva::rename_text;

namespace {

// A 1280 x 1024 screen at 15 twips per pixel and a popup of 357 x 250 pixels.
BalloonRequest Request(RECT anchor, long screenW = 1280, long screenH = 1024, double popupW = 357 * 15.0) {
    BalloonRequest r;
    r.screenWidth = screenW * 15;
    r.screenHeight = screenH * 15;
    r.anchor = anchor;
    r.popupWidth = popupW;
    r.popupHeight = 250 * 15.0;
    return r;
}

void ExpectPlacement(const BalloonPlacement& p, BalloonStyle style, double left, double top) {
    EXPECT_EQ(style, p.style);
    EXPECT_DOUBLE_EQ(left, p.left);
    EXPECT_DOUBLE_EQ(top, p.top);
}

}  // namespace

TEST(BalloonPlacement, EachQuadrantPicksItsTailCornerAndSide) {
    // Anchor 390 x 22 pixels: 330 twips high, so its vertical middle is 165 twips below its top.
    ExpectPlacement(PlaceBalloon(Request({100, 100, 490, 122})), BalloonTopLeft, 1500, 1500 + 165);
    ExpectPlacement(PlaceBalloon(Request({100, 800, 490, 822})), BalloonBottomLeft, 1500, 12000 - 3750 + 165);
    // Right tails: one and a half popup widths (8,032.5 cut to 8,032) left of the right edge.
    ExpectPlacement(PlaceBalloon(Request({700, 100, 1090, 122})), BalloonTopRight, 16350 - 8032, 1665);
    ExpectPlacement(PlaceBalloon(Request({700, 800, 1090, 822})), BalloonBottomRight, 16350 - 8032, 12000 - 3750 + 165);
}

TEST(BalloonPlacement, CentreLineRightEdgeAndLeftEdge) {
    // Left edge exactly on the vertical centre line: top-left tail at the anchor's middle, and
    // no clamp even though the wide popup runs past the right edge.
    const BalloonPlacement centre = PlaceBalloon(Request({640, 100, 1030, 122}, 1280, 1024, 12000));
    ExpectPlacement(centre, BalloonTopLeft, 9600 + 390 * 15 / 2.0, 1665);
    EXPECT_GT(centre.left + 12000, 19200.0);
    // Top edge exactly on the horizontal centre line takes the same row.
    EXPECT_EQ(BalloonTopLeft, PlaceBalloon(Request({100, 512, 490, 534})).style);
    // In a quadrant a popup that would pass the right edge ends exactly at it.
    ExpectPlacement(PlaceBalloon(Request({600, 100, 990, 122}, 1280, 1024, 12000)), BalloonTopLeft, 19200 - 12000, 1665);
    // An anchor partly off the left edge is taken as starting 100 twips in.
    ExpectPlacement(PlaceBalloon(Request({-20, 100, 370, 122})), BalloonTopLeft, 100, 1665);
}

TEST(BalloonPlacement, ScreensWiderThan2184PixelsArePlaced) {
    // 2,560 x 1,440 pixels are 38,400 x 21,600 twips: past what 16 bits hold.
    const BalloonPlacement p = PlaceBalloon(Request({2000, 1200, 2400, 1222}, 2560, 1440));
    ExpectPlacement(p, BalloonBottomRight, 36000 - 8032, 18000 - 3750 + 165);
    const BalloonPlacement edge = PlaceBalloon(Request({2300, 100, 2750, 122}, 2560, 1440));
    ExpectPlacement(edge, BalloonTopRight, 38400 - 5355, 1665);
}

TEST(BalloonShape, TailBandAndBodyFollowTheStyle) {
    BalloonShape s{};
    ASSERT_TRUE(BalloonShapeFor(BalloonBottomLeft, 357, 250, s));
    EXPECT_EQ(250, s.tail[0].y) << "a bottom tail has its tip on the bottom edge";
    EXPECT_EQ(16, s.tail[0].x);
    EXPECT_EQ(235, s.body.bottom);
    ASSERT_TRUE(BalloonShapeFor(BalloonTopRight, 357, 250, s));
    EXPECT_EQ(0, s.tail[0].y);
    EXPECT_EQ(357 - 16, s.tail[0].x) << "right tails lie 16 pixels in from the right edge";
    EXPECT_TRUE(s.lines[2].background);
    EXPECT_FALSE(BalloonShapeFor(4, 357, 250, s));
    EXPECT_FALSE(BalloonShapeFor(-1, 357, 250, s));
}

TEST(RenameText, TitleWrapsAt36CharactersInThreeLinesAtMost) {
    const std::wstring crlf = L"\r\n";
    EXPECT_EQ(std::wstring(36, L'a') + crlf, TitleLines(std::wstring(36, L'a')));
    EXPECT_EQ(std::wstring(36, L'a') + crlf + L"b" + crlf, TitleLines(std::wstring(36, L'a') + L"b"));
    const std::wstring hundred = std::wstring(36, L'a') + std::wstring(36, L'b') + std::wstring(28, L'c');
    EXPECT_EQ(std::wstring(36, L'a') + crlf + std::wstring(36, L'b') + crlf + std::wstring(28, L'c') + crlf,
              TitleLines(hundred));
    const std::wstring wrapped = TitleLines(std::wstring(150, L'x'));
    EXPECT_EQ(std::wstring(36, L'x') + crlf + std::wstring(36, L'x') + crlf + std::wstring(78, L'x') + crlf, wrapped);
    EXPECT_EQ(L"Title" + crlf, TitleLines(L"Title"));
}

TEST(RenameText, SizeAndFactsLines) {
    EXPECT_EQ(L"1,024,000字节", SizeText(1024000));
    EXPECT_EQ(L"1,000KB", SizeText(1024001));
    EXPECT_EQ(L"0字节", SizeText(0));
    EXPECT_EQ(L"4,194,304KB", SizeText(4294967296ull)) << "files past 4 GiB keep their size";

    FileFacts f;
    f.length = 5;
    f.typeName = L"VOB 文件";
    f.created = L"c";
    f.modified = L"m";
    f.accessed = L"a";
    f.attributes = L"存档";
    const std::wstring plain = L"文件大小：5字节\r\n文件类型：VOB 文件\r\n创建时间：c\r\n修改时间：m\r\n访问时间：a\r\n文件属性：存档";
    EXPECT_EQ(plain, FactsText(f, std::nullopt));
    Mp3TagFacts tag{L"T", L"未知艺术家", L"Al", L"1999", L"Blues", L"", L"Hi"};
    EXPECT_EQ(plain + L"\r\n曲名：T\r\n艺人：未知艺术家\r\n专集：Al\r\n年份：1999  流派：Blues  音轨序号：\r\n备注：Hi",
              FactsText(f, tag));
    EXPECT_EQ(L"N[01]clip.vob", ProposedName(L"clip.vob"));
}

TEST(RenameText, NamesAFileCannotTakeAreRefused) {
    for (const wchar_t* good : {L"new.vob", L"a b.dat", L"N[01]clip.vob", L"中文.mp3", L"con2.txt", L"COM0",
                               L"clip..part1.vob", L"..clip.vob"})
        EXPECT_TRUE(IsAcceptableName(good)) << testing::PrintToString(std::wstring(good));
    for (const wchar_t* bad : {L"", L"a\\b.vob", L"a/b", L"c:x", L"..", L"x.", L"x\t", L"CON", L"nul.txt",
                               L"Com1", L"lpt9.dat", L"a*b", L"a?b", L"a|b", L"a\"b", L"a<b"})
        EXPECT_FALSE(IsAcceptableName(bad)) << testing::PrintToString(std::wstring(bad));
}

TEST(CopyNameRules, NamesTheSystemOpensAsAnotherFileADeviceOrNotAtAll) {
    const std::wstring zh90(90, L'中'), long256(256, L'x');
    const struct {
        std::wstring path;
        NameProblem problem;
    } cases[] = {
        {L"D:\\in\\dot.dat", NameProblem::None},
        {L"D:\\in\\dot.dat.", NameProblem::TrailingDotOrSpace},
        {L"D:\\in.\\a.dat", NameProblem::TrailingDotOrSpace},
        {L"D:\\in\\..\\a.dat", NameProblem::None},
        {L"D:\\in\\.\\clip..part1.vob", NameProblem::None},
        {L"\\\\?\\D:\\in\\dot.dat.", NameProblem::None},  // the exact form keeps the dot
        {L"D:\\in\\aux.dat", NameProblem::DeviceName},
        {L"D:\\in\\NUL.txt", NameProblem::DeviceName},
        {L"D:\\in\\nul .txt", NameProblem::DeviceName},
        {L"D:\\in\\Lpt9", NameProblem::DeviceName},
        {L"D:\\in\\COM\u00B9.dat", NameProblem::DeviceName},
        {L"D:\\in\\com0.dat", NameProblem::None},  // neither COM0 nor AUXILIARY are devices
        {L"D:\\aux\\a.dat", NameProblem::None},  // only the file name opens a device
        {L"\\\\srv\\con\\a.dat", NameProblem::None},  // a share is no file name
        {L"D:\\out\\" + zh90 + L".dat", NameProblem::None},  // 94 characters are held; bytes are the file system's
        {L"D:\\out\\" + long256, NameProblem::NameTooLong},
        {L"D:\\" + long256 + L"\\a.dat", NameProblem::NameTooLong},
        {L"D:\\" + std::wstring(32770, L'a'), NameProblem::PathTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(c.problem), static_cast<int>(NameProblemOf(c.path)))
            << testing::PrintToString(c.path.substr(0, 40));

    // Not-found and invalid-name errors mean "too long" only for a name too long.
    EXPECT_TRUE(NameTooLongError(206, L"D:\\out\\a.dat"));
    EXPECT_TRUE(NameTooLongError(2, L"D:\\out\\" + long256));
    EXPECT_FALSE(NameTooLongError(2, L"D:\\out\\a.dat"));
    EXPECT_FALSE(NameTooLongError(5, L"D:\\out\\" + long256));
}
