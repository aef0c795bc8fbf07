// What the tab controls report to their host window, as WM_NOTIFY messages.
#pragma once

#include <windows.h>

#include <cstdint>

namespace controls {

// Notification codes (NMHDR::code), from the range reserved for applications.
inline constexpr UINT kTabClick = 0xA000 + 1;  // NotifyTabClick
inline constexpr UINT kMouseDown = 0xA000 + 2; // NotifyMouseDown

// The mouse buttons as MouseDown reports them.
enum class MouseButton : int16_t { Left = 1, Right = 2, Middle = 4 };

// TabClick(lTab): a caption was clicked, or ShowTab was called.
struct NotifyTabClick {
    NMHDR hdr;
    int lTab;
};

// MouseDown(Button, Shift, X, Y): a press on the control's own surface. Shift: 1 Shift,
// 2 Ctrl, 4 Alt, summed; X, Y in layout units.
struct NotifyMouseDown {
    NMHDR hdr;
    MouseButton Button;
    int16_t Shift;
    float X;
    float Y;
};

// The arguments of a mouse-down message in the notification's terms.
inline NotifyMouseDown MouseDownFromMessage(HWND from, UINT msg, WPARAM wp, LPARAM lp,
                                            float unitsPerPixelX, float unitsPerPixelY) {
    NotifyMouseDown n{};
    n.hdr = {from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), kMouseDown};
    n.Button = msg == WM_LBUTTONDOWN   ? MouseButton::Left
               : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                       : MouseButton::Middle;
    n.Shift = static_cast<int16_t>(((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
    n.X = static_cast<float>(static_cast<short>(LOWORD(lp))) * unitsPerPixelX;
    n.Y = static_cast<float>(static_cast<short>(HIWORD(lp))) * unitsPerPixelY;
    return n;
}

} // namespace controls
