// The main window's pictures, drawn at run time: the window icon, the 13 menu item icons
// (light grey background), the play and stop icons of the title bar and the pictures of the
// four picture buttons.
#pragma once
#include "services/DrawnIcon.h"
#include "services/Holders.h"

namespace salva {

// Background of the menu item icons, used as their transparent colour.
constexpr COLORREF kMenuIconMask = RGB(0xC0, 0xC0, 0xC0);
constexpr int kMenuIconCount = 13;

unique_hicon MakeWindowIcon(int size);
// Menu item icon `index` (0 to 12): open file, add to list, delete, rename, copy to, move to,
// find, properties, about, open all doors, close all doors, open one door, close one door.
unique_hicon MakeMenuIcon(int index);
// 20 x 20 picture button images: 0 refresh, 1 search, 2 settings, 3 log; hover drawn lighter.
unique_hicon MakeButtonPicture(int button, bool hover);

}  // namespace salva
