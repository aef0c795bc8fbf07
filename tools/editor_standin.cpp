// A stand-in for the track editor, for trying the docking by hand (scripts/run --editor):
// one captioned top-level window titled "Untitled - Kestrava Editor" that can be moved,
// sized and closed like any other.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    };
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    wc.lpszClassName = L"KestravaEditorStandIn";
    RegisterClassW(&wc);
    const HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, L"Untitled - Kestrava Editor", WS_OVERLAPPEDWINDOW,
                        100, 100, 800, 600, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
