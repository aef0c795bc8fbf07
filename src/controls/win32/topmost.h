// The topmost band, for both windows: the part of the window functions (mWindowFunctions,
// with docking/win32/mWindowFunctions.h) that every window of the program uses.
#pragma once

#include <windows.h>

namespace mWindowFunctions {

// Into / out of the topmost band, shown, without moving, sizing or activating the window.
inline void SetTopmost(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}
inline void SetNotTopmost(HWND hwnd) {
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace mWindowFunctions
