// One running ortelia.exe: started, waited for, driven through its windows and checked
// against the platform-free core.
#pragma once

#include "calc/converter.h"
#include "calc/formulas.h"
#include "processes.h"
#include "registry.h"
#include "resources.h"
#include "screen.h"
#include "settings/settings.h"
#include "settings_dialog.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace blackbox {

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
            // A window that is going away (a closed dialog, an editor whose process was
            // ended) may still cover the page for a moment.
            std::optional<POINT> at = BackgroundPoint(page);
            if (!at &&
                WaitUntil([&] { return (at = BackgroundPoint(page)).has_value(); }, 3000, 50))
                ++Retries();
            if (!at)
                Fail(
                    "no part of the page background is in view to right-click; a window of class " +
                    Utf8(ClassOf(WindowFromPoint(Centre(RectOf(page))))) +
                    " lies over its middle at " + std::to_string(Centre(RectOf(page)).x) + "," +
                    std::to_string(Centre(RectOf(page)).y));
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

} // namespace blackbox
