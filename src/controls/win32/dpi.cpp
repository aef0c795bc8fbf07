#include "controls/win32/dpi.h"

#include "controls/win32/handles.h"

namespace controls {

int WindowDpi(HWND hwnd) {
    // GetDpiForWindow exists from Windows 10 1607 on; the program also runs on Windows 7.
    static const auto forWindow =
        SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (hwnd && forWindow)
        if (const UINT dpi = forWindow(hwnd))
            return static_cast<int>(dpi);
    ScreenDc screen;
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

LayoutScale WindowLayoutScale(HWND hwnd) {
    const int dpi = WindowDpi(hwnd);
    return LayoutScale::ForDpi(dpi, dpi);
}

void PlaceWithClientSize(HWND hwnd, const RECT* suggested, int clientWidth, int clientHeight) {
    RECT at{};
    GetWindowRect(hwnd, &at);
    if (suggested)
        at = *suggested;
    // The outer size follows from the frame the window has. The frame may itself change
    // with the move (a window that changes dpi gets the new dpi's frame when it is next
    // sized), so a second pass corrects what the first could not know.
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer{}, client{};
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        if (pass > 0 && client.right == clientWidth && client.bottom == clientHeight)
            return;
        const int width = outer.right - outer.left + clientWidth - client.right;
        const int height = outer.bottom - outer.top + clientHeight - client.bottom;
        SetWindowPos(hwnd, nullptr, at.left, at.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace controls
