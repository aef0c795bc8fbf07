// The real ortelia.exe in a process of its own, driven from here with keys, window
// messages, the registry and an editor window of this process: what only the program's
// own message loop shows.
#include "support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>

namespace {

using support::PumpUntil;
using support::Text;

class Program {
  public:
    Program() { // the build's program, or the one ORTELIA_EXE names (an installed one)
        wchar_t exe[MAX_PATH] = L"" ORTELIA_EXE;
        GetEnvironmentVariableW(L"ORTELIA_EXE", exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi_));
    }
    ~Program() {
        TerminateProcess(pi_.hProcess, 99); // if it still runs
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    // The program's visible top-level window of a class (and title), once there is one.
    HWND Await(const wchar_t* cls, const wchar_t* title = nullptr) const {
        HWND found = nullptr;
        PumpUntil([&] {
            for (HWND h = nullptr; !found && (h = FindWindowExW(nullptr, h, cls, title));) {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                found = pid == pi_.dwProcessId && IsWindowVisible(h) ? h : nullptr;
            }
            return found != nullptr;
        });
        return found;
    }
    // The exit code, or -1 while the program still runs.
    long Exit() const {
        DWORD code = STILL_ACTIVE;
        PumpUntil([&] { return GetExitCodeProcess(pi_.hProcess, &code) && code != STILL_ACTIVE; });
        return code == STILL_ACTIVE ? -1 : long(code);
    }

  private:
    PROCESS_INFORMATION pi_{};
};

std::wstring SpeedUnit(HWND main) {
    return Text(
        support::Children(support::Children(main, L"OrteliaTabContainer").at(3), L"Static")[0]);
}

// Keys as a user types them into the window: each a key with the modifiers before it.
void Keys(HWND window, std::initializer_list<std::initializer_list<WORD>> chords) {
    SetForegroundWindow(window);
    PumpUntil([&] { return GetForegroundWindow() == window; }, 1000);
    for (const auto& chord : chords) {
        std::vector<INPUT> input;
        for (WORD key : chord)
            input.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
        for (auto key = std::rbegin(chord); key != std::rend(chord); ++key)
            input.push_back({INPUT_KEYBOARD, {.ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}}});
        SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
        PumpUntil([] { return false; }, 150);
    }
}

TEST(Program, AnInvalidCodeIsReportedBeforeTheWindowAppears) {
    support::CleanKey key;
    support::Store(REG_SZ, "1:2:3");
    Program ortelia;
    const HWND box = ortelia.Await(L"#32770", L"Ortelia");
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"OrteliaMain", nullptr))) << "the box comes first";
    std::wstring text;
    for (HWND t : support::Children(box, L"Static"))
        text += Text(t);
    EXPECT_EQ(text, L"Invalid Settings Code");
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const HWND main = ortelia.Await(L"OrteliaMain", L"Ortelia");
    EXPECT_EQ(SpeedUnit(main), L"Kmph");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(ortelia.Exit(), 0);
    EXPECT_EQ(support::Stored(), "1:2:3");
}

TEST(Program, DocksOnItsTimerAndEndsWithStatusZeroWritingNothing) {
    // Ended by the close box, or by the editor closing with auto-close on.
    for (const char* code : {"1:0:0:0:0:1", "1:0:0:0:1:1"}) {
        support::CleanKey key;
        support::Store(REG_SZ, code);
        const HWND editor =
            CreateWindowExW(0, L"STATIC", L"e - Kestrava Editor", WS_POPUP | WS_VISIBLE, 200, 200,
                            600, 400, nullptr, nullptr, nullptr, nullptr);
        Program ortelia;
        const HWND main = ortelia.Await(L"OrteliaMain");
        EXPECT_TRUE(PumpUntil([&] { // into the editor's top-left corner
            RECT r{};
            return GetWindowRect(main, &r) && r.left == 200 && r.top == 200;
        }));
        if (code[8] == '1')
            DestroyWindow(editor);
        else
            PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(ortelia.Exit(), 0) << code;
        EXPECT_EQ(support::Stored(), code);
        DestroyWindow(editor);
    }
}

TEST(Program, SettingsOkPressedByAnotherProgramApplyAtOnceAndSurviveARestart) {
    support::CleanKey key;
    {
        Program ortelia;
        const HWND main = ortelia.Await(L"OrteliaMain");
        Keys(main, {{VK_SHIFT, VK_F10}, {VK_DOWN}, {VK_RETURN}}); // the menu's "Settings..."
        const HWND dialog = ortelia.Await(L"OrteliaSettings");
        ASSERT_TRUE(dialog);
        for (const wchar_t* option : {L"Imperial", L"Bottom - Left"})
            SendMessageW(FindWindowExW(dialog, nullptr, L"Button", option), BM_CLICK, 0, 0);
        const auto boxes = support::Children(dialog, L"Edit");
        SendMessageW(boxes.at(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12"));
        SendMessageW(boxes.at(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-7"));
        SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"OK"), BM_CLICK, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return SpeedUnit(main) == L"Mph"; }, 500)) << "not at a tick";
        EXPECT_EQ(support::Stored(), "1:2:12:-7:1:0");
        Keys(main, {{VK_SHIFT, VK_F10}, {VK_UP}, {VK_RETURN}}); // the menu's "Exit"
        EXPECT_EQ(ortelia.Exit(), 0);
    }
    Program again;
    const HWND main = again.Await(L"OrteliaMain");
    EXPECT_EQ(SpeedUnit(main), L"Mph");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.Exit(), 0);
}

} // namespace
