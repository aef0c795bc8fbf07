// The owners of Win32 resources, each released when its owner goes: GDI objects, icons
// and device contexts, registry keys, COM on the thread and COM interfaces; and the functions
// of system libraries that are loaded only when first needed.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <string>
#include <utility>

namespace controls {

// A function of a system library, loading the library from the system folder at the first
// call for it rather than at start-up; nullptr where this Windows has no such function.
template <typename Function> Function SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) {
        wchar_t folder[MAX_PATH];
        const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        if (n > 0 && n < MAX_PATH)
            module = LoadLibraryW((std::wstring(folder, n) + L"\\" + library).c_str());
    }
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// Owns one handle and frees it: a GDI object (pen, brush, font, bitmap) or an icon.
template <typename Handle, auto Free> class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle h = nullptr) {
        if (handle_)
            Free(handle_);
        handle_ = h;
    }

  private:
    Handle handle_ = nullptr;
};

using Font = Owned<HFONT, DeleteObject>;
using Pen = Owned<HPEN, DeleteObject>;
using Brush = Owned<HBRUSH, DeleteObject>;
using Bitmap = Owned<HBITMAP, DeleteObject>;
using Icon = Owned<HICON, DestroyIcon>;

// Selects an object into a DC for the lifetime of this guard.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory DC compatible with another, deleted on scope exit.
class MemoryDc {
  public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { DeleteDC(dc_); }
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

// A screen-compatible DC for measuring text, released on scope exit.
class ScreenDc {
  public:
    explicit ScreenDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { ReleaseDC(hwnd_, dc_); }
    HDC Get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An open registry key, closed when it goes.
class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// COM on this thread, apartment-threaded, for the owner's lifetime; balanced only when
// this call initialised it. COM's library is loaded here, not at start-up.
class ComScope {
  public:
    ComScope() {
        if (const auto initialise =
                SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"))
            initialised_ = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED));
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (initialised_)
            SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")();
    }

  private:
    bool initialised_ = false;
};

// One reference to a COM interface, released when it goes.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

} // namespace controls
