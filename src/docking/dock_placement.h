// Where the docked main window goes, and what one tick of the docking timer does.
#pragma once

#include "settings/settings.h"

#include <cstdint>

namespace docking {

// A window's outer rectangle in screen pixels, as the platform reports it.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// The screen's layout units per pixel (15 at 96 dpi, 12 at 120 dpi).
struct UnitsPerPixel {
    float x = 15;
    float y = 15;
};

// The main window's new top-left corner, in layout units.
struct DockPoint {
    double left = 0;
    double top = 0;
    bool operator==(const DockPoint&) const = default;
};

// The main window's top-left corner inside `corner` (0 to 3) of the editor's rectangle,
// inset by the offsets in pixels, for a main window of outer size width x height in
// layout units. Products and sums in double precision; the left edge is rounded to
// single precision as the move expects. Returns false for a corner outside 0 to 3.
bool PlaceInCorner(const PixelRect& editor, int16_t corner, int32_t offsetX, int32_t offsetY,
                   double width, double height, UnitsPerPixel units, DockPoint& out);

enum class TickAction { None, Dock, Unload };

struct TickDecision {
    TickAction action = TickAction::None;
    DockPoint where; // for Dock
    bool editorSeen; // the tracker's flag after this tick
};

// One tick: the editor found or not, its rectangle, the settings, the main window's
// outer size in layout units and the screen's units per pixel.
TickDecision DecideTick(bool editorFound, const PixelRect& editor, const settings::Settings& s,
                        double width, double height, UnitsPerPixel units);

// A layout-unit coordinate as a screen pixel: rounded to the nearest and clamped to the
// range that window positions accept, so no input can overflow.
int32_t LayoutToPixel(double units, float unitsPerPixel);

} // namespace docking
