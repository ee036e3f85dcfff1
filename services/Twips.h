// Design sizes of the program's windows are kept in twips (1/1440 inch); the screen's
// logical resolution turns them into pixels.
#pragma once
#include "services/Holders.h"

namespace salva {

inline double TwipsPerPixel() {
    unique_window_dc dc = unique_window_dc::client(nullptr);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}
inline int ToPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel() + 0.5); }
inline double ToTwips(int pixels) { return pixels * TwipsPerPixel(); }

}  // namespace salva
