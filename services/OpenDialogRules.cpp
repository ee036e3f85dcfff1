#include "services/OpenDialogRules.h"
#include "services/Text.h"
#include "services/TrimAtNul.h"
#include <algorithm>

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

size_t TypedPathLength(const std::wstring& folder, const std::wstring& text, const std::wstring& defaultExt) {
    std::wstring name;
    int quoted = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'"') {
            name += text[i];
            continue;
        }
        const size_t close = text.find(L'"', i + 1);
        if (close == std::wstring::npos) continue;
        if (++quoted > 1) return 0;
        name += text.substr(i + 1, close - i - 1);
        i = close;
    }
    name = Trim(name);
    if (name.empty()) return 0;
    size_t length = name.size();
    const bool full = name.compare(0, 2, L"\\\\") == 0 || (name.size() > 1 && name[1] == L':');
    if (!full && name[0] == L'\\') length += std::min<size_t>(folder.size(), 2);
    else if (!full) length += folder.size() + (!folder.empty() && folder.back() != L'\\' ? 1 : 0);
    const size_t slash = name.rfind(L'\\');
    const bool hasExt = name.find(L'.', slash == std::wstring::npos ? 0 : slash) != std::wstring::npos;
    if (!hasExt && !defaultExt.empty()) length += 1 + defaultExt.size();
    return length;
}

}  // namespace salva::open_dialog_rules
