// Text between the core (UTF-8) and the windows (UTF-16).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace controls {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// A window's text as UTF-8.
std::string WindowText(HWND hwnd);

} // namespace controls
