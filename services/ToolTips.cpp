#include "services/ToolTips.h"
#include "services/mT3D.h"
#include <commctrl.h>

namespace {

// Cuts at most `limit` characters without splitting a surrogate pair.
std::wstring Cut(const std::wstring& s, size_t limit) {
    if (s.size() <= limit) return s;
    size_t n = limit;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
    return s.substr(0, n);
}

}  // namespace

TTTOOLINFOW ToolTips::ToolRecord() {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT | TTF_RTLREADING;
    ti.hwnd = owner_;
    ti.uId = 0;
    ::GetClientRect(owner_, &ti.rect);
    ti.hinst = ::GetModuleHandleW(nullptr);
    // The control copies the text; the pointer only has to live for the message.
    ti.lpszText = const_cast<wchar_t*>(text_.c_str());
    return ti;
}

void ToolTips::ToolTipsTitle(const std::wstring& title) {
    title_ = Cut(title, kMaxTitle);
    SendTitle();
}

void ToolTips::SendTitle() {
    // An empty title is sent only to take a shown one away: Wine's control keeps room for a
    // title line even when the title is empty, which would leave a blank band over the text.
    if (!tip_ || (title_.empty() && !titleSent_)) return;
    ::SendMessageW(tip_, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(title_.c_str()));
    titleSent_ = !title_.empty();
}

void ToolTips::ToolTipsText(const std::wstring& text) {
    text_ = Cut(text, kMaxText);
    if (!tip_) return;
    TTTOOLINFOW ti = ToolRecord();
    ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTips::CreateToolTipsWindow() {
    if (tip_ && ::IsWindow(tip_)) ::DestroyWindow(tip_);
    titleSent_ = false;
    tip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
    if (!tip_) return;
    // The control starts with the system's status font, which has no Chinese under Wine. From
    // the font it is given the control also makes the title's (bold) font.
    ::SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(mT3D::WindowFont()), FALSE);
    TTTOOLINFOW ti = ToolRecord();
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendTitle();
}
