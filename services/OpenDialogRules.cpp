#include "services/OpenDialogRules.h"
#include "services/Text.h"
#include "services/TrimAtNul.h"

namespace salva::open_dialog_rules {

OpenDialogResult SplitOpenDialogResult(const std::wstring& buffer) {
    OpenDialogResult result;
    const std::wstring s = Trim(buffer);
    if (s.find(L'\0') == std::wstring::npos) {
        result.editText = s;
        result.hasEditText = true;
        return result;
    }
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (start < s.size()) {
        const size_t nul = s.find(L'\0', start);
        if (nul == std::wstring::npos || nul == start) break;
        pieces.push_back(s.substr(start, nul - start));
        start = nul + 1;
    }
    if (pieces.size() == 1) {
        result.items.push_back(pieces[0]);
    } else if (pieces.size() > 1) {
        std::wstring folder = pieces[0];
        if (folder.back() != L'\\') folder += L'\\';
        for (size_t i = 1; i < pieces.size(); ++i) result.items.push_back(folder + pieces[i]);
    }
    return result;
}

POINT CentredCorner(const RECT& window, int screenWidth, int screenHeight) {
    return POINT{(screenWidth + window.left - window.right) / 2, (screenHeight + window.top - window.bottom) / 2};
}

bool ChildPlacement(const std::wstring& className, int height, ChildCounters& counters, Placement& placement) {
    const std::wstring kind = className.substr(0, 4);
    auto place = [&](int x, int y, int w, int h) {
        placement = Placement{x, y, w, h};
        return true;
    };
    if (kind == L"List") return place(10, 32, 306, 166);
    if (kind == L"Edit") return place(76, 209, 225, height);
    if (kind == L"Stat") {
        ++counters.statics;
        if (counters.statics == 3) return place(4, 214, 72, height);
        if (counters.statics == 4) return place(4, 236, 72, height);
    } else if (kind == L"Comb") {
        if (++counters.combos == 2) return place(76, 234, 225, height);
    } else if (kind == L"Butt") {
        ++counters.buttons;
        if (counters.buttons == 2) return place(320, 208, 75, height);
        if (counters.buttons == 3) return place(320, 234, 75, height);
    }
    return false;
}

Placement PaneSlot(int clientWidth, int clientHeight, SIZE inner, SIZE outer) {
    return Placement{clientWidth - inner.cx, clientHeight - inner.cy - kPaneBottomGap, outer.cx, outer.cy};
}

std::wstring PathFromAnswer(const std::vector<wchar_t>& buffer, size_t capacity, intptr_t answer) {
    if (answer <= 0 || static_cast<size_t>(answer) > capacity || capacity > buffer.size()) return {};
    return TrimAtNul(buffer.data(), static_cast<size_t>(answer) - 1);
}

}  // namespace salva::open_dialog_rules
