#include "copier/FrmCopyTitleBar.h"
#include <cmath>

namespace salva {

TitleBarArea TitleBarAreaAt(int x, int w) {
    if (x > 0 && x < 18) return TitleBarArea::WindowIcon;
    if (x > w - 18 && x < w) return TitleBarArea::Close;
    if (x > w - 36 && x < w - 18) return TitleBarArea::Tray;
    if (x > w - 54 && x < w - 36) return TitleBarArea::Stop;
    if (x > w - 72 && x < w - 54) return TitleBarArea::Play;
    return TitleBarArea::None;
}

bool TitleBarDragsAt(int x, int w) { return x > 18 && x < w - 76; }

bool TitleBarMenuAt(int x, int w) { return x > 0 && x < w - 108; }

PreviewLook PreviewLookFor(bool listHasItems, bool textNamesFile, bool previewOn, bool previewLoaded,
                           bool previewPlaying) {
    if (!listHasItems || !textNamesFile || !previewOn || !previewLoaded) return PreviewLook::Gray;
    return previewPlaying ? PreviewLook::Playing : PreviewLook::Usable;
}

PreviewPress StopPressed(bool previewOn, bool previewLoaded, bool previewPlaying) {
    PreviewPress p;
    p.loaded = previewLoaded;
    p.playing = previewPlaying;
    if (previewOn && previewLoaded) {
        p.loaded = false;
        p.playing = false;
        p.callStop = true;
    } else {
        p.beep = true;
    }
    return p;
}

PreviewPress PlayPressed(bool previewOn, bool previewLoaded, bool previewPlaying) {
    PreviewPress p;
    p.loaded = previewLoaded;
    p.playing = previewPlaying;
    if (previewOn && previewLoaded && !previewPlaying) {
        p.playing = true;
        p.callStart = true;
    } else {
        p.beep = true;
    }
    return p;
}

int SideBarTextX(double width, double textWidth) {
    // Rounds half to even.
    const long whole = std::lrint(width - textWidth - 8);
    return static_cast<int>(whole / 2);
}

}  // namespace salva
