// Helpers for driving real windows from a test: pumping messages until a state holds,
// acting inside another window's modal loop, and a clean settings key per test.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

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

// HKCU\Software\Quillon\Ortelia removed before and after a test.
class CleanSettingsKey {
  public:
    CleanSettingsKey();
    CleanSettingsKey(const CleanSettingsKey&) = delete;
    CleanSettingsKey& operator=(const CleanSettingsKey&) = delete;
    ~CleanSettingsKey();
    // Stores raw bytes as the "Settings" value with the given registry type.
    static void Store(DWORD type, const std::string& bytes);
    // The stored "Settings" value as text, or "<none>".
    static std::string Stored();
};

// The centre of a window's client area in client coordinates, as mouse lParam.
LPARAM ClientPoint(int x, int y);
LPARAM ClientCentre(HWND hwnd);

} // namespace testing_support
