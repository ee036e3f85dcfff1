#include "copier/frmDialogBalloon.h"
#include <cmath>

namespace salva {

BalloonPlacement PlaceBalloon(const BalloonRequest& r) {
    const long sw = r.screenWidth, sh = r.screenHeight;
    long left = std::lround(r.anchor.left * r.twipsPerPixelX);
    const long top = std::lround(r.anchor.top * r.twipsPerPixelY);
    const long right = std::lround(r.anchor.right * r.twipsPerPixelX);
    if (left < 0) left = 100;
    const double anchorHeight = (r.anchor.bottom - r.anchor.top) * r.twipsPerPixelY;
    const double anchorWidth = (r.anchor.right - r.anchor.left) * r.twipsPerPixelX;
    const double midX = sw / 2.0, midY = sh / 2.0;
    const double pw = r.popupWidth, ph = r.popupHeight;
    const double besideRight = right - std::floor(1.5 * pw);

    BalloonPlacement p;
    if (left < midX && top < midY) {
        p = {BalloonTopLeft, static_cast<double>(left), top + anchorHeight / 2};
    } else if (left < midX && top > midY) {
        p = {BalloonBottomLeft, static_cast<double>(left), top - ph + anchorHeight / 2};
    } else if (left > midX && top < midY) {
        p = {BalloonTopRight, besideRight, top + anchorHeight / 2};
    } else if (left > midX && top > midY) {
        p = {BalloonBottomRight, besideRight, top - ph + anchorHeight / 2};
    } else {
        return {BalloonTopLeft, left + anchorWidth / 2, top + anchorHeight / 2};
    }
    if (p.left + pw >= sw) p.left = sw - pw;
    return p;
}

bool BalloonShapeFor(int style, int w, int h, BalloonShape& s) {
    switch (style) {
    case BalloonTopLeft:
        s.tail[0] = {16, 0};
        s.tail[1] = {16, 16};
        s.tail[2] = {32, 16};
        s.body = {0, 16, w, h - 16};
        s.outline = {0, 16, w - 1, h - 17};
        s.lines[0] = {{16, 0}, {16, 16}, false};
        s.lines[1] = {{16, 16}, {32, 16}, true};
        s.lines[2] = {{31, 16}, {15, 0}, false};
        return true;
    case BalloonBottomLeft:
        s.tail[0] = {16, h};
        s.tail[1] = {16, h - 16};
        s.tail[2] = {32, h - 16};
        s.body = {0, 16, w, h - 15};
        s.outline = {0, 16, w - 1, h - 16};
        s.lines[0] = {{16, h}, {16, h - 18}, false};
        s.lines[1] = {{16, h - 17}, {32, h - 17}, true};
        s.lines[2] = {{31, h - 16}, {15, h}, false};
        return true;
    case BalloonTopRight:
        s.tail[0] = {w - 16, 0};
        s.tail[1] = {w - 32, 16};
        s.tail[2] = {w - 16, 16};
        s.body = {0, 16, w, h - 16};
        s.outline = {0, 16, w - 1, h - 17};
        s.lines[0] = {{w - 16, 0}, {w - 32, 16}, false};
        s.lines[1] = {{w - 17, 16}, {w - 17, 0}, false};
        s.lines[2] = {{w - 31, 16}, {w - 16, 16}, true};
        return true;
    case BalloonBottomRight:
        s.tail[0] = {w - 16, h};
        s.tail[1] = {w - 32, h - 17};
        s.tail[2] = {w - 16, h - 17};
        s.body = {0, 16, w, h - 16};
        s.outline = {0, 16, w - 1, h - 17};
        s.lines[0] = {{w - 17, h - 17}, {w - 17, h}, false};
        s.lines[1] = {{w - 15, h}, {w - 33, h - 18}, false};
        s.lines[2] = {{w - 32, h - 18}, {w - 17, h - 18}, true};
        return true;
    default:
        return false;
    }
}

}  // namespace salva
