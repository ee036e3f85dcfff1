#include "inspect/DiskSpacePie.h"
#include "services/Holders.h"
#include <cmath>

namespace salva {
namespace disk_space_pie {

Geometry GeometryOf(int left, int top, int right, int bottom) {
    Geometry g{};
    g.rx = static_cast<int>(std::nearbyint((right - left) / 2.0));
    g.ry = static_cast<int>(std::nearbyint((bottom - top) / 2.0));
    g.cx = left + g.rx;
    g.cy = top + g.ry;
    return g;
}

}  // namespace disk_space_pie

namespace {

using namespace disk_space_pie;

// Angles are radians, counterclockwise from 3 o'clock as seen on the screen.
constexpr float kPi = 3.1415926f;
constexpr float kTwoPi = 2 * kPi;
constexpr float kThreePi = 9.4247778f;

// Where the free part of the top face ends, for a used share strictly between 0 and 1 other
// than one half: the used part lies from there on to 9 o'clock.
float FreeSectorEnd(float usedShare) {
    const float sweep = kTwoPi * usedShare;
    return usedShare < 0.5f ? kPi - sweep : kThreePi - sweep;
}

// A point far out on the ray at `angle` from the centre: GDI takes only the ray's direction
// for where a sector or arc starts and ends.
POINT RayPoint(const Geometry& g, int cy, float angle) {
    const double reach = 100.0;
    return POINT{g.cx + static_cast<int>(std::lround(g.rx * reach * std::cos(angle))),
                 cy - static_cast<int>(std::lround(g.ry * reach * std::sin(angle)))};
}

class PieCanvas {
public:
    PieCanvas(HDC dc, const Geometry& g) : dc_(dc), g_(g), outline_(::CreatePen(PS_SOLID, 1, kOutline)) {
        ::SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
    }

    void Ellipse(COLORREF fill) {
        unique_hbrush brush(::CreateSolidBrush(fill));
        select_scope pen(dc_, outline_.get());
        select_scope useBrush(dc_, brush.get());
        ::Ellipse(dc_, g_.cx - g_.rx, g_.cy - g_.ry, g_.cx + g_.rx, g_.cy + g_.ry);
    }

    void Sector(COLORREF fill, float from, float to) {
        unique_hbrush brush(::CreateSolidBrush(fill));
        select_scope pen(dc_, outline_.get());
        select_scope useBrush(dc_, brush.get());
        const POINT a = RayPoint(g_, g_.cy, from), b = RayPoint(g_, g_.cy, to);
        ::Pie(dc_, g_.cx - g_.rx, g_.cy - g_.ry, g_.cx + g_.rx, g_.cy + g_.ry, a.x, a.y, b.x, b.y);
    }

    void Arc(COLORREF colour, int cy, float from, float to) {
        unique_hpen pen(::CreatePen(PS_SOLID, 1, colour));
        select_scope usePen(dc_, pen.get());
        const POINT a = RayPoint(g_, cy, from), b = RayPoint(g_, cy, to);
        ::Arc(dc_, g_.cx - g_.rx, cy - g_.ry, g_.cx + g_.rx, cy + g_.ry, a.x, a.y, b.x, b.y);
    }

private:
    HDC dc_;
    Geometry g_;
    unique_hpen outline_;
};

}  // namespace

void DrawDiskSpacePie(HDC dc, int left, int top, int right, int bottom, int16_t depth, double usedBytes,
                      double totalBytes) {
    const Geometry g = GeometryOf(left, top, right, bottom);
    if (g.rx <= 0 || g.ry <= 0) return;
    PieCanvas canvas(dc, g);
    const float pi = kPi, twoPi = kTwoPi;
    if (!(totalBytes > 0) || usedBytes < 0 || usedBytes > totalBytes) {
        canvas.Ellipse(kUsed);
        for (int i = 0; i <= depth; ++i) canvas.Arc(kUsedRim, g.cy + i + 1, pi, twoPi);
    } else {
        const float r = static_cast<float>(usedBytes / totalBytes);
        canvas.Ellipse(kUsed);
        const bool split = (r > 0 && r < 0.5f) || (r > 0.5f && r < 1);
        const float freeEnd = split ? FreeSectorEnd(r) : 0;
        if (split) canvas.Sector(kFree, pi, freeEnd);
        if (r == 0) {
            canvas.Ellipse(kFree);
        } else if (r == 0.5f) {
            canvas.Ellipse(kFree);
            canvas.Sector(kUsed, 0.001f, pi);
        } else if (r == 1) {
            canvas.Ellipse(kUsed);
        }
        if (r <= 0.5f) {
            for (int i = 0; i <= depth; ++i) canvas.Arc(kFreeRim, g.cy + i + 1, pi, twoPi);
        } else if (r < 1) {
            for (int i = 0; i <= depth; ++i) canvas.Arc(kFreeRim, g.cy + i + 1, pi, freeEnd);
            for (int i = 0; i <= depth; ++i) canvas.Arc(kUsedRim, g.cy + i + 1, freeEnd, twoPi);
        } else {
            for (int i = 0; i <= depth; ++i) canvas.Arc(kUsedRim, g.cy + i + 1, pi, twoPi);
        }
    }
    canvas.Arc(kOutline, g.cy + depth + 2, pi, twoPi);
}

}  // namespace salva
