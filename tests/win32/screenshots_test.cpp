// Pictures for the documentation, taken from the real windows. Disabled in normal runs;
// scripts/screenshots runs them with ORTELIA_SHOTS pointing at an output folder.
#include "controls/win32/paint.h"
#include "main_window_fixture.h"
#include "settings/win32/mMain.h"
#include "system_colours.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

// Copies a rectangle of the screen into a 24-bit BMP file. The part off the screen is
// left out: a copy from beyond the screen's edge gives a black picture.
void SaveScreen(RECT r, const std::string& name) {
    const char* folder = std::getenv("ORTELIA_SHOTS");
    ASSERT_NE(folder, nullptr) << "set ORTELIA_SHOTS to the output folder";
    PumpFor(150);
    const RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &desktop);
    const int w = r.right - r.left, h = r.bottom - r.top;
    controls::ScreenDc screen;
    HDC memory = CreateCompatibleDC(screen.Get());
    controls::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    {
        controls::Selection selected(memory, bitmap.Get());
        BitBlt(memory, 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
    }
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (w * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * h);
    GetDIBits(memory, bitmap.Get(), 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteDC(memory);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0,
                          0, sizeof file + sizeof info};
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr) << path;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

RECT Grown(RECT r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

void ClickTab(app::frmMain& main, int tab) {
    const auto& header = main.ucHeader;
    const RECT r = controls::ToPixels(header.Layout().tabs.at(tab).caption, header.Scale());
    const LPARAM at = ClientPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header.Handle(), WM_LBUTTONUP, 0, at);
}

TEST(DocsScreenshots, DISABLED_PagesMenuAndDocking) {
    Ortelia o;
    SetWindowPos(o.Window(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const char* pages[] = {"page-cp-length", "page-0g-banking", "page-station-length",
                           "page-lim-length", "page-converter"};
    for (int tab = 0; tab < 5; ++tab) {
        ClickTab(o.main, tab);
        SaveScreen(Grown(o.Outer(), 4), pages[tab]);
    }
    ClickTab(o.main, 0);
    SetCursorPos(o.Outer().left + 300, o.Outer().top + 70);
    WhenReady shoot([] { return OpenPopupMenu() != nullptr; },
                    [&] {
                        RECT menu;
                        GetWindowRect(OpenPopupMenu(), &menu);
                        RECT both;
                        const RECT window = o.Outer();
                        UnionRect(&both, &window, &menu);
                        SaveScreen(Grown(both, 4), "popup-menu");
                        EndMenu();
                    });
    o.main.ShowPopup();

    WhenReady dialog([] { return FindWindowW(nullptr, L"Ortelia Settings...") != nullptr; },
                     [] {
                         HWND d = FindWindowW(nullptr, L"Ortelia Settings...");
                         RECT r;
                         GetWindowRect(d, &r);
                         SaveScreen(Grown(r, 4), "settings-dialog");
                         SendMessageW(d, WM_CLOSE, 0, 0);
                     });
    o.main.mnuSettings_Click();

    // The window docked in each corner of a stand-in editor.
    HWND editor = CreateWindowExW(0, L"STATIC", L"coaster.kse - Kestrava Editor",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 200, 640, 400, nullptr,
                                  nullptr, nullptr, nullptr);
    // Without a window manager the new window's X window lands above everything; leave
    // and re-enter the topmost band so the picture shows what a desktop shows.
    for (HWND band : {HWND_NOTOPMOST, HWND_TOPMOST})
        SetWindowPos(o.Window(), band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const char* corners[] = {"docked-top-left", "docked-top-right", "docked-bottom-left",
                             "docked-bottom-right"};
    for (int16_t corner = 0; corner < 4; ++corner) {
        mMain::Settings().iDockCorner = corner;
        o.main.tmrDock_Timer();
        RECT r;
        GetWindowRect(editor, &r);
        SaveScreen(Grown(r, 8), corners[corner]);
    }
    DestroyWindow(editor);
}

// Opens "Settings...", takes the dialog's picture as `name` and closes it.
void ShootSettings(Ortelia& o, const std::string& name) {
    WhenReady dialog([] { return FindWindowW(nullptr, L"Ortelia Settings...") != nullptr; },
                     [&name] {
                         HWND d = FindWindowW(nullptr, L"Ortelia Settings...");
                         SetFocus(nullptr); // no focus rectangle or caret in the picture
                         RECT r;
                         GetWindowRect(d, &r);
                         SaveScreen(Grown(r, 4), name);
                         SendMessageW(d, WM_CLOSE, 0, 0);
                     });
    o.main.mnuSettings_Click();
}

// The main window and the dialog at the screen's dpi, named after it.
TEST(DocsScreenshots, DISABLED_ThisDensity) {
    const int dpi = static_cast<int>(1440 / controls::ScreenLayoutScale().unitsPerPixelY + 0.5f);
    std::string suffix = "-";
    suffix.append(std::to_string(dpi)).append("dpi");
    Ortelia o;
    // Low enough that the dialog, centred over the window, lies wholly on the screen.
    SetWindowPos(o.Window(), nullptr, 40, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ClickTab(o.main, 3);
    SetFocus(o.Window());
    SaveScreen(Grown(o.Outer(), 4), std::string("main-window").append(suffix));
    ShootSettings(o, std::string("settings-dialog").append(suffix));
}

// Both windows under the "High Contrast Black" colours, drawn without visual styles as
// Windows draws them then.
TEST(DocsScreenshots, DISABLED_HighContrast) {
    NoVisualStyle classic;
    SchemeGuard scheme(HighContrastBlack());
    Ortelia o;
    // Low enough that the dialog, centred over the window, lies wholly on the screen.
    SetWindowPos(o.Window(), nullptr, 40, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ClickTab(o.main, 3);
    SetFocus(o.Window());
    SaveScreen(Grown(o.Outer(), 4), "high-contrast-main-window");
    ShootSettings(o, "high-contrast-settings-dialog");
}

} // namespace
