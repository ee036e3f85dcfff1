// Drawing routines of the program's own look (drawn title bars, caption buttons, 3D frames,
// gradient bands, shell icons, rotated text) and a few window services the windows share.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace mT3D {

// Colours are 0x00BBGGRR values; one with the high bit set (0x800000nn) names system colour nn.
COLORREF TranslateOleColor(uint32_t colour);

void SetWindowTopMost(HWND window, bool topMost);
void SleepMs(uint32_t milliseconds);

// Clears the picture control and draws the shell's icon of `path` at (0, 0); size 32 gives the
// large icon, any other size the small one.
void DrawShellIcon(HWND picture, const std::wstring& path, int size);
// The same on a device context, without clearing; false when the shell does not know the path.
bool DrawShellIconOn(HDC dc, const std::wstring& path, int size);
// SHGFI flags asked of the shell for an icon size.
UINT ShellIconFlags(int size);

// Frame styles of DrawControlFrame3D.
enum Frame3DStyle { Frame3DRaised = 0, Frame3DSunken = 1, Frame3DFlat = 2 };
// The light and dark shades of a frame around a control of background `back`.
struct FrameShades {
    COLORREF light;
    COLORREF dark;
};
FrameShades FrameShadesFor(COLORREF back, int style);
// Draws the frame on the container around the control, `distance` pixels outside it.
// `controlBack` is the control's background colour (a system colour reference is allowed).
void DrawControlFrame3D(HWND container, HWND control, int distance, int style,
                        uint32_t controlBack = 0x80000000u | COLOR_BTNFACE);
// The same on a device context around the rectangle (left, top, width, height).
void DrawFrame3D(HDC dc, int left, int top, int width, int height, int distance, int style,
                 uint32_t controlBack);

void SetParentAndMove(HWND child, HWND newParent, int x, int y, int width, int height);
// Starts the system's move loop as if the window's caption had been pressed.
void DragWindow(HWND window);
// The top-left corner that centres a window of `size` over the rectangle `over`, shifted the
// least that keeps it inside `work` (a window larger than `work` keeps its top-left inside).
POINT CentredOver(const RECT& over, SIZE size, const RECT& work);
// Moves the window centred over the window `over`, inside the work area of `over`'s monitor.
void CentreOverWindow(HWND window, HWND over);

// DrawFrameControl states for a caption button kind (0 max, 1 min, 2 restore, 3 close,
// 4 help, anything else close) and for a push-button face.
UINT CaptionButtonState(int kind, bool pressed);
UINT PushButtonState(bool pressed);
void DrawCaptionButton(HDC dc, int x, int y, int width, int height, int kind, bool pressed);
void DrawPushButtonFrame(HDC dc, int x, int y, int width, int height, bool pressed);

// One solid band of GradientFillRect.
struct GradientBand {
    RECT rect;
    COLORREF colour;
};
// The bands that fill (left, top, right, bottom), from the right (or bottom) edge toward the
// left (or top) edge, starting with `startColour` and moving toward `endColour`.
std::vector<GradientBand> GradientBands(int left, int top, int right, int bottom, COLORREF endColour,
                                        COLORREF startColour, bool vertical);
void GradientFillRect(HDC dc, int left, int top, int right, int bottom, uint32_t endColour,
                      uint32_t startColour, bool vertical);

// Writes `text` at (x, y) in a font made for the call; escapement in tenths of a degree.
void DrawRotatedText(HDC dc, const std::wstring& text, int height, int escapement, int weight,
                     bool italic, bool underline, bool strikeOut, const std::wstring& faceName, int x,
                     int y, uint32_t colour);
void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height);
// One line, clipped to the rectangle with an ellipsis.
void DrawTextInRect(HDC dc, const std::wstring& text, int left, int top, int right, int bottom);
COLORREF GetSystemColor(int index);

// The caption animation from the window's corner to the screen's bottom-right corner; the
// caller hides the window afterwards.
void AnimateToTray(HWND window);

// Face names of the screen's installed fonts.
std::vector<std::wstring> InstalledScreenFonts();
// True when `name` is in `fonts`, compared without regard to case.
bool FontExistsIn(const std::vector<std::wstring>& fonts, const std::wstring& name);
bool FontExists(const std::wstring& name);

// The window font: "宋体" 9 pt when installed, else "MS Sans Serif" 8 pt.
struct WindowFontChoice {
    std::wstring face;
    int points;
};
WindowFontChoice ChooseWindowFont(bool songTiInstalled);
WindowFontChoice WindowFontRule();
// The process-wide font of that rule, created on first use and kept until the program ends.
HFONT WindowFont();
// Gives the window and every control inside it the window font.
void ApplyWindowFontRule(HWND window);

// An XOR focus rectangle round the window's whole area; a second call erases it.
void DrawWindowFocusRect(HWND window);
// The same on a device context over (0, 0, width, height).
void DrawFocusRectOver(HDC dc, int width, int height);

}  // namespace mT3D
