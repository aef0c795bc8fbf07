#include "controls/page_edges.h"

namespace controls {

std::array<Line, 3> PageEdges(float width, float height, float pixelWidth, float pixelHeight) {
    return {{
        {{0, 0}, {0, height}, SysColour::ButtonHighlight, true},
        {{0, height - pixelHeight}, {width, height - pixelHeight}, SysColour::DarkShadow3D, true},
        {{width - pixelWidth, 0}, {width - pixelWidth, height}, SysColour::DarkShadow3D, true},
    }};
}

} // namespace controls
