#include "docking/win32/mWindowFunctions.h"

#include <vector>

namespace mWindowFunctions {
namespace {

constexpr UINT kBandFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;

// Single-byte text in the system code page, as UTF-16, NUL characters kept.
std::wstring Widen(const std::string& text) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// Lower case by the user's locale, so that comparisons ignore case as the user expects.
std::wstring Folded(const std::string& text) {
    std::wstring wide = Widen(text);
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

void SetTopmost(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kBandFlags);
}

void SetNotTopmost(HWND hwnd) {
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kBandFlags);
}

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

RECT GetWindowRectangle(HWND hwnd) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    return r;
}

} // namespace mWindowFunctions
