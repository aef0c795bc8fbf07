#include "controls/tab_layout.h"

#include <gtest/gtest.h>

namespace {

using controls::Line;
using controls::Point;
using controls::SysColour;

Line Shown(Point a, Point b, SysColour c) {
    return {a, b, c, true};
}

constexpr auto kHi = SysColour::ButtonHighlight;
constexpr auto kShadow = SysColour::ButtonShadow;
constexpr auto kDark = SysColour::DarkShadow3D;

TEST(LayoutTabs, WorkedExampleWithTheMiddleTabSelected) {
    const auto layout = controls::LayoutTabs({600, 750, 900}, 1, 6015);
    ASSERT_EQ(layout.tabs.size(), 3u);
    const auto& t0 = layout.tabs[0];
    EXPECT_EQ(t0.caption, (controls::Rect{30, 120, 600, 195}));
    EXPECT_EQ(t0.left, Shown({0, 60}, {0, 360}, kHi));
    EXPECT_EQ(t0.top, Shown({0, 60}, {690, 60}, kHi));
    EXPECT_EQ(t0.right, Shown({690, 60}, {690, 360}, kDark));
    const auto& t1 = layout.tabs[1];
    EXPECT_EQ(t1.caption, (controls::Rect{735, 60, 750, 195}));
    EXPECT_EQ(t1.left, Shown({705, 0}, {705, 360}, kHi));
    EXPECT_EQ(t1.top, Shown({705, 0}, {1545, 0}, kHi));
    EXPECT_EQ(t1.right, Shown({1545, 0}, {1905, 360}, kShadow));
    const auto& t2 = layout.tabs[2];
    EXPECT_EQ(t2.caption, (controls::Rect{1950, 120, 900, 195}));
    EXPECT_FALSE(t2.left.visible);
    EXPECT_EQ(t2.top, Shown({1620, 60}, {2910, 60}, kHi));
    EXPECT_EQ(t2.right, Shown({2910, 60}, {2910, 360}, kDark));
    EXPECT_EQ(layout.borderLeft, Shown({0, 360}, {705, 360}, kHi));
    EXPECT_EQ(layout.borderRight, Shown({1905, 360}, {6015, 360}, kHi));
}

TEST(LayoutTabs, FirstTabSelectedLeavesAZeroLengthLeftBaseline) {
    const auto layout = controls::LayoutTabs({600, 750}, 0, 6015);
    EXPECT_EQ(layout.borderLeft, Shown({0, 360}, {0, 360}, kHi));
    EXPECT_EQ(layout.borderRight.from.x, 30 + 600 + 420);
}

TEST(LayoutTabs, SelectionOutsideTheTabsRaisesNoneAndClosesTheBaseline) {
    for (int32_t selected : {7, -1, 5}) {
        const auto layout = controls::LayoutTabs({600, 750, 900, 500, 650}, selected, 6015);
        for (const auto& tab : layout.tabs) {
            EXPECT_EQ(tab.caption.top, 120) << "selected " << selected;
            EXPECT_EQ(tab.right.colour, kDark) << "selected " << selected;
        }
        EXPECT_FALSE(layout.borderLeft.visible);
        EXPECT_EQ(layout.borderRight, Shown({0, 360}, {6015, 360}, kHi));
    }
}

TEST(LayoutTabs, NoTabsDrawOnlyTheBaseline) {
    const auto layout = controls::LayoutTabs({}, 0, 4800);
    EXPECT_TRUE(layout.tabs.empty());
    EXPECT_FALSE(layout.borderLeft.visible);
    EXPECT_EQ(layout.borderRight, Shown({0, 360}, {4800, 360}, kHi));
}

TEST(LayoutTabs, NarrowHeaderLetsTheRightSegmentRunLeftwards) {
    const auto layout = controls::LayoutTabs({600, 750, 900}, 2, 1000);
    EXPECT_GT(layout.borderRight.from.x, 1000);
    EXPECT_EQ(layout.borderRight.to.x, 1000);
}

TEST(LayoutTabs, EarlierTabsPaintOverLaterOnesAndBaselineOverAll) {
    const auto layout = controls::LayoutTabs({600, 750}, 0, 6015);
    const auto lines = layout.LinesInPaintOrder();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], layout.tabs[1].left);
    EXPECT_EQ(lines[1], layout.tabs[1].top);
    EXPECT_EQ(lines[2], layout.tabs[1].right);
    EXPECT_EQ(lines[3], layout.tabs[0].left);
    EXPECT_EQ(lines[5], layout.tabs[0].right);
    EXPECT_EQ(lines[6], layout.borderLeft);
    EXPECT_EQ(lines[7], layout.borderRight);
}

TEST(LayoutTabs, OnlyCaptionRectanglesAreClickable) {
    const auto layout = controls::LayoutTabs({600, 750, 900}, 1, 6015);
    const struct {
        Point p;
        int32_t tab;
    } cases[] = {{{30, 120}, 0},   {{629, 314}, 0},  {{630, 120}, -1}, {{29, 120}, -1},
                 {{30, 119}, -1},  {{30, 315}, -1},  {{735, 60}, 1},   {{1484, 254}, 1},
                 {{700, 200}, -1}, {{1950, 120}, 2}, {{1600, 60}, -1}, {{3000, 200}, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(layout.HitTest(c.p), c.tab) << "(" << c.p.x << ", " << c.p.y << ")";
}

TEST(LayoutTabs, AtOneHundredTwentyDpiTheSameUnitsHold) {
    // Captions measured at 120 dpi are multiples of 12 units; the layout is unit-based.
    const auto layout = controls::LayoutTabs({612, 756, 900}, 1, 6012);
    EXPECT_EQ(layout.tabs[1].caption.left, 30 + 612 + 105);
    EXPECT_EQ(layout.tabs[2].top.from.x, 30 + 612 + 105 + 756 + 465 - 330);
    EXPECT_EQ(layout.borderRight.to.x, 6012);
}

} // namespace
