#include "docking/dock_placement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using docking::DecideTick;
using docking::PixelRect;
using docking::TickAction;
using docking::UnitsPerPixel;

// The docked window's top-left pixel, the way the shell moves it.
struct Pixel {
    int32_t x, y;
    bool operator==(const Pixel&) const = default;
};

Pixel DockedAt(const PixelRect& editor, int16_t corner, int32_t ox, int32_t oy, int w, int h,
               float unitsPerPixel) {
    docking::DockPoint p;
    const UnitsPerPixel units{unitsPerPixel, unitsPerPixel};
    EXPECT_TRUE(docking::PlaceInCorner(editor, corner, ox, oy, w * unitsPerPixel, h * unitsPerPixel,
                                       units, p));
    return {docking::LayoutToPixel(p.left, unitsPerPixel),
            docking::LayoutToPixel(p.top, unitsPerPixel)};
}

TEST(PlaceInCorner, EachCornerMatchesThePixelFormulas) {
    const PixelRect e{100, 200, 1300, 900};
    const int w = 409, h = 92; // the main window's outer size in pixels
    const struct {
        int16_t corner;
        int32_t ox, oy;
    } cases[] = {{0, 0, 22},  {1, 0, 22},  {2, 0, 22}, {3, 0, 22},  {0, 0, 0}, {3, 0, 0},
                 {0, -3, -5}, {1, -3, -5}, {2, 7, -5}, {3, -3, 40}, {3, 0, 22}};
    for (float units : {15.0f, 12.0f, 10.0f}) {
        for (const auto& c : cases) {
            const bool left = c.corner == 0 || c.corner == 2;
            const bool top = c.corner == 0 || c.corner == 1;
            const Pixel expected{left ? e.left + c.ox : e.right - c.ox - w,
                                 top ? e.top + c.oy : e.bottom - c.oy - h};
            EXPECT_EQ(DockedAt(e, c.corner, c.ox, c.oy, w, h, units), expected)
                << "corner " << c.corner << " offsets " << c.ox << "," << c.oy << " at " << units
                << " units per pixel";
        }
    }
}

TEST(PlaceInCorner, CornerOutsideZeroToThreeIsNotPlaced) {
    docking::DockPoint p{1, 2};
    for (int16_t corner : {-1, 4, 7, 32767})
        EXPECT_FALSE(docking::PlaceInCorner({0, 0, 100, 100}, corner, 0, 0, 10, 10, {}, p));
    EXPECT_EQ(p, (docking::DockPoint{1, 2}));
}

TEST(PlaceInCorner, ExtremeOffsetsClampInsteadOfOverflowing) {
    const PixelRect e{0, 0, 800, 600};
    docking::DockPoint p;
    ASSERT_TRUE(docking::PlaceInCorner(e, 0, 2147483647, -2147483647 - 1, 0, 0, {}, p));
    EXPECT_EQ(docking::LayoutToPixel(p.left, 15), 32767);
    EXPECT_EQ(docking::LayoutToPixel(p.top, 15), -32768);
    EXPECT_EQ(docking::LayoutToPixel(NAN, 15), 0);
    EXPECT_EQ(docking::LayoutToPixel(HUGE_VAL, 15), 32767);
}

TEST(DecideTick, TrackerStates) {
    const PixelRect e{100, 100, 900, 700};
    settings::Settings s; // docking on, corner 1, auto-close on
    const struct {
        const char* name;
        bool found, dock, autoClose, seen;
        int16_t corner;
        TickAction action;
        bool seenAfter;
    } cases[] = {
        {"waiting, editor appears", true, true, true, false, 1, TickAction::Dock, true},
        {"tracking", true, true, true, true, 1, TickAction::Dock, true},
        {"docking off still tracks", true, false, true, false, 1, TickAction::None, true},
        {"corner 7 never moves", true, true, true, false, 7, TickAction::None, true},
        {"never seen, no editor", false, true, true, false, 1, TickAction::None, false},
        {"seen, gone, auto-close", false, true, true, true, 1, TickAction::Unload, true},
        {"seen, gone, docking off", false, false, true, true, 1, TickAction::Unload, true},
        {"seen, gone, no auto-close", false, true, false, true, 1, TickAction::None, true},
    };
    for (const auto& c : cases) {
        s.bDockEnabled = c.dock;
        s.bAutoClose = c.autoClose;
        s.bEditorSeen = c.seen;
        s.iDockCorner = c.corner;
        const auto d = DecideTick(c.found, e, s, 6135, 1380, {});
        EXPECT_EQ(d.action, c.action) << c.name;
        EXPECT_EQ(d.editorSeen, c.seenAfter) << c.name;
    }
}

TEST(DecideTick, DefaultsDockFlushRightAndTwentyTwoPixelsDown) {
    const auto d =
        DecideTick(true, {100, 100, 900, 700}, settings::kDefaultSettings, 6135, 1380, {});
    ASSERT_EQ(d.action, TickAction::Dock);
    EXPECT_EQ(docking::LayoutToPixel(d.where.left, 15), 900 - 409);
    EXPECT_EQ(docking::LayoutToPixel(d.where.top, 15), 122);
}

} // namespace
