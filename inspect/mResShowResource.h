// Showing one resource: a video playing in the panel, a live dialog over it, a picture painted
// centred with its caption lines, or text appended to the text box.
#pragma once
#include "inspect/ResourcePanel.h"
#include "services/Holders.h"
#include <ocidl.h>
#include <string>

namespace salva {

constexpr size_t kTextBoxDefaultLimit = 65534;
constexpr size_t kTextBoxLargeLimit = 1024000;

// Writes the "AVI" resource to the temporary file and plays it in a loop in the panel.
// False when the clip's chunks claim more than it holds (nothing is written), or when the
// media device will not open the file (the file is removed again).
bool ShowAviResource(const std::wstring& name, ResourcePanel& panel);
// Creates the dialog resource over the panel, inert (no procedure of ours handles it), from the
// template as the program read it and lets the system have it; False when it is refused.
bool ShowDialogResource(const std::wstring& name, ResourcePanel& panel);
// Paints the picture centred and prints its type and size; the picture is not kept.
// `captionAfter`: the lines the caller prints below those two, which the picture keeps clear of
// as well.
bool ShowPictureResource(IPicture* picture, ResourcePanel& panel, const std::wstring& captionAfter = L"");
// Where a picture of `picture` pixels goes on a panel of `panel` pixels whose caption lines end
// at y = `captionBottom`: centred on the panel where it fits there whole below the caption,
// else centred in the room below the caption, shrunk into it with its shape kept when it is
// larger. Empty when the caption leaves no room.
RECT PicturePlace(SIZE picture, SIZE panel, int captionBottom);
// Appends the text to the box, raising its limit for large texts; a text over 1,024,000 ANSI
// bytes is not shown, a notice is appended instead and the result is False.
bool ShowTextResource(const std::wstring& text, HWND textBox);

// Label of an OLE picture type.
std::wstring PictureTypeLabel(short type);
// Picture size in pixels of the screen from its HIMETRIC size.
SIZE PictureSizePixels(IPicture* picture);
// Paints the picture at its own pixel size with its top-left corner at (x, y).
void RenderPictureAt(IPicture* picture, HDC dc, int x, int y);
// The same, drawn into `width` x `height` pixels.
void RenderPictureIn(IPicture* picture, HDC dc, int x, int y, int width, int height);

}  // namespace salva
