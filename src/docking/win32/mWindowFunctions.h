// The program's few dealings with other programs' windows: finding the editor's top-level
// window by its title and measuring it. The topmost band of the window functions is in
// controls/win32/topmost.h, as both windows use it.
#pragma once

#include "controls/win32/topmost.h"

#include <windows.h>

#include <optional>
#include <string>

namespace mWindowFunctions {

// The first top-level window, in z-order from the top, whose title contains `text`
// ignoring case (by the user's locale); every top-level window is visited, hidden ones
// included. `start` is any top-level window of the program. nullptr when none matches.
HWND FindWindowByTitle(HWND start, const std::string& text);

// The window's title through the single-byte (ANSI) interface, exactly as long as the
// platform says it is.
std::string GetWindowTitle(HWND hwnd);

// The window's outer rectangle in screen pixels; none for a window that is gone.
std::optional<RECT> GetWindowRectangle(HWND hwnd);

} // namespace mWindowFunctions
