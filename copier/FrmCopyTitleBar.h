// The main window's drawn title bar and side bar as plain rules: where a mouse position falls,
// which preview icons the bar shows, and where the side bar's text starts.
#pragma once

namespace salva {

// Areas of the title bar by the mouse position X in a bar W pixels wide. The buttons stand
// 18 pixels apart from the right edge; every bound is exclusive.
enum class TitleBarArea { None, WindowIcon, Close, Tray, Stop, Play };
TitleBarArea TitleBarAreaAt(int x, int width);

// Moving with the left button held drags the window only between the icon and the buttons.
bool TitleBarDragsAt(int x, int width);
// A right click shows the file popup menu left of the four buttons and their margin.
bool TitleBarMenuAt(int x, int width);

// The looks of the play and stop buttons.
enum class PreviewLook {
    Gray,     // both unusable
    Usable,   // play and stop usable
    Playing,  // play pressed and gray, stop usable
};
// The choice by the list's state and the three preview fields, first matching rule first.
PreviewLook PreviewLookFor(bool listHasItems, bool textNamesFile, bool previewOn, bool previewLoaded,
                           bool previewPlaying);

// What a press on the stop or play button does to the preview fields.
struct PreviewPress {
    bool beep = false;        // the state does not allow it: nothing changes
    bool callStop = false;    // the preview window stops and unloads
    bool callStart = false;   // the preview window starts playing
    bool loaded = false;      // the new values of the two fields
    bool playing = false;
};
PreviewPress StopPressed(bool previewOn, bool previewLoaded, bool previewPlaying);
PreviewPress PlayPressed(bool previewOn, bool previewLoaded, bool previewPlaying);

// Left edge of the side bar's rotated text: (W - Tw - 8) rounded to a whole number, then
// halved toward zero; Tw is the width of "W" in the window font.
int SideBarTextX(double width, double textWidth);

}  // namespace salva
