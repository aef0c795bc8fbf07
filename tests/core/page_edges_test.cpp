#include "controls/page_edges.h"

#include <gtest/gtest.h>

namespace {

using controls::Line;
using controls::SysColour;

TEST(PageEdges, LastPixelRowAndColumnAtNinetySixAndOneHundredTwentyDpi) {
    const struct {
        float width, height, px;
        Line left, bottom, right;
    } cases[] = {
        {6015,
         555,
         15,
         {{0, 0}, {0, 555}, SysColour::ButtonHighlight, true},
         {{0, 540}, {6015, 540}, SysColour::DarkShadow3D, true},
         {{6000, 0}, {6000, 555}, SysColour::DarkShadow3D, true}},
        {6012,
         552,
         12,
         {{0, 0}, {0, 552}, SysColour::ButtonHighlight, true},
         {{0, 540}, {6012, 540}, SysColour::DarkShadow3D, true},
         {{6000, 0}, {6000, 552}, SysColour::DarkShadow3D, true}},
    };
    for (const auto& c : cases) {
        const auto edges = controls::PageEdges(c.width, c.height, c.px, c.px);
        EXPECT_EQ(edges[0], c.left) << c.px << " units per pixel";
        EXPECT_EQ(edges[1], c.bottom) << c.px << " units per pixel";
        EXPECT_EQ(edges[2], c.right) << c.px << " units per pixel";
    }
}

} // namespace
