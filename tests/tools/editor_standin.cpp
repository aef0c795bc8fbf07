// A stand-in for the track editor: one captioned top-level window with a given title and
// outer rectangle, which tests and scripts move, resize or close like any other window.
//
//   editor_standin.exe [--title TEXT] [--rect LEFT,TOP,RIGHT,BOTTOM]
//
// Defaults: "Untitled - Kestrava Editor" at 100,100,900,700. Standard input, if any,
// takes commands, one per line: "move L T R B", "title TEXT", "close".
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT kMoveTo = WM_APP + 1;  // lParam: RECT* (sent across threads)
constexpr UINT kRetitle = WM_APP + 2; // lParam: const wchar_t*

LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kMoveTo: {
        const RECT& r = *reinterpret_cast<const RECT*>(lp);
        MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        return 0;
    }
    case kRetitle:
        SetWindowTextW(hwnd, reinterpret_cast<const wchar_t*>(lp));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool ParseRect(const wchar_t* text, RECT& r) {
    long v[4];
    if (swscanf(text, L"%ld,%ld,%ld,%ld", &v[0], &v[1], &v[2], &v[3]) != 4)
        return false;
    r = {v[0], v[1], v[2], v[3]};
    return true;
}

// Reads commands from standard input and hands them to the window's thread.
DWORD WINAPI ReadCommands(void* window) {
    const HWND hwnd = static_cast<HWND>(window);
    wchar_t line[1024];
    while (fgetws(line, 1024, stdin)) {
        std::wstring command(line);
        while (!command.empty() && (command.back() == L'\n' || command.back() == L'\r'))
            command.pop_back();
        RECT r;
        if (command.rfind(L"move ", 0) == 0 && swscanf(command.c_str() + 5, L"%ld %ld %ld %ld",
                                                       &r.left, &r.top, &r.right, &r.bottom) == 4)
            SendMessageW(hwnd, kMoveTo, 0, reinterpret_cast<LPARAM>(&r));
        else if (command.rfind(L"title ", 0) == 0)
            SendMessageW(hwnd, kRetitle, 0, reinterpret_cast<LPARAM>(command.c_str() + 6));
        else if (command == L"close")
            break;
    }
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::wstring title = L"Untitled - Kestrava Editor";
    RECT rect{100, 100, 900, 700};
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (wcscmp(argv[i], L"--title") == 0)
            title = argv[i + 1];
        else if (wcscmp(argv[i], L"--rect") == 0 && !ParseRect(argv[i + 1], rect))
            return 2;
    }
    LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.lpszClassName = L"EditorStandIn";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    // Commands on standard input only when it is a pipe or file, not a console.
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    const DWORD type = in ? GetFileType(in) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK)
        CloseHandle(CreateThread(nullptr, 0, ReadCommands, hwnd, 0, nullptr));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
