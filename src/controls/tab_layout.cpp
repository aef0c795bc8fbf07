#include "controls/tab_layout.h"

#include <cstddef>

namespace controls {
namespace {

Line MakeLine(Point from, Point to, SysColour colour) {
    return {from, to, colour, true};
}

} // namespace

TabLayout LayoutTabs(const std::vector<float>& captionWidths, int selected, float scaleWidth) {
    TabLayout layout;
    float x = kTabFirstLeft; // a running single-precision position, as the design measures
    double selectedLeft = 0, selectedRight = 0;
    const auto count = static_cast<int>(captionWidths.size());
    for (int i = 0; i < count; ++i) {
        const float w = captionWidths[i];
        const bool isSelected = i == selected;
        const float y = isSelected ? 0 : kTabRaise;
        const float edgeRight = x + w + kTabRightPad;
        TabGeometry tab;
        tab.caption = {x, y + kTabRaise, w, kTabCaptionHeight};
        const Point leftFoot{x - kTabEdgeInset, kTabBaseline};
        if (i >= 1 && i - 1 == selected) {
            // Right of the selected tab: no left edge; the top edge reaches back to
            // meet the slant.
            tab.left = MakeLine({x - kTabEdgeInset, y}, leftFoot, SysColour::ButtonHighlight);
            tab.left.visible = false;
            tab.top =
                MakeLine({x - kTabNeighbourReach, y}, {edgeRight, y}, SysColour::ButtonHighlight);
        } else {
            tab.left = MakeLine({x - kTabEdgeInset, y}, leftFoot, SysColour::ButtonHighlight);
            tab.top = MakeLine({x - kTabEdgeInset, y}, {edgeRight, y}, SysColour::ButtonHighlight);
        }
        if (isSelected) {
            tab.right = MakeLine({edgeRight, y}, {x + w + kTabRightPad + kTabSlant, kTabBaseline},
                                 SysColour::ButtonShadow);
            selectedLeft = tab.left.to.x;
            selectedRight = tab.right.to.x;
        } else {
            tab.right =
                MakeLine({edgeRight, y}, {edgeRight, kTabBaseline}, SysColour::DarkShadow3D);
        }
        layout.tabs.push_back(tab);
        x = x + w + kTabAdvance;
        if (isSelected)
            x = x + kTabSlant;
    }
    const auto L = static_cast<float>(selectedLeft), R = static_cast<float>(selectedRight);
    if (selectedRight != 0) {
        layout.borderLeft =
            MakeLine({0, kTabBaseline}, {L, kTabBaseline}, SysColour::ButtonHighlight);
        layout.borderRight =
            MakeLine({R, kTabBaseline}, {scaleWidth, kTabBaseline}, SysColour::ButtonHighlight);
    } else {
        layout.borderLeft.visible = false;
        layout.borderRight =
            MakeLine({0, kTabBaseline}, {scaleWidth, kTabBaseline}, SysColour::ButtonHighlight);
    }
    return layout;
}

std::vector<Line> TabLayout::LinesInPaintOrder() const {
    std::vector<Line> lines;
    for (auto tab = tabs.rbegin(); tab != tabs.rend(); ++tab) {
        lines.push_back(tab->left);
        lines.push_back(tab->top);
        lines.push_back(tab->right);
    }
    lines.push_back(borderLeft);
    lines.push_back(borderRight);
    return lines;
}

int TabLayout::HitTest(Point p) const {
    for (std::size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i].caption.Contains(p))
            return static_cast<int>(i);
    return -1;
}

} // namespace controls
