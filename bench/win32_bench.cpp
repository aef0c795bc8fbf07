// Benchmarks of the Windows build, run under Wine: keystroke to result, start-up,
// the docking tick, heap growth over many ticks, and private bytes after start-up.
// Every figure comes with a floor measured in the same run, and scripts/bench turns
// the ratio into the performance table. Output: one "name value" line per figure.
//
//   win32_bench keystroke [COUNT]              COUNT keystrokes per calculator
//   win32_bench startup ORTELIA FLOOR [RUNS]   RUNS starts of each program
//   win32_bench dock [SIZE:REPS ...]           ticks against SIZE extra windows
//   win32_bench heap [TICKS] [WINDOWS] [EDITOR]  heap and private bytes over TICKS ticks,
//                                              docked to an editor if EDITOR is 1
//   win32_bench follow ORTELIA [STEPS]         the editor moved STEPS times, ORTELIA following
//   win32_bench hold N READY QUIT              (helper) N hidden windows in this process
//
// --manifest-of EXE before the mode runs it with the common controls that EXE's manifest
// selects, as the program's own windows get them.
#include "app/win32/frmMain.h"
#include "calc/converter.h"
#include "calc/formulas.h"
#include "controls/win32/text.h"
#include "settings/win32/mMain.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------
// Measuring and reporting

double Now() {
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perSecond;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    const size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2)
        return upper;
    return (*std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid)) + upper) / 2;
}

void Report(const std::string& name, double value) {
    std::printf("%s %.6g\n", name.c_str(), value);
    std::fflush(stdout);
}

// Dispatches whatever is queued: paints, timers. WM_QUIT is dropped, so that a window
// under measurement ending the program does not end the benchmark.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Committed private memory of a process, the figure Windows calls private bytes: the
// sum of its committed MEM_PRIVATE regions.
double PrivateKiB(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi;
         at = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
        if (mbi.RegionSize == 0)
            break;
    }
    return static_cast<double>(total) / 1024.0;
}

// Bytes in use in all heaps of this process (the C runtime's included).
double HeapBusyBytes() {
    std::vector<HANDLE> heaps(64);
    DWORD n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (n > heaps.size()) {
        heaps.resize(n + 16);
        n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    }
    double total = 0;
    for (DWORD i = 0; i < n && i < heaps.size(); ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += static_cast<double>(entry.cbData);
        HeapUnlock(heaps[i]);
    }
    return total;
}

std::wstring ThisExe() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// ---------------------------------------------------------------------------------
// A helper process with N hidden top-level windows: the rest of the desktop, as the
// docking tick meets it. It answers messages (GetWindowTextLength sends one) until
// QUIT is signalled.

struct Holder {
    PROCESS_INFORMATION pi{};
    HANDLE quit = nullptr;

    bool Start(int windows, bool withEditor) {
        static int serial = 0;
        const std::wstring tag =
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        const std::wstring readyName = L"OrteliaBenchReady-" + tag;
        const std::wstring quitName = L"OrteliaBenchQuit-" + tag;
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
        quit = CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
        std::wstring cmd = L"\"" + ThisExe() + L"\" hold " + std::to_wstring(windows) + L" " +
                           readyName + L" " + quitName + (withEditor ? L" editor" : L"");
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return false;
        HANDLE both[2] = {ready, pi.hProcess};
        const DWORD r = WaitForMultipleObjects(2, both, FALSE, 60000);
        CloseHandle(ready);
        return r == WAIT_OBJECT_0;
    }
    ~Holder() {
        if (quit)
            SetEvent(quit);
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
        if (quit)
            CloseHandle(quit);
    }
};

int Hold(int windows, const wchar_t* readyName, const wchar_t* quitName, bool withEditor) {
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName);
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, quitName);
    if (!ready || !quit)
        return 1;
    std::vector<HWND> made;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Created first, so the others lie above it: the walk reaches it last.
    if (withEditor)
        made.push_back(CreateWindowExW(0, L"STATIC", L"Coaster.kst - Kestrava Editor",
                                       WS_OVERLAPPEDWINDOW, 150, 120, 900, 700, nullptr, nullptr,
                                       instance, nullptr));
    for (int i = 0; i < windows; ++i) {
        const std::wstring title = L"Document " + std::to_wstring(i) + L" - Notes";
        made.push_back(CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10,
                                       300, 200, nullptr, nullptr, instance, nullptr));
    }
    SetEvent(ready);
    while (MsgWaitForMultipleObjects(1, &quit, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        Pump();
    for (HWND h : made)
        DestroyWindow(h);
    return 0;
}

// ---------------------------------------------------------------------------------
// The main window, loaded as the program loads it.

struct Main {
    app::frmMain main;
    bool ok = false;
    Main() {
        // No stored settings: the defaults, as on a first start.
        RegDeleteTreeA(HKEY_CURRENT_USER, mMain::kSettingsKey);
        ok = main.Load(GetModuleHandleW(nullptr));
        Pump();
    }
    ~Main() {
        if (main.Handle())
            DestroyWindow(main.Handle());
        Pump();
    }
    // The pages, and the fields of a page, in creation order, as any outside tool finds
    // them in the window tree.
    static std::vector<HWND> Children(HWND parent, const wchar_t* cls) {
        std::vector<HWND> found;
        for (HWND h = nullptr; (h = FindWindowExW(parent, h, cls, nullptr));)
            found.push_back(h);
        return found;
    }
    HWND Field(size_t page, size_t index) const {
        return Children(Children(main.Handle(), L"OrteliaTabContainer").at(page), L"Edit")
            .at(index);
    }
    void ShowPage(size_t page) {
        const auto pages = Children(main.Handle(), L"OrteliaTabContainer");
        for (size_t i = 0; i < pages.size(); ++i)
            ShowWindow(pages[i], i == page ? SW_SHOW : SW_HIDE);
        Pump();
    }
    void Tick() const { SendMessageW(main.Handle(), WM_TIMER, app::frmMain::kDockTimer, 0); }
};

// ---------------------------------------------------------------------------------
// Keystroke to result

// A bare EDIT with the input fields' styles, font and size on a window that handles
// nothing itself: what one typed character costs the platform.
struct FloorEdit {
    HWND host = nullptr;
    HWND edit = nullptr;
    FloorEdit(HWND like, HFONT font) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = instance;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"OrteliaBenchFloorHost";
        RegisterClassExW(&wc);
        RECT r{};
        GetWindowRect(like, &r);
        host = CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60,
                               nullptr, nullptr, instance, nullptr);
        edit =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"10",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, 8, 8,
                            r.right - r.left, r.bottom - r.top, host, nullptr, instance, nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Pump();
    }
    ~FloorEdit() { DestroyWindow(host); }
};

// One typed character: the field's text selected (not timed), then the time from
// sending the character to `input` until `watched` holds a text other than before.
// Negative if it never changed.
double Keystroke(HWND input, HWND watched, wchar_t ch) {
    SendMessageW(input, EM_SETSEL, 0, -1);
    Pump();
    wchar_t before[128], after[128];
    GetWindowTextW(watched, before, 128);
    const double start = Now();
    SendMessageW(input, WM_CHAR, ch, 1);
    for (;;) {
        GetWindowTextW(watched, after, 128);
        if (std::wcscmp(after, before) != 0)
            return (Now() - start) * 1e6;
        if (Now() - start > 2.0)
            return -1;
        Pump();
    }
}

// Counts, through a hook of this thread, what a keystroke costs a calculator: the runs
// (each reads the field beside the typed one once) and the writes into the result field,
// and how many of those writes changed its text.
struct RunCounter {
    static inline HWND read = nullptr, written = nullptr;
    static inline unsigned reads = 0, writes = 0, changes = 0;
    HHOOK hook;
    RunCounter(HWND readField, HWND resultField) {
        read = readField;
        written = resultField;
        reads = writes = changes = 0;
        hook = SetWindowsHookExW(WH_CALLWNDPROC, &Proc, nullptr, GetCurrentThreadId());
    }
    ~RunCounter() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        reads += m->hwnd == read && m->message == WM_GETTEXT;
        if (m->hwnd == written && m->message == WM_SETTEXT) {
            wchar_t before[128];
            GetWindowTextW(written, before, 128);
            ++writes;
            changes += std::wcscmp(before, reinterpret_cast<const wchar_t*>(m->lParam)) != 0;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};

int KeystrokeBench(int count) {
    Main m;
    if (!m.ok)
        return 1;
    KillTimer(m.main.Handle(), app::frmMain::kDockTimer); // only keystrokes are measured
    // Design calculators are typed into their second input, the converter pairs into
    // their first field; `calculator` 0 marks a converter pair. Fields by their place on
    // the page: the calculators' two inputs and result, the converter's four boxes.
    struct Target {
        const char* name;
        size_t page, input, result, other;
        int calculator;
        const calc::ConverterPair* pair;
    } targets[] = {
        {"cp_length", 0, 1, 2, 0, 1, nullptr},
        {"banking", 1, 1, 2, 0, 2, nullptr},
        {"station", 2, 1, 2, 0, 3, nullptr},
        {"lim", 3, 1, 2, 0, 4, nullptr},
        {"converter_m_ft", 4, 0, 1, 1, 0, &calc::kMetresFeet},
        {"converter_kmh_mph", 4, 2, 3, 3, 0, &calc::kKmphMph},
    };
    // The text the result field must hold after `digit` was typed: the core's answer.
    auto expected = [&](const Target& t, wchar_t digit) {
        const std::string typed(1, static_cast<char>(digit));
        if (t.pair)
            return calc::PartnerText(*t.pair, 0, typed);
        calc::FormulaResult out;
        calc::Evaluate(t.calculator,
                       controls::Narrow(controls::WindowText(m.Field(t.page, t.other))), typed,
                       mMain::Settings().bMetric, out);
        return out.result;
    };
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(m.Field(0, 1), WM_GETFONT, 0, 0));
    FloorEdit floor(m.Field(0, 1), font);

    int failures = 0, wrong = 0;
    wchar_t floorDigit = L'1';
    for (const Target& t : targets) {
        m.ShowPage(t.page);
        const HWND input = m.Field(t.page, t.input);
        const HWND result = m.Field(t.page, t.result);
        // Digits 1 to 9 in turn: each replaces the selected text with a different one,
        // so each keystroke gives a different result.
        wchar_t digit = L'1';
        auto next = [](wchar_t& d) { d = d == L'9' ? L'1' : static_cast<wchar_t>(d + 1); };
        for (int i = 0; i < 50; ++i) { // warm-up
            Keystroke(input, result, digit);
            next(digit);
        }
        std::vector<double> times, floorTimes;
        times.reserve(static_cast<size_t>(count));
        floorTimes.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            // The floor in the same stretch of time, so that load from elsewhere on the
            // machine falls on both alike.
            const double fl = Keystroke(floor.edit, floor.edit, floorDigit);
            next(floorDigit);
            const double us = Keystroke(input, result, digit);
            if (controls::Narrow(controls::WindowText(result)) != expected(t, digit))
                ++wrong;
            next(digit);
            if (us < 0 || fl < 0)
                ++failures;
            else {
                times.push_back(us);
                floorTimes.push_back(fl);
            }
        }
        const std::string key = std::string("keystroke.") + t.name;
        Report(key + ".median_us", Median(times));
        Report(key + ".floor_median_us", Median(floorTimes));
        // What each keystroke costs the calculator, counted apart from timing.
        {
            const RunCounter counter(m.Field(t.page, t.other), result);
            const int n = 100;
            for (int i = 0; i < n; ++i) {
                Keystroke(input, result, digit);
                next(digit);
            }
            if (t.calculator)
                Report(key + ".recalcs_per_key", static_cast<double>(RunCounter::reads) / n);
            Report(key + ".result_writes_per_key", static_cast<double>(RunCounter::writes) / n);
            Report(key + ".result_changes_per_key", static_cast<double>(RunCounter::changes) / n);
        }
    }
    Report("keystroke.samples", count);
    Report("keystroke.failures", failures);
    Report("keystroke.wrong_results", wrong);
    // Failures and wrong results are in the figures; only a run without any figure fails.
    return failures == count * static_cast<int>(std::size(targets)) ? 1 : 0;
}

// ---------------------------------------------------------------------------------
// Start-up

struct Launch {
    double ms = -1;
    double privateKiB = 0;
};

// The window of class `cls` that belongs to process `pid`, or nullptr.
HWND WindowOf(DWORD pid, const wchar_t* cls) {
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h;
         h = FindWindowExW(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid)
            return h;
    }
    return nullptr;
}

// Starts `exe` and times it until its window of class `cls` is visible, topmost and
// answers a message; then measures its private bytes and closes it.
Launch StartOnce(const std::wstring& exe, const wchar_t* cls, const std::wstring& args = {}) {
    Launch result;
    std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return result;
    HWND ready = nullptr;
    while (!ready && Now() - start < 30.0 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        const HWND h = WindowOf(pi.dwProcessId, cls);
        DWORD_PTR answer = 0;
        if (h && IsWindowVisible(h) && (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
            SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
            ready = h;
        else
            Sleep(1);
    }
    if (!ready) {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(pi.hProcess, &code);
        std::fprintf(
            stderr, "start of %ls %ls: no ready window after %.0f ms (%s, exit code %lu)\n",
            exe.c_str(), args.c_str(), (Now() - start) * 1e3,
            code == STILL_ACTIVE ? "still running" : "ended", static_cast<unsigned long>(code));
    } else {
        result.ms = (Now() - start) * 1e3;
        // Let whatever the program does right after start-up settle before measuring.
        Sleep(150);
        result.privateKiB = PrivateKiB(pi.hProcess);
        PostMessageW(ready, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

// How many child windows the main window has, at every depth.
int ChildWindows() {
    Main m;
    int n = 0;
    EnumChildWindows(
        m.main.Handle(), [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

int StartupBench(const std::wstring& ortelia, const std::wstring& floor, int runs) {
    const int children = ChildWindows();
    // The floor again with as many bare EDIT children, made with the common controls that
    // Ortelia's manifest selects: the platform's cost of the window's controls.
    const std::wstring withChildren = std::to_wstring(children) + L" \"" + ortelia + L"\"";
    RegDeleteTreeA(HKEY_CURRENT_USER, mMain::kSettingsKey);
    // Warm-up: the first start of each reads its DLLs from disk.
    for (int i = 0; i < 2; ++i) {
        StartOnce(floor, L"OrteliaFloorWindow");
        StartOnce(ortelia, app::frmMain::kClassName);
    }
    // The three programs in turn, so that load from elsewhere falls on all alike; the
    // ratio is also taken per round, which cancels slow stretches.
    std::vector<double> floorMs, mainMs, childrenMs, floorKiB, mainKiB, ratio;
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        const Launch f = StartOnce(floor, L"OrteliaFloorWindow");
        const Launch o = StartOnce(ortelia, app::frmMain::kClassName);
        const Launch c = StartOnce(floor, L"OrteliaFloorWindow", withChildren);
        if (f.ms < 0 || o.ms < 0 || c.ms < 0) {
            ++failures;
            continue;
        }
        floorMs.push_back(f.ms);
        mainMs.push_back(o.ms);
        childrenMs.push_back(c.ms);
        floorKiB.push_back(f.privateKiB);
        mainKiB.push_back(o.privateKiB);
        ratio.push_back(o.ms / f.ms);
    }
    Report("startup.ortelia.median_ms", Median(mainMs));
    Report("startup.floor.median_ms", Median(floorMs));
    Report("startup.ratio_per_round.median", Median(ratio));
    Report("startup.child_windows", children);
    Report("startup.floor_with_children.median_ms", Median(childrenMs));
    Report("startup.runs", static_cast<double>(mainMs.size()));
    Report("startup.failures", failures);
    Report("footprint.private.ortelia_kib", Median(mainKiB));
    Report("footprint.private.floor_kib", Median(floorKiB));
    return failures == runs ? 1 : 0;
}

// ---------------------------------------------------------------------------------
// Docking tick

// The floor: visiting every top-level window from the top and reading its title, with
// nothing else done. Returns how many windows it visited.
int BareWalk(HWND start) {
    char title[512];
    int n = 0;
    for (HWND h = GetWindow(start, GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT), ++n) {
        const int length = GetWindowTextLengthA(h);
        if (length > 0)
            GetWindowTextA(h, title, static_cast<int>(sizeof title));
    }
    return n;
}

int DockBench(const std::vector<std::pair<int, int>>& sizes) {
    Main m;
    if (!m.ok)
        return 1;
    KillTimer(m.main.Handle(), app::frmMain::kDockTimer); // ticks only when we call them
    for (const auto& [windows, reps] : sizes) {
        Holder others;
        if (!others.Start(windows, false))
            return 1;
        Pump();
        const int visited = BareWalk(m.main.Handle());
        for (int i = 0; i < 5; ++i) { // warm-up
            BareWalk(m.main.Handle());
            m.Tick();
        }
        std::vector<double> tick, walk;
        for (int i = 0; i < reps; ++i) {
            double t = Now();
            BareWalk(m.main.Handle());
            walk.push_back((Now() - t) * 1e6);
            t = Now();
            m.Tick();
            tick.push_back((Now() - t) * 1e6);
        }
        const std::string key = "dock." + std::to_string(windows);
        Report(key + ".windows_visited", visited);
        Report(key + ".tick_median_us", Median(tick));
        Report(key + ".walk_median_us", Median(walk));
    }
    return 0;
}

// Heap and private bytes of this process before and after many ticks. With the editor
// (at the bottom of the z-order) every tick walks all windows, reads the editor's
// rectangle and moves the main window; without it every tick walks all windows.
int HeapBench(int ticks, int windows, bool editor) {
    Main m;
    if (!m.ok)
        return 1;
    KillTimer(m.main.Handle(), app::frmMain::kDockTimer);
    Holder others;
    if (!others.Start(windows, editor))
        return 1;
    for (int i = 0; i < 1000; ++i) // reach the steady state: caches, first moves
        m.Tick();
    Pump();
    const HANDLE self = GetCurrentProcess();
    // Every measurement once before the baseline: a first use may allocate (the clock's
    // static initialisation takes a lock that the C++ runtime creates on first use),
    // which would otherwise count as growth.
    HeapBusyBytes();
    PrivateKiB(self);
    Now();
    const double heapBefore = HeapBusyBytes();
    const double privateBefore = PrivateKiB(self);
    const double start = Now();
    for (int i = 0; i < ticks; ++i) {
        m.Tick();
        if (i % 1000 == 0)
            Pump(); // as the message loop would between ticks
    }
    const double seconds = Now() - start;
    Pump();
    const double heapAfter = HeapBusyBytes();
    const double privateAfter = PrivateKiB(self);
    const std::string key = editor ? "heap.docked" : "heap.walk";
    Report(key + ".ticks", ticks);
    Report(key + ".editor_found", mMain::Settings().bEditorSeen ? 1 : 0);
    Report(key + ".busy_growth_bytes", heapAfter - heapBefore);
    Report(key + ".private_growth_kib", privateAfter - privateBefore);
    Report(key + ".tick_mean_us", seconds * 1e6 / ticks);
    return 0;
}

// ---------------------------------------------------------------------------------
// Following the editor

// The real program docked to an editor window of this process: the editor is moved by
// 40 pixels STEPS times, each at a random moment of the program's one-second tick as a
// user's drag would be, and the time until the program's window has moved as far is
// taken.
int FollowBench(const std::wstring& ortelia, int steps) {
    RegDeleteTreeA(HKEY_CURRENT_USER, mMain::kSettingsKey); // docked top right, 0 x 22
    const HWND editor = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"bench - Kestrava Editor",
                                        WS_POPUP | WS_VISIBLE, 100, 100, 700, 500, nullptr, nullptr,
                                        nullptr, nullptr);
    std::wstring cmd = L"\"" + ortelia + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(ortelia.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return 1;
    const auto outer = [&] {
        RECT r{};
        GetWindowRect(WindowOf(pi.dwProcessId, app::frmMain::kClassName), &r);
        return r;
    };
    // Pumps until `done` holds or `seconds` pass; true if it held.
    const auto pumpUntil = [](const auto& done, double seconds) {
        for (const double end = Now() + seconds; Now() < end; Sleep(1)) {
            Pump();
            if (done())
                return true;
        }
        return false;
    };
    RECT e{};
    GetWindowRect(editor, &e);
    std::vector<double> delays;
    int failures = 0;
    if (pumpUntil([&] { return outer().right == e.right; }, 30.0)) { // docked top right
        srand(7);
        for (int i = 0, dx = 40; i < steps; ++i, dx = -dx) {
            pumpUntil([] { return false; }, (rand() % 1000) / 1000.0);
            const LONG before = outer().left;
            e.left += dx;
            SetWindowPos(editor, nullptr, e.left, e.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            const double moved = Now();
            if (pumpUntil([&] { return outer().left == before + dx; }, 3.0))
                delays.push_back((Now() - moved) * 1e3);
            else
                ++failures;
        }
    }
    Report("follow.steps", static_cast<double>(delays.size()));
    Report("follow.failures", failures);
    Report("follow.median_ms", Median(delays));
    Report("follow.max_ms", delays.empty() ? 0 : *std::max_element(delays.begin(), delays.end()));
    PostMessageW(WindowOf(pi.dwProcessId, app::frmMain::kClassName), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    DestroyWindow(editor);
    return delays.empty() ? 1 : 0;
}

int Usage() {
    std::fprintf(stderr, "usage: win32_bench [--manifest-of EXE] keystroke [COUNT] | startup "
                         "ORTELIA FLOOR [RUNS] | dock [SIZE:REPS ...] | heap [TICKS] [WINDOWS] "
                         "[EDITOR] | follow ORTELIA [STEPS]\n");
    return 2;
}

// Runs this process in the activation context of the manifest embedded in `exe`, so that
// the windows made here, the bare floor EDIT included, get the same common controls as
// that program (version 6 when its manifest asks for them). False if it has none.
bool UseManifestOf(const wchar_t* exe) {
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe;
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE handle = CreateActCtxW(&context);
    ULONG_PTR cookie = 0;
    return handle != INVALID_HANDLE_VALUE && ActivateActCtx(handle, &cookie);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--manifest-of") {
        Report("manifest", UseManifestOf(argv[2]) ? 1 : 0);
        argc -= 2;
        argv += 2;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    if (argc < 2)
        return Usage();
    const std::wstring mode = argv[1];
    auto number = [&](int i, int fallback) { return argc > i ? _wtoi(argv[i]) : fallback; };
    if (mode == L"hold" && argc >= 5)
        return Hold(_wtoi(argv[2]), argv[3], argv[4], argc > 5);
    if (mode == L"keystroke")
        return KeystrokeBench(number(2, 10000));
    if (mode == L"startup" && argc >= 4)
        return StartupBench(argv[2], argv[3], number(4, 25));
    if (mode == L"dock") {
        std::vector<std::pair<int, int>> sizes;
        for (int i = 2; i < argc; ++i) {
            int n = 0, reps = 0;
            if (swscanf(argv[i], L"%d:%d", &n, &reps) == 2)
                sizes.emplace_back(n, reps);
        }
        if (sizes.empty())
            sizes = {{10, 1000}, {100, 200}, {1000, 40}};
        return DockBench(sizes);
    }
    if (mode == L"heap")
        return HeapBench(number(2, 100000), number(3, 0), number(4, 0) != 0);
    if (mode == L"follow" && argc >= 3)
        return FollowBench(argv[2], number(3, 40));
    return Usage();
}
