// Drawing the controls' layouts: the screen's layout scale, one-pixel lines in live
// system colours, and flicker-free painting through an off-screen bitmap.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/gdi.h"

#include <windows.h>

namespace controls {

// The screen's layout units per pixel, read now (the user may change the dpi).
inline LayoutScale ScreenLayoutScale() {
    ScreenDc screen;
    return LayoutScale::ForDpi(GetDeviceCaps(screen.Get(), LOGPIXELSX),
                               GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

inline RECT ToPixels(const Rect& r, const LayoutScale& scale) {
    const int left = scale.PixelsX(r.left), top = scale.PixelsY(r.top);
    return {left, top, left + scale.PixelsX(r.width), top + scale.PixelsY(r.height)};
}

// A one-pixel solid line in the colour's current value, both end pixels drawn.
inline void PaintLine(HDC dc, const Line& line, const LayoutScale& scale) {
    if (!line.visible)
        return;
    const COLORREF colour = GetSysColor(static_cast<int>(line.colour));
    const int x1 = scale.PixelsX(line.from.x), y1 = scale.PixelsY(line.from.y);
    const int x2 = scale.PixelsX(line.to.x), y2 = scale.PixelsY(line.to.y);
    Pen pen(CreatePen(PS_SOLID, 1, colour));
    Selection selected(dc, pen.Get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2); // stops one pixel short of the end
    SetPixelV(dc, x2, y2, colour);
}

inline void FillSysColour(HDC dc, const RECT& area, int index) {
    Brush brush(CreateSolidBrush(GetSysColor(index)));
    FillRect(dc, &area, brush.Get());
}

// Handles WM_PAINT by calling paint(dc, clientRect) on an off-screen bitmap and copying
// the finished picture to the window at once; the background is never erased on screen
// (the window class has no brush and WM_ERASEBKGND reports done), so nothing flickers.
template <typename PaintFn> void PaintBuffered(HWND hwnd, PaintFn&& paint) {
    PaintScope scope(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    HDC buffer = CreateCompatibleDC(scope.Dc());
    {
        Bitmap bitmap(CreateCompatibleBitmap(scope.Dc(), client.right, client.bottom));
        Selection selected(buffer, bitmap.Get());
        paint(buffer, client);
        const RECT& area = scope.Area();
        BitBlt(scope.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
               buffer, area.left, area.top, SRCCOPY);
    }
    DeleteDC(buffer);
}

} // namespace controls
