#include "docking/dock_placement.h"

#include <algorithm>
#include <cmath>

namespace docking {

bool PlaceInCorner(const PixelRect& editor, int16_t corner, int32_t offsetX, int32_t offsetY,
                   double width, double height, UnitsPerPixel units, DockPoint& out) {
    const double tx = units.x, ty = units.y;
    const double ox = offsetX * tx, oy = offsetY * ty;
    double left, top;
    switch (corner) {
    case 0:
        left = editor.left * tx + ox;
        top = editor.top * ty + oy;
        break;
    case 1:
        left = editor.right * tx - width - ox;
        top = editor.top * ty + oy;
        break;
    case 2:
        left = editor.left * tx + ox;
        top = editor.bottom * ty - height - oy;
        break;
    case 3:
        left = editor.right * tx - width - ox;
        top = editor.bottom * ty - height - oy;
        break;
    default:
        return false;
    }
    out.left = static_cast<float>(left);
    out.top = top;
    return true;
}

TickDecision DecideTick(bool editorFound, const PixelRect& editor, const settings::Settings& s,
                        double width, double height, UnitsPerPixel units) {
    TickDecision d{TickAction::None, {}, s.bEditorSeen};
    if (editorFound) {
        d.editorSeen = true;
        if (s.bDockEnabled && PlaceInCorner(editor, s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY,
                                            width, height, units, d.where))
            d.action = TickAction::Dock;
    } else if (s.bAutoClose && s.bEditorSeen) {
        d.action = TickAction::Unload;
    }
    return d;
}

int32_t LayoutToPixel(double units, float unitsPerPixel) {
    // Window positions travel as 16-bit signed words in some messages.
    constexpr double kMin = -32768, kMax = 32767;
    const double pixels = std::nearbyint(units / unitsPerPixel);
    if (std::isnan(pixels))
        return 0;
    return static_cast<int32_t>(std::clamp(pixels, kMin, kMax));
}

} // namespace docking
