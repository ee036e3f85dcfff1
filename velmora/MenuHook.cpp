#include "MenuHook.h"
#include "MenuPaint.h"
#include "cMemDC.h"

namespace velmora {

namespace {
const size_t kConvertedLimit = 128;
const int kMenuTextChars = 255;

std::wstring MenuString(HMENU menu, UINT item, UINT flags) {
    wchar_t buffer[kMenuTextChars] = {};
    const int n = ::GetMenuStringW(menu, item, buffer, kMenuTextChars - 1, flags);
    return std::wstring(buffer, n > 0 ? n : 0);
}
}  // namespace

HookState& Hook() {
    static HookState state;
    return state;
}

void HookWindow(HWND hwnd) {
    HookState& h = Hook();
    if (h.hooked == hwnd) return;  // hooking twice would chain the library to itself
    if (h.hooked) UnhookWindow(h.hooked);
    if (!h.subclass.Install(hwnd, MenuWindowProc)) return;
    h.hooked = hwnd;
}

void UnhookWindow(HWND hwnd) {
    HookState& h = Hook();
    if (!hwnd || hwnd != h.hooked) return;
    h.subclass.Remove();
    h.hooked = nullptr;
}

short MenuTextWidth(HDC dc, const std::wstring& text) {
    const auto extent = [dc](const std::wstring& t) {
        RECT r{};
        ::DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return static_cast<int>(r.right - r.left);
    };
    const std::wstring caption = GetItemCaption(text), shortcut = GetItemShortcut(text);
    int width = extent(caption) + 2;
    if (caption.size() < text.size()) width += extent(L"\t") + extent(shortcut) + kShortcutMargin;
    return static_cast<short>(width);
}

SIZE MeasureItem(const Settings& s, short widestText, bool separator) {
    const short T = s.titleWidth, W = widestText, I = s.iconWidth, H = s.iconHeight;
    short width;
    if (s.hasTitleBar == kTrue && s.hasIcon == kTrue)
        width = static_cast<short>(T + W + I + 8);
    else if (s.hasTitleBar == kTrue && s.hasIcon == kFalse)
        width = static_cast<short>(T + W + 4);
    else if (s.hasTitleBar == kFalse && s.hasIcon == kTrue)
        width = static_cast<short>(I + W + 4);
    else
        width = static_cast<short>(W + 20);
    const short height = separator ? 8 : static_cast<short>(H + 4);
    return SIZE{width, height};
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HookState& h = Hook();
    switch (msg) {
    case WM_DESTROY:
        UnhookWindow(h.hooked);
        // The owner still learns of its destruction: a host that quits here must quit.
        return h.subclass.CallPrevious(hwnd, msg, wParam, lParam);
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType == ODT_MENU) {
            h.request = *dis;
            DrawMenuItem(Current(), h.request);
            return 0;
        }
        break;  // the window's own owner-drawn controls
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis && mis->CtlType == ODT_MENU) {
            const auto mark = h.separators.find(mis->itemData);
            const bool separator = mark != h.separators.end() && mark->second == kTrue;
            const SIZE size = MeasureItem(Current(), h.widestText, separator);
            mis->itemWidth = static_cast<UINT>(static_cast<int>(size.cx));
            mis->itemHeight = static_cast<UINT>(static_cast<int>(size.cy));
            return 0;
        }
        break;
    }
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0) PreparePopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        return 0;
    default:
        break;
    }
    return h.subclass.CallPrevious(hwnd, msg, wParam, lParam);
}

void PreparePopup(HMENU menu) {
    HookState& h = Hook();
    cMemDC surface;
    surface.Width(::GetSystemMetrics(SM_CXSCREEN));
    surface.Height(24);
    salva::select_scope font(surface.hDC(), ItemFont());
    if (!IsMenuOwnerDrawn(menu)) MakeMenuOwnerDrawn(menu);
    h.separators.clear();
    short widest = 0;
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        const short width = MenuTextWidth(surface.hDC(), MenuString(menu, pos, MF_BYPOSITION));
        if (width > widest) widest = width;

        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
        if (::GetMenuItemInfoW(menu, pos, TRUE, &info) && h.numbered.count(info.dwItemData))
            h.separators[info.dwItemData] = (info.fType & MFT_SEPARATOR) ? kTrue : kFalse;
    }
    h.widestText = widest;
    h.titlePending = kTrue;
}

bool IsMenuOwnerDrawn(HMENU menu) {
    const auto& list = Hook().converted;
    for (HMENU m : list)
        if (m == menu) return true;
    return false;
}

void MakeMenuOwnerDrawn(HMENU menu) {
    HookState& h = Hook();
    h.counter = 0;
    if (h.converted.size() > kConvertedLimit) h.converted.clear();
    h.converted.push_back(menu);
    SetItemsOwnerDraw(menu);
}

void SetItemsOwnerDraw(HMENU menu) {
    HookState& h = Hook();
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, pos, TRUE, &info)) continue;
        h.counter = static_cast<short>(h.counter + 1);
        if (!(info.fType & MFT_OWNERDRAW)) {
            // Only the type flag changes; the item keeps its string for GetMenuString.
            MENUITEMINFOW set{sizeof(set)};
            set.fMask = MIIM_FTYPE | MIIM_DATA;
            set.fType = info.fType | MFT_OWNERDRAW;
            set.dwItemData = static_cast<ULONG_PTR>(static_cast<unsigned short>(h.counter));
            ::SetMenuItemInfoW(menu, pos, TRUE, &set);
            h.numbered.insert(set.dwItemData);
        }
        if (info.hSubMenu) {
            h.converted.push_back(info.hSubMenu);
            SetItemsOwnerDraw(info.hSubMenu);
        }
    }
}

void ClearMenuState() {
    HookState& h = Hook();
    h.separators.clear();
    h.numbered.clear();
    h.converted.clear();
    h.counter = 0;
}

}  // namespace velmora
