// Entry point: the main window is the program; the process ends when it has gone.
#include "app/win32/frmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    app::frmMain main;
    if (!main.Load(instance))
        return 1;
    return static_cast<int>(main.MessageLoop());
}
