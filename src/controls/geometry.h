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

// Converts layout units (1/1440 inch) to screen pixels and back: the one place where
// design numbers become pixels. 15 units per pixel at 96 dpi, 12 at 120 dpi.
struct LayoutScale {
    float unitsPerPixelX = 15;
    float unitsPerPixelY = 15;

    static LayoutScale ForDpi(int dpiX, int dpiY) {
        return {1440.0f / static_cast<float>(dpiX), 1440.0f / static_cast<float>(dpiY)};
    }
    int PixelsX(float units) const { return Round(units / unitsPerPixelX); }
    int PixelsY(float units) const { return Round(units / unitsPerPixelY); }
    float UnitsX(int pixels) const { return static_cast<float>(pixels) * unitsPerPixelX; }
    float UnitsY(int pixels) const { return static_cast<float>(pixels) * unitsPerPixelY; }

  private:
    static int Round(float v) { return static_cast<int>(v < 0 ? v - 0.5f : v + 0.5f); }
};

} // namespace controls
