// A main window loaded in this process over a clean settings key (or a stored code), read
// through its window tree; nothing of it is left behind.
#pragma once

#include "app/win32/frmMain.h"
#include "settings/win32/mMain.h"
#include "support.h"

#include <gtest/gtest.h>

#include <functional>

struct Ortelia {
    support::CleanKey key;
    app::frmMain main;
    explicit Ortelia(const char* code = nullptr) {
        if (code)
            support::Store(REG_SZ, code);
        EXPECT_TRUE(main.Load(GetModuleHandleW(nullptr)));
        support::Wait(50); // under Wine the activation settles as the X server answers
    }
    ~Ortelia() {
        DestroyWindow(W());
        MSG quit; // the one an ended program posts
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    HWND W() const { return main.Handle(); }
    HWND Header() const { return FindWindowExW(W(), nullptr, L"OrteliaTabHead", nullptr); }
    HWND Page(int n) const { return support::Children(W(), L"OrteliaTabContainer").at(n); }
    // Edit k of page n: the two inputs and the result, or the converter's four boxes.
    HWND Field(int n, int k) const { return support::Children(Page(n), L"Edit").at(k); }
    std::wstring Text(int n, int k) const { return support::Text(Field(n, k)); }
    // Label k of page n; label 0 of page 3 is the speed's unit.
    std::wstring Label(int n, int k) const {
        return support::Text(support::Children(Page(n), L"Static").at(k));
    }
    // The selected part of a field's text.
    static std::wstring Selection(HWND field) {
        DWORD from = 0, to = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        return support::Text(field).substr(from, to - from);
    }
    std::wstring Visible() const { // the pages shown, as digits
        std::wstring shown;
        for (int n = 0; n < 5; ++n)
            shown += IsWindowVisible(Page(n)) ? std::to_wstring(n) : L"";
        return shown;
    }
    bool Topmost() const { return GetWindowLongW(W(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
    void Tick() const { SendMessageW(W(), WM_TIMER, app::frmMain::kDockTimer, 0); }
    // "Settings..." chosen from the popup menu opened as by Shift+F10, and `act` run on the
    // dialog once it is shown, from inside its loop; returns when the dialog has closed.
    void Dialog(const std::function<void(HWND)>& act) const {
        bool chosen = false;
        support::Soon run([&] {
            const HWND menu = support::Shown(L"#32768"),
                       dialog = support::Shown(L"OrteliaSettings");
            if (menu && !chosen)
                chosen = PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0) &&
                         PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            else if (dialog)
                act(dialog);
            return dialog != nullptr;
        });
        SendMessageW(W(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W()), -1);
        EXPECT_TRUE(run.Done());
    }
    static void Type(HWND field, const std::wstring& chars) {
        for (wchar_t c : chars)
            SendMessageW(field, WM_CHAR, c, 1);
    }
};