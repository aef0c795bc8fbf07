#include "app/win32/frmMain.h"

namespace app {

bool frmMain::Load(HINSTANCE instance) {
    Register(instance, 0, GetSysColorBrush(COLOR_BTNFACE));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    // Client area 6045 x 945 layout units.
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT r{0, 0, MulDiv(6045, dpiX, 1440), MulDiv(945, dpiY, 1440)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateAs(exStyle, kTitle, style, x, y, w, h, nullptr, nullptr, instance))
        return false;
    ShowWindow(Handle(), SW_SHOW);
    return true;
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

} // namespace app
