// Looks at a running Ortelia from another process, as the desktop and a screen reader
// see it, then closes it:
//
//   window_probe.exe [--timeout MILLISECONDS]
//
// Waits (default 20 s) for the visible top-level window "Ortelia" of class OrteliaMain
// and prints, one per line:
//
//   window <client width>x<client height> at <dpi> dpi
//   field <accessible name>        for each text field, in the window's order
//
// then asks the window to close and waits until it has gone. Exit status 0 if it was
// found and closed, 1 if it never appeared, 2 if it did not close.
#include "accessible_read.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

BOOL CALLBACK CollectEdits(HWND child, LPARAM out) {
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Edit") == 0)
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD timeout = 20000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], L"--timeout") == 0)
            timeout = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 10));

    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while (!(window = FindWindowW(L"OrteliaMain", L"Ortelia")) || !IsWindowVisible(window)) {
        if (GetTickCount() - start > timeout) {
            std::puts("no window");
            return 1;
        }
        Sleep(100);
    }
    Sleep(300); // let start-up finish its first layout

    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    std::printf("window %ldx%ld at %d dpi\n", client.right, client.bottom, dpi);

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<HWND> edits;
    EnumChildWindows(window, &CollectEdits, reinterpret_cast<LPARAM>(&edits));
    for (HWND edit : edits)
        std::printf("field %s\n", testing_tools::AccessibleNameOf(edit).c_str());
    CoUninitialize();
    std::fflush(stdout);

    PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD closing = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - closing > timeout)
            return 2;
        Sleep(50);
    }
    return 0;
}
