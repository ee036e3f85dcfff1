#include "copier/mSubClassImageCombo.h"
#include "services/Holders.h"
#include "services/ToolTips.h"
#include "services/TrimAtNul.h"
#include "services/WindowSubclass.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <memory>
#include <vector>

namespace salva::mSubClassImageCombo {

const wchar_t kHint[] = L"右击弹出快捷菜单.双击显示文件列表";

namespace {

struct State {
    WindowSubclass subclass;
    std::function<void()> showFileMenu;
    // The mouse reaches the list's inner combo and its text field, not the image combo
    // itself: each carries the same tip.
    std::unique_ptr<ToolTips> comboTip;
    std::unique_ptr<ToolTips> editTip;
    std::wstring tipText;
};

State& TheState() {
    // Never destroyed: the list may still send a message while the program ends.
    static State* state = new State();
    return *state;
}

HWND EditOf(HWND combo) { return reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0)); }

void SetTip(const std::wstring& text) {
    State& s = TheState();
    if (text == s.tipText) return;
    s.tipText = text;
    for (ToolTips* tip : {s.comboTip.get(), s.editTip.get()})
        if (tip) tip->ToolTipsText(text);
}

void ChooseTip(HWND combo) {
    RECT rc{};
    POINT pt{};
    if (!::GetWindowRect(combo, &rc) || !::GetCursorPos(&pt)) return;
    SetTip(TipShowsPath(rc, pt) ? WindowTextOf(EditOf(combo)) : std::wstring(kHint));
}

// The item's icon composed on a 16 x 16 scratch image of the given background, "×" where the
// shell has none, then copied to (x, top) of the item.
void DrawItemIcon(HDC dc, const std::wstring& path, COLORREF back, int x, int top) {
    unique_hdc scratch(::CreateCompatibleDC(dc));
    unique_hbitmap image(::CreateCompatibleBitmap(dc, 16, 16));
    if (!scratch || !image) return;
    select_scope si(scratch.get(), image.get());
    RECT rc{0, 0, 16, 16};
    unique_hbrush brush(::CreateSolidBrush(back));
    ::FillRect(scratch.get(), &rc, brush.get());
    if (!mT3D::DrawShellIconOn(scratch.get(), path, 16)) {
        select_scope font(scratch.get(), mT3D::WindowFont());
        ::SetBkColor(scratch.get(), back);
        ::TextOutW(scratch.get(), 0, 0, L"×", 1);
    }
    ::BitBlt(dc, x, top, 16, 16, scratch.get(), 0, 0, SRCCOPY);
}

// True while this thread runs a menu or a window move or resize: those loops read their own
// input from the queue, and the list repaints under an open menu.
bool ModalLoopRunning() {
    GUITHREADINFO info{sizeof(info)};
    if (!::GetGUIThreadInfo(::GetCurrentThreadId(), &info)) return false;
    return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE)) != 0;
}

// Pending messages are handled after an item is painted, except inside such a loop: taken from
// under it, a key or click meant for an open menu would reach the menu's window instead of the
// menu, and the menu would stay open.
void PumpUnlessTracking() {
    if (!ModalLoopRunning()) mDoEvents::PumpMessages();
}

void DrawItem(HWND combo, const DRAWITEMSTRUCT& d) {
    if (d.CtlType != ODT_COMBOBOX) return;
    // The image combo keeps the texts; its inner combo holds only item data.
    const std::wstring text = ItemDrawText(combo, static_cast<int>(d.itemID));
    if (text.empty()) return;
    HDC dc = d.hDC;
    const RECT& r = d.rcItem;
    const int length = static_cast<int>(text.size());
    // The item under the pointer comes selected, and focused too where the list holds the focus.
    if (d.itemState & (ODS_FOCUS | ODS_SELECTED)) {
        const COLORREF outer = mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION);
        const COLORREF middle = mT3D::GetSystemColor(COLOR_HIGHLIGHT);
        // Half the item's width, as an x from the list's own left edge.
        const int m = (r.right - r.left) / 2;
        mT3D::GradientFillRect(dc, r.left, r.top, m, r.bottom, outer, middle, false);
        mT3D::GradientFillRect(dc, m, r.top, r.right, r.bottom, middle, outer, false);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, mT3D::GetSystemColor(COLOR_HIGHLIGHTTEXT));
        ::TextOutW(dc, r.left + 22, r.top + 1, text.c_str(), length);
        DrawItemIcon(dc, text, outer, 4, r.top);
    } else {
        unique_hbrush brush(::CreateSolidBrush(kItemColour));
        ::FillRect(dc, &r, brush.get());
        ::SetBkColor(dc, kItemColour);
        // The list paints its items on one device context: the highlighted item's text colour
        // would otherwise carry over to the items after it.
        ::SetTextColor(dc, mT3D::GetSystemColor(COLOR_WINDOWTEXT));
        ::TextOutW(dc, r.left + 20, r.top + 1, text.c_str(), length);
        DrawItemIcon(dc, text, kItemColour, 2, r.top);
    }
}

LRESULT ImageComboWndProc(HWND combo, UINT msg, WPARAM wp, LPARAM lp) {
    State& s = TheState();
    switch (msg) {
    case WM_SETCURSOR:
        ChooseTip(combo);
        return 0;
    case WM_MOUSEACTIVATE:
        if (LOWORD(lp) == HTCLIENT && HIWORD(lp) == WM_RBUTTONDOWN && s.showFileMenu) {
            std::function<void()> show = s.showFileMenu;
            show();
            mDoEvents::PumpMessages();
        }
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        // The selection field stays the image combo's own. Wine hides the text box while the
        // drop-down is open and has the field drawn in its place, from the text box's text:
        // drawn here as an item, it would stay blank until an item is chosen.
        if (d.CtlType == ODT_COMBOBOX && (d.itemState & ODS_COMBOBOXEDIT))
            return s.subclass.CallPrevious(combo, msg, wp, lp);
        DrawItem(combo, d);
        PumpUnlessTracking();
        return 0;
    }
    default:
        return s.subclass.CallPrevious(combo, msg, wp, lp);
    }
}

}  // namespace

bool TipShowsPath(const RECT& comboRect, POINT cursor) {
    return cursor.x > comboRect.left + (comboRect.right - comboRect.left) / 4;
}

std::wstring ItemDrawText(HWND combo, int index) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR || length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(buffer.data()));
    if (got == CB_ERR || got < 0) return {};
    std::wstring text = TrimAtNul(buffer.data(), buffer.size());
    if (text.size() > kItemTextMax) text.resize(kItemTextMax);
    return text;
}

std::wstring TipText() { return TheState().tipText; }

bool SubclassImageCombo(HWND combo, std::function<void()> showFileMenu) {
    State& s = TheState();
    if (s.subclass.Installed()) return false;
    s.showFileMenu = std::move(showFileMenu);
    if (!s.subclass.Install(combo, ImageComboWndProc)) return false;
    s.tipText = kHint;
    HWND inner = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    HWND edit = EditOf(combo);
    for (auto [owner, tip] : {std::pair{inner, &s.comboTip}, std::pair{edit, &s.editTip}}) {
        if (!owner) continue;
        *tip = std::make_unique<ToolTips>();
        (*tip)->OwnerhWnd(owner);
        (*tip)->ToolTipsText(s.tipText);
        (*tip)->CreateToolTipsWindow();
    }
    return true;
}

void UnsubclassImageCombo(HWND combo) {
    State& s = TheState();
    if (s.subclass.Window() != combo) return;
    s.subclass.Remove();
    for (std::unique_ptr<ToolTips>* tip : {&s.comboTip, &s.editTip}) {
        if (*tip && (*tip)->TipWindow() && ::IsWindow((*tip)->TipWindow())) ::DestroyWindow((*tip)->TipWindow());
        tip->reset();
    }
    s.showFileMenu = nullptr;
    s.tipText.clear();
}

}  // namespace salva::mSubClassImageCombo
