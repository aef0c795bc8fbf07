#include "controls/win32/dpi.h"

#include "controls/win32/handles.h"

namespace controls {

int WindowDpi(HWND hwnd) {
    // GetDpiForWindow exists from Windows 10 1607 on, GetDpiForMonitor (shcore) from 8.1;
    // on Windows 7 the whole desktop has the screen's dpi.
    static const auto forWindow =
        SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (hwnd && forWindow)
        if (const UINT dpi = forWindow(hwnd))
            return static_cast<int>(dpi);
    if (hwnd) {
        static const auto forMonitor =
            SystemFunction<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(L"shcore.dll",
                                                                          "GetDpiForMonitor");
        UINT x = 0, y = 0; // 0: the effective dpi
        if (forMonitor &&
            SUCCEEDED(forMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
            y)
            return static_cast<int>(y);
    }
    ScreenDc screen;
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

FrameInsets FrameForDpi(DWORD style, DWORD exStyle, int dpi) {
    // AdjustWindowRectExForDpi exists from Windows 10 1607 on; before, the system's frame.
    static const auto forDpi = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{};
    if (!forDpi || !forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {-r.left, -r.top, r.right, r.bottom};
}

PixelRect WorkAreaOf(HWND hwnd) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                         : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &info);
    return ToPixels(info.rcWork);
}

std::vector<PixelRect> WorkAreas() {
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM found) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) {
                auto& list = *reinterpret_cast<std::vector<PixelRect>*>(found);
                list.insert(info.dwFlags & MONITORINFOF_PRIMARY ? list.begin() : list.end(),
                            ToPixels(info.rcWork));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
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
