// The main window's file list drawn its own way: every drop-down item with the file's shell
// icon and its path, the highlighted one on a band that runs from the inactive-caption
// gradient colour at both ends to the highlight colour in the middle, the others pale yellow;
// a tip that is a usage hint over the list's left quarter and the current file's full path
// elsewhere; and the file menu on a right-button press.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace salva::mSubClassImageCombo {

// The usage hint shown over the left quarter of the list.
extern const wchar_t kHint[];
// The background of the items that are not highlighted.
constexpr COLORREF kItemColour = RGB(245, 246, 200);
// Longest item text drawn; a longer path is cut.
constexpr size_t kItemTextMax = 255;

// Takes over the image combo's window procedure; `showFileMenu` opens the main window's file
// menu. False when the list is subclassed already or cannot be.
bool SubclassImageCombo(HWND combo, std::function<void()> showFileMenu);
// Gives the list its own procedure back and removes the tips.
void UnsubclassImageCombo(HWND combo);

// The text item `index` of the image combo is drawn with: at most kItemTextMax characters, cut
// at its first NUL; "" outside the list.
std::wstring ItemDrawText(HWND combo, int index);
// True when the cursor stands right of the first quarter of the list's width (the whole
// window rectangle, screen coordinates): the tip then shows the current file.
bool TipShowsPath(const RECT& comboRect, POINT cursor);
// The text of the list's tip, "" while not subclassed.
std::wstring TipText();

}  // namespace salva::mSubClassImageCombo
