// A main window loaded in this process over a clean settings key (or a stored code), read
// through its window tree; nothing of it is left behind.
#pragma once

#include "app/win32/frmMain.h"
#include "settings/win32/mMain.h"
#include "support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

struct Ortelia {
    support::CleanKey key;
    app::frmMain main;

    explicit Ortelia(const char* code = nullptr) {
        if (code)
            support::Store(REG_SZ, code);
        EXPECT_TRUE(main.Load(GetModuleHandleW(nullptr)));
    }
    Ortelia(const Ortelia&) = delete;
    Ortelia& operator=(const Ortelia&) = delete;
    ~Ortelia() {
        if (IsWindow(W()))
            DestroyWindow(W());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND W() const { return main.Handle(); }
    HWND Header() const { return FindWindowExW(W(), nullptr, L"OrteliaTabHead", nullptr); }
    HWND Page(int n) const { return support::Children(W(), L"OrteliaTabContainer").at(n); }
    // Edit k of page n: the two inputs and the result, or the converter's four boxes.
    HWND Field(int n, int k) const { return support::Children(Page(n), L"Edit").at(k); }
    std::wstring Text(int n, int k) const { return support::Text(Field(n, k)); }
    std::vector<int> VisiblePages() const {
        std::vector<int> shown;
        for (int n = 0; n < 5; ++n)
            if (IsWindowVisible(Page(n)))
                shown.push_back(n);
        return shown;
    }
    bool Topmost() const { return GetWindowLongW(W(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
    RECT Outer() const {
        RECT r{};
        GetWindowRect(W(), &r);
        return r;
    }
    void Tick() const { SendMessageW(W(), WM_TIMER, app::frmMain::kDockTimer, 0); }
    static void Type(HWND field, const std::wstring& chars) {
        for (wchar_t c : chars)
            SendMessageW(field, WM_CHAR, c, 1);
    }
    // A key pressed with modifiers held, through the program's own loop: its keyboard
    // commands first, then to the focused window.
    void Press(std::initializer_list<int> modifiers, WPARAM key) {
        BYTE saved[256], held[256];
        GetKeyboardState(saved);
        GetKeyboardState(held);
        for (int m : modifiers)
            held[m] = 0x80;
        SetKeyboardState(held);
        const bool system = key == VK_F10;
        const HWND to = GetFocus() ? GetFocus() : W();
        for (UINT message :
             {system ? WM_SYSKEYDOWN : WM_KEYDOWN, system ? WM_SYSKEYUP : WM_KEYUP}) {
            MSG msg{to, message, key, 1, 0, {}};
            if (!main.PreTranslateMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            support::Pump(5);
        }
        SetKeyboardState(saved);
    }
};
