// Drawing the controls' layouts: the screen's layout scale, one-pixel lines in live
// system colours, and flicker-free painting through an off-screen bitmap.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/handles.h"

#include <windows.h>

#include <optional>

namespace controls {

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
    MemoryDc buffer(scope.Dc());
    Bitmap bitmap(CreateCompatibleBitmap(scope.Dc(), client.right, client.bottom));
    Selection selected(buffer.Get(), bitmap.Get());
    paint(buffer.Get(), client);
    const RECT& area = scope.Area();
    BitBlt(scope.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           buffer.Get(), area.left, area.top, SRCCOPY);
}

// The painting messages of a window that paints all of its client area with
// paint(dc, client): WM_PAINT through PaintBuffered, WM_PRINTCLIENT straight into the
// caller's DC, WM_ERASEBKGND reported done. Empty for any other message.
template <typename PaintFn>
std::optional<LRESULT> HandlePaintMessage(HWND hwnd, UINT msg, WPARAM wp, PaintFn&& paint) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintBuffered(hwnd, paint);
        return 0;
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(hwnd, &client);
        paint(reinterpret_cast<HDC>(wp), client);
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// WM_SYSCOLORCHANGE of a top-level window: its controls draw in the system colours of the
// moment, so the change is passed on to each of them and everything is painted afresh.
inline void RepaintForColourChange(HWND window) {
    EnumChildWindows(
        window,
        [](HWND child, LPARAM) -> BOOL {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
        },
        0);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace controls
