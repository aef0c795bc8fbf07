// What the Win32 and black-box tests share: pumping messages, acting from inside another
// message loop, the stored settings value, and reading windows as any outside tool would.
#pragma once

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace support {

// Translates and dispatches messages until `done` holds or `ms` pass; true if it held.
// WM_QUIT is dropped: a window under test that ends its program must not end the test.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (MSG msg; !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                TranslateMessage(&msg), DispatchMessageW(&msg);
    }
    return true;
}
inline void Wait(int ms) {
    PumpUntil([] { return false; }, ms);
}

// Calls `step` every 20 ms, from whatever message loop runs meanwhile, until it returns
// true; a step that pumps messages itself is not entered again. One at a time.
struct Soon {
    static inline std::function<bool()> step;
    static inline bool busy = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        if (busy || !step)
            return;
        busy = true;
        if (step())
            step = nullptr;
        busy = false;
    });
    explicit Soon(std::function<bool()> s) { step = std::move(s); }
    Soon(const Soon&) = delete;
    Soon& operator=(const Soon&) = delete;
    ~Soon() { KillTimer(nullptr, timer), step = nullptr; }
    bool Done() const { return !step; }
};
// A press of a mouse button at a point of the screen, and its release unless `up` is 0.
inline void ClickAt(POINT at, DWORD down, DWORD up) {
    SetCursorPos(at.x, at.y);
    Wait(100);
    mouse_event(down, 0, 0, 0, 0);
    if (up)
        mouse_event(up, 0, 0, 0, 0);
    Wait(150);
}
// Keys as typed, each chord pressed in order and released in reverse, into `window` made
// foreground first (or into whatever window is).
inline void Keys(std::initializer_list<std::initializer_list<WORD>> chords, HWND window = nullptr) {
    if (window && SetForegroundWindow(window))
        PumpUntil([&] { return GetForegroundWindow() == window; }, 1000);
    for (const auto& chord : chords) {
        for (WORD key : chord)
            keybd_event(static_cast<BYTE>(key), 0, 0, 0);
        for (auto key = std::rbegin(chord); key != std::rend(chord); ++key)
            keybd_event(static_cast<BYTE>(*key), 0, KEYEVENTF_KEYUP, 0);
        Wait(150);
    }
}

// Another window's text, asked for by message, which any program's window answers.
inline std::wstring Text(HWND hwnd) {
    wchar_t text[256] = L"";
    SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}
// The children of `parent` of a window class, in z-order (which is creation order).
inline std::vector<HWND> Children(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(parent, h, cls, nullptr));)
        found.push_back(h);
    return found;
}
// A button of a dialog, by its caption, clicked as the user clicks it.
inline void Click(HWND dialog, const wchar_t* caption) {
    SendMessageW(FindWindowExW(dialog, nullptr, L"Button", caption), BM_CLICK, 0, 0);
}
// A message box's text and its visible buttons' captions, "text|buttons".
inline std::wstring BoxText(HWND box) {
    std::wstring text, buttons;
    for (HWND t : Children(box, L"Static"))
        text += Text(t);
    for (HWND b : Children(box, L"Button"))
        buttons += IsWindowVisible(b) ? Text(b) : L"";
    return text + L"|" + buttons;
}
// The visible window of a class (and title): "#32768" a menu, "#32770" a message box.
inline HWND Shown(const wchar_t* cls, const wchar_t* title = nullptr) {
    HWND h = FindWindowExW(nullptr, nullptr, cls, title);
    while (h && !IsWindowVisible(h))
        h = FindWindowExW(nullptr, h, cls, title);
    return h;
}

// The screen's dots per inch; whether under Wine (whose ntdll exports wine_get_version), and
// so with its fonts and the frames of its classic theme.
inline int Dpi() {
    const HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return ReleaseDC(nullptr, dc), dpi;
}
inline bool Wine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
}
// The row for this screen of a table of rectangles rounded by hand, under Wine at its dpi;
// elsewhere none: the test checks what holds anywhere and reports itself skipped.
template <typename Rows> auto Literal(const Rows& rows) -> decltype(&rows[0]) {
    const bool wine = Wine();
    for (const auto& row : rows)
        if (wine && row.dpi == Dpi())
            return &row;
    [&] {
        GTEST_SKIP() << "rectangles rounded by hand hold under Wine at 96, 120 and 144 dpi only, "
                     << "not at " << Dpi() << " dpi" << (wine ? " under Wine" : " on Windows");
    }();
    return nullptr;
}
// The windows within `parent` not wholly inside their own parent's client area, by text.
inline std::wstring Outside(HWND parent) {
    std::wstring out;
    RECT client{}, r{}, common{};
    GetClientRect(parent, &client);
    for (HWND h : Children(parent, nullptr)) {
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        const bool inside = IntersectRect(&common, &client, &r) && EqualRect(&common, &r);
        out += (inside ? L"" : Text(h) + L"|") + Outside(h);
    }
    return out;
}

// A point of a window's client area, a negative coordinate counting from the end; on screen.
inline POINT ClientPoint(HWND hwnd, POINT at) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {at.x < 0 ? r.right + at.x : at.x, at.y < 0 ? r.bottom + at.y : at.y};
}
inline POINT ScreenPoint(HWND hwnd, POINT at) {
    at = ClientPoint(hwnd, at);
    return ClientToScreen(hwnd, &at), at;
}
// A pixel of a window's client area once painted.
inline COLORREF Pixel(HWND hwnd, int x, int y) {
    const POINT at = ClientPoint(hwnd, {x, y});
    UpdateWindow(hwnd);
    const HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, at.x, at.y);
    return ReleaseDC(hwnd, dc), c;
}
// WM_DPICHANGED as on a move to a monitor of `dpi`, the rectangle suggested where it is; the
// height of the font a window was given.
inline void DpiChanged(HWND hwnd, int dpi) {
    RECT suggested{};
    GetWindowRect(hwnd, &suggested);
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}
inline LONG FontHeight(HWND hwnd) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}
// A window's place in another's client area, "left,top widthxheight", or without another
// its client area's size, "widthxheight".
inline std::string Place(HWND hwnd, HWND relativeTo = nullptr) {
    RECT r{};
    if (!relativeTo)
        GetClientRect(hwnd, &r);
    else if (GetWindowRect(hwnd, &r))
        MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&r), 2);
    return (relativeTo ? std::to_string(r.left) + "," + std::to_string(r.top) + " " : "") +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

inline constexpr const char* kKey = "Software\\Quillon\\Ortelia";

// The settings key's access list set from SDDL text; ERROR_SUCCESS or the error.
inline LONG Allow(const char* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr);
    HKEY k;
    LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, &k);
    if (!error)
        error = RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd), RegCloseKey(k);
    return LocalFree(sd), error;
}

// A key's tree as found: each value's name, type and exact bytes, and each subkey's tree.
struct Tree {
    bool found = false;
    std::vector<std::tuple<std::wstring, DWORD, std::string>> values;
    std::vector<std::pair<std::wstring, Tree>> keys;
    Tree(HKEY parent, const wchar_t* path) {
        HKEY k;
        if (!(found = !RegOpenKeyExW(parent, path, 0, KEY_READ, &k)))
            return;
        wchar_t name[16384];
        for (DWORD i = 0, n, size, type;
             n = 16384, !RegEnumValueW(k, i++, name, &n, 0, &type, 0, &size);) {
            std::string bytes(size, '\0');
            RegQueryValueExW(k, name, 0, 0, reinterpret_cast<BYTE*>(bytes.data()), &size);
            values.emplace_back(name, type, bytes);
        }
        for (DWORD i = 0, n; n = 256, !RegEnumKeyExW(k, i++, name, &n, 0, 0, 0, 0);)
            keys.emplace_back(name, Tree(k, name));
        RegCloseKey(k);
    }
    void Write(HKEY parent, const wchar_t* path) const {
        HKEY k;
        if (!found || RegCreateKeyExW(parent, path, 0, 0, 0, KEY_WRITE, 0, &k, 0))
            return;
        for (const auto& [name, type, bytes] : values) // not NUL-followed, as in Store
            RegSetValueExW(k, name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>((bytes + '\x7F').data()),
                           static_cast<DWORD>(bytes.size()));
        for (const auto& [name, tree] : keys)
            tree.Write(k, name.c_str());
        RegCloseKey(k);
    }
};

// The settings key as this test program found it, put back exactly (or removed, with its
// vendor's key if that was missing too) however the program ends: at exit, on abort, on a
// crash, on Ctrl+C or the console's closing; unlocked first, should a test have locked it.
inline const Tree kFound(HKEY_CURRENT_USER, L"Software\\Quillon\\Ortelia"),
    kVendor(HKEY_CURRENT_USER, L"Software\\Quillon");
inline void Restore() {
    Allow("D:P(A;;KA;;;WD)"); // unlocked, should a test have locked it
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    kFound.Write(HKEY_CURRENT_USER, L"Software\\Quillon\\Ortelia");
    if (!kVendor.found)
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quillon");
}
inline const bool kGuarded = [] {
    std::atexit(Restore);
    signal(SIGABRT, [](int) { Restore(); });
    SetUnhandledExceptionFilter(
        [](EXCEPTION_POINTERS*) { return Restore(), LONG{EXCEPTION_CONTINUE_SEARCH}; });
    return SetConsoleCtrlHandler([](DWORD) { return Restore(), FALSE; }, TRUE); // then ends
}();

// Stores exactly `bytes` as the "Settings" value: a byte other than NUL follows them in
// the buffer, so that the registry adds no terminator of its own.
inline void Store(DWORD type, std::string bytes) {
    const auto size = static_cast<DWORD>(bytes.size());
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Settings", type, (bytes += '\x7F').data(), size);
}
// The settings key removed before and after a test (the program's guard puts it back), with
// a code stored in it for the test if one is given.
struct CleanKey {
    explicit CleanKey(const char* code = nullptr) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        if (code)
            Store(REG_SZ, code);
    }
    ~CleanKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
};
// The stored value without a terminating NUL; "(none)" without key or value.
inline std::string Stored() {
    char bytes[4096];
    DWORD size = sizeof bytes;
    return RegGetValueA(HKEY_CURRENT_USER, kKey, "Settings", RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                        bytes, &size)
               ? "(none)"
               : std::string(bytes, size - (size && !bytes[size - 1]));
}

} // namespace support
