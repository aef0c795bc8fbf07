// The program's few dealings with the desktop's window manager: the topmost band, and
// finding and measuring another program's top-level window.
#pragma once

#include <windows.h>

#include <string>

namespace mWindowFunctions {

// Into / out of the topmost band, shown, without moving, sizing or activating.
void SetTopmost(HWND hwnd);
void SetNotTopmost(HWND hwnd);

// The first top-level window, in z-order from the top, whose title contains `text`
// ignoring case (by the user's locale); every top-level window is visited, hidden ones
// included. `start` is any top-level window of the program. nullptr when none matches.
HWND FindWindowByTitle(HWND start, const std::string& text);

// The window's title, exactly as long as the platform says it is.
std::string GetWindowTitle(HWND hwnd);

// The window's outer rectangle in screen pixels; all zero for a window that is gone.
RECT GetWindowRectangle(HWND hwnd);

} // namespace mWindowFunctions
