// What one tick of the docking timer does, and where the docked main window goes.
#pragma once

#include "controls/geometry.h"
#include "settings/settings.h"

#include <cstdint>

namespace docking {

using controls::PixelRect;

enum class TickAction { None, Dock, Unload };

struct TickDecision {
    TickAction action = TickAction::None;
    int32_t left = 0; // the main window's new outer top-left corner, for Dock
    int32_t top = 0;
    bool editorSeen = false; // the tracker's flag after this tick
};

// One tick, from the settings, whether the editor was found and its rectangle, the main
// window's own outer rectangle and the screen's layout units per pixel. Docking puts the
// window into corner 0 to 3 of the editor, inset by the offsets; the corner is worked out
// in layout units as the designers did (double-precision products and sums, the left edge
// rounded to single precision) and the result rounded to whole pixels, held to the range
// that window positions take. The editor gone after it was seen, with auto-close on,
// unloads the window.
TickDecision DecideTick(const settings::Settings& s, bool editorFound, const PixelRect& editor,
                        const PixelRect& own, const controls::LayoutScale& scale);

} // namespace docking
