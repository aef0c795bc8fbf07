#include "docking/win32/mWindowFunctions.h"

#include "controls/win32/text.h"

#include <vector>

namespace mWindowFunctions {
namespace {

// Lower case by the user's locale, so that comparisons ignore case as the user expects.
std::wstring Folded(const std::string& text) {
    std::wstring wide = controls::Widen(text, CP_ACP);
    if (wide.empty())
        return wide;
    const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const int size = static_cast<int>(wide.size());
    std::wstring folded(wide.size(), L'\0');
    if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), size, folded.data(), size,
                      nullptr, nullptr, 0) != size)
        return wide;
    return folded;
}

} // namespace

HWND FindWindowByTitle(HWND start, const std::string& text) {
    const std::wstring wanted = Folded(text);
    for (HWND hwnd = GetWindow(start, GW_HWNDFIRST); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        if (Folded(GetWindowTitle(hwnd)).find(wanted) != std::wstring::npos)
            return hwnd;
    return nullptr;
}

std::string GetWindowTitle(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return {};
    // One more than the title for the terminator; a title that shrank meanwhile leaves
    // NULs at the end, one that grew is cut at the capacity.
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(length));
}

std::optional<RECT> GetWindowRectangle(HWND hwnd) {
    RECT r{0, 0, 0, 0};
    if (!GetWindowRect(hwnd, &r))
        return std::nullopt;
    return r;
}

} // namespace mWindowFunctions
