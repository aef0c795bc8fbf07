// The real ortelia.exe in a process of its own, driven with keys, messages, the registry and
// an editor window of this process: what only the program's own message loop shows.
#include "support.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using namespace support;

// ORTELIA_EXE's program (the build's, an installed one), else the one beside this, in scope.
struct Program {
    PROCESS_INFORMATION pi{};
    Program() {
        wchar_t exe[MAX_PATH] = L"ortelia.exe";
        GetEnvironmentVariableW(L"ORTELIA_EXE", exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        TerminateProcess(pi.hProcess, 99); // if it still runs
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    // The program's visible top-level window of a class (and title), once there is one.
    HWND Await(const wchar_t* cls, const wchar_t* title = nullptr) const {
        HWND found = nullptr;
        PumpUntil([&] {
            for (HWND h = nullptr; !found && (h = FindWindowExW(nullptr, h, cls, title));)
                if (GetWindowThreadProcessId(h, nullptr) == pi.dwThreadId && IsWindowVisible(h))
                    found = h;
            return found != nullptr;
        });
        return found;
    }
    GUITHREADINFO Gui() const { // its focus and loops
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(pi.dwThreadId, &gui), gui;
    }
    // The exit code within `ms`, or STILL_ACTIVE (259) while the program runs on.
    DWORD Exit(int ms = 3000) const {
        DWORD code = STILL_ACTIVE;
        PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, ms);
        return GetExitCodeProcess(pi.hProcess, &code), code;
    }
};

// Auto-close off: docked 60 pixels below a minimised editor's top, off the screen at any
// density; the editor closed, back on the screen within two ticks; closed, status 0, no write.
TEST(Program, ComesBackOnScreenAfterAMinimisedEditorCloses) {
    CleanKey key("1:1:0:60:0:1");
    const HWND editor = CreateWindowW(L"STATIC", L"e - Kestrava Editor", WS_OVERLAPPEDWINDOW, 200,
                                      200, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(editor, SW_SHOWMINIMIZED);
    Program ortelia;
    const HWND main = ortelia.Await(L"OrteliaMain");
    const auto onScreen = [&] {
        RECT r{};
        GetWindowRect(main, &r);
        return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
               r.top + 20 <= GetSystemMetrics(SM_CYSCREEN);
    };
    EXPECT_TRUE(PumpUntil([&] { return !onScreen(); }, 2500)) << "follows the editor off it";
    DestroyWindow(editor);
    EXPECT_TRUE(PumpUntil(onScreen, 2000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(ortelia.Exit(), 0u);
    EXPECT_EQ(Stored(), "1:1:0:60:0:1") << "nothing written";
}

// A malformed stored code is reported before the window appears, which then has the default
// units. Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch pages round the row,
// putting the focus into the page's first field; Tab and Shift+Tab go round the page. Shift+F10
// opens the menu for "Settings...", where another program fills in the dialog and presses OK
// (a sent message, inside the dialog's loop): applied at once, not at the next tick, and
// stored. The menu's "Exit" ends the program with status 0.
TEST(Program, AnInvalidCodeReportedThenTheKeysAnotherProgramsOkAndTheMenusExit) {
    CleanKey key("1:2:3");
    Program ortelia;
    const HWND box = ortelia.Await(L"#32770", L"Ortelia");
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"OrteliaMain", nullptr))) << "the box comes first";
    EXPECT_EQ(BoxText(box), L"Invalid Settings Code|OK");
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const HWND main = ortelia.Await(L"OrteliaMain", L"Ortelia");
    const auto pages = Children(main, L"OrteliaTabContainer");
    const HWND unit = FindWindowExW(pages.at(3), nullptr, L"Static", nullptr);
    EXPECT_EQ(support::Text(unit), L"Kmph");
    // clang-format off
    const struct { std::initializer_list<WORD> chord; int page, field; } steps[] = {
        {{VK_CONTROL, VK_TAB}, 1, 0}, {{VK_CONTROL, VK_NEXT}, 2, 0}, {{VK_CONTROL, VK_SHIFT, VK_TAB}, 1, 0},
        {{VK_CONTROL, VK_PRIOR}, 0, 0}, {{VK_CONTROL, VK_PRIOR}, 4, 0}, {{VK_NEXT}, 4, 0}, {{VK_TAB}, 4, 1},
        {{VK_TAB}, 4, 2}, {{VK_SHIFT, VK_TAB}, 4, 1}, {{VK_CONTROL, VK_MENU, VK_TAB}, 4, 1}};
    // clang-format on
    for (const auto& s : steps) {
        Keys({s.chord}, main);
        const HWND field = Children(pages.at(s.page), L"Edit").at(s.field); // waited for
        EXPECT_TRUE(PumpUntil([&] { return ortelia.Gui().hwndFocus == field; }, 1000))
            << "focus " << ortelia.Gui().hwndFocus << ", not " << field;
        for (int n = 0; n < 5; ++n)
            EXPECT_EQ(IsWindowVisible(pages.at(n)) != 0, n == s.page) << n << " for " << s.page;
    }
    Keys({{VK_SHIFT, VK_F10}, {VK_DOWN}, {VK_RETURN}}, main); // "Settings..."
    const HWND dialog = ortelia.Await(L"OrteliaSettings");
    EXPECT_EQ(Stored(), "1:2:3") << "not rewritten at start";
    for (const wchar_t* caption : {L"Imperial", L"Bottom - Left"})
        Click(dialog, caption);
    SendMessageW(Children(dialog, L"Edit").at(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12"));
    Click(dialog, L"OK");
    EXPECT_TRUE(PumpUntil([&] { return support::Text(unit) == L"Mph"; }, 500)) << "not at a tick";
    EXPECT_EQ(Stored(), "1:2:12:22:1:0");
    // "Exit", chosen again should Wine's late focus events after the dialog close the menu first.
    for (int n = 0; n < 3 && ortelia.Exit(n ? 1500 : 0) == STILL_ACTIVE; ++n)
        Keys({{VK_SHIFT, VK_F10}, {VK_UP}, {VK_RETURN}}, main);
    EXPECT_EQ(ortelia.Exit(), 0u);
}

// Auto-close on, the editor seen, it closes while a loop of the program's or the system's runs:
// the loop ends, and the program with status 0 within two ticks, writing nothing.
TEST(Program, EndsWithinTwoTicksOfTheEditorWhicheverLoopRuns) {
    const char* code = "1:0:0:0:1:1";
    const char* loops[] = {"menu", "dialog", "field's menu", "system menu", "move", "dialog move"};
    for (int loop = 0; loop < 6; ++loop) {
        CleanKey key(code);
        const HWND editor = CreateWindowW(L"STATIC", L"e - Kestrava Editor", WS_POPUP | WS_VISIBLE,
                                          200, 200, 600, 400, nullptr, nullptr, nullptr, nullptr);
        Program ortelia;
        const HWND main = ortelia.Await(L"OrteliaMain");
        EXPECT_TRUE(PumpUntil([&] { // seen, and docked into its top-left corner
            return Place(main, GetDesktopWindow()).starts_with("200,200 ");
        }));
        RECT r{}; // a field pressed with the right button; the title bar pressed and held
        const HWND page = Children(main, L"OrteliaTabContainer").at(0);
        GetWindowRect(loop == 2 ? FindWindowExW(page, nullptr, L"Edit", nullptr) : main, &r);
        if (loop == 2 || loop == 4)
            ClickAt({(r.left + r.right) / 2, r.top + 10},
                    loop == 2 ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN,
                    loop == 2 ? MOUSEEVENTF_RIGHTUP : 0);
        else
            Keys({{WORD(loop == 3 ? VK_MENU : VK_SHIFT), WORD(loop == 3 ? VK_SPACE : VK_F10)}},
                 main);
        if (loop == 1 || loop == 5) // the menu's "Settings..."
            Keys({{VK_DOWN}, {VK_RETURN}});
        const HWND dialog = loop == 1 || loop == 5 ? ortelia.Await(L"OrteliaSettings") : nullptr;
        if (loop == 5)
            Keys({{VK_MENU, VK_SPACE}, {'M'}}, dialog);
        const DWORD flag = loop >= 4 ? GUI_INMOVESIZE : GUI_INMENUMODE;
        EXPECT_TRUE(PumpUntil(
            [&] { return loop == 1 ? IsWindowVisible(dialog) : ortelia.Gui().flags & flag; }, 1000))
            << loops[loop];
        DestroyWindow(editor);
        EXPECT_EQ(ortelia.Exit(2000), 0u) << loops[loop];
        EXPECT_EQ(Stored(), code);
        if (loop == 4)
            mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
}

} // namespace
