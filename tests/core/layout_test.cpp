// Geometry worked by hand: tab header, page edges, placement, docking corners, tracker states.
#include "controls/page_edges.h"
#include "controls/tab_layout.h"
#include "docking/dock_placement.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using controls::Line, controls::PixelRect, controls::Rect, docking::MainWindow;
constexpr auto kHi = controls::SysColour::ButtonHighlight;
constexpr auto kShadow = controls::SysColour::ButtonShadow;

// Lines as "x,y-x,y" and their colour (h highlight, s shadow, d dark shadow), or "hidden".
std::string Text(const auto& lines) {
    std::ostringstream text;
    for (const Line& l : lines) {
        const char* colour = l.colour == kHi ? "h " : l.colour == kShadow ? "s " : "d ";
        if (l.visible)
            text << l.from.x << ',' << l.from.y << '-' << l.to.x << ',' << l.to.y << colour;
        else
            text << "hidden ";
    }
    return text.str();
}

TEST(TabLayout, WorkedExamplesAndThePageEdges) {
    const auto t = controls::LayoutTabs({600, 750, 900}, 1, 6015);
    ASSERT_EQ(t.tabs.size(), 3u);
    EXPECT_EQ(t.tabs[0].caption, (Rect{30, 120, 600, 195}));
    EXPECT_EQ(t.tabs[1].caption, (Rect{735, 60, 750, 195}));
    EXPECT_EQ(t.tabs[2].caption, (Rect{1950, 120, 900, 195}));
    // The last tab's edges first, so that earlier tabs' lines cover them; the baseline last.
    EXPECT_EQ(Text(t.LinesInPaintOrder()),
              "hidden 1620,60-2910,60h 2910,60-2910,360d "
              "705,0-705,360h 705,0-1545,0h 1545,0-1905,360s "
              "0,60-0,360h 0,60-690,60h 690,60-690,360d 0,360-705,360h 1905,360-6015,360h ");
    // Only a caption's rectangle is a click area.
    // clang-format off
    const struct { float x, y; int32_t tab; } hits[] = {
        {30, 120, 0}, {629, 314, 0}, {630, 120, -1}, {29, 120, -1}, {30, 119, -1}, {30, 315, -1},
        {735, 60, 1}, {1484, 254, 1}, {700, 200, -1}, {1950, 120, 2}, {1600, 60, -1},
        {3000, 200, -1}};
    // clang-format on
    for (const auto& h : hits)
        EXPECT_EQ(t.HitTest({h.x, h.y}), h.tab) << h.x << ", " << h.y;
    // The first tab selected: the left baseline has no length.
    EXPECT_EQ(Text(controls::LayoutTabs({600, 750}, 0, 6015).LinesInPaintOrder()),
              "hidden 765,60-1905,60h 1905,60-1905,360d 0,0-0,360h 0,0-690,0h 690,0-1050,360s "
              "0,360-0,360h 1050,360-6015,360h ");
    // A selection outside the tabs raises none and closes the baseline.
    for (int selected : {2, -1, 7})
        EXPECT_EQ(Text(controls::LayoutTabs({600, 750}, selected, 6015).LinesInPaintOrder()),
                  "705,60-705,360h 705,60-1545,60h 1545,60-1545,360d 0,60-0,360h 0,60-690,60h "
                  "690,60-690,360d hidden 0,360-6015,360h ")
            << selected;
    EXPECT_EQ(Text(controls::LayoutTabs({}, 0, 4800).LinesInPaintOrder()),
              "hidden 0,360-4800,360h ");
    // Too narrow: the right segment runs leftwards from the slant's foot.
    EXPECT_EQ(Text(std::vector{controls::LayoutTabs({600, 750, 900}, 2, 1000).borderRight}),
              "2910,360-1000,360h ");
    // The page's edges, at 96 and 120 dpi: on the first column and the last row and column.
    EXPECT_EQ(Text(controls::PageEdges(6015, 555, 15, 15)) + "| " +
                  Text(controls::PageEdges(6012, 552, 12, 12)),
              "0,0-0,555h 0,540-6015,540d 6000,0-6000,555d | 0,0-0,552h 0,540-6012,540d "
              "6000,0-6000,552d ");
}

// Over its owner at 96 dpi, on monitors right (192) and left (144), the main window; 1 x 0 px.
TEST(Placement, CentredOverItsOwnerFramedForItsDpiInsideItsMonitor) {
    const auto edges = [](auto r) { return std::tuple(r.left, r.top, r.right, r.bottom); };
    // clang-format off
    const struct { float w, h; int dpi; controls::FrameInsets frame;
                   PixelRect over, work, placed; } rows[] = {
        {4065, 3885, 96, {3, 22, 3, 3}, {100, 100, 509, 192}, {0, 0, 1280, 1024}, {166, 4, 443, 288}},
        {4065, 3885, 192, {6, 44, 6, 6}, {4200, 50, 4470, 260}, {1920, 0, 4480, 1400}, {3926, 0, 4480, 568}},
        {4065, 3885, 144, {4, 33, 4, 4}, {-500, 800, -100, 900}, {-1600, 0, 0, 900}, {-507, 474, -92, 900}},
        {6045, 945, 120, {3, 26, 3, 3}, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, {385, 458, 895, 566}},
        {8, 7, 96, {0, 0, 0, 0}, {0, 0, 100, 100}, {0, 0, 100, 100}, {49, 50, 50, 50}}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(edges(controls::PlaceCentred(r.w, r.h, r.dpi, r.frame, r.over, r.work)),
                  edges(r.placed))
            << r.dpi << " dpi";
}

// The tick: a docked 409 x 92 window's outer top-left pixel at each corner, by hand from the
// pixel formulas; the tracker's states; a window that no monitor shows brought back.
TEST(Docking, CornersTrackerStatesAndAWindowThatNoMonitorShowsComingBack) {
    using enum docking::TickAction;
    const PixelRect editor{100, 200, 1300, 900}, own{5, 5, 414, 97};
    // clang-format off
    const struct { int16_t corner; int32_t ox, oy, left, top; } corners[] = {
        {0, 0, 22, 100, 222}, {1, 0, 22, 891, 222}, {2, 0, 22, 100, 786}, {3, 0, 22, 891, 786},
        {0, -3, -5, 97, 195}, {1, -3, -5, 894, 195}, {2, 7, -5, 107, 813}, {3, -3, 40, 894, 768},
        {3, 0, 0, 891, 808}, {0, 2147483647, -2147483647 - 1, 32767, -32768}}; // held to 16 bits
    // The editor not found (0), found (1), gone before its rectangle was read (2).
    const struct { int found; settings::Settings s; docking::TickAction action; } states[] = {
        {1, {}, Dock}, {1, {.bDockEnabled = false}, None}, {2, {}, None},
        {1, {.iDockCorner = 7}, None}, {1, {.iDockCorner = -1}, None},
        {1, {.iDockCorner = 4}, None}, {0, {}, None}, {0, {.bEditorSeen = true}, Unload},
        {0, {.bDockEnabled = false, .bEditorSeen = true}, Unload},
        {0, {.bAutoClose = false, .bEditorSeen = true}, None}};
    // Back to the primary's middle unless a monitor shows 40 px of its title bar (60 at 144 dpi).
    const struct { int dpi, left, top; bool back; } away[] = {
        {96, -32000, -32000, true}, {96, -249, 1022, true}, {96, -1500, 300, false},
        {96, 1237, 500, false}, {96, 1238, 500, true}, {96, 100, -21, false}, {96, 100, -22, true},
        {144, 1217, 500, false}, {144, 1218, 500, true}};
    // clang-format on
    for (int dpi : {96, 120, 144})
        for (const auto& r : corners) {
            const settings::Settings s{
                .iDockCorner = r.corner, .lDockOffsetX = r.ox, .lDockOffsetY = r.oy};
            const auto d = docking::DecideTick(s, true, editor, {own, {}, dpi}, {});
            EXPECT_EQ(std::tuple(d.left, d.top), std::tuple(r.left, r.top))
                << r.corner << " at " << dpi << " dpi";
        }
    for (const auto& r : states) {
        const auto rect = r.found == 1 ? std::optional(editor) : std::nullopt;
        const auto d = docking::DecideTick(r.s, r.found > 0, rect, {own, {}, 96}, {});
        EXPECT_EQ(d.action, r.action)
            << r.found << r.s.bDockEnabled << r.s.iDockCorner << r.s.bAutoClose << r.s.bEditorSeen;
        EXPECT_EQ(d.editorSeen, r.found || r.s.bEditorSeen);
    }
    const PixelRect areas[] = {{0, 0, 1280, 1024}, {-1600, 0, 0, 900}};
    for (const auto& r : away) {
        const MainWindow window{{r.left, r.top, r.left + 409, r.top + 88}, {3, 22, 3, 3}, r.dpi};
        const auto d = docking::DecideTick({.bAutoClose = false}, false, {}, window, areas);
        EXPECT_EQ(std::tuple(d.action, d.left, d.top),
                  r.back ? std::tuple(BringBack, 435, 468) : std::tuple(None, 0, 0))
            << r.left << ", " << r.top << " at " << r.dpi << " dpi";
    }
}

} // namespace
