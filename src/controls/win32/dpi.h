// The dots per inch a window is shown at, and sizing a window around a client area.
// Per-monitor aware: a window on a 144-dpi monitor reports 144 while the primary screen
// may report 96. Windows before 10 (1607) have no per-window dpi; there the screen's is
// used, as the whole desktop has one dpi there.
#pragma once

#include "controls/geometry.h"

#include <windows.h>

#include <vector>

namespace controls {

// The dpi of the monitor `hwnd` lies on; the screen's dpi when there is no window or the
// system cannot tell. One value for both axes, as Windows uses square pixels.
int WindowDpi(HWND hwnd);

// The thickness of the frame of a window of these styles at `dpi`: the frame of that
// dpi where the system can tell, else the system's.
FrameInsets FrameForDpi(DWORD style, DWORD exStyle, int dpi);

// A rectangle of the screen as the layout's pixel rectangle.
inline PixelRect ToPixels(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The work area of the monitor `hwnd` lies on (the primary monitor without a window).
PixelRect WorkAreaOf(HWND hwnd);

// The work area of every monitor, the primary monitor's first.
std::vector<PixelRect> WorkAreas();

// The layout scale of a window: 1440 layout units per inch at its dpi.
LayoutScale WindowLayoutScale(HWND hwnd);

// Gives `hwnd` a client area of exactly `clientWidth` x `clientHeight`, whatever the
// frame's metrics at the window's dpi are, with its top-left outer corner at the place the
// system suggests for a new dpi, or where it is.
void PlaceWithClientSize(HWND hwnd, const RECT* suggested, int clientWidth, int clientHeight);

} // namespace controls
