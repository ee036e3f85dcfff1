#include "inspect/ResourcePanel.h"
#include <algorithm>

namespace salva {

void ResourcePanel::Cls() {
    box_.Clear();
    y_ = 0;
    lines_.clear();
    box_.Refresh();
}

int ResourcePanel::LineHeight() {
    HDC dc = box_.dc();
    TEXTMETRICW tm{};
    return (dc && ::GetTextMetricsW(dc, &tm)) ? tm.tmHeight : 13;
}

void ResourcePanel::Print(const std::wstring& text) {
    HDC dc = box_.dc();
    const int lineHeight = LineHeight();
    const int width = InnerWidth();
    if (dc) {
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, box_.ForeColor());
    }
    size_t from = 0;
    for (;;) {
        const size_t end = text.find(L"\r\n", from);
        const std::wstring line = text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from);
        lines_.push_back(line);
        std::wstring rest = line;
        do {
            size_t take = rest.size();
            int fit = 0;
            SIZE extent{};
            if (dc && width > 0 &&
                ::GetTextExtentExPointW(dc, rest.c_str(), static_cast<int>(rest.size()), width, &fit, nullptr, &extent) &&
                static_cast<size_t>(fit) < rest.size()) {
                const size_t blank = rest.rfind(L' ', static_cast<size_t>(fit));
                take = blank != std::wstring::npos && blank > 0 ? blank : std::max<size_t>(1, static_cast<size_t>(fit));
            }
            if (dc && take > 0) ::TextOutW(dc, 0, y_, rest.c_str(), static_cast<int>(take));
            y_ += lineHeight;
            rest.erase(0, take);
            if (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
        } while (!rest.empty());
        if (end == std::wstring::npos) break;
        from = end + 2;
    }
    box_.Refresh();
}

int ResourcePanel::InnerWidth() const {
    RECT rc{};
    ::GetClientRect(box_.Window(), &rc);
    return rc.right;
}

int ResourcePanel::InnerHeight() const {
    RECT rc{};
    ::GetClientRect(box_.Window(), &rc);
    return rc.bottom;
}

}  // namespace salva
