// Processes and their windows: starting and ending programs, finding and reading
// windows, and the mouse, keyboard and clipboard of a user.
#pragma once

#include "basics.h"

#include <windows.h>

#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace blackbox {

class Process {
  public:
    // With `withInput`, the process's standard input is a pipe fed by Send.
    explicit Process(std::wstring commandLine, bool withInput = false) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        HANDLE readEnd = nullptr;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (withInput && !CreatePipe(&readEnd, &input_, &inherit, 0))
            Fail("cannot make a pipe");
        if (withInput) {
            SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdInput = readEnd;
        }
        const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr,
                                            withInput, 0, nullptr, nullptr, &si, &info_);
        if (readEnd)
            CloseHandle(readEnd);
        if (!started)
            Fail("cannot start " + Utf8(commandLine) + " (error " + std::to_string(GetLastError()) +
                 ")");
        CloseHandle(info_.hThread);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() { // ends the process if it still runs
        Kill();
        CloseHandle(info_.hProcess);
        if (input_)
            CloseHandle(input_);
    }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    std::optional<DWORD> WaitExit(int timeoutMs) {
        DWORD code = 0;
        if (WaitForSingleObject(info_.hProcess, DWORD(timeoutMs)) != WAIT_OBJECT_0)
            return std::nullopt;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    void Kill() {
        if (Running() && TerminateProcess(info_.hProcess, 99))
            WaitForSingleObject(info_.hProcess, 5000);
    }
    bool Send(const std::string& line) {
        const std::string text = line + "\n";
        DWORD written = 0;
        return WriteFile(input_, text.data(), DWORD(text.size()), &written, nullptr) &&
               written == text.size();
    }

  private:
    PROCESS_INFORMATION info_{};
    HANDLE input_ = nullptr;
};

// A program beside this test program, unless the environment names another; quoted.
inline std::wstring ProgramPath(const wchar_t* variable, const char* relative) {
    wchar_t path[MAX_PATH];
    if (const DWORD n = GetEnvironmentVariableW(variable, path, MAX_PATH); n && n < MAX_PATH)
        return L"\"" + std::wstring(path) + L"\"";
    const std::wstring own(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring full = own.substr(0, own.find_last_of(L"\\/") + 1) + Wide(relative);
    std::replace(full.begin(), full.end(), L'/', L'\\');
    return L"\"" + full + L"\"";
}

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = L"";
    GetClassNameW(hwnd, name, 128);
    return name;
}

// A message answered within 10 s, or a failure that says whether the window hangs or is gone.
inline LRESULT Ask(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 10000, &result))
        Fail("window " + Utf8(ClassOf(hwnd)) + " did not answer message " + std::to_string(msg) +
             (IsWindow(hwnd) ? " (its program hangs)" : " (it is gone)"));
    return LRESULT(result);
}

// WM_GETTEXT (another process's edit keeps its text to itself otherwise); one round trip
// for the usual text, the length first only for a longer one.
inline std::wstring TextOf(HWND hwnd) {
    std::wstring text(4096, L'\0');
    auto got = size_t(Ask(hwnd, WM_GETTEXT, text.size(), LPARAM(text.data())));
    if (got + 1 >= text.size()) {
        text.assign(size_t(Ask(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
        got = size_t(Ask(hwnd, WM_GETTEXT, text.size(), LPARAM(text.data())));
    }
    text.resize(std::min(got, text.size() - 1));
    return text;
}

inline RECT RectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}
inline POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
inline bool Visible(HWND hwnd) {
    return hwnd && IsWindowVisible(hwnd);
}

// Top-level windows of a process, hidden ones included; with `cls`, of that class only.
inline std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* cls = nullptr) {
    std::vector<HWND> all, found;
    EnumWindows(
        [](HWND w, LPARAM lp) {
            return reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w), TRUE;
        },
        LPARAM(&all));
    for (HWND w : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && (!cls || _wcsicmp(ClassOf(w).c_str(), cls) == 0))
            found.push_back(w);
    }
    return found;
}
inline HWND FirstVisible(DWORD pid, const wchar_t* cls) {
    for (HWND w : TopLevelWindows(pid, cls))
        if (Visible(w))
            return w;
    return nullptr;
}
inline std::vector<HWND> Children(HWND parent, const wchar_t* cls) { // direct, left to right
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(child).c_str(), cls) == 0)
            found.push_back(child);
    std::stable_sort(found.begin(), found.end(),
                     [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
    return found;
}

// Every event carries the point: the X server may report a pointer warp to Wine late and
// move the cursor back to an earlier click's place, where a bare press would then land.
enum class Button { Left, Right };
inline void ClickAt(POINT at, Button button = Button::Left) {
    const bool left = button == Button::Left;
    const DWORD flags[3] = {0, DWORD(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN),
                            DWORD(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP)};
    // The normalized coordinate whose pixel, (n * size) >> 16, is the point.
    auto normal = [](LONG pixel, int size) {
        return LONG((int64_t(pixel) * 65536 + size - 1) / size);
    };
    INPUT input[3]{};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi = {normal(at.x, GetSystemMetrics(SM_CXSCREEN)),
                       normal(at.y, GetSystemMetrics(SM_CYSCREEN)),
                       0,
                       MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags[i],
                       0,
                       0};
    }
    if (SendInput(3, input, sizeof(INPUT)) != 3)
        Fail("the system took no mouse input");
}

// Keystrokes to the focus: '\b' Backspace, anything else that character.
inline void PressKeys(std::wstring_view keys) {
    std::vector<INPUT> input;
    for (wchar_t c : keys)
        for (DWORD up : {0, KEYEVENTF_KEYUP}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki = c == L'\b' ? KEYBDINPUT{VK_BACK, 0, up, 0, 0}
                                : KEYBDINPUT{0, c, KEYEVENTF_UNICODE | up, 0, 0};
            input.push_back(key);
        }
    if (SendInput(UINT(input.size()), input.data(), sizeof(INPUT)) != input.size())
        Fail("the system took no keyboard input");
}

inline void SetClipboardText(std::wstring_view text) {
    if (!WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 2000))
        Fail("the clipboard stays open in another program");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    *std::copy(text.begin(), text.end(), static_cast<wchar_t*>(GlobalLock(memory))) = L'\0';
    GlobalUnlock(memory);
    const bool stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!stored)
        Fail("the clipboard took no text");
}

} // namespace blackbox
