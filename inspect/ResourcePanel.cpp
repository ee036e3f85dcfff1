#include "inspect/ResourcePanel.h"
#include "services/TextFit.h"

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
    y_ += LayOut(text, true) * LineHeight();
    box_.Refresh();
}

int ResourcePanel::DrawnLines(const std::wstring& text) { return LayOut(text, false); }

int ResourcePanel::LayOut(const std::wstring& text, bool draw) {
    HDC dc = box_.dc();
    const int lineHeight = LineHeight();
    const int width = InnerWidth();
    if (dc && draw) {
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, box_.ForeColor());
    }
    int drawn = 0;
    size_t from = 0;
    for (;;) {
        const size_t end = text.find(L"\r\n", from);
        const std::wstring line = text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from);
        if (draw) lines_.push_back(line);
        for (const std::wstring& piece : FitLines(dc, line, width)) {
            if (dc && draw && !piece.empty())
                ::TextOutW(dc, 0, y_ + drawn * lineHeight, piece.c_str(), static_cast<int>(piece.size()));
            ++drawn;
        }
        if (end == std::wstring::npos) break;
        from = end + 2;
    }
    return drawn;
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
