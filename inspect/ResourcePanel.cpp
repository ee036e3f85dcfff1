#include "inspect/ResourcePanel.h"

namespace salva {

void ResourcePanel::Cls() {
    box_.Clear();
    y_ = 0;
    lines_.clear();
    box_.Refresh();
}

void ResourcePanel::Print(const std::wstring& text) {
    HDC dc = box_.dc();
    TEXTMETRICW tm{};
    const int lineHeight = (dc && ::GetTextMetricsW(dc, &tm)) ? tm.tmHeight : 13;
    if (dc) {
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, box_.ForeColor());
    }
    size_t from = 0;
    for (;;) {
        const size_t end = text.find(L"\r\n", from);
        const std::wstring line = text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from);
        if (dc && !line.empty()) ::TextOutW(dc, 0, y_, line.c_str(), static_cast<int>(line.size()));
        lines_.push_back(line);
        y_ += lineHeight;
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
