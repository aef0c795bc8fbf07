// What one tick of the docking timer does, and where the main window goes.
#pragma once

#include "controls/geometry.h"
#include "settings/settings.h"

#include <cstdint>
#include <optional>
#include <span>

namespace docking {

using controls::PixelRect;

enum class TickAction { None, Dock, Unload, BringBack };

struct TickDecision {
    TickAction action = TickAction::None;
    int32_t left = 0; // the main window's new outer top-left corner, for Dock and BringBack
    int32_t top = 0;
    bool editorSeen = false; // the tracker's flag after this tick
};

// The main window as the tracker sees it: its outer rectangle in screen pixels, the
// thickness of its frame, which holds the title bar, and the dpi it is shown at.
struct MainWindow {
    PixelRect outer;
    controls::FrameInsets frame;
    int dpi = 96;
};

// One tick, from the settings, whether the editor was found and its rectangle (none when
// it could not be read: it went between the search and the query), the main window, and
// the work area of every monitor, the primary monitor's first.
//
// Docking puts the window into corner 0 to 3 of the editor, inset by the offsets; the
// corner is worked out in layout units (double-precision products and sums, the left edge
// rounded to single precision) and the result rounded to whole pixels, held to the range
// that window positions take. The editor gone after it was seen, with auto-close on,
// unloads the window. Otherwise, without the editor, a window whose title bar has no
// reachable stretch left on any monitor (one that followed a minimised editor, say) is
// brought back to the middle of the primary monitor's work area.
TickDecision DecideTick(const settings::Settings& s, bool editorFound,
                        const std::optional<PixelRect>& editor, const MainWindow& own,
                        std::span<const PixelRect> workAreas);

} // namespace docking
