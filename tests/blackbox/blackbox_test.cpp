// The real ortelia.exe in a process of its own, driven from here with keys, window
// messages, the registry and an editor window of this process: what only the program's
// own message loop shows.
#include "support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <string>

namespace {

using support::PumpUntil;

class Program {
  public:
    Program() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        // The build's program, or the one ORTELIA_EXE names (such as an installed one).
        wchar_t exe[MAX_PATH] = L"" ORTELIA_EXE;
        GetEnvironmentVariableW(L"ORTELIA_EXE", exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\"";
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi_));
        CloseHandle(pi_.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hProcess);
    }
    // The program's visible top-level window of a class (and title), or nullptr.
    HWND Window(const wchar_t* cls, const wchar_t* title = nullptr) const {
        const HWND first = FindWindowExW(nullptr, nullptr, cls, title);
        for (HWND h = first; h; h = FindWindowExW(nullptr, h, cls, title)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == pi_.dwProcessId && IsWindowVisible(h))
                return h;
        }
        return nullptr;
    }
    HWND Await(const wchar_t* cls, const wchar_t* title = nullptr) const {
        HWND found = nullptr;
        PumpUntil([&] { return (found = Window(cls, title)) != nullptr; }, 5000);
        return found;
    }
    // The exit code, or -1 if the program still runs after `ms`.
    long Exit(int ms = 3000) const {
        DWORD code = 0;
        PumpUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }, ms);
        return GetExitCodeProcess(pi_.hProcess, &code) && code != STILL_ACTIVE ? long(code) : -1;
    }

  private:
    PROCESS_INFORMATION pi_{};
};

// Another program's control's text, asked for by message.
std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = L"";
    SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND SpeedUnit(HWND main) {
    const auto pages = support::Children(main, L"OrteliaTabContainer");
    return pages.size() == 5 ? support::Children(pages[3], L"Static").at(0) : nullptr;
}

// Keys as a user types them, into the foreground window: each entry a key with the
// modifiers held before it.
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
        support::Pump(150);
    }
}

TEST(Program, AnInvalidCodeIsReportedBeforeTheWindowAppears) {
    support::CleanKey key;
    support::Store(REG_SZ, "1:2:3");
    Program ortelia;
    const HWND box = ortelia.Await(L"#32770", L"Ortelia");
    ASSERT_TRUE(box);
    EXPECT_FALSE(ortelia.Window(L"OrteliaMain")) << "the box comes first";
    std::wstring text;
    for (HWND t : support::Children(box, L"Static"))
        text += TextOf(t);
    EXPECT_EQ(text, L"Invalid Settings Code");
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const HWND main = ortelia.Await(L"OrteliaMain", L"Ortelia");
    ASSERT_TRUE(main);
    EXPECT_EQ(TextOf(SpeedUnit(main)), L"Kmph");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(ortelia.Exit(), 0);
    EXPECT_EQ(support::Stored(), "1:2:3");
}

TEST(Program, EndsWithStatusZeroAndWritesNothing) {
    for (int way = 0; way < 3; ++way) {
        support::CleanKey key;
        const char* code = way == 2 ? "1:0:0:0:1:1" : "1:0:0:0:0:1"; // closing with the editor
        support::Store(REG_SZ, code);
        HWND editor = CreateWindowExW(0, L"STATIC", L"e - Kestrava Editor", WS_POPUP | WS_VISIBLE,
                                      200, 200, 600, 400, nullptr, nullptr, nullptr, nullptr);
        Program ortelia;
        const HWND main = ortelia.Await(L"OrteliaMain");
        ASSERT_TRUE(main);
        // Docked on the real timer, into the top-left corner.
        EXPECT_TRUE(PumpUntil(
            [&] {
                RECT r{};
                return GetWindowRect(main, &r) && r.left == 200 && r.top == 200;
            },
            2500));
        if (way == 0)
            PostMessageW(main, WM_CLOSE, 0, 0);
        else if (way == 1)
            Keys(main, {{VK_SHIFT, VK_F10}, {VK_UP}, {VK_RETURN}}); // the menu's Exit
        else
            DestroyWindow(editor);
        EXPECT_EQ(ortelia.Exit(), 0) << way;
        EXPECT_EQ(support::Stored(), code) << way;
        DestroyWindow(editor);
    }
}

TEST(Program, SettingsFromTheDialogAreStoredAndComeBackAfterARestart) {
    support::CleanKey key;
    {
        Program ortelia;
        const HWND main = ortelia.Await(L"OrteliaMain");
        ASSERT_TRUE(main);
        Keys(main, {{VK_SHIFT, VK_F10}, {VK_DOWN}, {VK_RETURN}}); // the menu's "Settings..."
        const HWND dialog = ortelia.Await(L"OrteliaSettings");
        ASSERT_TRUE(dialog);
        // Another program fills the dialog in and presses OK.
        const auto button = [&](const wchar_t* caption) {
            return FindWindowExW(dialog, nullptr, L"Button", caption);
        };
        SendMessageW(button(L"Imperial"), BM_CLICK, 0, 0);
        SendMessageW(button(L"Bottom - Left"), BM_CLICK, 0, 0);
        const auto boxes = support::Children(dialog, L"Edit");
        SendMessageW(boxes.at(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12"));
        SendMessageW(boxes.at(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-7"));
        SendMessageW(button(L"OK"), BM_CLICK, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return TextOf(SpeedUnit(main)) == L"Mph"; }, 500))
            << "applied at once, not at the next tick";
        EXPECT_EQ(support::Stored(), "1:2:12:-7:1:0");
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(ortelia.Exit(), 0);
    }
    Program again;
    const HWND main = again.Await(L"OrteliaMain");
    ASSERT_TRUE(main);
    EXPECT_EQ(TextOf(SpeedUnit(main)), L"Mph");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.Exit(), 0);
}

} // namespace
