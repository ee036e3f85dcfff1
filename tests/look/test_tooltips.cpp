// Tool tips on real controls: one tip window and one tool per control, title and text read
// back from the tip window, text changed in place.
#include "TestSupport.h"
#include "services/ToolTips.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <map>

using namespace testsupport;

namespace {

struct Owner {
    Owner() {
        window.reset(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                       nullptr, ::GetModuleHandleW(nullptr), nullptr));
        for (int i = 0; i < 3; ++i)
            controls[i] = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10 + 90 * i, 10, 80, 30,
                                            window.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    salva::unique_hwnd window;
    HWND controls[3] = {};
};

const wchar_t kUntouched[] = L"\x1\x2untouched";

std::wstring TipTitle(HWND tip) {
    wchar_t buffer[256] = {};
    lstrcpyW(buffer, kUntouched);
    TTGETTITLE t{};
    t.dwSize = sizeof(t);
    t.cch = 256;
    t.pszTitle = buffer;
    ::SendMessageW(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&t));
    return buffer;
}

// Records the titles sent to tool-tip windows of this thread, as the control received them.
class TitleSpy {
public:
    TitleSpy() {
        instance_ = this;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~TitleSpy() {
        ::UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
    }
    TitleSpy(const TitleSpy&) = delete;
    TitleSpy& operator=(const TitleSpy&) = delete;
    // The last title sent to `tip` and its icon.
    std::wstring LastTitle(HWND tip) const {
        auto it = titles_.find(tip);
        return it == titles_.end() ? L"(none)" : it->second;
    }
    WPARAM LastIcon(HWND tip) const {
        auto it = icons_.find(tip);
        return it == icons_.end() ? ~WPARAM(0) : it->second;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && instance_ && m->message == TTM_SETTITLEW) {
            instance_->titles_[m->hwnd] = m->lParam ? reinterpret_cast<const wchar_t*>(m->lParam) : L"";
            instance_->icons_[m->hwnd] = m->wParam;
        }
        return ::CallNextHookEx(nullptr, code, wp, lp);
    }
    static TitleSpy* instance_;
    HHOOK hook_ = nullptr;
    std::map<HWND, std::wstring> titles_;
    std::map<HWND, WPARAM> icons_;
};
TitleSpy* TitleSpy::instance_ = nullptr;

TTTOOLINFOW ToolAt(HWND tip, UINT index) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ::SendMessageW(tip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&ti));
    return ti;
}

}  // namespace

TEST(ToolTips, OneToolPerControlWithTitleAndText) {
    TitleSpy spy;
    Owner o;
    ToolTips tips[3];
    const wchar_t* titles[] = {L"开始", L"暂停", L""};
    const wchar_t* texts[] = {L"开始复制文件", L"暂停复制", L"取消"};
    for (int i = 0; i < 3; ++i) {
        // Title and text set before the tip exists are kept for it.
        tips[i].OwnerhWnd(o.controls[i]);
        tips[i].ToolTipsTitle(titles[i]);
        tips[i].ToolTipsText(texts[i]);
        EXPECT_EQ(nullptr, tips[i].TipWindow());
        tips[i].CreateToolTipsWindow();
    }
    for (int i = 0; i < 3; ++i) {
        HWND tip = tips[i].TipWindow();
        ASSERT_TRUE(::IsWindow(tip)) << i;
        EXPECT_EQ(L"tooltips_class32", [&] {
            wchar_t cls[64] = {};
            ::GetClassNameW(tip, cls, 64);
            return std::wstring(cls);
        }()) << i;
        EXPECT_EQ(1, ::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0)) << i;
        const TTTOOLINFOW ti = ToolAt(tip, 0);
        EXPECT_EQ(o.controls[i], ti.hwnd) << i;
        EXPECT_EQ(0u, ti.uId) << i;
        EXPECT_EQ(UINT(TTF_SUBCLASS | TTF_TRANSPARENT | TTF_RTLREADING), ti.uFlags & 0x114u) << std::hex << ti.uFlags;
        EXPECT_EQ(80, ti.rect.right - ti.rect.left) << "the owner's client rectangle";
        EXPECT_EQ(texts[i], TipText(tip, o.controls[i])) << i << " " << Narrow(TipText(tip, o.controls[i]));
        // No empty title is given to a new tip: it would leave room for a title line.
        const std::wstring sent = *titles[i] ? titles[i] : L"(none)";
        EXPECT_EQ(sent, spy.LastTitle(tip)) << i << " " << Narrow(spy.LastTitle(tip));
        if (*titles[i]) {
            EXPECT_EQ(WPARAM(TTI_NONE), spy.LastIcon(tip)) << "no icon";
        }
        // Controls that cannot report their title leave the buffer as it was.
        if (TipTitle(tip) != kUntouched) {
            EXPECT_EQ(titles[i], TipTitle(tip)) << i << " " << Narrow(TipTitle(tip));
        }
        EXPECT_TRUE(::GetWindowLongW(tip, GWL_STYLE) & TTS_NOPREFIX);
        // Drawn in the window font rule's face, not in the system's font without Chinese.
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        EXPECT_EQ(mT3D::WindowFontRule().face, std::wstring(lf.lfFaceName)) << i << " " << Narrow(lf.lfFaceName);
        EXPECT_FALSE(::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
    }
    EXPECT_NE(tips[0].TipWindow(), tips[1].TipWindow());
}

TEST(ToolTips, TextAndTitleChangeInPlace) {
    TitleSpy spy;
    Owner o;
    ToolTips tip;
    tip.OwnerhWnd(o.controls[0]);
    tip.ToolTipsTitle(L"提示");
    tip.ToolTipsText(L"旧的文字");
    tip.CreateToolTipsWindow();
    HWND window = tip.TipWindow();
    ASSERT_TRUE(::IsWindow(window));
    tip.ToolTipsText(L"新的文字 A & B");
    tip.ToolTipsTitle(L"新标题");
    EXPECT_EQ(window, tip.TipWindow()) << "no new tip window";
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(1, ::SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(L"新的文字 A & B", TipText(window, o.controls[0])) << Narrow(TipText(window, o.controls[0]));
    EXPECT_EQ(L"新标题", spy.LastTitle(window)) << Narrow(spy.LastTitle(window));
    EXPECT_EQ(WPARAM(TTI_NONE), spy.LastIcon(window));
    // Taking the title away again sends the empty title.
    tip.ToolTipsTitle(L"");
    EXPECT_EQ(L"", spy.LastTitle(window)) << Narrow(spy.LastTitle(window));
    tip.ToolTipsTitle(L"新标题");
    if (TipTitle(window) == kUntouched) return;  // this control cannot report its title text
    EXPECT_EQ(L"新标题", TipTitle(window)) << Narrow(TipTitle(window));
}

TEST(ToolTips, CreatingAgainReplacesTheTipWindow) {
    Owner o;
    ToolTips tip;
    tip.OwnerhWnd(o.controls[1]);
    tip.ToolTipsText(L"一");
    tip.CreateToolTipsWindow();
    HWND first = tip.TipWindow();
    tip.CreateToolTipsWindow();
    HWND second = tip.TipWindow();
    EXPECT_FALSE(::IsWindow(first)) << "the previous tip window is destroyed";
    EXPECT_TRUE(::IsWindow(second));
    EXPECT_EQ(L"一", TipText(second, o.controls[1]));
}

TEST(ToolTips, LongTextIsCutNotOverrun) {
    TitleSpy spy;
    Owner o;
    ToolTips tip;
    tip.OwnerhWnd(o.controls[2]);
    std::wstring text;
    for (int i = 0; i < 5000; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    tip.ToolTipsText(text);
    tip.ToolTipsTitle(std::wstring(300, L'T'));
    tip.CreateToolTipsWindow();
    const std::wstring shown = TipText(tip.TipWindow(), o.controls[2]);
    EXPECT_EQ(ToolTips::kMaxText, shown.size());
    EXPECT_EQ(text.substr(0, shown.size()), shown);
    EXPECT_EQ(std::wstring(ToolTips::kMaxTitle, L'T'), spy.LastTitle(tip.TipWindow()));
}

TEST(ToolTips, TipWindowGoesWithItsOwner) {
    HWND tipWindow = nullptr;
    {
        Owner o;
        ToolTips tip;
        tip.OwnerhWnd(o.controls[0]);
        tip.ToolTipsText(L"x");
        tip.CreateToolTipsWindow();
        tipWindow = tip.TipWindow();
        ASSERT_TRUE(::IsWindow(tipWindow));
    }
    EXPECT_FALSE(::IsWindow(tipWindow));
}
