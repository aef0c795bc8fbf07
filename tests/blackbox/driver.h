// Drives a running ortelia.exe from outside, as a user or another program can: window
// messages, mouse clicks and keystrokes at screen points, the registry and editor stand-in
// processes. Windows are found by class and caption, tab captions and menu items by the
// pixels on the screen; what a result field must show comes from the platform-free core.
// Operations that find the program not doing what they need throw Failure.
#pragma once

#include "calc/converter.h"
#include "calc/formulas.h"
#include "controls/geometry.h"
#include "docking/dock_placement.h"
#include "settings/settings.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace blackbox {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] inline void Fail(const std::string& what) {
    throw Failure(what);
}

inline std::string Utf8(std::wstring_view text) {
    const int size = int(text.size());
    std::string out(
        size_t(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        0);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), int(out.size()), nullptr,
                        nullptr);
    return out;
}
inline std::wstring Wide(std::string_view utf8) {
    const int size = int(utf8.size());
    std::wstring out(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), 0);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), int(out.size()));
    return out;
}
inline std::string Quote(std::wstring_view text) { // shortened for messages
    std::string s(1, '"');
    s += Utf8(text.substr(0, 60));
    s += '"';
    if (text.size() > 60)
        s += "...(" + std::to_string(text.size()) + " characters)";
    return s;
}

// How often an action was repeated because its first attempt was lost on the way (a menu
// that Wine closed before it took the choice, a click swallowed by a late activation).
inline int& Retries() {
    static int retries = 0;
    return retries;
}

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 5) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (; !done(); Sleep(DWORD(pollMs)))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

// ---- The registry value HKCU\Software\Quillon\Ortelia "Settings" ----
inline constexpr const char* kKey = "Software\\Quillon\\Ortelia";

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

inline StoredValue ReadStoredSettings() {
    StoredValue v;
    HKEY key;
    DWORD size = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    if (RegQueryValueExW(key, L"Settings", nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.resize(size);
        v.present =
            RegQueryValueExW(key, L"Settings", nullptr, &v.type,
                             reinterpret_cast<BYTE*>(v.bytes.data()), &size) == ERROR_SUCCESS;
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

inline void StoreSettings(const std::string& code) { // REG_SZ, as the program writes it
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS)
        Fail("cannot create the settings key");
    const LSTATUS status =
        RegSetValueExA(key, "Settings", 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                       DWORD(code.size() + 1));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        Fail("cannot store the settings value");
}

inline void RemoveSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

inline std::optional<std::string> StoredCode(const StoredValue& v) { // the REG_SZ text
    if (!v.present || v.type != REG_SZ)
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(v.bytes.data()), v.bytes.size() / 2);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return Utf8(text);
}

inline std::string Describe(const StoredValue& v) { // e.g. type 1 "0:2:12:-3:0:0"
    const auto code = StoredCode(v);
    return !v.present
               ? "<no value>"
               : "type " + std::to_string(v.type) + " " +
                     (code ? "\"" + *code + "\"" : std::to_string(v.bytes.size()) + " bytes");
}

// ---- Processes and windows ----
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

// ---- Resources ----
struct Usage {
    int windows = 0;
    int gdiObjects = 0; // -1 when unknown
    uint64_t privateBytes = 0;
};

// Wine has no GetGuiResources, but keeps each process's GDI handle table in that process's
// memory, at the address the (64-bit) PEB names: one 24-byte entry per handle, whose type
// byte (offset 14) is 0 when the slot is free.
inline int WineGdiObjects(HANDLE process) {
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    void* table = nullptr;
    std::vector<unsigned char> entries(0x10000 * 24);
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + 0xF8, &table,
                           sizeof table, nullptr) ||
        !table || !ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        return -1;
    int live = 0;
    for (size_t i = 14; i < entries.size(); i += 24)
        live += entries[i] != 0;
    return live;
}

// Windows counted by EnumWindows and EnumChildWindows; GDI objects by GetGuiResources or
// from Wine's handle table; private bytes from GetProcessMemoryInfo, where Windows gives
// the commit charge and Wine, which leaves that 0, the private resident memory as
// page-file usage (which Windows keeps equal to the commit charge).
inline Usage MeasureUsage(const Process& process) {
    Usage u;
    for (HWND top : TopLevelWindows(process.Id())) {
        ++u.windows;
        EnumChildWindows(
            top, [](HWND, LPARAM lp) { return ++*reinterpret_cast<int*>(lp), TRUE; },
            LPARAM(&u.windows));
    }
    const DWORD gdi = GetGuiResources(process.Handle(), GR_GDIOBJECTS);
    u.gdiObjects = gdi ? int(gdi) : WineGdiObjects(process.Handle());
    PROCESS_MEMORY_COUNTERS_EX m{};
    if (GetProcessMemoryInfo(process.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m),
                             sizeof m))
        u.privateBytes = m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
    return u;
}

inline std::string Describe(const Usage& u) {
    return std::to_string(u.windows) + " windows, " + std::to_string(u.gdiObjects) +
           " GDI objects, " + std::to_string(u.privateBytes / 1024) + " KiB private";
}

// ---- The screen ----

// Groups of text in a rectangle of the screen: pixels nearer the system colour `ink` than
// `paper`, except straight runs longer than 60 % of the extent (edges, borders). Columns
// (or rows) of ink closer than `gap` empty ones form one group, returned in screen pixels.
inline std::vector<RECT> InkGroups(const RECT& area, bool columns, int ink, int paper, int gap) {
    const int w = std::max<int>(0, area.right - area.left),
              h = std::max<int>(0, area.bottom - area.top);
    std::vector<uint32_t> pixels(size_t(w) * h);
    if (pixels.empty())
        return {};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), pixels.size(), pixels.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    auto distance = [](uint32_t p, COLORREF c) {
        const int r = int(p >> 16 & 0xFF) - GetRValue(c), g = int(p >> 8 & 0xFF) - GetGValue(c),
                  b = int(p & 0xFF) - GetBValue(c);
        return r * r + g * g + b * b;
    };
    std::vector<char> mark(pixels.size()), line(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        mark[i] = distance(pixels[i], GetSysColor(ink)) < distance(pixels[i], GetSysColor(paper));
    for (int pass = 0; pass < 2; ++pass) { // runs along rows, then along columns
        const int outer = pass ? w : h, inner = pass ? h : w, longRun = std::max(3, inner * 6 / 10);
        for (int o = 0; o < outer; ++o)
            for (int i = 0, run = 0; i <= inner; ++i) {
                auto at = [&](int k) { return pass ? size_t(k) * w + o : size_t(o) * w + k; };
                if (i < inner && mark[at(i)]) {
                    ++run;
                    continue;
                }
                for (int k = i - run; run >= longRun && k < i; ++k)
                    line[at(k)] = 1;
                run = 0;
            }
    }
    std::vector<RECT> groups;
    for (int i = 0, last = -gap - 2; i < (columns ? w : h); ++i) {
        int first = -1, final = -1;
        for (int j = 0; j < (columns ? h : w); ++j)
            if (const size_t k = columns ? size_t(j) * w + i : size_t(i) * w + j;
                mark[k] && !line[k])
                final = j, first = first < 0 ? j : first;
        if (first < 0)
            continue;
        RECT r = columns ? RECT{i, first, i + 1, final + 1} : RECT{first, i, final + 1, i + 1};
        OffsetRect(&r, area.left, area.top);
        if (groups.empty() || i - last > gap + 1)
            groups.push_back(r);
        else
            UnionRect(&groups.back(), &groups.back(), &r);
        last = i;
    }
    return groups;
}

// The point where a window reports its close box, along the middle of its title bar.
inline std::optional<POINT> CloseBoxPoint(HWND hwnd) {
    const RECT outer = RectOf(hwnd);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    const int y = (outer.top + client.y) / 2;
    for (int x = outer.right - 1; x > (outer.left + outer.right) / 2; --x)
        if (Ask(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            return POINT{x, y};
    return std::nullopt;
}

// ---- The settings dialog ----
struct DialogState {
    bool dock = false;
    int corner = -1; // -1: none selected
    std::wstring offsetX, offsetY;
    bool autoClose = false;
    bool metric = false;
    bool operator==(const DialogState&) const = default;
};

inline std::string Describe(const DialogState& d) {
    return std::string("dock ") + (d.dock ? "on" : "off") + ", corner " + std::to_string(d.corner) +
           ", offsets " + Quote(d.offsetX) + " x " + Quote(d.offsetY) + ", auto-close " +
           (d.autoClose ? "on" : "off") + ", " + (d.metric ? "metric" : "imperial");
}

inline DialogState DialogFor(const settings::Settings& s) { // what the dialog shows for them
    return {s.bDockEnabled,
            s.iDockCorner >= 0 && s.iDockCorner < 4 ? s.iDockCorner : -1,
            std::to_wstring(s.lDockOffsetX),
            std::to_wstring(s.lDockOffsetY),
            s.bAutoClose,
            s.bMetric};
}

class SettingsDialog {
  public:
    enum class Close { Ok, Cancel, CloseBox };

    explicit SettingsDialog(HWND dialog) : dialog_(dialog) {
        const std::map<std::wstring, HWND*> byCaption{
            {L"Dock with Kestrava Editor", &dock_},
            {L"Top - Left", &corner_[0]},
            {L"Top - Right", &corner_[1]},
            {L"Bottom - Left", &corner_[2]},
            {L"Bottom - Right", &corner_[3]},
            {L"Automatically Close when the Kestrava Editor Closes", &autoClose_},
            {L"Metric", &metric_},
            {L"Imperial", &imperial_},
            {L"OK", &ok_},
            {L"Cancel", &cancel_}};
        for (HWND button : Children(dialog, L"Button"))
            if (auto slot = byCaption.find(TextOf(button)); slot != byCaption.end())
                *slot->second = button;
        for (const auto& [caption, slot] : byCaption)
            if (!*slot)
                Fail("the settings dialog has no button " + Quote(caption));
        const auto edits = Children(dialog, L"Edit");
        if (edits.size() != 2)
            Fail("the settings dialog has " + std::to_string(edits.size()) + " text boxes, not 2");
        offset_[0] = edits[0], offset_[1] = edits[1];
    }

    DialogState Read() const {
        auto checked = [](HWND button) { return Ask(button, BM_GETCHECK, 0, 0) == BST_CHECKED; };
        DialogState d{checked(dock_),      -1,
                      TextOf(offset_[0]),  TextOf(offset_[1]),
                      checked(autoClose_), checked(metric_)};
        for (int i = 0; i < 4; ++i)
            if (checked(corner_[i]))
                d.corner = d.corner < 0 ? i : 99; // 99: more than one
        if (d.metric == checked(imperial_))
            d.corner = 98; // both units or neither: a broken group, shown through the corner
        return d;
    }

    // Clicks the buttons with BM_CLICK, not the mouse: without a window manager Wine
    // activates the dialog once more a while after it appears, which can cancel a mouse
    // click between its press and release. Types the offsets with WM_CHAR.
    void Set(const DialogState& want) {
        Check(dock_, want.dock);
        if (want.corner >= 0 && want.corner < 4)
            Check(corner_[want.corner], true);
        for (int i = 0; i < 2; ++i) {
            const std::wstring& text = i ? want.offsetY : want.offsetX;
            Ask(offset_[i], EM_SETSEL, 0, -1);
            Ask(offset_[i], WM_CHAR, L'\b', 1);
            for (wchar_t c : text)
                Ask(offset_[i], WM_CHAR, c, 1);
            if (TextOf(offset_[i]) != text)
                Fail("typing " + Quote(text) + " into an offset box left " +
                     Quote(TextOf(offset_[i])));
        }
        Check(autoClose_, want.autoClose);
        Check(want.metric ? metric_ : imperial_, true);
    }

    void Finish(Close how) { // and waits until the dialog has gone
        const auto box = how == Close::CloseBox ? CloseBoxPoint(dialog_) : std::nullopt;
        if (how == Close::CloseBox && !box)
            Fail("the settings dialog shows no close box");
        if (box)
            ClickAt(*box);
        else
            Ask(how == Close::Ok ? ok_ : cancel_, BM_CLICK, 0, 0);
        if (!WaitUntil([&] { return !IsWindow(dialog_); }, 5000))
            Fail(std::string("the settings dialog stayed open after ") + (how == Close::Ok ? "OK"
                                                                          : how == Close::Cancel
                                                                              ? "Cancel"
                                                                              : "its close box"));
    }

  private:
    void Check(HWND control, bool checked) {
        auto state = [&] { return (Ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == checked; };
        if (!state() && (Ask(control, BM_CLICK, 0, 0), !state()))
            Fail("clicking " + Quote(TextOf(control)) + " did not make it " +
                 (checked ? "checked" : "clear"));
    }
    HWND dialog_;
    HWND dock_ = nullptr, corner_[4]{}, offset_[2]{}, autoClose_ = nullptr;
    HWND metric_ = nullptr, imperial_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
};

// ---- Ortelia ----
inline constexpr int kPages = 5;
inline constexpr const wchar_t* kTabCaptions[kPages] = {
    L"CP Length", L"0g Banking", L"Station Length", L"LIM Length", L"Converter"};

// A text field by page (0 to 4) and index from the left: calculators have inputs 0 and 1
// and result 2; the converter has metres 0, feet 1, km/h 2, mph 3.
struct FieldRef {
    int page;
    int index;
};
inline constexpr int FieldCount(int page) {
    return page < 4 ? 3 : 4;
}

// What a consistency check expects of the main window.
struct Expectation {
    bool metric = true;
    int page = -1;                   // the one page shown; -1 while all five are
    int converterSource[2] = {0, 0}; // per pair, the field last converted from
};

class Ortelia {
  public:
    Ortelia() : process_(ProgramPath(L"ORTELIA_EXE", ORTELIA_EXE_FROM_TESTS)) {}

    std::vector<HWND> MessageBoxes() const {
        std::vector<HWND> boxes = TopLevelWindows(process_.Id(), L"#32770");
        std::erase_if(boxes, [](HWND w) { return !Visible(w); });
        return boxes;
    }

    // Waits for the "Invalid Settings Code" box or the main window; returns the box, or
    // nullptr when the main window came first.
    HWND WaitForBoxOrMain() {
        HWND box = nullptr;
        const bool shown = WaitUntil(
            [&] {
                if (auto boxes = MessageBoxes(); !boxes.empty())
                    return box = boxes.front(), true;
                return FirstVisible(process_.Id(), L"OrteliaMain") || !process_.Running();
            },
            10000);
        if (!process_.Running())
            Fail("ortelia.exe ended at start-up with exit code " +
                 std::to_string(*process_.WaitExit(0)));
        if (!shown)
            Fail("ortelia.exe showed neither its main window nor a message box");
        return box;
    }

    // Waits for the main window and finds its parts: each page by a label only it shows.
    void WaitForMain() {
        if (WaitForBoxOrMain())
            Fail("ortelia.exe shows a message box instead of its main window");
        main_ = FirstVisible(process_.Id(), L"OrteliaMain");
        const auto headers = Children(main_, L"OrteliaTabHead");
        const auto pages = Children(main_, L"OrteliaTabContainer");
        if (headers.size() != 1 || pages.size() != kPages)
            Fail("the main window has " + std::to_string(headers.size()) + " tab headers and " +
                 std::to_string(pages.size()) + " pages, not 1 and 5");
        header_ = headers[0];
        const wchar_t* kMarks[kPages] = {L"Degrees", L"g Vertical", L"Cars per Train",
                                         L"g Acceleration", L"f"};
        for (HWND page : pages) {
            const auto labels = Children(page, L"Static");
            int n = -1;
            for (HWND label : labels)
                for (int i = 0; i < kPages; ++i)
                    n = TextOf(label) == kMarks[i] ? i : n;
            if (n < 0 || pages_[n])
                Fail("a page of the main window is none of the five calculator pages");
            pages_[n] = page;
            fields_[n] = Children(page, L"Edit");
            if (int(fields_[n].size()) != FieldCount(n))
                Fail("page " + Utf8(kTabCaptions[n]) + " has " + std::to_string(fields_[n].size()) +
                     " fields");
            if (n == 3)
                speedUnit_ = labels.front(), launchTime_ = labels.back();
        }
    }

    Process& process() { return process_; }
    std::optional<DWORD> WaitExit(int timeoutMs) { return process_.WaitExit(timeoutMs); }
    HWND Main() const { return main_; }
    HWND Header() const { return header_; }
    HWND Page(int n) const { return pages_[n]; }
    HWND Field(FieldRef f) const { return fields_[f.page][f.index]; }
    std::wstring FieldText(FieldRef f) const { return TextOf(Field(f)); }
    HWND SpeedUnitLabel() const { return speedUnit_; }
    HWND LaunchTimeLabel() const { return launchTime_; }
    Usage MeasureUsage() const { return blackbox::MeasureUsage(process_); }

    int VisiblePage() const { // 0 to 4; -1 when all five show, -2 for any other mix
        int shown = 0, last = -2;
        for (int i = 0; i < kPages; ++i)
            if (Visible(pages_[i]))
                ++shown, last = i;
        return shown == kPages ? -1 : shown == 1 ? last : -2;
    }

    // Clicks tab n's caption, as drawn on the screen, until its page alone shows. A click
    // may be lost: the window docked elsewhere between the look and the click, or a late
    // activation took the mouse capture between press and release.
    void ClickTab(int n) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Retries() += attempt > 0;
            const bool shownAlready = VisiblePage() == n;
            ClickAt(Centre(Captions(drawnTab_)[size_t(n)]));
            if (shownAlready)
                Sleep(150); // nothing to see change: give the click time to arrive
            if (WaitUntil([&] { return VisiblePage() == n; }, 1500)) {
                drawnTab_ = n;
                return;
            }
        }
        Fail("clicking the caption " + Utf8(kTabCaptions[n]) +
             " did not show its page alone (page " + std::to_string(VisiblePage()) + " shown)");
    }

    // A point of `surface`'s own background in view: on no child, not covered.
    std::optional<POINT> BackgroundPoint(HWND surface) const {
        RECT client{};
        GetClientRect(surface, &client);
        MapWindowPoints(surface, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (surface == header_)
            client.left = Captions(drawnTab_).back().right + 2; // right of the captions
        for (int y = client.bottom - 1; y >= client.top; --y)
            for (int x = client.left + 1; x < client.right; x += 2) {
                POINT inside{x, y};
                ScreenToClient(surface, &inside);
                if (WindowFromPoint({x, y}) == surface &&
                    ChildWindowFromPointEx(surface, inside, CWP_SKIPINVISIBLE) == surface)
                    return POINT{x, y};
            }
        return std::nullopt;
    }

    HWND OpenMenu() const { return FirstVisible(process_.Id(), L"#32768"); }

    HWND RightClick(POINT at) { // the menu that opened, or nullptr
        HWND menu = nullptr;
        ClickAt(at, Button::Right);
        WaitUntil([&] { return (menu = OpenMenu()) != nullptr; }, 2000);
        return menu;
    }

    // Rows of text on the menu, once four pictures in a row agree (it may still be
    // painting); 0 when it closed meanwhile.
    size_t MenuItemCount(HWND menu) const {
        std::vector<RECT> items, previous;
        int agreeing = 0;
        WaitUntil(
            [&] {
                if (!Visible(menu))
                    return items.clear(), true;
                previous = std::exchange(
                    items, InkGroups(RectOf(menu), false, COLOR_MENUTEXT, COLOR_MENU, 3));
                const bool same =
                    std::equal(items.begin(), items.end(), previous.begin(), previous.end(),
                               [](const RECT& a, const RECT& b) { return EqualRect(&a, &b); });
                agreeing = same && !items.empty() ? agreeing + 1 : 0;
                return agreeing >= 3;
            },
            3000, 20);
        return items.size();
    }

    HWND OpenPopupMenu() { // right-clicks the page background until a menu opens
        for (int attempt = 0; attempt < 3; ++attempt) {
            Retries() += attempt > 0;
            HWND page = pages_[std::max(0, VisiblePage())];
            const auto at = BackgroundPoint(page);
            if (!at)
                Fail(
                    "no part of the page background is in view to right-click; a window of class " +
                    Utf8(ClassOf(WindowFromPoint(Centre(RectOf(page))))) + " lies over its middle");
            if (HWND menu = RightClick(*at))
                return menu;
        }
        Fail("three right clicks on the page background opened no menu");
    }

    SettingsDialog OpenSettings() { // the menu's "Settings..."
        HWND dialog = nullptr;
        ChooseFromMenu(
            0,
            [&] { return (dialog = FirstVisible(process_.Id(), L"OrteliaSettings")) != nullptr; },
            "the settings dialog");
        return SettingsDialog(dialog);
    }

    void ExitFromMenu() { // the menu's "Exit"; waits for the end
        ChooseFromMenu(
            1, [&] { return !process_.Running(); }, "the end of the program");
    }

    void Settle() { // the dialog gone and the main window answering again
        if (!WaitUntil([&] { return TopLevelWindows(process_.Id(), L"OrteliaSettings").empty(); },
                       5000))
            Fail("the settings dialog's window was not destroyed");
        if (!Responsive())
            Fail("the main window does not answer after the settings dialog closed");
    }

    void ClickCloseBox() {
        const auto at = CloseBoxPoint(main_);
        if (!at)
            Fail("the main window shows no close box");
        ClickAt(*at);
    }

    // Clicks into a field until it has the focus with its whole text selected.
    void ClickField(FieldRef f) {
        HWND field = Field(f);
        ClickAt(Centre(RectOf(field)));
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!WaitUntil(
                [&] {
                    const auto selection = DWORD(Ask(field, EM_GETSEL, 0, 0));
                    return GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &info) &&
                           info.hwndFocus == field && GetForegroundWindow() == main_ &&
                           LOWORD(selection) == 0 && HIWORD(selection) == TextOf(field).size();
                },
                3000))
            Fail("a click into a field of " + Utf8(kTabCaptions[f.page]) +
                 " did not give it the focus with its whole text selected");
    }

    // Edits as another program or the keyboard driver can.
    void TypeChars(FieldRef f, std::wstring_view chars) {
        for (wchar_t c : chars)
            Ask(Field(f), WM_CHAR, c, 1);
    }
    void Select(FieldRef f, int from, int to) { Ask(Field(f), EM_SETSEL, WPARAM(from), to); }
    void PasteClipboard(FieldRef f) { Ask(Field(f), WM_PASTE, 0, 0); }
    void ReplaceSelection(FieldRef f, const std::wstring& text) {
        Ask(Field(f), EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
    }

    bool Responsive(int timeoutMs = 5000) const {
        return process_.Running() && SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL,
                                                         UINT(timeoutMs), nullptr) != 0;
    }

    // Every way the main window differs from `e`: ended, another page shown, a result (or
    // the launch time) not what the core gives for its inputs, the speed unit, a converter
    // partner not the core's conversion of its source. Empty when consistent.
    std::string Inconsistencies(const Expectation& e) const {
        if (!process_.Running())
            return "ortelia.exe has ended";
        std::string out;
        if (const int page = VisiblePage(); page != e.page)
            out += "visible page " + std::to_string(page) + " instead of " +
                   std::to_string(e.page) + "; ";
        for (int n = 0; n < 4; ++n) {
            const std::wstring in0 = FieldText({n, 0}), in1 = FieldText({n, 1}),
                               res = FieldText({n, 2});
            calc::FormulaResult want;
            calc::Evaluate(n + 1, Utf8(in0), Utf8(in1), e.metric, want);
            if (res != Wide(want.result))
                out += Utf8(kTabCaptions[n]) + " shows " + Quote(res) + " for " + Quote(in0) +
                       " and " + Quote(in1) + ", the core gives " + Quote(Wide(want.result)) + "; ";
            if (n == 3 && TextOf(launchTime_) != Wide(want.extra))
                out += "the launch time shows " + Quote(TextOf(launchTime_)) + ", the core gives " +
                       Quote(Wide(want.extra)) + "; ";
        }
        if (const std::wstring unit = TextOf(speedUnit_); unit != (e.metric ? L"Kmph" : L"Mph"))
            out += "the speed unit reads " + Quote(unit) +
                   (e.metric ? " in metric units; " : " in imperial units; ");
        for (int pair = 0; pair < 2; ++pair) {
            const int source = e.converterSource[pair];
            const std::wstring from = FieldText({4, 2 * pair + source}),
                               to = FieldText({4, 2 * pair + 1 - source});
            const std::wstring want = Wide(
                calc::PartnerText(pair ? calc::kKmphMph : calc::kMetresFeet, source, Utf8(from)));
            if (to != want)
                out += "converter field " + std::to_string(2 * pair + 1 - source) + " shows " +
                       Quote(to) + " for " + Quote(from) + ", the core gives " + Quote(want) + "; ";
        }
        return out;
    }

  private:
    // Wine maps a newly shown window above all others on the X server, whatever the Win32
    // z-order says: an editor started after the main window hides it on the screen
    // although it stays topmost and takes the clicks. Raising it to the top while a window
    // of this program lies above it makes Wine restack it on the screen too.
    void BringToFront() const {
        HWND above = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC",
                                     L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(above, SW_SHOWNOACTIVATE);
        SetWindowPos(main_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DestroyWindow(above);
    }

    // The tab captions as drawn, once the header shows five with exactly one raised (that
    // one `raised`, unless -1).
    std::vector<RECT> Captions(int raised) const {
        std::vector<RECT> boxes;
        int tries = 0, up = -1, ups = 0;
        const bool found = WaitUntil(
            [&] {
                if (++tries == 10)
                    BringToFront(); // hidden on the screen, perhaps
                const RECT area = RectOf(header_);
                boxes = InkGroups(area, true, COLOR_BTNTEXT, COLOR_BTNFACE,
                                  std::max(4, int(area.bottom - area.top) * 3 / 10));
                if (const RECT now = RectOf(header_);
                    !EqualRect(&area, &now) || boxes.size() != kPages)
                    return false;
                LONG lowest = 0;
                for (const RECT& r : boxes)
                    lowest = std::max(lowest, r.top);
                ups = 0;
                for (int i = 0; i < kPages; ++i)
                    if (boxes[size_t(i)].top <= lowest - 2)
                        ++ups, up = i;
                return ups == 1 && (raised < 0 || up == raised);
            },
            3000, 10);
        if (!found)
            Fail("the tab header shows " + std::to_string(boxes.size()) + " captions, " +
                 std::to_string(ups) + " raised (tab " + std::to_string(up) + "), not 5 with tab " +
                 std::to_string(raised) + " raised; page " + std::to_string(VisiblePage()) +
                 " shown");
        return boxes;
    }

    // Chooses menu item `index` with keys posted to the menu (Home, Down..., Enter): a mouse
    // click would be at the mercy of Wine's late activations, which may close the menu
    // first and leave the click to whatever lies below. Wine may also close the menu before
    // it takes the keys, so it is opened again, up to three times, until `done` holds.
    void ChooseFromMenu(int index, const std::function<bool()>& done, const std::string& what) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Retries() += attempt > 0;
            HWND menu = OpenPopupMenu();
            const size_t items = MenuItemCount(menu);
            if (!Visible(menu))
                continue;
            if (items != 2)
                Fail("the popup menu shows " + std::to_string(items) + " items, not 2");
            PostMessageW(menu, WM_KEYDOWN, VK_HOME, 0);
            for (int i = 0; i < index; ++i)
                PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            if (WaitUntil(done, 3000))
                return;
        }
        Fail(what + " did not follow from the popup menu, three times");
    }

    Process process_;
    HWND main_ = nullptr, header_ = nullptr, pages_[kPages]{};
    std::vector<HWND> fields_[kPages];
    HWND speedUnit_ = nullptr, launchTime_ = nullptr;
    int drawnTab_ = -1; // the tab the header should show raised; -1 any
};

// ---- The editor stand-in (tests/tools/editor_standin.exe) ----
inline constexpr const wchar_t* kEditorTitle = L"Untitled - Kestrava Editor";

class Editor {
  public:
    explicit Editor(const std::wstring& title = kEditorTitle, RECT r = {100, 100, 900, 700})
        : process_(ProgramPath(L"EDITOR_STANDIN_EXE", EDITOR_STANDIN_FROM_TESTS) + L" --title \"" +
                       title + L"\" --rect " + std::to_wstring(r.left) + L"," +
                       std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
                       std::to_wstring(r.bottom),
                   true) {
        if (!WaitUntil(
                [&] {
                    return (window_ = FirstVisible(process_.Id(), L"EditorStandIn")) ||
                           !process_.Running();
                },
                10000) ||
            !window_)
            Fail("the editor stand-in showed no window");
    }
    HWND Window() const { return window_; }
    RECT Rect() const { return RectOf(window_); }
    bool Move(RECT r) { // true once it has the rectangle (the system may clamp it)
        process_.Send("move " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                      std::to_string(r.right) + " " + std::to_string(r.bottom));
        return WaitUntil(
            [&] {
                const RECT now = Rect();
                return EqualRect(&now, &r) != 0;
            },
            2000);
    }
    void Retitle(const std::string& title) {
        wchar_t now[512] = L"";
        process_.Send("title " + title);
        if (!WaitUntil([&] { return GetWindowTextW(window_, now, 512), Wide(title) == now; }, 3000))
            Fail("the editor stand-in did not take the title \"" + title + "\"");
    }
    void Close() { // as its user would
        process_.Send("close");
        if (!process_.WaitExit(5000))
            Fail("the editor stand-in did not close");
    }
    void Kill() { process_.Kill(); }

  private:
    Process process_;
    HWND window_ = nullptr;
};

// Where the docking core puts a main window of outer rectangle `main` for an editor at
// `editor`, in screen pixels; none when it moves nothing.
inline std::optional<POINT> DockedPosition(const RECT& editor, const RECT& main,
                                           const settings::Settings& s) {
    HDC screen = GetDC(nullptr);
    const auto scale = controls::LayoutScale::ForDpi(GetDeviceCaps(screen, LOGPIXELSX),
                                                     GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const docking::UnitsPerPixel units{scale.unitsPerPixelX, scale.unitsPerPixelY};
    const auto d = docking::DecideTick(true, {editor.left, editor.top, editor.right, editor.bottom},
                                       s, (main.right - main.left) * units.x,
                                       (main.bottom - main.top) * units.y, units);
    if (d.action != docking::TickAction::Dock)
        return std::nullopt;
    return POINT{docking::LayoutToPixel(d.where.left, units.x),
                 docking::LayoutToPixel(d.where.top, units.y)};
}

} // namespace blackbox
