// Entry point: the main window is the program; the process ends when it has gone.
#include "app/win32/frmMain.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // COM on the window thread: screen readers are handed the fields' accessible objects
    // through it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        app::frmMain main;
        if (main.Load(instance)) {
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (main.PreTranslateMessage(msg))
                    continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            status = 0;
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
