// The program's windows in this process, with real messages, input and registry: the main
// window's design, fields, keys, pointer, focus, menu and docking; the stored settings; the dialog.
#include "app/win32/frmMain.h"
#include "controls/win32/accessible_name.h"
#include "docking/win32/mWindowFunctions.h"
#include "settings/settings_code.h"
#include "settings/win32/mMain.h"
#include "settings/win32/mWinRegistry.h"
#include "support.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace support;

// A main window loaded over a clean settings key (or a stored code), read through its windows.
struct Ortelia {
    CleanKey key;
    app::frmMain main;
    explicit Ortelia(const char* code = nullptr) : key(code) {
        EXPECT_TRUE(main.Load(GetModuleHandleW(nullptr)));
        Wait(50); // under Wine the activation settles as the X server answers
    }
    ~Ortelia() {
        DestroyWindow(W());
        MSG quit; // the one an ended program posts
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    HWND W() const { return main.Handle(); }
    HWND Header() const { return FindWindowExW(W(), nullptr, L"OrteliaTabHead", nullptr); }
    HWND Page(int n) const { return Children(W(), L"OrteliaTabContainer").at(n); }
    // Edit k of page n (two inputs and the result, or the converter's four boxes), its text;
    // label k of page n (label 0 of page 3 the speed's unit).
    HWND Field(int n, int k) const { return Children(Page(n), L"Edit").at(k); }
    std::wstring Text(int n, int k) const { return support::Text(Field(n, k)); }
    std::wstring Label(int n, int k) const {
        return support::Text(Children(Page(n), L"Static").at(k));
    }
    // The selected part of a field's text.
    static std::wstring Selection(HWND field) {
        const auto sel = static_cast<DWORD>(SendMessageW(field, EM_GETSEL, 0, 0));
        return support::Text(field).substr(LOWORD(sel), HIWORD(sel) - LOWORD(sel));
    }
    std::wstring Visible() const { // the pages shown, as digits
        std::wstring shown;
        for (int n = 0; n < 5; ++n)
            shown += IsWindowVisible(Page(n)) ? std::to_wstring(n) : L"";
        return shown;
    }
    bool Topmost() const { return GetWindowLongW(W(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
    void Tick() const { SendMessageW(W(), WM_TIMER, app::frmMain::kDockTimer, 0); }
    // "Settings..." chosen from the popup menu opened as by Shift+F10, and `act` run on the
    // dialog once it is shown, from inside its loop; returns when the dialog has closed.
    void Dialog(const std::function<void(HWND)>& act) const {
        bool chosen = false;
        Soon run([&] {
            const HWND menu = Shown(L"#32768"), dialog = Shown(L"OrteliaSettings");
            if (menu && !chosen)
                chosen = PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0) &&
                         PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            else if (dialog)
                act(dialog);
            return dialog != nullptr;
        });
        SendMessageW(W(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W()), -1);
        EXPECT_TRUE(run.Done());
    }
    static void Type(HWND field, const std::wstring& chars) {
        for (wchar_t c : chars)
            SendMessageW(field, WM_CHAR, c, 1);
    }
};

// A hook counts the reads of a field (one per run of its calculator) and the writes of
// another, and sees whether the main window is still topmost as it goes.
int gReads, gWrites;
HWND gRead, gWritten, gMain;
bool gTopmostAtEnd;
LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    gReads += m->hwnd == gRead && m->message == WM_GETTEXT;
    gWrites += m->hwnd == gWritten && m->message == WM_SETTEXT;
    if (m->hwnd == gMain && m->message == WM_DESTROY)
        gTopmostAtEnd = GetWindowLongW(gMain, GWL_EXSTYLE) & WS_EX_TOPMOST;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Puts `put` on the clipboard, or reads it, as an edit box of its own copies or pastes.
std::wstring Clipboard(const wchar_t* put = nullptr) {
    HWND box = CreateWindowW(L"EDIT", put, 0, 0, 0, 99, 20, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, put ? WM_COPY : WM_PASTE, 0, 0);
    const std::wstring text = support::Text(box);
    return DestroyWindow(box), text;
}

// The client area, the header, a page, and each control of pages 3 and 4 in its page.
std::string Places(const Ortelia& o) {
    std::string places =
        Place(o.W()) + " " + Place(o.Header(), o.W()) + " " + Place(o.Page(3), o.W());
    for (int n : {3, 4})
        for (HWND c = GetWindow(o.Page(n), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            places.append(" ").append(Place(c, o.Page(n)));
    return places;
}

// Where a row above the baseline crosses the tabs' left edges (h, the highlight) and right
// edges (s, the selected tab's slant in the shadow; d, the dark shadow).
std::string Tabs(HWND header) {
    std::string tabs;
    for (int x = 0; x < std::stoi(Place(header)); ++x)
        for (const auto& [colour, name] : {std::pair{COLOR_BTNHIGHLIGHT, "h "},
                                           {COLOR_BTNSHADOW, "s "},
                                           {COLOR_3DDKSHADOW, "d "}})
            tabs += Pixel(header, x, -3) == GetSysColor(colour) ? std::to_string(x) + name : "";
    return tabs;
}

// The design's rectangles rounded half up at 15, 12 and 10 layout units per pixel, and its
// 8-point font; the tabs from the captions' widths in Wine's MS Sans Serif.
// clang-format off
const struct Design { int dpi, font; const char *places, *tabs; } kDesign[] = {
    {96, -11, "403x63 0,0 401x25 0,24 401x37 8,8 37x19 48,12 77x13 128,8 37x19 168,12 77x13 252,8 77x19 "
              "332,11 65x13 8,8 45x19 56,12 37x13 96,8 45x19 144,12 37x13 200,0 1x37 208,8 45x19 "
              "256,12 37x13 296,8 45x19 344,12 37x13", "0h 84s 153d 154h 235d 236h 302d 303h 361d "},
    {120, -13, "504x79 0,0 501x31 0,30 501x46 10,10 46x24 60,15 96x16 160,10 46x24 210,15 96x16 "
               "315,10 96x24 415,14 81x16 10,10 56x24 70,15 46x16 120,10 56x24 180,15 46x16 250,0 1x46 "
               "260,10 56x24 320,15 46x16 370,10 56x24 430,15 46x16", "0h 103s 186d 188h 285d 286h 364d 365h 437d "},
    {144, -16, "605x95 0,0 602x38 0,36 602x56 12,12 56x29 72,18 116x20 192,12 56x29 252,18 116x20 "
               "378,12 116x29 498,17 98x20 12,12 68x29 84,18 56x20 144,12 68x29 216,18 56x20 300,0 1x55 "
               "312,12 68x29 384,18 56x20 444,12 68x29 516,18 56x20", "0h 127s 227d 228h 350d 352h 450d 451h 537d "}};
// clang-format on

// In either units: topmost, active, pages stacked, texts recomputed, the design at this dpi;
// at another after WM_DPICHANGED, fonts remade; in the desktop's new colours; ended by the
// close box, out of the topmost band first, writing nothing.
TEST(MainWindow, ItsDesignAtStartAtAnotherDensityAndInNewColoursThenEndsWritingNothing) {
    const Design* here = Literal(kDesign);
    const Design& to = kDesign[Dpi() == 144 ? 0 : 2]; // the controls hold it anywhere
    for (const char* code : {"1:1:0:22:1:1", "1:1:0:22:1:0"}) {
        Ortelia o(code);
        EXPECT_EQ(support::Text(o.W()), L"Ortelia");
        EXPECT_TRUE(o.Topmost() && GetForegroundWindow() == o.W());
        EXPECT_EQ(o.Selection(GetFocus()), L"90") << "the first field, ready for typing";
        EXPECT_EQ(o.Visible(), L"01234") << "stacked, page 0 on top";
        EXPECT_EQ(o.Text(0, 2) + L"|" + o.Text(1, 2), L"5.52|-45\u00B0 or 135\u00B0");
        EXPECT_EQ(o.Text(2, 2) + o.Text(3, 2) + o.Label(3, 0) + o.Label(3, 2),
                  code[11] == '1' ? L"19.00m30.49mKmph2.49 sec" : L"62.34f259.06fMph4.01 sec");
        EXPECT_EQ(o.Text(4, 1) + L"|" + o.Text(4, 3), L"3.28|0.62");
        EXPECT_EQ(Outside(o.W()), L"") << "the header and pages, and what is on them";
        if (here) {
            EXPECT_EQ(Places(o) + " " + Tabs(o.Header()),
                      here->places + std::string(" ") + here->tabs);
        }
        DpiChanged(o.W(), to.dpi);
        EXPECT_EQ(Places(o), to.places);
        for (HWND c : {o.Header(), o.Field(3, 0), Children(o.Page(3), L"Static").at(2)})
            EXPECT_EQ(FontHeight(c), to.font);
        const int which[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW};
        const COLORREF before[] = {GetSysColor(which[0]), GetSysColor(which[1]),
                                   GetSysColor(which[2]), GetSysColor(which[3])};
        const COLORREF after[] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(9, 9, 9)};
        const std::string tabs = Tabs(o.Header()); // where the edges are, in these colours
        SetSysColors(4, which, after);
        SendMessageW(o.W(), WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_EQ(
            std::vector({Pixel(o.Page(0), 5, 5), Pixel(o.Page(0), 0, 5), Pixel(o.Page(0), -1, 5),
                         Pixel(o.Page(0), 5, -1), Pixel(o.Header(), -2, 2),
                         Pixel(o.Header(), -2, MulDiv(24, to.dpi, 96)), Pixel(o.W(), -1, -1)}),
            std::vector({after[0], after[1], after[2], after[2], after[0], after[1], after[0]}));
        EXPECT_EQ(Tabs(o.Header()), tabs.find("s ") == std::string::npos ? "no shadow edge" : tabs)
            << "the tabs' edges, the selected tab's shadow among them, in the new colours";
        SetSysColors(4, which, before);
        gMain = o.W(), gTopmostAtEnd = true;
        const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
        SendMessageW(o.W(), WM_CLOSE, 0, 0);
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(IsWindow(gMain) || gTopmostAtEnd);
        EXPECT_EQ(Stored(), code);
    }
}

// A keystroke runs its calculator twice (the second settling on its own result) and writes
// once; "." and "-" pass where taken, ", a" nowhere, nothing into a result (below: the result
// after 3 is typed into the second input, and that input after ".-, a"). In Radius: typed,
// pasted (1,5x is 1), Ctrl+A, X, Z, C; a result copied; the converter's pairs both ways.
TEST(MainWindow, TypedPastedAndEditedTheFieldsRecompute) {
    const wchar_t* results[] = {L"1.66", L"-72\u00B0 or 108\u00B0", L"25.00m", L"10.16m"};
    const wchar_t* filtered[] = {L"3", L"3.-", L"3", L"3."};
    Ortelia o;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    for (int page = 0; page < 4; ++page) {
        SetFocus(o.Field(page, 1));
        gReads = gWrites = 0;
        gRead = o.Field(page, 0), gWritten = o.Field(page, 2);
        Ortelia::Type(o.Field(page, 1), L"3");
        EXPECT_EQ(o.Text(page, 2), results[page]);
        EXPECT_EQ(gReads * 10 + gWrites, 21) << "two runs and one write, page " << page;
        Ortelia::Type(o.Field(page, 1), L".-, a");
        Ortelia::Type(o.Field(page, 2), L"5\b");
        EXPECT_EQ(o.Text(page, 1) + L"|" + o.Text(page, 2),
                  std::wstring(filtered[page]) + L"|" + results[page]);
    }
    UnhookWindowsHookEx(hook);
    SetFocus(o.Field(0, 1));
    // clang-format off
    const struct { const wchar_t *keys, *clipboard, *text, *result; } steps[] = {
        {L"\x01" L"2", nullptr, L"2", L"1.10"}, {L"5.x", nullptr, L"25", L"13.81"},
        {L"\b\b", nullptr, L"", L"0.00"}, {L"\x16", L"1,5x", L"1,5x", L"0.55"},
        {L"\x01\x18", nullptr, L"", L"0.00"}, {L"\x1a", nullptr, L"1,5x", L"0.55"},
        {L"\x01\x03\x01x", nullptr, L"1,5x", L"0.55"}};
    // clang-format on
    for (const auto& s : steps) {
        if (s.clipboard)
            Clipboard(s.clipboard);
        Ortelia::Type(o.Field(0, 1), s.keys);
        EXPECT_EQ(o.Text(0, 1) + L"|" + o.Text(0, 2), std::wstring(s.text) + L"|" + s.result);
    }
    EXPECT_EQ(Clipboard() + L"|" + o.Selection(o.Field(0, 1)), L"1,5x|1,5x") << "all selected";
    SetFocus(o.Field(0, 2));
    Ortelia::Type(o.Field(0, 2), L"\x03");
    EXPECT_EQ(Clipboard(), L"0.55") << "a result is copied";
    // clang-format off
    const struct { int field; const wchar_t *text, *partner; } pairs[] = {
        {1, L"1", L"0.30"}, {1, L"3.28", L"1.00"}, {0, L"-5", L"-16.40"}, {0, L"10", L"32.81"},
        {2, L"-.", L"0.00"}, {2, L"100", L"62.14"}, {3, L"1", L"1.61"}, {3, L"1e400", L"--"}};
    // clang-format on
    for (const auto& p : pairs) { // typed over the whole text; what no key gives, pasted
        const HWND field = o.Field(4, p.field);
        wcschr(p.text, 'e') ? (void)SetWindowTextW(field, p.text)
                            : Ortelia::Type(field, L"\x01" + std::wstring(p.text));
        EXPECT_EQ(o.Text(4, p.field) + L"|" + o.Text(4, p.field ^ 1),
                  std::wstring(p.text) + L"|" + p.partner);
    }
    EXPECT_EQ(o.Text(4, 0), L"10") << "the other pair is untouched";
}

// Real clicks, each then a digit: "LIM Length", "CP Length", Radius; another window, the page
// (the focus back in Radius); another, Radius; Radius's end. The digit replaces the text or goes
// to a placed caret, only in view. Then one right-click on the unfocused result, and C: Copy.
TEST(MainWindow, ClicksThenKeysReachOnlyTheFieldInView) {
    // clang-format off
    const struct { int dpi; POINT lim, cp; } captions[] = { // a point in each caption
        {96, {260, 13}, {20, 13}}, {120, {310, 15}, {25, 15}}, {144, {380, 17}, {30, 17}}};
    // clang-format on
    const auto* at = Literal(captions);
    if (!at)
        return;
    Ortelia o;
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | SS_NOTIFY,
                                       1200, 900, 50, 50, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(o.W());
    Wait(300);                // the activation settled
    const auto fields = [&] { // every input, the results that may change, the pages in view
        std::wstring all;
        for (int n = 0; n < 5; ++n)
            for (int k = 0; k < (n < 4 ? 2 : 4); ++k)
                all += o.Text(n, k) + L"|";
        return all + o.Text(0, 2) + L"|" + o.Text(3, 2) + L" " + o.Label(3, 2) + L" " + o.Visible();
    };
    // clang-format off
    const struct { HWND window; POINT point; WORD key; const wchar_t* fields; } steps[] = {
        {o.Header(), at->lim, '7', L"90|10|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|5.52|0.19m 0.20 sec 3"},
        {o.Header(), at->cp, '3', L"3|10|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|0.17|0.19m 0.20 sec 0"},
        {o.Field(0, 1), {4, 4}, '2', L"3|2|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|0.03|0.19m 0.20 sec 0"},
        {other, {5, 5}, 0, nullptr},
        {o.Page(0), {100, 1}, '4', L"3|4|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|0.07|0.19m 0.20 sec 0"},
        {other, {5, 5}, 0, nullptr},
        {o.Field(0, 1), {4, 4}, '7', L"3|7|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|0.12|0.19m 0.20 sec 0"},
        {o.Field(0, 1), {-2, 4}, '5', L"3|75|1.0|1.0|6|2|7|1.0|1|3.28|1|0.62|1.31|0.19m 0.20 sec 0"}};
    // clang-format on
    for (const auto& s : steps) {
        ClickAt(ScreenPoint(s.window, s.point), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        if (s.key) {
            Keys({{s.key}});
            EXPECT_EQ(fields(), s.fields) << static_cast<char>(s.key);
        }
    }
    Clipboard(L"-");
    Soon copy([] { // C typed into the menu's own loop
        return Shown(L"#32768") &&
               (keybd_event('C', 0, 0, 0), keybd_event('C', 0, KEYEVENTF_KEYUP, 0), true);
    });
    ClickAt(ScreenPoint(o.Field(0, 2), {4, 4}), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    PumpUntil([&] { return copy.Done(); }, 1000);
    EXPECT_EQ(Clipboard(), L"1.31") << "one right-click, then Copy";
    DestroyWindow(other);
}

// The right button on the window's, header's or a page's background opens the menu (1), other
// buttons and labels (which take presses) none (0), a field its own (2); each caption takes
// clicks, in order. The converter's line lets presses through, drawn first row to last in the
// window-text colour; screen readers name an input by its label (units), a result by its page.
TEST(MainWindow, PressesOnBackgroundsLabelsFieldsAndCaptionsThenTheConverterDrawnAndNamed) {
    Ortelia o("1:1:0:22:1:0");
    const HWND label = Children(o.Page(0), L"Static").at(0);
    constexpr DWORD kRight = MOUSEEVENTF_RIGHTDOWN, kLeft = MOUSEEVENTF_LEFTDOWN;
    // clang-format off
    const struct { HWND target; POINT at; DWORD down; int menu; } rows[] = { // -: from the end
        {o.W(), {-1, -1}, kRight, 1}, {o.Header(), {-3, 3}, kRight, 1}, {o.Page(0), {100, -3}, kRight, 1},
        {o.W(), {-1, -1}, kLeft, 0}, {o.Header(), {-3, 3}, MOUSEEVENTF_MIDDLEDOWN, 0},
        {o.Page(0), {100, -3}, kLeft, 0}, {label, {5, 5}, kRight, 0}, {o.Field(0, 0), {5, 5}, kRight, 2}};
    // clang-format on
    for (const auto& r : rows) {
        std::wstring items; // the open menu's, "-" for the separator
        Soon close([&] {
            const HWND menu = Shown(L"#32768");
            const auto h = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            for (UINT i = 0; menu && i < UINT(GetMenuItemCount(h)); ++i) {
                wchar_t text[32] = L"";
                GetMenuStringW(h, i, text, 32, MF_BYPOSITION);
                items += *text ? text : L"-";
            }
            return menu && EndMenu();
        });
        ClickAt(ScreenPoint(r.target, r.at), r.down, r.down << 1); // up: bit on
        PumpUntil([&] { return close.Done(); }, r.menu ? 1000 : 100);
        const int menu = items.empty() ? 0 : items == L"Settings...-Exit" ? 1 : 2;
        EXPECT_EQ(menu, r.menu) << r.down << " on " << r.target;
    }
    std::wstring order; // at a caption's height, from within the first caption on
    for (int x = MulDiv(4, Dpi(), 96); x < std::stoi(Place(o.Header())); ++x) {
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
            SendMessageW(o.Header(), message, 0, MAKELPARAM(x, MulDiv(10, Dpi(), 96)));
        if (!order.ends_with(o.Visible()))
            order += o.Visible();
    }
    EXPECT_EQ(order, L"01234") << "the converter's page last, alone in view";
    const auto converter = Children(o.Page(4), L"Static"); // the line third
    EXPECT_EQ(SendMessageW(converter[2], WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(std::vector({Pixel(converter[2], 0, 10), Pixel(converter[2], 0, -1),
                           Pixel(converter[1], 0, 0), Pixel(o.Page(4), 3, -2)}),
              std::vector({GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT),
                           GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)}));
    const auto name = [](HWND field) {
        IAccessible* object = nullptr;
        BSTR name = nullptr;
        VARIANT self{};
        self.vt = VT_I4;                                   // CHILDID_SELF
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // the screen reader's side
        AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT),
                                   controls::kIidAccessible, reinterpret_cast<void**>(&object));
        const std::wstring text = object && object->get_accName(self, &name) == S_OK ? name : L"";
        SysFreeString(name);
        return (object && object->Release()), text + L"|";
    };
    EXPECT_EQ(name(o.Field(0, 1)) + name(o.Field(0, 2)) + name(o.Field(3, 0)) + name(o.Field(4, 3)),
              L"Radius|CP Length result|Mph|Mph|");
}

// The editor or another program's 900 x 700 window, which takes no activation from this thread.
struct Window {
    HWND hwnd;
    Window(const std::wstring& title, int x, int y, bool visible = true)
        : hwnd(CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", title.c_str(),
                               WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, 900, 700, nullptr,
                               nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(hwnd); }
};

// An editor gone between the title search and the rectangle query (here as its title is read,
// through the single-byte interface) is seen, which auto-close acts on next tick; not docked to.
TEST(Docking, AnEditorGoneBeforeItsRectangleIsReadIsSeenButNotDockedTo) {
    Ortelia o;
    Window editor(L"v - Kestrava Editor", 0, 0);
    SetWindowLongPtrA(editor.hwnd, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) {
                          const LRESULT result = DefWindowProcA(h, m, w, l);
                          if (m == WM_GETTEXT)
                              DestroyWindow(h);
                          return result;
                      }));
    const std::string before = Place(o.W(), GetDesktopWindow());
    o.Tick();
    EXPECT_EQ(Place(o.W(), GetDesktopWindow()), before);
    EXPECT_FALSE(IsWindow(editor.hwnd));
    o.Tick();
    EXPECT_FALSE(IsWindow(o.W())) << "seen";
}

// The editor goes while a field's menu or the window menu is open: the tick ends the menu and
// the window outlives it, to end in the main loop (as the black-box tests see for every loop).
TEST(Docking, TheEditorGoingEndsAMenuThatTheWindowOutlives) {
    for (const bool fieldMenu : {true, false}) {
        Ortelia o;
        auto editor = std::make_unique<Window>(L"m - Kestrava Editor", 0, 0);
        o.Tick();  // seen
        Wait(300); // the activation settled
        bool outlived = false;
        Soon whileOpen([&] {
            return Shown(L"#32768") && (editor.reset(), o.Tick(), outlived = IsWindow(o.W()));
        });
        const HWND field = o.Field(0, 2);
        fieldMenu ? SendMessageW(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), -1)
                  : SendMessageW(o.W(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        EXPECT_TRUE(whileOpen.Done() && outlived && !Shown(L"#32768")) << fieldMenu;
    }
}

// Titles that contain the editor's text, whatever the case, and titles that do not; of two
// matching windows the higher one, whichever was made first.
TEST(WindowFunctions, TitleSearchAmongHostileTitles) {
    using mWindowFunctions::FindWindowByTitle;
    const char* editor = "- Kestrava Editor";
    // clang-format off
    const struct { std::wstring title; bool matches; } rows[] = {
        {L"Coaster - Kestrava Editor", true}, {L"coaster - kestrava editor", true},
        {L"- KESTRAVA EDITOR", true}, {L"Kestrava Editor", false}, {L"-Kestrava Editor", false},
        {L"", false}, {L"k", false}, {L"\u00C9t\u00E9 - Kestrava Editor \u4E2D", true},
        {std::wstring(32768, L'k') + L" - Kestrava Editor", true}};
    // clang-format on
    for (const auto& r : rows) {
        Window window(r.title, 0, 0, false);
        EXPECT_EQ(FindWindowByTitle(window.hwnd, editor) == window.hwnd, r.matches)
            << r.title.size();
        EXPECT_EQ(mWindowFunctions::GetWindowTitle(window.hwnd).size(),
                  static_cast<size_t>(GetWindowTextLengthA(window.hwnd)));
    }
    Window first(L"one - Kestrava Editor", 0, 0), second(L"two - Kestrava Editor", 0, 0);
    EXPECT_EQ(FindWindowByTitle(first.hwnd, editor), second.hwnd);
    SetWindowPos(first.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindWindowByTitle(first.hwnd, editor), first.hwnd);
}

const auto Code = [] { return settings::ComposeSettingsCode(mMain::Settings()); };

// Each type and size around the 1024-byte buffer: unreadable is silent; only REG_SZ codes apply.
TEST(StoredSettings, HostileValuesByTypeAndSize) {
    for (DWORD type : {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ})
        for (size_t size : {0, 1, 1024, 1025})
            for (bool code : {false, size > 20}) {
                std::string bytes(size, '\xA7'); // no digit, no colon: never a code
                if (code)
                    bytes.replace(0, 14, "0:3:-40:7:0:0:");
                CleanKey key;
                Store(type, bytes);
                mMain::SetDefaultSettings();
                std::wstring shown = L"|";
                Soon answer([&] {
                    const HWND box = Shown(L"#32770", L"Ortelia");
                    shown = BoxText(box);
                    return box && !SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                });
                mMain::LoadSettings();
                SCOPED_TRACE(std::to_string(type) + ", " + std::to_string(size));
                const bool readable = size >= 1 && size <= 1024,
                           applies = readable && code && type == REG_SZ;
                EXPECT_EQ(shown, readable && !applies ? L"Invalid Settings Code|OK" : L"|");
                EXPECT_EQ(Code(), applies ? "0:3:-40:7:0:0" : "1:1:0:22:1:1");
            }
}

TEST(StoredSettings, ARefusedWriteIsReportedAndTheNewSettingsStillHold) {
    Ortelia o("1:1:0:22:1:1");
    EXPECT_EQ(Allow("D:P(A;;KR;;;WD)"), ERROR_SUCCESS); // reading only, for everyone
    using mWinRegistry::RegistryValue, mWinRegistry::WriteRegistryValue;
    for (auto value : {RegistryValue{"0:0:0:0:0:0"}, RegistryValue{5}}) {
        EXPECT_FALSE(WriteRegistryValue(HKEY_CURRENT_USER, kKey, value.index() ? REG_DWORD : REG_SZ,
                                        "Settings", value));
        EXPECT_EQ(std::get<std::string>(value), "");
    }
    o.Dialog([](HWND dialog) { Click(dialog, L"Imperial"), Click(dialog, L"OK"); });
    Allow("D:P(A;;KA;;;WD)");
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "1:1:0:22:1:1");
    EXPECT_EQ(o.Text(2, 2), L"62.34f");
}

// Modal, in its design at each density (rounded half up by hand), the logo, its tab stops.
TEST(SettingsDialog, OpensModalInItsDesign) {
    // The client area; OK, an offset box and "Metric" in it.
    // clang-format off
    const struct { int dpi; const char* places; } sizes[] = {
        {96, "271x259 120,236 69x21 56,172 37x19 180,96 57x13"},
        {120, "339x324 150,295 86x26 70,215 46x24 225,120 71x16"},
        {144, "407x389 180,354 104x32 84,258 56x29 270,144 86x20"}};
    // clang-format on
    Ortelia o("1:0:0:22:1");
    o.Dialog([&](HWND dialog) {
        EXPECT_EQ(support::Text(dialog), L"Ortelia Settings...");
        EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        EXPECT_TRUE(GetWindow(dialog, GW_OWNER) == o.W() && !IsWindowEnabled(o.W()));
        const auto places = [&] {
            const auto place = [&](const wchar_t* cls, const wchar_t* text) {
                return Place(FindWindowExW(dialog, nullptr, cls, text), dialog);
            };
            return Place(dialog) + " " + place(L"Button", L"OK") + " " + place(L"Edit", nullptr) +
                   " " + place(L"Button", L"Metric");
        };
        EXPECT_EQ(Outside(dialog), L"");
        if (const auto* s = Literal(sizes)) {
            EXPECT_EQ(places(), s->places);
        }
        const HWND banner = FindWindowExW(dialog, nullptr, L"OrteliaLogoBanner", nullptr);
        EXPECT_EQ(Pixel(banner, 20, 40), RGB(255, 96, 52)) << "the logo, unscaled";
        EXPECT_EQ(Pixel(banner, 60, 10), RGB(77, 157, 227));
        // Moved to a monitor of another density: laid out at its dpi, in fonts made for it.
        const int to = Dpi() == 144 ? 96 : 144;
        DpiChanged(dialog, to);
        if (Wine()) {
            EXPECT_EQ(places(), sizes[to == 144 ? 2 : 0].places);
        }
        EXPECT_EQ(FontHeight(FindWindowExW(dialog, nullptr, L"Edit", nullptr)),
                  to == 144 ? -16 : -11);
        // Round the tab stops to OK, where Enter clicks it, as on any focused push button.
        std::wstring tabs;
        SetFocus(FindWindowExW(dialog, nullptr, L"Button", L"Dock with Kestrava Editor"));
        for (int i = 0; i < 15; ++i) {
            const HWND at = GetFocus(); // its text, "*" if checked
            tabs += support::Text(at).substr(0, 7) +
                    (SendMessageW(at, BM_GETCHECK, 0, 0) ? L"*|" : L"|");
            MSG key{at, WM_KEYDOWN, static_cast<WPARAM>(i < 14 ? VK_TAB : VK_RETURN), 0, 0, {}};
            IsDialogMessageW(dialog, &key);
        }
        EXPECT_EQ(tabs, L"Dock wi*|Top - L*|0|22|Metric*|Automat*|OK|Cancel|Dock wi*|Top - L*|0|"
                        L"22|Metric*|Automat*|OK|");
    });
    EXPECT_EQ(Stored(), "1:0:0:22:1:1") << "by OK";
}

// OK stores what the dialog shows; Cancel, the close box, Enter and Escape (no default) do not.
TEST(SettingsDialog, OkStoresAndShowsTheSettingsOtherWaysOutChangeNothing) {
    enum Way { kOk, kCancel, kCloseBox, kEnter, kEscape };
    // x, y: nullptr where the box is left as loaded.
    // clang-format off
    const struct { const char* stored; std::vector<const wchar_t*> clicks; const wchar_t *x, *y;
                   Way way; const char* code; } rows[] = {
        {nullptr, {}, nullptr, nullptr, kOk, "1:1:0:22:1:1"},
        {"0:2:15:-9:0", {}, nullptr, nullptr, kOk, "0:2:15:-9:0:1"}, // five fields as six
        {"0:3:-5:7:0:0", {}, nullptr, nullptr, kOk, "0:3:-5:7:0:0"},
        {nullptr, {L"Dock with Kestrava Editor", L"Bottom - Left", L"Imperial"}, L"12px", L"1 5", kOk,
         "0:2:12:15:1:0"},
        {nullptr, {L"Automatically Close when the Kestrava Editor Closes", L"Top - Left"}, L"2.5",
         L"3.5", kOk, "1:0:2:4:0:1"},
        {"1:7:0:22:1:1", {}, L"-3", L"", kOk, "1:7:-3:0:1:1"}, // no corner button: it stays
        {nullptr, {}, L"99999999999", L"-1e99", kOk, "1:1:2147483647:-2147483648:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kCancel, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kCloseBox, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kEnter, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kEscape, "1:1:0:22:1:1"}};
    // clang-format on
    for (const auto& r : rows) {
        Ortelia o(r.stored);
        SetWindowTextW(o.Field(4, 0), L"10");
        o.Dialog([&](HWND dialog) {
            for (const wchar_t* caption : r.clicks)
                Click(dialog, caption);
            for (int n : {0, 1})
                if (const wchar_t* text = n ? r.y : r.x)
                    SetWindowTextW(Children(dialog, L"Edit").at(n), text);
            if (r.way >= kEnter) {
                const WPARAM vk = r.way == kEnter ? VK_RETURN : VK_ESCAPE;
                MSG key{Children(dialog, L"Edit").at(0), WM_KEYDOWN, vk, 0, 0, {}};
                IsDialogMessageW(dialog, &key);
                EXPECT_TRUE(IsWindow(dialog)) << r.way;
            }
            r.way == kCloseBox ? (void)PostMessageW(dialog, WM_CLOSE, 0, 0)
                               : Click(dialog, r.way == kOk ? L"OK" : L"Cancel");
        });
        EXPECT_EQ(Stored() + " " + Code(), std::string(r.code) + " " + r.code) << r.way;
        const bool metric = std::string(r.code).back() == '1';
        EXPECT_EQ(o.Text(2, 2) + o.Text(3, 2) + o.Label(3, 0),
                  metric ? L"19.00m30.49mKmph" : L"62.34f259.06fMph");
        EXPECT_EQ(o.Text(4, 1), L"32.81") << "the converter is not recomputed";
        EXPECT_TRUE(o.Topmost() && IsWindowEnabled(o.W()));
    }
    // The program ending while the dialog is open: closed as Cancel, the quit passed on.
    Ortelia o;
    o.Dialog([](HWND) { PostQuitMessage(7); });
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7);
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "(none)");
}

} // namespace
