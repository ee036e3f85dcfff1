// The title bar's hit areas, drag and menu bounds, the preview button table and the side bar's
// text position, at and around every bound.
#include "copier/FrmCopyTitleBar.h"
#include <gtest/gtest.h>

using namespace salva;

namespace {

const char* Name(TitleBarArea a) {
    switch (a) {
    case TitleBarArea::None: return "None";
    case TitleBarArea::WindowIcon: return "WindowIcon";
    case TitleBarArea::Close: return "Close";
    case TitleBarArea::Tray: return "Tray";
    case TitleBarArea::Stop: return "Stop";
    case TitleBarArea::Play: return "Play";
    }
    return "?";
}

}  // namespace

TEST(TitleBarArea, EveryBoundIsExclusive) {
    const int w = 495;
    struct Case {
        int x;
        TitleBarArea want;
    } cases[] = {
        {-1, TitleBarArea::None},     {0, TitleBarArea::None},         {1, TitleBarArea::WindowIcon},
        {17, TitleBarArea::WindowIcon}, {18, TitleBarArea::None},       {200, TitleBarArea::None},
        {w - 72, TitleBarArea::None}, {w - 71, TitleBarArea::Play},    {w - 55, TitleBarArea::Play},
        {w - 54, TitleBarArea::None}, {w - 53, TitleBarArea::Stop},    {w - 37, TitleBarArea::Stop},
        {w - 36, TitleBarArea::None}, {w - 35, TitleBarArea::Tray},    {w - 19, TitleBarArea::Tray},
        {w - 18, TitleBarArea::None}, {w - 17, TitleBarArea::Close},   {w - 1, TitleBarArea::Close},
        {w, TitleBarArea::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Name(c.want), std::string(Name(TitleBarAreaAt(c.x, w)))) << "x = " << c.x << " of " << w;
}

TEST(TitleBarArea, DragAndMenuBounds) {
    const int w = 495;
    EXPECT_FALSE(TitleBarDragsAt(18, w));
    EXPECT_TRUE(TitleBarDragsAt(19, w));
    EXPECT_TRUE(TitleBarDragsAt(w - 77, w));
    EXPECT_FALSE(TitleBarDragsAt(w - 76, w));
    EXPECT_FALSE(TitleBarDragsAt(w - 10, w)) << "over the close button";

    EXPECT_FALSE(TitleBarMenuAt(0, w));
    EXPECT_TRUE(TitleBarMenuAt(1, w));
    EXPECT_TRUE(TitleBarMenuAt(30, w)) << "on the caption text";
    EXPECT_TRUE(TitleBarMenuAt(w - 109, w));
    EXPECT_FALSE(TitleBarMenuAt(w - 108, w));
    EXPECT_FALSE(TitleBarMenuAt(w - 60, w)) << "over the stop button";
}

TEST(PreviewButtons, FirstMatchingRowDecides) {
    struct Case {
        bool items, file, on, loaded, playing;
        PreviewLook want;
        const char* what;
    } cases[] = {
        {false, true, true, true, true, PreviewLook::Gray, "empty list, fields still set"},
        {true, false, true, true, true, PreviewLook::Gray, "text names no file"},
        {true, true, false, true, true, PreviewLook::Gray, "preview option off"},
        {true, true, true, false, true, PreviewLook::Gray, "nothing loaded"},
        {true, true, true, true, false, PreviewLook::Usable, "loaded, not playing"},
        {true, true, true, true, true, PreviewLook::Playing, "playing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<int>(c.want),
                  static_cast<int>(PreviewLookFor(c.items, c.file, c.on, c.loaded, c.playing)))
            << c.what;
}

TEST(PreviewButtons, StopAndPlayPresses) {
    PreviewPress p = StopPressed(true, true, true);
    EXPECT_FALSE(p.beep);
    EXPECT_TRUE(p.callStop);
    EXPECT_FALSE(p.loaded);
    EXPECT_FALSE(p.playing);

    p = StopPressed(true, true, false);
    EXPECT_TRUE(p.callStop) << "stop is taken while loaded but not playing";
    EXPECT_FALSE(p.loaded);

    p = StopPressed(false, true, true);
    EXPECT_TRUE(p.beep) << "option off";
    EXPECT_FALSE(p.callStop);
    EXPECT_TRUE(p.loaded) << "unchanged";
    EXPECT_TRUE(p.playing) << "unchanged";

    p = PlayPressed(true, true, false);
    EXPECT_FALSE(p.beep);
    EXPECT_TRUE(p.callStart);
    EXPECT_TRUE(p.playing);
    EXPECT_TRUE(p.loaded);

    for (auto [on, loaded, playing] : {std::tuple{false, true, false}, std::tuple{true, false, false},
                                       std::tuple{true, true, true}}) {
        p = PlayPressed(on, loaded, playing);
        EXPECT_TRUE(p.beep) << on << loaded << playing;
        EXPECT_FALSE(p.callStart) << on << loaded << playing;
        EXPECT_EQ(loaded, p.loaded);
        EXPECT_EQ(playing, p.playing);
    }
}

TEST(SideBar, TextPositionRoundsThenHalvesTowardZero) {
    EXPECT_EQ(0, SideBarTextX(20, 12));
    EXPECT_EQ(2, SideBarTextX(20, 7));     // 5 / 2
    EXPECT_EQ(3, SideBarTextX(20, 6.5));   // 5.5 rounds to 6
    EXPECT_EQ(2, SideBarTextX(20, 7.5));   // 4.5 rounds to 4
    EXPECT_EQ(-1, SideBarTextX(20, 15));   // -3 / 2 toward zero
}
