// The tab page's three edges: left, bottom and right. The header's baseline is the
// page area's top edge, so a page draws none.
#pragma once

#include "controls/geometry.h"

#include <array>

namespace controls {

// For a page of inner size width x height and a screen pixel of pixelWidth x
// pixelHeight, all in layout units. The bottom and right edges lie on the last pixel
// row and column.
std::array<Line, 3> PageEdges(float width, float height, float pixelWidth, float pixelHeight);

} // namespace controls
