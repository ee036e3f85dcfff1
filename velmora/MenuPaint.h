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

ItemFlags ReadItemFlags(HMENU menu, UINT id);
std::wstring GetItemCaption(const std::wstring& text);
std::wstring GetItemShortcut(const std::wstring& text);

void DrawMenuItem(Settings& s, const DRAWITEMSTRUCT& request);
bool DrawSeparator(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle170(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle187(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);
void DrawItemStyle204(const Settings& s, const DRAWITEMSTRUCT& request, const ItemFlags& flags);

}  // namespace velmora
