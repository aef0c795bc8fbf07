// What the program's two top-level windows, the main window and the settings dialog, share:
// being made for the dpi of the monitor they appear on, laid out again when they move to a
// monitor of another density, repainted when the desktop's colours change, and the focus
// given back to the control that had it when the window is active again.
#pragma once

#include "controls/geometry.h"
#include "controls/win32/dpi.h"
#include "controls/win32/handles.h"
#include "controls/win32/paint.h"
#include "controls/win32/ui_font.h"
#include "controls/win32/window_base.h"

#include <utility>

namespace controls {

// Derived provides, besides what WindowBase asks for:
//   static constexpr float kClientWidth, kClientHeight;  the client area in layout units
//   void CreateControls();  every control, at scale_ and in font_ (WM_CREATE)
//   void LayOutForDpi();    every control moved to its place at scale_, in font_
//   HWND FirstFocus() const;  the control the focus goes to when none is remembered
//   void Unload();          the close box's action
// and leaves every message it does not handle itself to HandleTopLevel.
template <typename Derived> class TopLevelWindow : public WindowBase<Derived> {
  protected:
    // Creates the window at `dpi`, the dpi of the monitor it is to appear on: its client area
    // in the frame of that dpi, centred over `over` and inside `work`. A window that lands on
    // a monitor of another density after all is laid out again for it.
    bool CreateCentred(DWORD exStyle, const wchar_t* title, DWORD style, HWND owner, int dpi,
                       PixelRect over, PixelRect work) {
        SetDpi(dpi);
        const PixelRect at = PlaceCentred(Derived::kClientWidth, Derived::kClientHeight, dpi,
                                          FrameForDpi(style, exStyle, dpi), over, work);
        if (!this->CreateAs(exStyle, title, style, at.left, at.top, at.right - at.left,
                            at.bottom - at.top, owner, nullptr, GetModuleHandleW(nullptr)))
            return false;
        if (const int actual = WindowDpi(this->Handle()); actual != dpi_)
            OnDpiChanged(actual, nullptr);
        return true;
    }

    LRESULT HandleTopLevel(UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_CREATE:
            self().CreateControls();
            return 0;
        case WM_CLOSE:
            self().Unload();
            return 0;
        case WM_ACTIVATE:
            // The focus leaves with the activation; on the way back DefWindowProc focuses
            // the window, which passes the focus on (WM_SETFOCUS).
            if (const HWND focus = GetFocus();
                LOWORD(wp) == WA_INACTIVE && focus && IsChild(this->Handle(), focus))
                lastFocus_ = focus;
            return this->DefaultHandling(msg, wp, lp);
        case WM_SETFOCUS:
            if (const HWND to =
                    lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : self().FirstFocus())
                SetFocus(to);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_SYSCOLORCHANGE:
            RepaintForColourChange(this->Handle());
            return 0;
        default:
            return this->DefaultHandling(msg, wp, lp);
        }
    }

    int dpi_ = 96;
    LayoutScale scale_;
    Font font_;                // the controls' font, made for dpi_
    HWND lastFocus_ = nullptr; // the control that had the focus when the window went inactive

  private:
    Derived& self() { return static_cast<Derived&>(*this); }

    void SetDpi(int dpi) {
        dpi_ = dpi;
        scale_ = LayoutScale::ForDpi(dpi, dpi);
        font_ = MakeDialogFont(dpi);
    }

    // Every control at its place at the new dpi, in a font made for it (handed out before
    // the old one goes), and the design's client area at the place the system suggests.
    void OnDpiChanged(int dpi, const RECT* suggested) {
        const Font previous = std::exchange(font_, Font());
        SetDpi(dpi);
        self().LayOutForDpi();
        PlaceWithClientSize(this->Handle(), suggested, scale_.PixelsX(Derived::kClientWidth),
                            scale_.PixelsY(Derived::kClientHeight));
        RedrawWindow(this->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
};

} // namespace controls
