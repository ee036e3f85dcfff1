#include "inspect/mResShowResource.h"

#include "inspect/AviClipCheck.h"
#include "inspect/mResGetResource.h"
#include "inspect/mResMain.h"
#include "inspect/ResourceTemplates.h"
#include "services/WindowText.h"
#include "services/Text.h"
#include "services/mDoEvents.h"
#include <olectl.h>
#include <algorithm>
#include <sstream>

namespace salva {

namespace {

// Written as the box's whole text, which the box's typing limit does not cut.
void AppendText(HWND box, const std::wstring& text) {
    ::SetWindowTextW(box, (WindowTextOf(box) + text).c_str());
}

bool WriteBytes(const std::wstring& path, const ResourceBytes& bytes) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

}  // namespace

std::wstring PictureTypeLabel(short type) {
    switch (type) {
    case PICTYPE_BITMAP: return L"Bitmap (*.bmp)";
    case PICTYPE_METAFILE: return L"Metafile (*.wmf)";
    case PICTYPE_ICON: return L"Icon/cursor (*.ico/*.cur)";
    case PICTYPE_ENHMETAFILE: return L"Enh Metafile (*.emf)";
    default: return L"None";
    }
}

SIZE PictureSizePixels(IPicture* picture) {
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX), dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return SIZE{::MulDiv(w, dpiX, 2540), ::MulDiv(h, dpiY, 2540)};
}

void RenderPictureAt(IPicture* picture, HDC dc, int x, int y) {
    const SIZE px = PictureSizePixels(picture);
    RenderPictureIn(picture, dc, x, y, px.cx, px.cy);
}

void RenderPictureIn(IPicture* picture, HDC dc, int x, int y, int width, int height) {
    OLE_XSIZE_HIMETRIC hmW = 0;
    OLE_YSIZE_HIMETRIC hmH = 0;
    picture->get_Width(&hmW);
    picture->get_Height(&hmH);
    // A picture drawn smaller loses whole rows and columns. The context's own mode (black on
    // white) would AND each lost row into its neighbour instead, which draws dark lines across
    // an icon or bitmap wherever neighbouring rows differ (most visibly across gradients).
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    picture->Render(dc, x, y, width, height, 0, hmH, hmW, -hmH, nullptr);
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
}

bool ShowAviResource(const std::wstring& name, ResourcePanel& panel) {
    CloseResourceVideo();
    const std::wstring& temp = ResourceBrowser().ResourceTempFile;
    // The clip is copied out whole and its chunks checked before the media stack reads it.
    const ResourceBytes clip = GetResourceBytes(L"AVI", name);
    if (temp.empty() || clip.size() != GetResourceSize(L"AVI", name) || !CheckAviClip(clip)) return false;
    if (!WriteBytes(temp, clip)) return false;
    const std::wstring open = L"open \"" + temp + L"\" Type avivideo Alias video parent " +
                              std::to_wstring(reinterpret_cast<ULONG_PTR>(panel.Window())) + L" Style child";
    if (SendResourceMci(open) != 0) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    wchar_t reply[128] = {};
    SendResourceMci(L"Where video destination", reply, 127);
    reply[127] = L'\0';
    std::wistringstream words(reply);
    long left = 0, top = 0, width = 0, height = 0;
    words >> left >> top >> width >> height;
    panel.Print(L"VideoSize[Width*Height]: " + std::to_wstring(width) + L"\u00D7" + std::to_wstring(height) +
                L" pixels");
    const long x = (panel.InnerWidth() - width) / 2, y = (panel.InnerHeight() - height) / 2;
    SendResourceMci(L"put video window at " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" " +
                    std::to_wstring(width) + L" " + std::to_wstring(height));
    SendResourceMci(L"play video repeat");
    mDoEvents::PumpMessages();
    return true;
}

bool ShowDialogResource(const std::wstring& name, ResourcePanel& panel) {
    ResourceBrowserState& s = ResourceBrowser();
    // The system creates the dialog from a template written here from the one read, and under
    // the program's own module, so that it looks nothing up in the file.
    const ResourceBytes bytes = GetResourceBytes(L"5", name);
    std::optional<readers::DialogTemplate> shown = readers::ReadDialogTemplate(bytes.data(), bytes.size());
    if (shown) shown = readers::PreviewDialogTemplate(std::move(*shown));
    if (!shown) return false;
    const std::vector<uint32_t> words = readers::WriteDialogTemplate(*shown);
    s.PreviewDialogHandle = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                         reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                                         panel.Window(), nullptr, 0);
    HWND dialog = s.PreviewDialogHandle;
    if (!dialog) return false;
    RECT rc{};
    ::GetWindowRect(dialog, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (::GetParent(dialog) != panel.Window()) {
        POINT corner{0, 0};
        ::ClientToScreen(panel.Window(), &corner);
        ::MoveWindow(dialog, corner.x, corner.y, w, h, TRUE);
    } else {
        ::MoveWindow(dialog, 0, 0, w, h, TRUE);
        ::MoveWindow(panel.Window(), 0, 0, w, h + 24, TRUE);
    }
    ::ShowWindow(dialog, SW_SHOWNORMAL);
    return true;
}

RECT PicturePlace(SIZE picture, SIZE panel, int captionBottom) {
    const LONG w = std::max<LONG>(1, picture.cx), h = std::max<LONG>(1, picture.cy);
    const LONG x = (panel.cx - w) / 2, y = (panel.cy - h) / 2;
    if (x >= 0 && y >= captionBottom && y + h <= panel.cy) return RECT{x, y, x + w, y + h};
    const LONG roomTop = std::max(0, captionBottom), roomH = panel.cy - roomTop;
    if (panel.cx <= 0 || roomH <= 0) return RECT{};
    const double scale = std::min({1.0, panel.cx / static_cast<double>(w), roomH / static_cast<double>(h)});
    const LONG sw = std::max<LONG>(1, static_cast<LONG>(w * scale)), sh = std::max<LONG>(1, static_cast<LONG>(h * scale));
    const LONG left = (panel.cx - sw) / 2, top = roomTop + (roomH - sh) / 2;
    return RECT{left, top, left + sw, top + sh};
}

bool ShowPictureResource(IPicture* picture, ResourcePanel& panel, const std::wstring& captionAfter) {
    if (!picture) return false;
    const SIZE px = PictureSizePixels(picture);
    short type = PICTYPE_NONE;
    picture->get_Type(&type);
    const std::wstring typeLine = L"ImageType: " + PictureTypeLabel(type);
    const std::wstring sizeLine =
        L"ImageSize[Width*Height]: " + std::to_wstring(px.cx) + L"\u00D7" + std::to_wstring(px.cy) + L" pixels\r\n";
    // Every caption line as drawn, long ones wrapped, comes above the picture.
    int captionLines = panel.DrawnLines(typeLine) + panel.DrawnLines(sizeLine);
    if (!captionAfter.empty()) captionLines += panel.DrawnLines(captionAfter);
    const RECT place = PicturePlace(px, SIZE{panel.InnerWidth(), panel.InnerHeight()},
                                    panel.PrintTop() + captionLines * panel.LineHeight());
    HDC dc = panel.Box().dc();
    if (dc && place.right > place.left)
        RenderPictureIn(picture, dc, place.left, place.top, place.right - place.left, place.bottom - place.top);
    panel.Print(typeLine);
    panel.Print(sizeLine);
    return true;
}

bool ShowTextResource(const std::wstring& text, HWND textBox) {
    if (text.empty()) return false;
    const size_t n = ToCodePage(CP_ACP, text).size();
    if (n > kTextBoxLargeLimit) {
        AppendText(textBox, L"Length of current text is:" + std::to_wstring(n) +
                                L"\r\nThis text is too long\r\nSave it as file and view with notepad \r\n");
        return false;
    }
    if (n > kTextBoxDefaultLimit) ::SendMessageW(textBox, EM_LIMITTEXT, kTextBoxLargeLimit, 0);
    AppendText(textBox, text);
    return true;
}

}  // namespace salva
