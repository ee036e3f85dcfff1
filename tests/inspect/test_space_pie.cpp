// The space pie drawn on a memory image and read back pixel by pixel.
#include "inspect/DiskSpacePie.h"
#include "TestSupport.h"
#include <cstdio>

using namespace salva::disk_space_pie;

namespace {

// A white 300 x 300 image with the pie of the properties window's drive page on it.
class PieImage {
public:
    PieImage(double used, double total) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = 300;
        bi.bmiHeader.biHeight = -300;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_.reset(::CreateCompatibleDC(nullptr));
        bitmap_.reset(::CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, nullptr, nullptr, 0));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        RECT all{0, 0, 300, 300};
        ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        salva::DrawDiskSpacePie(dc_.get(), 100, 180, 226, 228, 7, used, total);
    }
    ~PieImage() { ::SelectObject(dc_.get(), old_); }
    COLORREF at(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

private:
    salva::unique_hdc dc_;
    salva::unique_hbitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

// Points of the page's pie: centre (163, 204), radii 63 and 24, rim 7 deep.
const POINT kUpper{163, 192}, kLower{163, 216};
const POINT kUpperLeft{133, 196}, kUpperRight{193, 196};
const POINT kLowerLeft{133, 214}, kLowerRight{193, 214};
const POINT kRimLeft{133, 229}, kRimRight{193, 229}, kRimBottom{163, 231};

#define EXPECT_COLOUR(img, pt, colour) \
    EXPECT_EQ(Hex((img).at((pt).x, (pt).y)), Hex(colour)) << "at " << (pt).x << "," << (pt).y

}  // namespace

TEST(SpacePie, Geometry) {
    const Geometry g = GeometryOf(100, 180, 226, 228);
    EXPECT_EQ(g.cx, 163);
    EXPECT_EQ(g.cy, 204);
    EXPECT_EQ(g.rx, 63);
    EXPECT_EQ(g.ry, 24);
    // Halves go to the even neighbour.
    EXPECT_EQ(GeometryOf(0, 0, 5, 7).rx, 2);
    EXPECT_EQ(GeometryOf(0, 0, 5, 7).ry, 4);
}

TEST(SpacePie, EmptyAndFullDrives) {
    const PieImage empty(0, 1000);
    for (POINT p : {kUpper, kLower, kUpperLeft, kLowerRight}) EXPECT_COLOUR(empty, p, kFree);
    for (POINT p : {kRimLeft, kRimRight, kRimBottom}) EXPECT_COLOUR(empty, p, kFreeRim);
    EXPECT_COLOUR(empty, (POINT{163, 180}), kOutline);
    EXPECT_COLOUR(empty, (POINT{163, 236}), kOutline);
    EXPECT_COLOUR(empty, (POINT{163, 238}), RGB(255, 255, 255));

    const PieImage full(1000, 1000);
    for (POINT p : {kUpper, kLower, kUpperLeft, kLowerRight}) EXPECT_COLOUR(full, p, kUsed);
    for (POINT p : {kRimLeft, kRimRight, kRimBottom}) EXPECT_COLOUR(full, p, kUsedRim);
}

TEST(SpacePie, SharesBetween) {
    const PieImage half(500, 1000);
    EXPECT_COLOUR(half, kUpper, kUsed);
    EXPECT_COLOUR(half, kLower, kFree);
    EXPECT_COLOUR(half, kRimBottom, kFreeRim);

    // A quarter used: the upper-left quarter of the face.
    const PieImage quarter(250, 1000);
    EXPECT_COLOUR(quarter, kUpperLeft, kUsed);
    EXPECT_COLOUR(quarter, kUpperRight, kFree);
    EXPECT_COLOUR(quarter, kLower, kFree);
    EXPECT_COLOUR(quarter, kRimRight, kFreeRim);

    // Three quarters used: free from 9 to 6 o'clock, on the face and on the rim.
    const PieImage most(750, 1000);
    EXPECT_COLOUR(most, kUpper, kUsed);
    EXPECT_COLOUR(most, kLowerLeft, kFree);
    EXPECT_COLOUR(most, kLowerRight, kUsed);
    EXPECT_COLOUR(most, kRimLeft, kFreeRim);
    EXPECT_COLOUR(most, kRimRight, kUsedRim);
}

TEST(SpacePie, FiguresWithoutSenseDrawAllUsed) {
    for (auto figures : {std::pair<double, double>{-1, -1}, {0, 0}, {2000, 1000}, {-5, 1000}}) {
        const PieImage pie(figures.first, figures.second);
        EXPECT_COLOUR(pie, kUpper, kUsed) << figures.first << "/" << figures.second;
        EXPECT_COLOUR(pie, kLower, kUsed) << figures.first << "/" << figures.second;
        EXPECT_COLOUR(pie, kRimBottom, kUsedRim) << figures.first << "/" << figures.second;
        EXPECT_COLOUR(pie, (POINT{163, 236}), kOutline);
    }
}
