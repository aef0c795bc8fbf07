// The editor stand-in (tests/tools/editor_standin.exe), a captioned window in a process
// of its own, and where the docking core puts Ortelia beside it.
#pragma once

#include "controls/geometry.h"
#include "docking/dock_placement.h"
#include "processes.h"
#include "settings/settings.h"

#include <windows.h>

#include <optional>
#include <string>

namespace blackbox {

inline constexpr const wchar_t* kEditorTitle = L"Untitled - Kestrava Editor";

class Editor {
  public:
    explicit Editor(const std::wstring& title = kEditorTitle, RECT r = {100, 100, 900, 700})
        : process_(ProgramPath(L"EDITOR_STANDIN_EXE", EDITOR_STANDIN_FROM_TESTS) + L" --title \"" +
                       title + L"\" --rect " + std::to_wstring(r.left) + L"," +
                       std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
                       std::to_wstring(r.bottom),
                   true) {
        if (!WaitUntil(
                [&] {
                    return (window_ = FirstVisible(process_.Id(), L"EditorStandIn")) ||
                           !process_.Running();
                },
                10000) ||
            !window_)
            Fail("the editor stand-in showed no window");
    }
    HWND Window() const { return window_; }
    RECT Rect() const { return RectOf(window_); }
    bool Move(RECT r) { // true once it has the rectangle (the system may clamp it)
        process_.Send("move " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                      std::to_string(r.right) + " " + std::to_string(r.bottom));
        return WaitUntil(
            [&] {
                const RECT now = Rect();
                return EqualRect(&now, &r) != 0;
            },
            2000);
    }
    void Retitle(const std::string& title) {
        wchar_t now[512] = L"";
        process_.Send("title " + title);
        if (!WaitUntil([&] { return GetWindowTextW(window_, now, 512), Wide(title) == now; }, 3000))
            Fail("the editor stand-in did not take the title \"" + title + "\"");
    }
    void Close() { // as its user would
        process_.Send("close");
        if (!process_.WaitExit(5000))
            Fail("the editor stand-in did not close");
    }
    void Kill() { process_.Kill(); }

  private:
    Process process_;
    HWND window_ = nullptr;
};

// Where the docking core puts a main window of outer rectangle `main` for an editor at
// `editor`, in screen pixels; none when it moves nothing.
inline std::optional<POINT> DockedPosition(const RECT& editor, const RECT& main,
                                           const settings::Settings& s) {
    HDC screen = GetDC(nullptr);
    const auto scale = controls::LayoutScale::ForDpi(GetDeviceCaps(screen, LOGPIXELSX),
                                                     GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const docking::UnitsPerPixel units{scale.unitsPerPixelX, scale.unitsPerPixelY};
    const auto d = docking::DecideTick(true, {editor.left, editor.top, editor.right, editor.bottom},
                                       s, (main.right - main.left) * units.x,
                                       (main.bottom - main.top) * units.y, units);
    if (d.action != docking::TickAction::Dock)
        return std::nullopt;
    return POINT{docking::LayoutToPixel(d.where.left, units.x),
                 docking::LayoutToPixel(d.where.top, units.y)};
}

} // namespace blackbox
