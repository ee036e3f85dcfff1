// Where the two folder pickers with option panels put themselves, their children and the
// panel, apart from the pickers: plain arithmetic over rectangles and class names.
#pragma once
#include "services/OpenDialogRules.h"
#include <windows.h>
#include <string>

namespace salva::browse_folder_rules {

using open_dialog_rules::Placement;

// The picker with the file pattern panel (adding a folder's files) and the one with the
// "same folder" panel (copying all listed files).
enum class PickerKind { Search, Choose };

// The folder tree's place; the picker is made wide enough for it.
constexpr int kTreeX = 6, kTreeY = 50, kTreeWidth = 306, kTreeHeight = 190;
constexpr int kMinClientWidth = kTreeX + kTreeWidth + kTreeX;

// Where each picker embeds its panel: the left offset in twips, the bottom margin in pixels.
constexpr int kSearchPanelLeft = 0, kChoosePanelLeft = 166, kPanelMargin = 70;

// The panel's top-left corner in the picker's client area: `leftTwips` turned into pixels at
// `dpiX` dots per inch, the top `bottomMargin` pixels above the bottom of `pickerWindow`'s
// height, read before the picker grows.
POINT PanelCorner(int leftTwips, int bottomMargin, const RECT& pickerWindow, int dpiX);

// The picker's new screen rectangle: as wide as it is (or wide enough for a client area of
// kMinClientWidth when `clientWidth` is narrower), centred across the screen, its top where
// it keeps its current height centred, and taller by 26 (search) or 22 (choose) pixels.
RECT PickerBounds(PickerKind kind, const RECT& pickerWindow, int clientWidth, int screenWidth, int screenHeight);

// Running counts of the picker's children by kind, for one layout pass.
struct ChildCounters {
    int statics = 0;
    int buttons = 0;
};

// Where the layout puts a direct child of the picker of class `className` and size `own`;
// false when it keeps its place. "Static" and "Button" are told by their first 6 characters,
// the tree by the first 13 of "SysTreeView32", case-sensitively; counts the child.
bool ChildPlacement(PickerKind kind, const std::wstring& className, SIZE own, ChildCounters& counters,
                    Placement& placement);

}  // namespace salva::browse_folder_rules
