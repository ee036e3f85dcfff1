// Icons drawn at run time: a square canvas painted by a routine, with one colour see-through;
// and the play and stop icons of the preview buttons.
#pragma once
#include "services/Holders.h"
#include <functional>

namespace salva {

// Draws on a size x size canvas filled with `back`, then makes an icon whose pixels of colour
// `transparent` are see-through (none when `transparent` is CLR_INVALID).
unique_hicon DrawnIcon(int size, COLORREF back, COLORREF transparent, const std::function<void(HDC)>& draw);

// 16 x 16 preview button icons: a green triangle and a red square, both grey when unusable.
unique_hicon MakePlayIcon(bool usable);
unique_hicon MakeStopIcon(bool usable);

}  // namespace salva
