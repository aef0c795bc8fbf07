// A freshly loaded main window over a clean settings key (or a given stored code), and
// nothing of it left behind afterwards: its window and the WM_QUIT its end posts.
#pragma once

#include "app/win32/frmMain.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace testing_support {

struct Ortelia {
    CleanSettingsKey key;
    app::frmMain main;

    explicit Ortelia(const char* storedCode = nullptr) {
        if (storedCode)
            StoreExact(REG_SZ, storedCode);
        EXPECT_TRUE(main.Load(GetModuleHandleW(nullptr)));
    }
    ~Ortelia() {
        if (main.Handle())
            DestroyWindow(main.Handle());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    Ortelia(const Ortelia&) = delete;
    Ortelia& operator=(const Ortelia&) = delete;

    HWND Window() const { return main.Handle(); }
    RECT Outer() const {
        RECT r{};
        GetWindowRect(main.Handle(), &r);
        return r;
    }
    // The indices of the pages now visible.
    std::vector<int> VisiblePages() const {
        std::vector<int> visible;
        for (size_t i = 0; i < main.ucTab.size(); ++i)
            if (IsWindowVisible(main.ucTab[i].Handle()))
                visible.push_back(static_cast<int>(i));
        return visible;
    }
    bool Topmost() const { return GetWindowLongW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
};

} // namespace testing_support
