// Geometry worked by hand: the tab header's layout, the page's edges, the docking corners
// and the tracker's states.
#include "controls/page_edges.h"
#include "controls/tab_layout.h"
#include "docking/dock_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using controls::Line;
using controls::Rect;
constexpr auto kHi = controls::SysColour::ButtonHighlight;
constexpr auto kShadow = controls::SysColour::ButtonShadow;
constexpr auto kDark = controls::SysColour::DarkShadow3D;

Line L(float x1, float y1, float x2, float y2, controls::SysColour c = kHi) {
    return {{x1, y1}, {x2, y2}, c, true};
}

TEST(TabLayout, WorkedExampleWithTheMiddleTabSelected) {
    const auto t = controls::LayoutTabs({600, 750, 900}, 1, 6015);
    ASSERT_EQ(t.tabs.size(), 3u);
    EXPECT_EQ(t.tabs[0].caption, (Rect{30, 120, 600, 195}));
    EXPECT_EQ(t.tabs[0].left, L(0, 60, 0, 360));
    EXPECT_EQ(t.tabs[0].top, L(0, 60, 690, 60));
    EXPECT_EQ(t.tabs[0].right, L(690, 60, 690, 360, kDark));
    EXPECT_EQ(t.tabs[1].caption, (Rect{735, 60, 750, 195}));
    EXPECT_EQ(t.tabs[1].left, L(705, 0, 705, 360));
    EXPECT_EQ(t.tabs[1].top, L(705, 0, 1545, 0));
    EXPECT_EQ(t.tabs[1].right, L(1545, 0, 1905, 360, kShadow));
    EXPECT_EQ(t.tabs[2].caption, (Rect{1950, 120, 900, 195}));
    EXPECT_FALSE(t.tabs[2].left.visible);
    EXPECT_EQ(t.tabs[2].top, L(1620, 60, 2910, 60));
    EXPECT_EQ(t.tabs[2].right, L(2910, 60, 2910, 360, kDark));
    EXPECT_EQ(t.borderLeft, L(0, 360, 705, 360));
    EXPECT_EQ(t.borderRight, L(1905, 360, 6015, 360));
    // Earlier tabs' lines cover later ones'; the baseline lies above every edge.
    const auto lines = t.LinesInPaintOrder();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], t.tabs[2].left);
    EXPECT_EQ(lines[5], t.tabs[1].right);
    EXPECT_EQ(lines[8], t.tabs[0].right);
    EXPECT_EQ(lines[10], t.borderRight);
    // Only a caption's rectangle is a click area.
    const struct {
        float x, y;
        int32_t tab;
    } hits[] = {{30, 120, 0},   {629, 314, 0},  {630, 120, -1}, {29, 120, -1},
                {30, 119, -1},  {30, 315, -1},  {735, 60, 1},   {1484, 254, 1},
                {700, 200, -1}, {1950, 120, 2}, {1600, 60, -1}, {3000, 200, -1}};
    for (const auto& h : hits)
        EXPECT_EQ(t.HitTest({h.x, h.y}), h.tab) << h.x << ", " << h.y;
}

TEST(TabLayout, OtherSelectionsAndWidths) {
    // The first tab selected: the left baseline has no length.
    auto t = controls::LayoutTabs({600, 750}, 0, 6015);
    EXPECT_EQ(t.borderLeft, L(0, 360, 0, 360));
    EXPECT_EQ(t.borderRight, L(1050, 360, 6015, 360));
    EXPECT_EQ(t.tabs[1].top, L(765, 60, 1905, 60));
    // A selection outside the tabs raises none and closes the baseline.
    for (int32_t selected : {7, -1, 5}) {
        t = controls::LayoutTabs({600, 750, 900, 500, 650}, selected, 6015);
        for (const auto& tab : t.tabs) {
            EXPECT_EQ(tab.caption.top, 120) << selected;
            EXPECT_EQ(tab.right.colour, kDark) << selected;
            EXPECT_TRUE(tab.left.visible) << selected;
        }
        EXPECT_FALSE(t.borderLeft.visible);
        EXPECT_EQ(t.borderRight, L(0, 360, 6015, 360));
    }
    t = controls::LayoutTabs({}, 0, 4800);
    EXPECT_FALSE(t.borderLeft.visible);
    EXPECT_EQ(t.borderRight, L(0, 360, 4800, 360));
    // Too narrow: the right segment runs leftwards from the slant's foot.
    t = controls::LayoutTabs({600, 750, 900}, 2, 1000);
    EXPECT_EQ(t.borderRight, L(2910, 360, 1000, 360));
}

TEST(PageEdges, OnTheFirstColumnAndTheLastRowAndColumn) {
    const auto at96 = controls::PageEdges(6015, 555, 15, 15);
    EXPECT_EQ(at96[0], L(0, 0, 0, 555));
    EXPECT_EQ(at96[1], L(0, 540, 6015, 540, kDark));
    EXPECT_EQ(at96[2], L(6000, 0, 6000, 555, kDark));
    const auto at120 = controls::PageEdges(6012, 552, 12, 12);
    EXPECT_EQ(at120[1], L(0, 540, 6012, 540, kDark));
    EXPECT_EQ(at120[2], L(6000, 0, 6000, 552, kDark));
}

// Where a window appears at the dpi of its monitor, with that dpi's frame: a dialog at 96
// dpi over the main window, at 192 dpi on a second monitor, at 144 dpi on a monitor left
// of the primary one; the main window at 120 dpi on the screen.
TEST(Placement, CentredOverItsOwnerFramedForItsDpiInsideItsMonitor) {
    const auto text = [](controls::PixelRect r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    };
    // clang-format off
    const struct {
        float width, height;
        int dpi;
        controls::FrameInsets frame;
        controls::PixelRect over, work;
        const char* placed;
    } rows[] = {
        {4065, 3885, 96, {3, 22, 3, 3}, {100, 100, 509, 192}, {0, 0, 1280, 1024}, "166,4,443,288"},
        {4065, 3885, 192, {6, 44, 6, 6}, {4200, 50, 4470, 260}, {1920, 0, 4480, 1400}, "3926,0,4480,568"},
        {4065, 3885, 144, {4, 33, 4, 4}, {-500, 800, -100, 900}, {-1600, 0, 0, 900}, "-507,474,-92,900"},
        {6045, 945, 120, {3, 26, 3, 3}, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, "385,458,895,566"}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(text(controls::PlaceCentred(r.width, r.height, r.dpi, r.frame, r.over, r.work)),
                  r.placed)
            << r.dpi << " dpi";
}

// The docked window's outer top-left pixel for a 409 x 92 window beside an editor at
// (100, 200)-(1300, 900), worked by hand from the pixel formulas.
TEST(Docking, EachCornerAtEveryDensity) {
    const docking::PixelRect editor{100, 200, 1300, 900}, own{5, 5, 414, 97};
    // clang-format off
    const struct {
        int16_t corner;
        int32_t ox, oy, left, top;
    } rows[] = {
        {0, 0, 22, 100, 222}, {1, 0, 22, 891, 222}, {2, 0, 22, 100, 786}, {3, 0, 22, 891, 786},
        {0, -3, -5, 97, 195}, {1, -3, -5, 894, 195}, {2, 7, -5, 107, 813}, {3, -3, 40, 894, 768},
        {3, 0, 0, 891, 808}, {0, 2147483647, -2147483647 - 1, 32767, -32768}}; // held to 16 bits
    // clang-format on
    for (int dpi : {96, 120, 144})
        for (const auto& r : rows) {
            settings::Settings s;
            std::tie(s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY) =
                std::tie(r.corner, r.ox, r.oy);
            const auto d =
                docking::DecideTick(s, true, editor, own, controls::LayoutScale::ForDpi(dpi, dpi));
            EXPECT_EQ(std::to_string(d.left) + "," + std::to_string(d.top),
                      std::to_string(r.left) + "," + std::to_string(r.top))
                << r.corner << " at " << dpi << " dpi";
        }
}

TEST(Docking, TrackerStates) {
    using docking::TickAction;
    // Found, docking, auto-close, seen before, corner: what the tick does.
    // clang-format off
    const struct {
        bool found, dock, autoClose, seen;
        int16_t corner;
        TickAction action;
    } rows[] = {
        {true, true, true, false, 1, TickAction::Dock}, {true, false, true, false, 1, TickAction::None},
        {true, true, true, false, 7, TickAction::None}, {true, true, true, false, -1, TickAction::None},
        {true, true, true, false, 4, TickAction::None}, {false, true, true, false, 1, TickAction::None},
        {false, true, true, true, 1, TickAction::Unload}, {false, false, true, true, 1, TickAction::Unload},
        {false, true, false, true, 1, TickAction::None}};
    // clang-format on
    for (const auto& r : rows) {
        settings::Settings s;
        std::tie(s.bDockEnabled, s.bAutoClose, s.bEditorSeen, s.iDockCorner) =
            std::tie(r.dock, r.autoClose, r.seen, r.corner);
        const auto d = docking::DecideTick(s, r.found, {100, 100, 900, 700}, {0, 0, 409, 92}, {});
        EXPECT_EQ(d.action, r.action) << r.found << r.dock << r.autoClose << r.seen << r.corner;
        EXPECT_EQ(d.editorSeen, r.found || r.seen);
    }
}

} // namespace
