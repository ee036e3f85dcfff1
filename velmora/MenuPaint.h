// Paints one owner-drawn menu item in the current display style.
#pragma once
#include "Settings.h"

namespace velmora {

struct ItemFlags {
    bool radio = false;
    bool disabled = false;
    bool checked = false;
    bool separator = false;
};

// The shortcut text ends this far in from the item's right edge.
constexpr int kShortcutMargin = 20;
// The font item texts are painted in, and so measured in.
HGDIOBJ ItemFont();

ItemFlags ReadItemFlags(HMENU menu, UINT id);
std::wstring GetItemCaption(const std::wstring& text);
std::wstring GetItemShortcut(const std::wstring& text);

void DrawMenuItem(Settings& s, const DRAWITEMSTRUCT& request);
bool DrawSeparator(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle170(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle187(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle204(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);

}  // namespace velmora
