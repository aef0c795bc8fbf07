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
#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// IID_IAccessible; MinGW-w64's oleacc import library resolves the symbol to a thunk.
constexpr GUID kIidAccessible{0x618736e0, 0x3c3d, 0x11cf,
                              {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Utf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    return text;
}

// The accessible name of a window's client object, through the system, from here.
std::string AccessibleName(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "<no accessible object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result = "<no name>";
    if (SUCCEEDED(object->get_accName(self, &name)) && name)
        result = Utf8(name);
    SysFreeString(name);
    object->Release();
    return result;
}

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
        std::printf("field %s\n", AccessibleName(edit).c_str());
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
