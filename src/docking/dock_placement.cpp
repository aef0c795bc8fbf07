#include "docking/dock_placement.h"

#include <algorithm>
#include <cmath>

namespace docking {
namespace {

// A layout-unit coordinate as a screen pixel: rounded to the nearest and held to the
// range of the 16-bit words in which some messages carry window positions.
int32_t ToPixel(double units, float unitsPerPixel) {
    const double pixels = std::nearbyint(units / unitsPerPixel);
    if (std::isnan(pixels))
        return 0;
    return static_cast<int32_t>(std::clamp(pixels, -32768.0, 32767.0));
}

} // namespace

TickDecision DecideTick(const settings::Settings& s, bool editorFound, const PixelRect& editor,
                        const PixelRect& own, const controls::LayoutScale& scale) {
    TickDecision d{TickAction::None, 0, 0, s.bEditorSeen || editorFound};
    if (!editorFound) {
        if (s.bAutoClose && s.bEditorSeen)
            d.action = TickAction::Unload;
        return d;
    }
    if (!s.bDockEnabled || s.iDockCorner < 0 || s.iDockCorner > 3)
        return d;
    const double tx = scale.unitsPerPixelX, ty = scale.unitsPerPixelY;
    const double width = (own.right - own.left) * tx, height = (own.bottom - own.top) * ty;
    const bool left = s.iDockCorner % 2 == 0, top = s.iDockCorner < 2;
    const double x = left ? editor.left * tx + s.lDockOffsetX * tx
                          : editor.right * tx - width - s.lDockOffsetX * tx;
    const double y = top ? editor.top * ty + s.lDockOffsetY * ty
                         : editor.bottom * ty - height - s.lDockOffsetY * ty;
    d.action = TickAction::Dock;
    d.left = ToPixel(static_cast<float>(x), scale.unitsPerPixelX);
    d.top = ToPixel(y, scale.unitsPerPixelY);
    return d;
}

} // namespace docking
