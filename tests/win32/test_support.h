// Helpers for driving real windows from a test: pumping messages until a state holds,
// acting inside another window's modal loop, and a clean settings key per test.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// Dispatches messages until `done` holds or `timeoutMs` passes; true if it held.
// WM_QUIT is swallowed: a window under test ending the program must not end the test.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void PumpFor(int ms);

// Runs `action` from inside whatever message loop is running (a popup menu's, a modal
// dialog's) as soon as `ready` holds, polling every 20 ms for up to `timeoutMs`.
// Returns a handle to check afterwards whether the action ran.
class WhenReady {
  public:
    WhenReady(std::function<bool()> ready, std::function<void()> action, int timeoutMs = 3000);
    WhenReady(const WhenReady&) = delete;
    WhenReady& operator=(const WhenReady&) = delete;
    ~WhenReady();
    bool Ran() const { return ran_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::function<bool()> ready_;
    std::function<void()> action_;
    std::chrono::steady_clock::time_point deadline_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
};

// The visible popup menu window of this thread, or nullptr.
HWND OpenPopupMenu();
// The texts of the items of the open popup menu, "-" for a separator.
std::wstring PopupMenuItems(HWND menuWindow);

inline constexpr const char* kSettingsKey = "Software\\Quillon\\Ortelia";

// HKCU\Software\Quillon\Ortelia removed before and after a test.
class CleanSettingsKey {
  public:
    CleanSettingsKey();
    CleanSettingsKey(const CleanSettingsKey&) = delete;
    CleanSettingsKey& operator=(const CleanSettingsKey&) = delete;
    ~CleanSettingsKey();
};

// The "Settings" value exactly as the registry holds it.
struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
    // The text without a terminating NUL. RegSetValueExA counts the terminator of a
    // REG_SZ text when the caller's byte count leaves it out but the buffer has one right
    // after, as a C string does; readers take the text with or without it.
    std::string Text() const {
        return !bytes.empty() && bytes.back() == '\0' ? bytes.substr(0, bytes.size() - 1) : bytes;
    }
    bool operator==(const StoredValue&) const = default;
};
// Stores exactly `bytes` as the "Settings" value, creating the key.
void StoreExact(DWORD type, std::string_view bytes);
// The value read with RegQueryValueExA; not present without the key or the value.
StoredValue ReadStored();

// A window's client area as it is on screen, top row first, as 0x00RRGGBB pixels.
struct ClientPixels {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
ClientPixels CopyClientPixels(HWND hwnd);

// The centre of a window's client area in client coordinates, as mouse lParam.
LPARAM ClientPoint(int x, int y);
LPARAM ClientCentre(HWND hwnd);

} // namespace testing_support
