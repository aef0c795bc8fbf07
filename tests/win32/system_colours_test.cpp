// High contrast: the windows draw only in the desktop's colours. Each window is painted
// under two colour schemes in which every system colour differs by the same amount; a
// pixel that does not change between them was drawn in a colour of the program's own.
#include "app/win32/frmMain.h"
#include "controls/win32/paint.h"
#include "main_window_fixture.h"
#include "settings/win32/frmSettings.h"
#include "system_colours.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testing_support;

// The client area of a window as painted on screen.
std::vector<COLORREF> Capture(HWND hwnd, RECT* size = nullptr) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(30);
    const ClientPixels pic = CopyClientPixels(hwnd);
    if (size)
        *size = {0, 0, pic.width, pic.height};
    return {pic.pixels.begin(), pic.pixels.end()};
}

// The pixels that are the same under both schemes, outside `except` (client pixels).
std::string Unchanged(HWND hwnd, RECT except = {}) {
    std::vector<COLORREF> first, second;
    RECT size{};
    {
        SchemeGuard scheme(TestScheme(0));
        first = Capture(hwnd, &size);
    }
    {
        SchemeGuard scheme(TestScheme(40));
        second = Capture(hwnd);
    }
    std::string report;
    int count = 0;
    for (int y = 0; y < size.bottom; ++y)
        for (int x = 0; x < size.right; ++x) {
            const POINT p{x, y};
            const size_t i = static_cast<size_t>(y * size.right + x);
            if (!PtInRect(&except, p) && first[i] == second[i] && ++count <= 5)
                report += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    return count ? std::to_string(count) + " pixels:" + report : "";
}

TEST(SystemColours, EveryPageIsDrawnInTheDesktopsColours) {
    Ortelia o;
    SetFocus(o.Window()); // no caret in a field
    NoVisualStyle classic;
    for (int16_t tab = 0; tab < 5; ++tab) {
        o.main.ucHeader.ShowTab(tab);
        EXPECT_EQ(Unchanged(o.Window()), "") << "page " << tab;
    }
}

TEST(SystemColours, TheDialogIsDrawnInTheDesktopsColoursBesideItsWhiteBanner) {
    Ortelia o;
    std::string unchanged, bannerText;
    WhenReady check([] { return FindWindowW(nullptr, L"Ortelia Settings...") != nullptr; },
                    [&] {
                        const HWND dialog = FindWindowW(nullptr, L"Ortelia Settings...");
                        SetFocus(nullptr);
                        NoVisualStyle classic;
                        const HWND banner = FindWindowExW(
                            dialog, nullptr, settings::LogoBanner::kClassName, nullptr);
                        RECT except;
                        GetWindowRect(banner, &except);
                        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&except), 2);
                        unchanged = Unchanged(dialog, except);
                        // The banner's text stays dark on its white under a scheme whose
                        // button text is white.
                        SchemeGuard scheme(HighContrastBlack());
                        RECT size;
                        const auto pixels = Capture(banner, &size);
                        // Right of the logo, where the labels start (1020 units).
                        const int labels = controls::ScreenLayoutScale().PixelsX(1020);
                        int dark = 0;
                        for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
                            const COLORREF c = pixels[static_cast<size_t>(i)];
                            dark += i % size.right >= labels && GetRValue(c) < 96 &&
                                    GetGValue(c) < 96 && GetBValue(c) < 96;
                        }
                        bannerText = std::to_string(dark);
                        SendMessageW(dialog, WM_CLOSE, 0, 0);
                    });
    o.main.mnuSettings_Click();
    ASSERT_TRUE(check.Ran());
    EXPECT_EQ(unchanged, "");
    EXPECT_GT(std::stoi(bannerText), 200) << "dark text pixels on the banner";
}

} // namespace
