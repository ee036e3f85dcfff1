// The library's settings. They live once per process: every cVelmora object reads and writes
// the same values, and one owner window is served at a time.
#pragma once
#include "services/Holders.h"
#include <ocidl.h>
#include <olectl.h>
#include <array>
#include <string>

namespace velmora {

// Booleans are kept as 0 and -1, the way automation hands them over; painters test for -1.
constexpr short kTrue = -1;
constexpr short kFalse = 0;

constexpr int kIconSlots = 256;  // slot 256 is never filled and stands for "no icon"

struct Settings {
    HWND owner = nullptr;
    short hasTitleBar = kTrue;
    short hasImageInTitleBar = kFalse;
    std::wstring title;
    short titleWidth = 20;
    short titleHeight = 0;
    long escapement = 900;
    COLORREF titleTextColor = 0;
    COLORREF titleStartColor = 0;
    COLORREF titleEndColor = 0;
    short titleTopToBottom = kTrue;
    short titleLeftToRight = kFalse;
    salva::com_ptr<IPicture> titleImage;
    salva::com_ptr<IPicture> titleIcon;
    std::wstring faceName;
    short fontSize = 16;
    short fontWeight = 600;
    short fontItalic = kFalse;
    short fontUnderline = kFalse;
    short fontStrike = kFalse;
    short hasIcon = kTrue;
    short iconWidth = 16;
    short iconHeight = 16;
    short iconEffect = 4;
    salva::com_ptr<IPicture> backPicture;
    short itemGradient = kFalse;
    COLORREF foreColor = 0;
    COLORREF fillColor = 0;
    COLORREF backColor = 0;
    COLORREF highlightColor = 0;
    COLORREF borderColor = 0;
    COLORREF frameColor = 0;
    COLORREF itemStartColor = 0;
    COLORREF itemEndColor = 0;
    short itemTopToBottom = kFalse;
    short itemLeftToRight = kTrue;
    short itemEffect = 2;
    short style = 170;

    // Slot k (1-based) is index k - 1; the three columns fill independently.
    std::array<std::wstring, kIconSlots> iconCaptions;
    std::array<salva::com_ptr<IPicture>, kIconSlots> iconPictures;
    std::array<COLORREF, kIconSlots> iconMasks{};
};

Settings& Current();

// Every setting back to its starting value; the owner window and the icon table stay.
void ResetDefaults(Settings& s);
// The two presets of SetMenuDisplayStyle, or only the style for any other combination.
void ApplyDisplayStyle(Settings& s, short style, bool loadPreset);
// Empties the icon table and lets go of every picture.
void ReleaseAll(Settings& s);

// Face 1 to 170 of the title face table, "" for any other index.
std::wstring GetFontNameByIndex(long index);

// Keeps the characters that are printable single-byte or double-byte in code page 936 and
// drops blanks, control characters and other single-byte codes above 126.
std::wstring NormaliseCaption(const std::wstring& caption);

// Stores one icon entry, each column in its own first free slot of 1 to 255.
void StoreMenuItemIcon(Settings& s, const std::wstring& caption, IPicture* picture, COLORREF mask);
// 1-based slot whose caption equals the normalised key without regard to case; 256 when none.
int FindIconSlot(const Settings& s, const std::wstring& captionAndShortcut);

}  // namespace velmora
