// File images of pictures: an icon or cursor as a one-image .ico/.cur file, a bitmap as a .bmp
// file; both from the handles, 32 and 24 bits per pixel.
#pragma once
#include <windows.h>
#include <vector>

namespace salva {

// Empty when the handle cannot be read.
std::vector<unsigned char> IconFileBytes(HICON icon, bool asCursor);
std::vector<unsigned char> BitmapFileBytes(HBITMAP bitmap);

}  // namespace salva
