#include "driver.h"

#include "calc/converter.h"
#include "calc/formulas.h"
#include "controls/geometry.h"
#include "docking/dock_placement.h"

#include <winternl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <map>
#include <sstream>
#include <utility>

namespace blackbox {
namespace {

constexpr const char* kKey = "Software\\Quillon\\Ortelia";
constexpr int kAnswerMs = 10000; // how long a window's thread may take to answer a message

[[noreturn]] void Fail(const std::string& what) { throw Failure(what); }

std::string Quote(std::wstring_view text) {
    std::string s = Utf8(text.substr(0, 60));
    if (text.size() > 60)
        s += "...(" + std::to_string(text.size()) + " characters)";
    return "\"" + s + "\"";
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, kAnswerMs, &result))
        Fail("window " + Utf8(ClassOf(hwnd)) + " did not answer message " + std::to_string(msg) +
             (IsWindow(hwnd) ? " (its program hangs)" : " (it is gone)"));
    return static_cast<LRESULT>(result);
}

bool Visible(HWND hwnd) { return hwnd && IsWindowVisible(hwnd); }

// The folder of this test program, with a trailing backslash.
std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring FromEnvOr(const wchar_t* variable, const char* relative) {
    wchar_t value[MAX_PATH];
    if (const DWORD n = GetEnvironmentVariableW(variable, value, MAX_PATH); n && n < MAX_PATH)
        return value;
    std::wstring path = OwnFolder() + Wide(relative);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Live GDI objects of a process as Wine keeps them: Wine's GDI handle table lies in each
// process's own memory, at the place the PEB names, one 24-byte entry per handle whose
// type byte (offset 14) is 0 when the slot is free.
int WineGdiObjects(HANDLE process) {
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0)
        return -1;
    constexpr size_t kTableInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    if (!ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(info.PebBaseAddress)) + kTableInPeb,
                           &table, sizeof table, nullptr) ||
        !table)
        return -1;
    constexpr size_t kEntries = 0x10000, kEntrySize = 24, kTypeAt = 14;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        return -1;
    int live = 0;
    for (size_t i = 0; i < kEntries; ++i)
        live += entries[i * kEntrySize + kTypeAt] != 0;
    return live;
}

uint64_t PrivateBytes(HANDLE process) {
    uint64_t total = 0;
    MEMORY_BASIC_INFORMATION m;
    const char* at = nullptr;
    while (VirtualQueryEx(process, at, &m, sizeof m) == sizeof m) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
            total += m.RegionSize;
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

int Distance2(COLORREF a, COLORREF b) {
    const int r = GetRValue(a) - GetRValue(b), g = GetGValue(a) - GetGValue(b),
              bl = GetBValue(a) - GetBValue(b);
    return r * r + g * g + bl * bl;
}

// The point where a window's non-client area reports its close box, or none.
std::optional<POINT> CloseBoxPoint(HWND hwnd) {
    const RECT outer = RectOf(hwnd);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    // Along the middle of the title bar from the right first, where the box usually is.
    const int middle = (outer.top + client.y) / 2;
    for (int dy = 0; middle - dy >= outer.top; ++dy)
        for (int y : {middle - dy, middle + dy})
            for (int x = outer.right - 1; x > (outer.left + outer.right) / 2 && y < client.y; --x)
                if (Ask(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                    return POINT{x, y};
    return std::nullopt;
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) ? info.hwndFocus
                                                                             : nullptr;
}

} // namespace

std::string Utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

int& Retries() {
    static int retries = 0;
    return retries;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Sleep(static_cast<DWORD>(pollMs));
    }
    return true;
}

// ---- Registry -------------------------------------------------------------------------

StoredValue ReadStoredSettings() {
    StoredValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, L"Settings", nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.resize(size);
        v.present = RegQueryValueExW(key, L"Settings", nullptr, &v.type,
                                     reinterpret_cast<BYTE*>(v.bytes.data()), &size) == ERROR_SUCCESS;
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

void StoreSettings(std::string_view bytes, DWORD type) {
    // A byte that is not NUL after the data, so that the store counts no terminator.
    std::string buffer(bytes);
    buffer.push_back('\x7F');
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS)
        Fail("cannot create the settings key");
    const LSTATUS status = RegSetValueExA(key, "Settings", 0, type,
                                          reinterpret_cast<const BYTE*>(buffer.data()),
                                          static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        Fail("cannot store the settings value");
}

void RemoveSettingsKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }

std::string Describe(const StoredValue& v) {
    if (!v.present)
        return "<no value>";
    std::string text;
    if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
        std::wstring wide(reinterpret_cast<const wchar_t*>(v.bytes.data()), v.bytes.size() / 2);
        while (!wide.empty() && wide.back() == L'\0')
            wide.pop_back();
        text = Quote(wide);
    } else {
        char hex[4];
        for (unsigned char c : v.bytes.substr(0, 32)) {
            std::snprintf(hex, sizeof hex, "%02X ", c);
            text += hex;
        }
    }
    return "type " + std::to_string(v.type) + " " + text;
}

// ---- Processes --------------------------------------------------------------------------

Process::Process(const std::wstring& commandLine, bool withInput) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    HANDLE readEnd = nullptr;
    if (withInput) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &input_, &inherit, 0))
            Fail("cannot make a pipe");
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = readEnd;
    }
    std::wstring line = commandLine;
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, withInput, 0,
                                        nullptr, nullptr, &si, &info_);
    if (readEnd)
        CloseHandle(readEnd);
    if (!started)
        Fail("cannot start " + Utf8(commandLine) + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
}

Process::Process(Process&& other) noexcept : info_(other.info_), input_(other.input_) {
    other.info_ = {};
    other.input_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Release();
        info_ = std::exchange(other.info_, {});
        input_ = std::exchange(other.input_, nullptr);
    }
    return *this;
}

Process::~Process() { Release(); }

void Process::Release() {
    if (info_.hProcess) {
        if (Running())
            Kill();
        CloseHandle(info_.hProcess);
    }
    if (input_)
        CloseHandle(input_);
    info_ = {};
    input_ = nullptr;
}

bool Process::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(int timeoutMs) {
    if (!info_.hProcess ||
        WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Process::Kill() {
    if (!Running())
        return;
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
}

bool Process::Send(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    return input_ && WriteFile(input_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

std::wstring OrteliaExe() { return FromEnvOr(L"ORTELIA_EXE", ORTELIA_EXE_FROM_TESTS); }
std::wstring EditorStandInExe() { return FromEnvOr(L"EDITOR_STANDIN_EXE", EDITOR_STANDIN_FROM_TESTS); }

// ---- Windows --------------------------------------------------------------------------------

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = L"";
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    // One round trip for the usual text; the length first only for a longer one.
    std::wstring text(4096, L'\0');
    auto got = static_cast<size_t>(Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    if (got + 1 >= text.size()) {
        text.assign(static_cast<size_t>(Ask(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
        got = static_cast<size_t>(Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    }
    text.resize(std::min(got, text.size() - 1));
    return text;
}

RECT RectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* cls) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{pid, cls, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s.pid && (!s.cls || _wcsicmp(ClassOf(hwnd).c_str(), s.cls) == 0))
                s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(child).c_str(), cls) == 0)
            found.push_back(child);
    return found;
}

int CountWindows(DWORD pid) {
    int count = 0;
    for (HWND top : TopLevelWindows(pid)) {
        ++count;
        EnumChildWindows(
            top, [](HWND, LPARAM lp) -> BOOL { return ++*reinterpret_cast<int*>(lp), TRUE; },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// ---- Input ------------------------------------------------------------------------------

// Every event carries the point: a pointer warp tells the X server, whose motion event may
// reach Wine in the program under the pointer only later and move the cursor back to where
// an earlier click was, so a press or release without a position could land there.
void ClickAt(POINT at, Button button) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // The normalized coordinate whose pixel, (n * size) >> 16, is exactly the point.
    auto normal = [](LONG pixel, int size) {
        return static_cast<LONG>((static_cast<int64_t>(pixel) * 65536 + size - 1) / size);
    };
    const DWORD press = button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    const DWORD release = button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    INPUT input[3]{};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = normal(at.x, w);
        input[i].mi.dy = normal(at.y, h);
        input[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (i == 1 ? press : i == 2 ? release : 0);
    }
    if (SendInput(3, input, sizeof(INPUT)) != 3)
        Fail("the system took no mouse input");
}

void PressKeys(std::wstring_view keys) {
    std::vector<INPUT> input;
    for (wchar_t c : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        if (c == L'\b' || c == L'\r' || c == L'\x1b') {
            down.ki.wVk = c == L'\b' ? VK_BACK : c == L'\r' ? VK_RETURN : VK_ESCAPE;
        } else {
            down.ki.wScan = c;
            down.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        input.push_back(down);
        input.push_back(up);
    }
    if (SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) != input.size())
        Fail("the system took no keyboard input");
}

void SetClipboardText(std::wstring_view text) {
    if (!WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 2000))
        Fail("the clipboard stays open in another program");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    const bool stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!stored)
        Fail("the clipboard took no text");
}

// ---- Screen ------------------------------------------------------------------------------

ScreenImage::ScreenImage(const RECT& area)
    : area_(area), width_(std::max<int>(0, area.right - area.left)),
      height_(std::max<int>(0, area.bottom - area.top)),
      pixels_(static_cast<size_t>(width_) * height_) {
    if (pixels_.empty())
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), pixels_.size(), pixels_.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenImage::At(int x, int y) const {
    const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::vector<RECT> InkGroups(const ScreenImage& image, Axis axis, COLORREF ink, COLORREF paper,
                            int gap) {
    const int w = image.Width(), h = image.Height();
    std::vector<char> mark(static_cast<size_t>(w) * h); // 1 ink, 0 paper
    auto at = [&](int x, int y) -> char& { return mark[static_cast<size_t>(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            at(x, y) = Distance2(image.At(x, y), ink) < Distance2(image.At(x, y), paper);
    // Straight runs longer than 60 % of the extent are lines, not text.
    std::vector<char> line(mark.size());
    const int longRow = std::max(3, w * 6 / 10), longColumn = std::max(3, h * 6 / 10);
    for (int y = 0; y < h; ++y)
        for (int x = 0, run = 0; x <= w; ++x) {
            if (x < w && at(x, y)) {
                ++run;
                continue;
            }
            if (run >= longRow)
                for (int i = x - run; i < x; ++i)
                    line[static_cast<size_t>(y) * w + i] = 1;
            run = 0;
        }
    for (int x = 0; x < w; ++x)
        for (int y = 0, run = 0; y <= h; ++y) {
            if (y < h && at(x, y)) {
                ++run;
                continue;
            }
            if (run >= longColumn)
                for (int i = y - run; i < y; ++i)
                    line[static_cast<size_t>(i) * w + x] = 1;
            run = 0;
        }
    for (size_t i = 0; i < mark.size(); ++i)
        mark[i] = mark[i] && !line[i];

    const bool columns = axis == Axis::Columns;
    const int length = columns ? w : h, across = columns ? h : w;
    std::vector<RECT> groups;
    int last = -1 - gap - 1;
    for (int i = 0; i < length; ++i) {
        int first = -1, final = -1;
        for (int j = 0; j < across; ++j)
            if (columns ? at(i, j) : at(j, i)) {
                if (first < 0)
                    first = j;
                final = j;
            }
        if (first < 0)
            continue;
        RECT r = columns ? RECT{i, first, i + 1, final + 1} : RECT{first, i, final + 1, i + 1};
        if (i - last > gap + 1 || groups.empty())
            groups.push_back(r);
        else
            UnionRect(&groups.back(), &groups.back(), &r);
        last = i;
    }
    for (RECT& r : groups)
        OffsetRect(&r, image.Area().left, image.Area().top);
    return groups;
}

// ---- Resources ---------------------------------------------------------------------------

Usage MeasureUsage(const Process& process) {
    Usage u;
    u.windows = CountWindows(process.Id());
    const DWORD gdi = GetGuiResources(process.Handle(), GR_GDIOBJECTS);
    u.gdiObjects = gdi ? static_cast<int>(gdi) : WineGdiObjects(process.Handle());
    u.privateBytes = PrivateBytes(process.Handle());
    return u;
}

std::string Describe(const Usage& u) {
    return std::to_string(u.windows) + " windows, " + std::to_string(u.gdiObjects) +
           " GDI objects, " + std::to_string(u.privateBytes / 1024) + " KiB private";
}

// ---- Settings dialog -----------------------------------------------------------------------

std::string Describe(const DialogState& d) {
    return std::string("dock ") + (d.dock ? "on" : "off") + ", corner " + std::to_string(d.corner) +
           ", offsets " + Quote(d.offsetX) + " x " + Quote(d.offsetY) + ", auto-close " +
           (d.autoClose ? "on" : "off") + ", " + (d.metric ? "metric" : "imperial");
}

SettingsDialog::SettingsDialog(HWND dialog) : dialog_(dialog) {
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
        {L"Cancel", &cancel_},
    };
    std::string seen;
    for (HWND button : Children(dialog, L"Button")) {
        const std::wstring caption = TextOf(button);
        seen.append(" ").append(Quote(caption));
        if (auto slot = byCaption.find(caption); slot != byCaption.end())
            *slot->second = button;
    }
    for (const auto& [caption, slot] : byCaption)
        if (!*slot)
            Fail("the settings dialog has no button " + Quote(caption) + "; it has" + seen);
    auto edits = Children(dialog, L"Edit");
    if (edits.size() != 2)
        Fail("the settings dialog has " + std::to_string(edits.size()) + " text boxes, not 2");
    std::sort(edits.begin(), edits.end(),
              [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
    offset_[0] = edits[0];
    offset_[1] = edits[1];
}

DialogState SettingsDialog::Read() const {
    auto checked = [](HWND button) { return Ask(button, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    DialogState d;
    d.dock = checked(dock_);
    for (int i = 0; i < 4; ++i)
        if (checked(corner_[i]))
            d.corner = d.corner < 0 ? i : 99; // 99: more than one
    d.offsetX = TextOf(offset_[0]);
    d.offsetY = TextOf(offset_[1]);
    d.autoClose = checked(autoClose_);
    d.metric = checked(metric_);
    if (d.metric == checked(imperial_))
        d.corner = 98; // both or neither unit: a broken group, reported through the corner
    return d;
}

// The dialog's controls are worked with the messages a click sends (BM_CLICK, WM_CHAR), not
// with the mouse: under Wine without a window manager the dialog is activated once more some
// time after it appears, and its activation puts the focus back where it was, which would
// cancel a mouse click between its press and its release.
void SettingsDialog::ClickUntil(HWND control, bool checked) {
    auto state = [&] { return (Ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == checked; };
    if (state())
        return;
    Ask(control, BM_CLICK, 0, 0);
    if (!state())
        Fail("clicking " + Quote(TextOf(control)) + " did not make it " +
             (checked ? "checked" : "clear"));
}

void SettingsDialog::Set(const DialogState& want) {
    ClickUntil(dock_, want.dock);
    if (want.corner >= 0 && want.corner < 4)
        ClickUntil(corner_[want.corner], true);
    for (int i = 0; i < 2; ++i) {
        const std::wstring& text = i == 0 ? want.offsetX : want.offsetY;
        HWND box = offset_[i];
        Ask(box, EM_SETSEL, 0, -1);
        if (text.empty())
            Ask(box, WM_CHAR, L'\b', 1);
        for (wchar_t c : text)
            Ask(box, WM_CHAR, c, 1);
        if (TextOf(box) != text)
            Fail("typing " + Quote(text) + " into an offset box left " + Quote(TextOf(box)));
    }
    ClickUntil(autoClose_, want.autoClose);
    ClickUntil(want.metric ? metric_ : imperial_, true);
}

void SettingsDialog::Finish(Close how) {
    const char* what = how == Close::Ok ? "OK" : how == Close::Cancel ? "Cancel" : "its close box";
    if (how == Close::CloseBox) {
        const auto box = CloseBoxPoint(dialog_);
        if (!box)
            Fail("the settings dialog shows no close box");
        ClickAt(*box);
    } else {
        // Answered once the button's click handler has run.
        Ask(how == Close::Ok ? ok_ : cancel_, BM_CLICK, 0, 0);
    }
    if (!WaitUntil([&] { return !IsWindow(dialog_); }, 5000))
        Fail(std::string("the settings dialog stayed open after ") + what);
}

// ---- Ortelia ---------------------------------------------------------------------------------

Ortelia::Ortelia() : process_(L"\"" + OrteliaExe() + L"\"") {}

std::vector<HWND> Ortelia::MessageBoxes() const {
    std::vector<HWND> boxes;
    for (HWND w : TopLevelWindows(process_.Id(), L"#32770"))
        if (Visible(w))
            boxes.push_back(w);
    return boxes;
}

HWND Ortelia::WaitForBoxOrMain(int timeoutMs) {
    HWND box = nullptr;
    const bool shown = WaitUntil(
        [&] {
            if (auto boxes = MessageBoxes(); !boxes.empty())
                return box = boxes.front(), true;
            for (HWND w : TopLevelWindows(process_.Id(), L"OrteliaMain"))
                if (Visible(w))
                    return true;
            return !process_.Running();
        },
        timeoutMs);
    if (!process_.Running())
        Fail("ortelia.exe ended at start-up with exit code " +
             std::to_string(process_.WaitExit(0).value_or(0)));
    if (!shown)
        Fail("ortelia.exe showed neither its main window nor a message box within " +
             std::to_string(timeoutMs) + " ms");
    return box;
}

void Ortelia::WaitForMain(int timeoutMs) {
    if (HWND box = WaitForBoxOrMain(timeoutMs))
        Fail("ortelia.exe shows a message box " + Quote(TextOf(box)) + " instead of its main window");
    main_ = TopLevelWindows(process_.Id(), L"OrteliaMain").at(0);
    FindParts();
}

void Ortelia::FindParts() {
    const auto headers = Children(main_, L"OrteliaTabHead");
    const auto pages = Children(main_, L"OrteliaTabContainer");
    if (headers.size() != 1 || pages.size() != kPages)
        Fail("the main window has " + std::to_string(headers.size()) + " tab headers and " +
             std::to_string(pages.size()) + " pages, not 1 and 5");
    header_ = headers[0];
    // Each page is known by a label that only it shows.
    const wchar_t* kMarks[kPages] = {L"Degrees", L"g Vertical", L"Cars per Train",
                                     L"g Acceleration", L"f"};
    for (HWND page : pages) {
        auto labels = Children(page, L"Static");
        std::sort(labels.begin(), labels.end(),
                  [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
        int n = -1;
        for (HWND label : labels)
            for (int i = 0; i < kPages; ++i)
                if (TextOf(label) == kMarks[i])
                    n = i;
        if (n < 0 || pages_[n])
            Fail("a page of the main window is none of the five calculator pages");
        pages_[n] = page;
        auto edits = Children(page, L"Edit");
        std::sort(edits.begin(), edits.end(),
                  [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
        if (static_cast<int>(edits.size()) != FieldCount(n))
            Fail("page " + Utf8(kTabCaptions[n]) + " has " + std::to_string(edits.size()) +
                 " fields, not " + std::to_string(FieldCount(n)));
        fields_[n] = edits;
        if (n == 3) {
            speedUnit_ = labels.front();
            launchTime_ = labels.back();
        }
    }
}

int Ortelia::VisiblePage() const {
    int shown = 0, last = -2;
    for (int i = 0; i < kPages; ++i)
        if (Visible(pages_[i]))
            ++shown, last = i;
    return shown == kPages ? -1 : shown == 1 ? last : -2;
}

// Wine maps a window that appears above all others on the X server, whatever the Win32
// z-order says: an editor started after the main window hides it on the screen although
// the main window stays topmost and takes the clicks. Moving the main window to the top of
// the z-order again makes Wine restack it on the screen as well; a window of this program
// lies above it for that moment, so that the move is a change.
void Ortelia::BringToFront() const {
    HWND above = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC",
                                 L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ShowWindow(above, SW_SHOWNOACTIVATE);
    SetWindowPos(main_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(above);
}

Ortelia::Captions Ortelia::ReadCaptions(int selected, int timeoutMs) const {
    Captions c;
    std::string seen = "nothing";
    int tries = 0;
    const bool found = WaitUntil(
        [&] {
            if (++tries == 10)
                BringToFront(); // hidden on the screen, perhaps
            const RECT area = RectOf(header_);
            const ScreenImage image(area);
            c.boxes = InkGroups(image, Axis::Columns, GetSysColor(COLOR_BTNTEXT),
                                GetSysColor(COLOR_BTNFACE), std::max(4, image.Height() * 3 / 10));
            if (const RECT now = RectOf(header_); !EqualRect(&area, &now))
                return false; // moved while captured
            seen = std::to_string(c.boxes.size()) + " captions";
            if (c.boxes.size() != kPages)
                return false;
            LONG lowest = 0;
            for (const RECT& r : c.boxes)
                lowest = std::max(lowest, r.top);
            int raised = 0;
            for (int i = 0; i < kPages; ++i)
                if (c.boxes[i].top <= lowest - 2)
                    ++raised, c.raised = i;
            seen += ", " + std::to_string(raised) + " raised (tab " + std::to_string(c.raised) + ")";
            return raised == 1 && (selected < 0 || c.raised == selected);
        },
        timeoutMs, 10);
    if (!found) {
        const RECT r = RectOf(header_);
        HWND under = WindowFromPoint(Centre(r));
        if (std::getenv("BLACKBOX_DEBUG")) {
            const ScreenImage image(r);
            for (int y = 0; y < image.Height(); ++y, std::fputc('\n', stderr))
                for (int x = 0; x < image.Width(); ++x)
                    std::fputc(image.At(x, y) == GetSysColor(COLOR_BTNTEXT) ? '#' : '.', stderr);
        }
        Fail("the tab header at " + std::to_string(r.left) + "," + std::to_string(r.top) + " shows " +
             seen + "; expected 5 captions with tab " + std::to_string(selected) + " raised" +
             " (page " + std::to_string(VisiblePage()) + " shown)" +
             (under == header_ ? "" : " (covered by a window of class " + Utf8(ClassOf(under)) + ")"));
    }
    return c;
}

void Ortelia::ClickTab(int n) {
    std::string what;
    // A click may be lost: the window docked elsewhere between the look and the click, or
    // a late activation took the mouse capture between press and release.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt)
            ++Retries();
        const Captions c = ReadCaptions(drawnSelection_);
        const bool shownAlready = VisiblePage() == n;
        ClickAt(Centre(c.boxes[n]));
        if (shownAlready)
            Sleep(150); // nothing to see change: give the click time to be handled
        if (WaitUntil([&] { return VisiblePage() == n; }, 1500)) {
            drawnSelection_ = n;
            return;
        }
        what = "visible page " + std::to_string(VisiblePage());
    }
    Fail("clicking the caption " + Utf8(kTabCaptions[n]) + " did not show its page alone (" + what + ")");
}

std::optional<POINT> Ortelia::BackgroundPoint(HWND surface) const {
    RECT client{};
    GetClientRect(surface, &client);
    MapWindowPoints(surface, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (surface == header_) {
        // Right of the last caption: the header's own surface.
        const Captions c = ReadCaptions(drawnSelection_);
        client.left = c.boxes.back().right + 2;
    }
    for (int y = client.bottom - 1; y >= client.top; --y)
        for (int x = client.left + 1; x < client.right; x += 2) {
            const POINT p{x, y};
            POINT inside = p;
            ScreenToClient(surface, &inside);
            if (WindowFromPoint(p) == surface &&
                ChildWindowFromPointEx(surface, inside, CWP_SKIPINVISIBLE) == surface)
                return p;
        }
    return std::nullopt;
}

HWND Ortelia::OpenMenu() const {
    for (HWND w : TopLevelWindows(process_.Id(), L"#32768"))
        if (Visible(w))
            return w;
    return nullptr;
}

HWND Ortelia::RightClick(POINT at, int timeoutMs) {
    ClickAt(at, Button::Right);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = OpenMenu()) != nullptr; }, timeoutMs);
    return menu;
}

std::vector<RECT> Ortelia::MenuItems(HWND menu) const {
    std::vector<RECT> items, previous;
    int agreeing = 0;
    // Read until four pictures in a row agree: the menu may still be painting.
    WaitUntil(
        [&] {
            if (!Visible(menu))
                return items.clear(), true; // closed under us
            previous = std::exchange(items, InkGroups(ScreenImage(RectOf(menu)), Axis::Rows,
                                                      GetSysColor(COLOR_MENUTEXT),
                                                      GetSysColor(COLOR_MENU), 3));
            const bool same = items.size() == previous.size() &&
                              std::equal(items.begin(), items.end(), previous.begin(),
                                         [](const RECT& a, const RECT& b) { return EqualRect(&a, &b); });
            agreeing = same && !items.empty() ? agreeing + 1 : 0;
            return agreeing >= 3;
        },
        3000, 20);
    return items;
}

// By the keyboard, as messages to the menu: Home selects the first item, Down the next one
// (separators are skipped), Enter chooses. A mouse click here would be at the mercy of the
// late activations Wine sends without a window manager, which may close the menu first and
// leave the click to land on whatever lies below.
void Ortelia::ChooseMenuItem(HWND menu, int index) {
    PostMessageW(menu, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i)
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (!WaitUntil([&] { return !Visible(menu); }, 3000))
        Fail("the popup menu stayed open after choosing its item " + std::to_string(index));
}

HWND Ortelia::OpenPopupMenu() {
    for (int attempt = 0;; ++attempt) {
        const int page = std::max(0, VisiblePage());
        const auto at = BackgroundPoint(pages_[page]);
        if (!at)
            Fail("no part of the page background is in view to right-click");
        if (HWND menu = RightClick(*at))
            return menu;
        if (attempt == 2)
            Fail("three right clicks on the page background opened no menu");
        ++Retries();
    }
}

void Ortelia::ChooseFromMenu(int index, const std::function<bool()>& done, const std::string& what) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt)
            ++Retries(); // the menu closed before it took the choice
        HWND menu = OpenPopupMenu();
        const size_t items = MenuItems(menu).size();
        if (!Visible(menu))
            continue;
        if (items != 2)
            Fail("the popup menu shows " + std::to_string(items) + " items, not 2");
        ChooseMenuItem(menu, index);
        if (WaitUntil(done, 3000))
            return;
    }
    Fail(what + " did not follow from the popup menu, three times");
}

SettingsDialog Ortelia::OpenSettings() {
    HWND dialog = nullptr;
    ChooseFromMenu(
        0,
        [&] {
            for (HWND w : TopLevelWindows(process_.Id(), L"OrteliaSettings"))
                if (Visible(w))
                    return dialog = w, true;
            return false;
        },
        "the settings dialog");
    return SettingsDialog(dialog);
}

void Ortelia::ExitFromMenu() {
    ChooseFromMenu(1, [&] { return !process_.Running(); }, "the end of the program");
}

void Ortelia::Settle() {
    if (!WaitUntil([&] { return TopLevelWindows(process_.Id(), L"OrteliaSettings").empty(); }, 5000))
        Fail("the settings dialog's window was not destroyed");
    if (!Responsive())
        Fail("the main window does not answer after the settings dialog closed");
}

void Ortelia::ClickCloseBox() {
    const auto at = CloseBoxPoint(main_);
    if (!at)
        Fail("the main window shows no close box");
    ClickAt(*at);
}

void Ortelia::ClickField(FieldRef f) {
    HWND field = Field(f);
    ClickAt(Centre(RectOf(field)));
    const bool focused = WaitUntil(
        [&] {
            const auto selection = static_cast<DWORD>(Ask(field, EM_GETSEL, 0, 0));
            const size_t from = LOWORD(selection), to = HIWORD(selection);
            return GetForegroundWindow() == main_ && FocusOf(main_) == field && from == 0 &&
                   to == TextOf(field).size();
        },
        3000);
    if (!focused)
        Fail("a click into a field of " + Utf8(kTabCaptions[f.page]) +
             " did not give it the focus with its whole text selected");
}

void Ortelia::TypeChars(FieldRef f, std::wstring_view chars) {
    for (wchar_t c : chars)
        Ask(Field(f), WM_CHAR, c, 1);
}

void Ortelia::Select(FieldRef f, int from, int to) { Ask(Field(f), EM_SETSEL, from, to); }

void Ortelia::PasteClipboard(FieldRef f) { Ask(Field(f), WM_PASTE, 0, 0); }

void Ortelia::ReplaceSelection(FieldRef f, std::wstring_view text) {
    const std::wstring copy(text);
    Ask(Field(f), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool Ortelia::Responsive(int timeoutMs) const {
    return process_.Running() &&
           SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                               nullptr) != 0;
}

std::string Ortelia::Inconsistencies(const Expectation& e) const {
    if (!process_.Running())
        return "ortelia.exe has ended (exit code " +
               std::to_string(const_cast<Process&>(process_).WaitExit(0).value_or(0)) + ")";
    if (!Responsive())
        return "the main window does not answer";
    std::ostringstream out;
    if (const int shown = VisiblePage(); shown != e.page)
        out << "visible page " << shown << " instead of " << e.page << "; ";
    for (int n = 0; n < 4; ++n) {
        const std::wstring in0 = FieldText({n, 0}), in1 = FieldText({n, 1}), res = FieldText({n, 2});
        calc::FormulaResult want;
        calc::Evaluate(n + 1, Utf8(in0), Utf8(in1), e.metric, want);
        if (res != Wide(want.result))
            out << Utf8(kTabCaptions[n]) << " shows " << Quote(res) << " for " << Quote(in0)
                << " and " << Quote(in1) << ", the core gives " << Quote(Wide(want.result)) << "; ";
        if (n == 3 && TextOf(launchTime_) != Wide(want.extra))
            out << "the launch time shows " << Quote(TextOf(launchTime_)) << ", the core gives "
                << Quote(Wide(want.extra)) << "; ";
    }
    if (const std::wstring unit = TextOf(speedUnit_); unit != (e.metric ? L"Kmph" : L"Mph"))
        out << "the speed unit reads " << Quote(unit) << " in " << (e.metric ? "metric" : "imperial")
            << " units; ";
    for (int pair = 0; pair < 2; ++pair) {
        const int source = e.converterSource[pair];
        const std::wstring from = FieldText({4, 2 * pair + source});
        const std::wstring to = FieldText({4, 2 * pair + 1 - source});
        const std::wstring want =
            Wide(calc::PartnerText(pair == 0 ? calc::kMetresFeet : calc::kKmphMph, source, Utf8(from)));
        if (to != want)
            out << "converter field " << 2 * pair + 1 - source << " shows " << Quote(to)
                << " for " << Quote(from) << " in its partner, the core gives " << Quote(want) << "; ";
    }
    return out.str();
}

// ---- Editor stand-in ---------------------------------------------------------------------

Editor::Editor(const std::wstring& title, RECT r) {
    wchar_t rect[64];
    std::swprintf(rect, 64, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    process_ = Process(L"\"" + EditorStandInExe() + L"\" --title \"" + title + L"\" --rect " + rect,
                       true);
    if (!WaitUntil(
            [&] {
                for (HWND w : TopLevelWindows(process_.Id(), L"EditorStandIn"))
                    if (Visible(w))
                        return window_ = w, true;
                return !process_.Running();
            },
            10000) ||
        !window_)
        Fail("the editor stand-in showed no window");
}

bool Editor::Move(RECT r) {
    process_.Send("move " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                  std::to_string(r.right) + " " + std::to_string(r.bottom));
    return WaitUntil([&] { const RECT now = Rect(); return EqualRect(&now, &r) != 0; }, 2000);
}

void Editor::Retitle(const std::string& title) {
    process_.Send("title " + title);
    const std::wstring want = Wide(title);
    if (!WaitUntil(
            [&] {
                wchar_t now[512] = L"";
                GetWindowTextW(window_, now, 512);
                return want == now;
            },
            3000))
        Fail("the editor stand-in did not take the title " + Quote(want));
}

void Editor::Close() {
    process_.Send("close");
    if (!process_.WaitExit(5000))
        Fail("the editor stand-in did not close");
}

void Editor::Kill() { process_.Kill(); }

// ---- Docking -------------------------------------------------------------------------------

std::optional<POINT> DockedPosition(const RECT& editor, const RECT& main, const settings::Settings& s) {
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
