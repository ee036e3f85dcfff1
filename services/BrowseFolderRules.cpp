#include "services/BrowseFolderRules.h"
#include <algorithm>

namespace salva::browse_folder_rules {

POINT PanelCorner(int leftTwips, int bottomMargin, const RECT& pickerWindow, int dpiX) {
    return POINT{::MulDiv(leftTwips, dpiX > 0 ? dpiX : 96, 1440), pickerWindow.bottom - pickerWindow.top - bottomMargin};
}

RECT PickerBounds(PickerKind kind, const RECT& pickerWindow, int clientWidth, int screenWidth, int screenHeight) {
    const int grow = kind == PickerKind::Search ? 26 : 22;
    int width = pickerWindow.right - pickerWindow.left;
    if (clientWidth < kMinClientWidth) width += kMinClientWidth - clientWidth;
    const int height = pickerWindow.bottom - pickerWindow.top;
    const POINT at = open_dialog_rules::CentredCorner(RECT{0, pickerWindow.top, width, pickerWindow.bottom},
                                                      screenWidth, screenHeight);
    return RECT{at.x, at.y, at.x + width, at.y + height + grow};
}

bool ChildPlacement(PickerKind kind, const std::wstring& className, SIZE own, ChildCounters& counters,
                    Placement& placement) {
    auto place = [&](int x, int y, int w, int h) {
        placement = Placement{x, y, w, h};
        return true;
    };
    const bool search = kind == PickerKind::Search;
    if (className.compare(0, 13, L"SysTreeView32") == 0) return place(kTreeX, kTreeY, kTreeWidth, kTreeHeight);
    if (className.compare(0, 6, L"Static") == 0) {
        if (++counters.statics == 1) return place(6, 20, own.cx, own.cy);
    } else if (className.compare(0, 6, L"Button") == 0) {
        ++counters.buttons;
        const int firstX = search ? 150 : 136, secondX = search ? 234 : 226, y = search ? 266 : 272;
        // Wine's buttons are wider than the 75 pixels these places were made for: the first
        // one ends a little before the second instead of running under it.
        if (counters.buttons == 1) return place(firstX, y, std::min<int>(own.cx, secondX - firstX - 6), own.cy);
        if (counters.buttons == 2) return place(secondX, y, own.cx, own.cy);
    }
    return false;
}

}  // namespace salva::browse_folder_rules
