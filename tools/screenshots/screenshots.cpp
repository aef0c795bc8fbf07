// Takes the documentation's pictures from the real windows, as 24-bit BMP files in the
// folder given as the argument (scripts/screenshots turns them into PNG files):
//
//   screenshots.exe FOLDER pages     every page, the menu, the dialog, docked in each corner
//   screenshots.exe FOLDER density   the window and the dialog at the screen's dpi
//   screenshots.exe FOLDER contrast  both under "High Contrast Black"
#include "app/win32/frmMain.h"
#include "settings/win32/mMain.h"
#include "system_colours.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string folder;

void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

// Runs `action` from the next loop that shows a window of class `cls`, then forgets it.
std::function<void(HWND)> pending;
const wchar_t* pendingClass = nullptr;
void CALLBACK Poll(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND shown = FindWindowW(pendingClass, nullptr);
    if (!pending || !shown || !IsWindowVisible(shown))
        return;
    KillTimer(nullptr, timer);
    auto action = std::move(pending);
    pending = nullptr;
    action(shown);
}
void WhenShown(const wchar_t* cls, std::function<void(HWND)> action) {
    pendingClass = cls;
    pending = std::move(action);
    SetTimer(nullptr, 0, 50, Poll);
}

RECT Outer(HWND hwnd, int grow) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    InflateRect(&r, grow, grow);
    return r;
}

// Copies a rectangle of the screen, the part on the screen, into a BMP file.
void Save(RECT r, const std::string& name) {
    Pump(200);
    const RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &desktop);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0,
                          0, sizeof file + sizeof info};
    const std::string path = folder + "\\" + name + ".bmp";
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
}

// Ctrl+Tab through the program's own keyboard handling, `times` times.
void NextPage(app::frmMain& main, int times) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    for (int i = 0; i < times; ++i)
        main.PreTranslateMessage({main.Handle(), WM_KEYDOWN, VK_TAB, 1, 0, {}});
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The popup menu as Shift+F10 opens it.
void Menu(app::frmMain& main) {
    SendMessageW(main.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main.Handle()), -1);
}

// "Settings..." from the menu, then the dialog's picture.
void ShootDialog(app::frmMain& main, const std::string& name) {
    WhenShown(L"#32768", [name](HWND menu) {
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        WhenShown(L"OrteliaSettings", [name](HWND dialog) {
            SetFocus(nullptr); // no focus rectangle or caret in the picture
            Save(Outer(dialog, 4), name);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    });
    Menu(main);
}

void Pages(app::frmMain& main) {
    SetWindowPos(main.Handle(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (const char* page : {"page-cp-length", "page-0g-banking", "page-station-length",
                             "page-lim-length", "page-converter"}) {
        Save(Outer(main.Handle(), 4), page);
        NextPage(main, 1);
    }
    SetCursorPos(340, 110);
    WhenShown(L"#32768", [&main](HWND menu) {
        RECT both, window = Outer(main.Handle(), 4), items = Outer(menu, 4);
        UnionRect(&both, &window, &items);
        Save(both, "popup-menu");
        EndMenu();
    });
    // A right click's menu opens at the pointer.
    SendMessageW(main.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    ShootDialog(main, "settings-dialog");
    const HWND editor = CreateWindowExW(0, L"STATIC", L"coaster.kse - Kestrava Editor",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 200, 640, 400,
                                        nullptr, nullptr, nullptr, nullptr);
    // Without a window manager the new window lands above everything: leave and re-enter
    // the topmost band, so that the picture shows what a desktop shows.
    for (HWND band : {HWND_NOTOPMOST, HWND_TOPMOST})
        SetWindowPos(main.Handle(), band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const char* corners[] = {"docked-top-left", "docked-top-right", "docked-bottom-left",
                             "docked-bottom-right"};
    for (int16_t corner = 0; corner < 4; ++corner) {
        mMain::Settings().iDockCorner = corner;
        SendMessageW(main.Handle(), WM_TIMER, app::frmMain::kDockTimer, 0);
        Save(Outer(editor, 8), corners[corner]);
    }
    DestroyWindow(editor);
}

// The window with its "LIM Length" page, then the dialog, low enough on the screen that
// the dialog, centred over the window, lies wholly on it.
void WindowAndDialog(app::frmMain& main, const std::string& window, const std::string& dialog) {
    SetWindowPos(main.Handle(), nullptr, 40, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    NextPage(main, 3);
    SetFocus(main.Handle());
    Save(Outer(main.Handle(), 4), window);
    ShootDialog(main, dialog);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    char path[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, argv[1], -1, path, MAX_PATH, nullptr, nullptr);
    folder = path;
    const std::wstring what = argv[2];
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillon\\Ortelia");
    if (what == L"contrast") {
        screenshots::NoVisualStyle classic;
        screenshots::SchemeGuard scheme(screenshots::HighContrastBlack());
        app::frmMain main;
        main.Load(GetModuleHandleW(nullptr));
        WindowAndDialog(main, "high-contrast-main-window", "high-contrast-settings-dialog");
        return 0;
    }
    app::frmMain main;
    if (!main.Load(GetModuleHandleW(nullptr)))
        return 1;
    if (what == L"pages") {
        Pages(main);
    } else {
        const HDC screen = GetDC(nullptr);
        const std::string dpi = std::to_string(GetDeviceCaps(screen, LOGPIXELSY)) + "dpi";
        ReleaseDC(nullptr, screen);
        WindowAndDialog(main, "main-window-" + dpi, "settings-dialog-" + dpi);
    }
    return 0;
}
