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

// The narrowest stretch of title bar that the pointer can still take hold of.
constexpr int kReachAt96Dpi = 40;

// Whether some stretch of the title bar, at least 40 pixels wide at 96 dpi and as much
// more as the dpi is higher, lies inside one of the work areas, where the user can take
// hold of it.
bool TitleBarReachable(const MainWindow& own, std::span<const PixelRect> workAreas) {
    // The title bar: below the frame's top border, as thick as its bottom one, down to
    // the client area.
    const PixelRect& o = own.outer;
    const PixelRect bar{o.left + own.frame.left, o.top + own.frame.bottom,
                        o.right - own.frame.right, o.top + own.frame.top};
    const int reach = (kReachAt96Dpi * own.dpi + 48) / 96;
    return std::any_of(workAreas.begin(), workAreas.end(), [&](const PixelRect& w) {
        const int width = std::min(bar.right, w.right) - std::max(bar.left, w.left);
        const int height = std::min(bar.bottom, w.bottom) - std::max(bar.top, w.top);
        return width >= reach && height > 0;
    });
}

} // namespace

TickDecision DecideTick(const settings::Settings& s, bool editorFound,
                        const std::optional<PixelRect>& editor, const MainWindow& own,
                        std::span<const PixelRect> workAreas) {
    TickDecision d{TickAction::None, 0, 0, s.bEditorSeen || editorFound};
    const PixelRect& o = own.outer;
    if (!editorFound) {
        if (s.bAutoClose && s.bEditorSeen) {
            d.action = TickAction::Unload;
        } else if (!workAreas.empty() && !TitleBarReachable(own, workAreas)) {
            const PixelRect at = controls::CentreIn(o.right - o.left, o.bottom - o.top,
                                                    workAreas.front(), workAreas.front());
            d = {TickAction::BringBack, at.left, at.top, d.editorSeen};
        }
        return d;
    }
    if (!editor || !s.bDockEnabled || s.iDockCorner < 0 || s.iDockCorner > 3)
        return d;
    const controls::LayoutScale scale = controls::LayoutScale::ForDpi(own.dpi, own.dpi);
    const double tx = scale.unitsPerPixelX, ty = scale.unitsPerPixelY;
    const double width = (o.right - o.left) * tx, height = (o.bottom - o.top) * ty;
    const bool left = s.iDockCorner % 2 == 0, top = s.iDockCorner < 2;
    const double x = left ? editor->left * tx + s.lDockOffsetX * tx
                          : editor->right * tx - width - s.lDockOffsetX * tx;
    const double y = top ? editor->top * ty + s.lDockOffsetY * ty
                         : editor->bottom * ty - height - s.lDockOffsetY * ty;
    d.action = TickAction::Dock;
    d.left = ToPixel(static_cast<float>(x), scale.unitsPerPixelX);
    d.top = ToPixel(y, scale.unitsPerPixelY);
    return d;
}

} // namespace docking
