// What the Win32 and black-box tests share: pumping messages until something holds,
// acting from inside another message loop (a menu's, a dialog's, a message box's), the
// stored settings value, and reading windows as any outside tool would.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace support {

// Dispatches messages until `done` holds or `ms` pass; true if it held. WM_QUIT is
// dropped: a window under test that ends its program must not end the test.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}
inline void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

// Calls `step` every 20 ms, from whatever message loop runs meanwhile, until it returns
// true. One at a time.
class Soon {
  public:
    explicit Soon(std::function<bool()> step) {
        Step() = std::move(step);
        timer_ = SetTimer(nullptr, 0, 20, &Tick);
    }
    Soon(const Soon&) = delete;
    Soon& operator=(const Soon&) = delete;
    ~Soon() {
        KillTimer(nullptr, timer_);
        Step() = nullptr;
    }
    bool Done() const { return !Step(); }

  private:
    static std::function<bool()>& Step() {
        static std::function<bool()> step;
        return step;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        static bool running = false;
        if (running || !Step())
            return;
        running = true;
        if (Step()())
            Step() = nullptr;
        running = false;
    }
    UINT_PTR timer_;
};

inline std::wstring Text(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The children of `parent` of window class `cls`, in z-order (which is creation order).
inline std::vector<HWND> Children(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(parent, nullptr, cls, nullptr); h;
         h = FindWindowExW(parent, h, cls, nullptr))
        found.push_back(h);
    return found;
}

// The visible window of a class and title ("#32768" for a menu, "#32770" for a message
// box), or nullptr.
inline HWND Shown(const wchar_t* cls, const wchar_t* title = nullptr) {
    const HWND h = FindWindowW(cls, title);
    return h && IsWindowVisible(h) ? h : nullptr;
}

inline int ScreenDpi() {
    const HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// A window's rectangle relative to another's client area: "left,top widthxheight".
inline std::string Place(HWND hwnd, HWND relativeTo) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

inline constexpr const char* kKey = "Software\\Quillon\\Ortelia";

// The settings key removed before and after a test.
struct CleanKey {
    CleanKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
    CleanKey(const CleanKey&) = delete;
    CleanKey& operator=(const CleanKey&) = delete;
    ~CleanKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
};

// Stores exactly `bytes` as the "Settings" value. A byte other than NUL follows them in
// the buffer, so that the registry counts no terminator of its own.
inline void Store(DWORD type, std::string bytes) {
    const auto size = static_cast<DWORD>(bytes.size());
    bytes.push_back('\x7F');
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Settings", 0, type, reinterpret_cast<const BYTE*>(bytes.data()), size);
        RegCloseKey(key);
    }
}

// The stored value's bytes, without a terminating NUL; "(none)" without key or value.
inline std::string Stored() {
    std::string bytes(4096, '\0');
    auto size = static_cast<DWORD>(bytes.size());
    if (RegGetValueA(HKEY_CURRENT_USER, kKey, "Settings", RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                     bytes.data(), &size) != ERROR_SUCCESS)
        return "(none)";
    bytes.resize(size);
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return bytes;
}

} // namespace support
