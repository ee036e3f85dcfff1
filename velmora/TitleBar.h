// The vertical strip on the left edge of a popup: gradient or image, and the title text
// turned to read upward, optionally with a small icon at its foot.
#pragma once
#include "Settings.h"

namespace velmora {

// Paints the strip once per prepared popup, on the first item painted after the preparation.
void DrawVerticalTitleBar(Settings& s, const DRAWITEMSTRUCT& request);
void PaintTitleBar(Settings& s, HDC hdc, HMENU menu, const std::wstring& title, COLORREF start, COLORREF end);
// Bands of solid colour from `end` at the bottom (or right) edge to `start` at the top (or left).
void GradientFill(HDC hdc, const RECT& rect, COLORREF start, COLORREF end, bool vertical);
// The title turned upward across the strip whose left edge is x, its foot at y.
void DrawVerticalText(const Settings& s, HDC hdc, const std::wstring& text, int x, int y);

// Height of the strip for a menu: each item H + 4, each separator 8.
short TitleBarHeight(const Settings& s, HMENU menu);
// Size of the title icon for a strip of the given width.
int TitleIconSize(const Settings& s);

}  // namespace velmora
