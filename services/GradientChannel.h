// One colour channel of a gradient band, shared by the drawing routines of the program and of
// the popup-menu library: from + diff * done / extent, the whole value rounded to the nearest
// integer with exact halves to the even one. Rounding the step alone and adding it to the
// start would round an odd start the other way on every exact half.
#pragma once

namespace salva {

// `extent` > 0; the result is not clamped.
inline int GradientChannel(int from, int diff, int done, int extent) {
    const long long n = static_cast<long long>(from) * extent + static_cast<long long>(diff) * done;
    long long q = n / extent, r = n % extent;
    if (r < 0) {
        r += extent;
        --q;
    }
    if (2 * r > extent || (2 * r == extent && (q & 1))) ++q;
    return static_cast<int>(q);
}

}  // namespace salva
