// The floor for start-up and footprint: the least a Win32 program from the same
// toolchain and link options does to show one window that is visible, topmost and
// answers messages. Same class-name lookup as the main window, so the benchmark waits
// for both in the same way.
//
//   minimal_window.exe [N [EXE]]   with N bare EDIT children, made with the common controls
//                                  that EXE's manifest selects: what creating as many child
//                                  windows as the main window has costs the platform alone
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"OrteliaFloorWindow";
    RegisterClassExW(&wc);
    // The main window's outer size at 96 dpi, topmost and shown without activation.
    const HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, wc.lpszClassName,
                                      L"Floor", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 409,
                                      92, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    wchar_t* rest = commandLine;
    const long children = std::wcstol(commandLine, &rest, 10);
    // The rest of the line, quotes and blanks taken off, names the program whose manifest
    // applies to the children.
    std::wstring manifestOf = rest;
    std::erase_if(manifestOf, [](wchar_t c) { return c == L'"'; });
    manifestOf.erase(0, manifestOf.find_first_not_of(L' '));
    if (!manifestOf.empty()) {
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = manifestOf.c_str();
        context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        const HANDLE handle = CreateActCtxW(&context);
        ULONG_PTR cookie = 0;
        if (handle != INVALID_HANDLE_VALUE)
            ActivateActCtx(handle, &cookie);
    }
    for (long i = 0; i < children; ++i)
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"10", WS_CHILD | WS_VISIBLE | ES_RIGHT,
                        static_cast<int>(i % 10) * 40, static_cast<int>(i / 10) * 20, 38, 19, hwnd,
                        nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
