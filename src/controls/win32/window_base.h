// The common shape of this program's windows: one window class per C++ class, the
// object's `this` stored at WM_NCCREATE, and one member function that handles messages.
#pragma once

#include <windows.h>

namespace controls {

// Derived provides: static constexpr const wchar_t* kClassName; and
// LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp), which returns
// DefaultHandling(msg, wp, lp) for what it leaves alone.
template <typename Derived> class WindowBase {
  public:
    HWND Handle() const { return hwnd_; }

  protected:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    ~WindowBase() = default;

    // Registers the class once per process; later calls do nothing.
    static void Register(HINSTANCE instance, UINT style, HBRUSH background, HICON icon = nullptr) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(instance, Derived::kClassName, &wc))
            return;
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = &WindowBase::Procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.lpszClassName = Derived::kClassName;
        RegisterClassExW(&wc);
    }

    HWND CreateAs(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
                  HWND parent, HMENU menuOrId, HINSTANCE instance) {
        return CreateWindowExW(exStyle, Derived::kClassName, title, style, x, y, w, h, parent,
                               menuOrId, instance, static_cast<Derived*>(this));
    }

    // A child window of this class: control `id` of `parent`, `bounds` in the parent's
    // client pixels, visible, painting all of itself (the class has no brush).
    bool CreateChild(HWND parent, int id, const RECT& bounds, DWORD style, DWORD exStyle = 0) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        Register(instance, 0, nullptr);
        return CreateAs(exStyle, L"", WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance) != nullptr;
    }

    LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) {
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        }
        if (!self)
            return DefWindowProcW(hwnd, msg, wp, lp);
        const LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

} // namespace controls
