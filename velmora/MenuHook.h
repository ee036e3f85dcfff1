// Takes over the menu messages of the owner window: popups are made owner-drawn and measured
// when they open, and their items are handed to the painter.
#pragma once
#include "Settings.h"
#include "services/WindowSubclass.h"
#include <map>
#include <set>
#include <vector>

namespace velmora {

struct HookState {
    HWND hooked = nullptr;
    salva::WindowSubclass subclass;
    DRAWITEMSTRUCT request{};
    short widestText = 0;
    short titlePending = kFalse;
    // Separator marks by item number, only for the numbers this library gave out.
    std::map<ULONG_PTR, short> separators;
    std::set<ULONG_PTR> numbered;
    std::vector<HMENU> converted;
    short counter = 0;
};

HookState& Hook();

// Replaces the window procedure of hWnd; a window served before is handed its own back.
void HookWindow(HWND hwnd);
// Takes the hook off, if hWnd is the hooked window.
void UnhookWindow(HWND hwnd);
LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void PreparePopup(HMENU menu);
bool IsMenuOwnerDrawn(HMENU menu);
void MakeMenuOwnerDrawn(HMENU menu);
void SetItemsOwnerDraw(HMENU menu);

// Width of an item's string (caption, Tab, shortcut) in the item font selected into `dc`, plus
// 2: a shortcut adds one full tab stop before it and the margin it keeps from the right edge,
// so caption and shortcut stand apart whatever the caption's width.
short MenuTextWidth(HDC dc, const std::wstring& text);

// Width and height of one item, from the widest text of the popup prepared last.
SIZE MeasureItem(const Settings& s, short widestText, bool separator);

// Forgets the converted popups and separator marks.
void ClearMenuState();

}  // namespace velmora
