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

// A rectangle in screen pixels, as the platform reports a window's outer rectangle.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The thickness of a window's frame on each side, in pixels at the window's dpi.
struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
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

    static constexpr LayoutScale ForDpi(int dpiX, int dpiY) {
        return {1440.0f / static_cast<float>(dpiX), 1440.0f / static_cast<float>(dpiY)};
    }
    constexpr int PixelsX(float units) const { return Round(units / unitsPerPixelX); }
    constexpr int PixelsY(float units) const { return Round(units / unitsPerPixelY); }
    float UnitsX(int pixels) const { return static_cast<float>(pixels) * unitsPerPixelX; }
    float UnitsY(int pixels) const { return static_cast<float>(pixels) * unitsPerPixelY; }

  private:
    static constexpr int Round(float v) { return static_cast<int>(v < 0 ? v - 0.5f : v + 0.5f); }
};

// A `width` x `height` rectangle centred over `over`, then moved just enough to lie wholly
// inside `work` (its top-left corner inside when it is larger).
constexpr PixelRect CentreIn(int width, int height, PixelRect over, PixelRect work) {
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    x = x + width > work.right ? work.right - width : x;
    y = y + height > work.bottom ? work.bottom - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    return {x, y, x + width, y + height};
}

// The outer rectangle of a window whose client area is `clientWidth` x `clientHeight`
// layout units, at `dpi`, inside a frame of `frame` (the frame at that dpi, which on a
// monitor of another density than the system's is not the system's frame): centred over
// `over`, then moved just enough to lie wholly inside `work`, the work area of the
// monitor it is to appear on.
constexpr PixelRect PlaceCentred(float clientWidth, float clientHeight, int dpi, FrameInsets frame,
                                 PixelRect over, PixelRect work) {
    const LayoutScale scale = LayoutScale::ForDpi(dpi, dpi);
    return CentreIn(scale.PixelsX(clientWidth) + frame.left + frame.right,
                    scale.PixelsY(clientHeight) + frame.top + frame.bottom, over, work);
}

} // namespace controls
