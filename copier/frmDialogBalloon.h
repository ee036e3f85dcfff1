// The rename popup's balloon: on which side of its anchor it goes, where, and the shape of
// body and tail. Plain arithmetic over screen and window sizes; the popup applies it.
#pragma once
#include <windows.h>

namespace salva {

// The corner that carries the tail.
enum BalloonStyle : int { BalloonTopLeft = 0, BalloonBottomLeft = 1, BalloonTopRight = 2, BalloonBottomRight = 3 };

// Everything in twips except the anchor, which comes as the system reports it.
struct BalloonRequest {
    long screenWidth = 0;   // twips
    long screenHeight = 0;  // twips
    RECT anchor{};          // the anchor's window rectangle, screen pixels
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    double popupWidth = 0;   // twips
    double popupHeight = 0;  // twips
};

struct BalloonPlacement {
    BalloonStyle style = BalloonTopLeft;
    double left = 0;  // twips
    double top = 0;   // twips
};

// The quadrant of the anchor's top-left corner picks the tail corner: a top tail hangs the
// popup from the anchor's vertical middle, a bottom tail stands it there. Left tails start at
// the anchor's left edge, right tails one and a half popup widths left of its right edge; in
// the four quadrants the popup is kept from passing the screen's right edge. An anchor exactly
// on a centre line gets a top-left tail at its middle, unclamped. All in 32 bits, so screens
// of any width are placed.
BalloonPlacement PlaceBalloon(const BalloonRequest& request);

// The balloon in the popup's own pixels, for an inner size of width x height.
struct BalloonShape {
    POINT tail[3];     // the tip first
    RECT body;         // rounded 20 x 20
    RECT outline;      // the border, drawn with corners 20 x 20 and 16 x 16
    struct Line {
        POINT from;
        POINT to;
        bool background;  // drawn in the body colour, to open the border where the tail joins
    } lines[3];
};
// False for a style outside 0 to 3.
bool BalloonShapeFor(int style, int width, int height, BalloonShape& shape);

}  // namespace salva
