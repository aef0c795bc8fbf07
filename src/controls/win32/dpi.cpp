#include "controls/win32/dpi.h"

#include "controls/win32/gdi.h"

namespace controls {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// GetDpiForWindow exists from Windows 10 1607 on; the program also runs on Windows 7.
GetDpiForWindowFn DpiForWindowFunction() {
    static const auto function = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return function;
}

int ScreenDpi() {
    ScreenDc screen;
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

} // namespace

int WindowDpi(HWND hwnd) {
    if (hwnd) {
        if (const GetDpiForWindowFn dpiForWindow = DpiForWindowFunction())
            if (const UINT dpi = dpiForWindow(hwnd))
                return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

LayoutScale WindowLayoutScale(HWND hwnd) {
    const int dpi = WindowDpi(hwnd);
    return LayoutScale::ForDpi(dpi, dpi);
}

void PlaceWithClientSize(HWND hwnd, int x, int y, int clientWidth, int clientHeight) {
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
        SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace controls
