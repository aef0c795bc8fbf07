// The tab header's layout: where each caption and edge line goes for a given row of
// captions, selection and width. Painting and hit-testing both read this one result.
#pragma once

#include "controls/geometry.h"

#include <cstdint>
#include <vector>

namespace controls {

// Every number here is in the header's layout units.
inline constexpr float kTabFirstLeft = 30;       // left of the first caption
inline constexpr float kTabCaptionHeight = 195;  // 13 px at 96 dpi
inline constexpr float kTabRaise = 60;           // unselected tabs sit this much lower
inline constexpr float kTabBaseline = 360;       // y of the baseline and of every edge's foot
inline constexpr float kTabEdgeInset = 30;       // left edge to caption
inline constexpr float kTabRightPad = 60;        // caption end to right edge
inline constexpr float kTabAdvance = 105;        // caption width + this = next caption
inline constexpr float kTabSlant = 360;          // the selected tab's slanted right edge
inline constexpr float kTabNeighbourReach = 330; // top edge of the tab after the selected one

struct TabGeometry {
    Rect caption; // also the tab's click area
    Line left;
    Line top;
    Line right;
};

struct TabLayout {
    std::vector<TabGeometry> tabs;
    Line borderLeft;  // baseline left of the selected tab
    Line borderRight; // baseline right of it, or across the whole width

    // The lines from the bottom of the stacking order up: the edges of later tabs lie
    // under those of earlier ones; the baseline segments lie above every edge.
    std::vector<Line> LinesInPaintOrder() const;
    // The tab whose caption holds p, or -1: only captions react to clicks.
    int HitTest(Point p) const;
};

// Lays out tabs whose captions are `captionWidths` wide, with `selected` raised (any
// value; one outside the tabs raises none), in a header `scaleWidth` wide.
TabLayout LayoutTabs(const std::vector<float>& captionWidths, int selected, float scaleWidth);

} // namespace controls
