// The three-dimensional pie of a drive's used (blue) and free (magenta) space, drawn as the
// system's own drive properties draw it: a flat elliptic top face over a rim of stacked arcs.
#pragma once
#include <windows.h>
#include <cstdint>

namespace salva {

namespace disk_space_pie {
constexpr COLORREF kUsed = RGB(0, 0, 255);
constexpr COLORREF kFree = RGB(255, 0, 255);
constexpr COLORREF kUsedRim = RGB(0, 0, 132);
constexpr COLORREF kFreeRim = RGB(132, 0, 132);
constexpr COLORREF kOutline = RGB(0, 0, 0);

struct Geometry {
    int cx, cy;  // centre of the top face
    int rx, ry;  // radii
};
// Centre and radii of the pie in the rectangle; halves round to even.
Geometry GeometryOf(int left, int top, int right, int bottom);
}  // namespace disk_space_pie

// Draws the pie for the rectangle (in pixels) with a rim `depth` pixels deep. Figures with
// no sense for a pie (no total, used below zero or above the total) draw a disc all used.
void DrawDiskSpacePie(HDC dc, int left, int top, int right, int bottom, int16_t depth, double usedBytes,
                      double totalBytes);

}  // namespace salva
