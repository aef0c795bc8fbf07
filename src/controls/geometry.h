// Small geometry types of the controls, in layout units (1/1440 inch) unless named
// otherwise. Platform-free: the Win32 shell converts them to pixels in one place.
#pragma once

namespace controls {

struct Point {
    float x = 0;
    float y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const Rect&) const = default;
    bool Contains(Point p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

// The desktop colours the controls draw with, by their Windows system-colour index.
enum class SysColour : int { ButtonShadow = 16, ButtonHighlight = 20, DarkShadow3D = 21 };

// A one-pixel solid line from `from` to `to`, both ends included.
struct Line {
    Point from;
    Point to;
    SysColour colour = SysColour::ButtonHighlight;
    bool visible = false;
    bool operator==(const Line&) const = default;
};

} // namespace controls
