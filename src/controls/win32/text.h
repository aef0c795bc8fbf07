// Text between the cores (UTF-8) and the windows (UTF-16).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace controls {

// Bytes in a code page (UTF-8 unless named) as UTF-16, NUL characters kept; and back.
std::wstring Widen(std::string_view text, UINT codePage = CP_UTF8);
std::string Narrow(std::wstring_view utf16);

// The text of a window of this program, in UTF-16.
std::wstring WindowText(HWND hwnd);

} // namespace controls
