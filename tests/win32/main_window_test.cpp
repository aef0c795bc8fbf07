// The main window: start-up, its design at each density, the fields and their keys, the
// page switching and the popup menu.
#include "ortelia.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using support::PumpUntil;
using support::Shown;
using support::Soon;

// The design's layout units at 15, 12 and 10 per pixel, rounded half up, by hand.
TEST(MainWindow, StartsTopmostWithItsDesignAtThisDensity) {
    const struct {
        int dpi;
        const char *client, *header, *page, *result, *line;
    } rows[] = {
        {96, "403x63", "0,0 401x25", "0,24 401x37", "252,8 77x19", "200,0 1x37"},
        {120, "504x79", "0,0 501x31", "0,30 501x46", "315,10 96x24", "250,0 1x46"},
        {144, "605x95", "0,0 602x38", "0,36 602x56", "378,12 116x29", "300,0 1x55"},
    };
    const int dpi = support::ScreenDpi();
    Ortelia o;
    EXPECT_EQ(support::Text(o.W()), L"Ortelia");
    EXPECT_TRUE(o.Topmost() && IsWindowVisible(o.W()));
    EXPECT_EQ(o.VisiblePages(), (std::vector<int>{0, 1, 2, 3, 4})) << "stacked, page 0 on top";
    for (const auto& r : rows) {
        if (r.dpi != dpi)
            continue;
        RECT client{};
        GetClientRect(o.W(), &client);
        EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), r.client);
        EXPECT_EQ(support::Place(o.Header(), o.W()), r.header);
        EXPECT_EQ(support::Place(o.Page(3), o.W()), r.page);
        EXPECT_EQ(support::Place(o.Field(0, 2), o.Page(0)), r.result);
        EXPECT_EQ(support::Place(support::Children(o.Page(4), L"Static").at(2), o.Page(4)), r.line);
        return;
    }
    ADD_FAILURE() << "no rows for " << dpi << " dpi";
}

TEST(MainWindow, ResultsShowTheStoredUnitsFromTheStart) {
    const struct {
        const char* code;
        const wchar_t *station, *lim, *time, *unit;
    } rows[] = {{nullptr, L"19.00m", L"30.49m", L"2.49 sec", L"Kmph"},
                {"1:1:0:22:1:0", L"62.34f", L"259.06f", L"4.01 sec", L"Mph"}};
    for (const auto& r : rows) {
        Ortelia o(r.code);
        EXPECT_EQ(o.Text(0, 2), L"5.52");
        EXPECT_EQ(o.Text(1, 2), L"-45\u00B0 or 135\u00B0");
        EXPECT_EQ(o.Text(2, 2), r.station);
        EXPECT_EQ(o.Text(3, 2), r.lim);
        const auto labels = support::Children(o.Page(3), L"Static");
        EXPECT_EQ(support::Text(labels.at(0)), r.unit);
        EXPECT_EQ(support::Text(labels.at(2)), r.time);
        EXPECT_EQ(o.Text(4, 1), L"3.28");
        EXPECT_EQ(o.Text(4, 3), L"0.62");
    }
}

TEST(MainWindow, KeyFilterOfEachGroupThroughWmChar) {
    const struct {
        int page, field;
        const wchar_t* after; // the text after typing 7 . - , blank a 5 and Backspace
    } rows[] = {{0, 0, L"7"}, {0, 1, L"7"},  {1, 0, L"7.-"}, {1, 1, L"7.-"}, {2, 0, L"7"},
                {2, 1, L"7"}, {3, 0, L"7."}, {3, 1, L"7."},  {4, 0, L"7.-"}, {4, 3, L"7.-"}};
    Ortelia o;
    for (const auto& r : rows) {
        const HWND field = o.Field(r.page, r.field);
        SetWindowTextW(field, L"");
        Ortelia::Type(field, L"7.-, a5\b");
        EXPECT_EQ(support::Text(field), r.after) << r.page << "/" << r.field;
    }
    for (int page = 0; page < 4; ++page) {
        const std::wstring before = o.Text(page, 2);
        Ortelia::Type(o.Field(page, 2), L"5\b");
        EXPECT_EQ(o.Text(page, 2), before) << "the result is read-only, page " << page;
    }
}

// A test-installed hook counts the reads of the other input (one per run of the
// calculator) and the writes of the result, and sees whether the main window is still
// topmost as it goes.
int gReads, gWrites;
HWND gOther, gResult, gMain;
bool gTopmostAtEnd;
LRESULT CALLBACK Count(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    gReads += m->hwnd == gOther && m->message == WM_GETTEXT;
    gWrites += m->hwnd == gResult && m->message == WM_SETTEXT;
    if (m->hwnd == gMain && m->message == WM_DESTROY)
        gTopmostAtEnd = GetWindowLongW(gMain, GWL_EXSTYLE) & WS_EX_TOPMOST;
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(MainWindow, EachKeystrokeRecomputesTwiceAndWritesTheResultOnce) {
    const struct {
        int page;
        const wchar_t* result; // after typing 3 into the second input
    } rows[] = {{0, L"1.66"}, {1, L"-72\u00B0 or 108\u00B0"}, {2, L"25.00m"}, {3, L"10.16m"}};
    Ortelia o;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId());
    for (const auto& r : rows) {
        SetFocus(o.Field(r.page, 1));
        gReads = gWrites = 0;
        gOther = o.Field(r.page, 0);
        gResult = o.Field(r.page, 2);
        Ortelia::Type(o.Field(r.page, 1), L"3");
        EXPECT_EQ(o.Text(r.page, 2), r.result) << r.page;
        EXPECT_EQ(gReads, 2) << "runs on page " << r.page;
        EXPECT_EQ(gWrites, 1) << "result writes on page " << r.page;
    }
    UnhookWindowsHookEx(hook);
}

TEST(MainWindow, TypingAndPastingRecompute) {
    Ortelia o;
    const HWND radius = o.Field(0, 1);
    SetFocus(radius);
    Ortelia::Type(radius, L"2");
    EXPECT_EQ(o.Text(0, 2), L"1.10");
    Ortelia::Type(radius, L"5.");
    EXPECT_EQ(o.Text(0, 2), L"13.81");
    Ortelia::Type(radius, L"\b\b");
    EXPECT_EQ(o.Text(0, 2), L"0.00");
    // Pasted text is not filtered; the field rule reads it: 1,5x is 1.
    SendMessageW(radius, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1,5x"));
    EXPECT_EQ(support::Text(radius), L"1,5x");
    EXPECT_EQ(o.Text(0, 2), L"0.55");
    // The converter writes the partner only; the typed text stays as typed.
    SetWindowTextW(o.Field(4, 1), L"1");
    EXPECT_EQ(o.Text(4, 0), L"0.30");
    SetWindowTextW(o.Field(4, 1), L"3.28");
    EXPECT_EQ(o.Text(4, 0), L"1.00");
    EXPECT_EQ(o.Text(4, 1), L"3.28");
    SetWindowTextW(o.Field(4, 0), L"-5");
    EXPECT_EQ(o.Text(4, 1), L"-16.40");
    SetWindowTextW(o.Field(4, 3), L"100");
    EXPECT_EQ(o.Text(4, 2), L"160.93");
    EXPECT_EQ(o.Text(4, 0), L"-5") << "the other pair is untouched";
    SetWindowTextW(o.Field(4, 2), L".");
    EXPECT_EQ(o.Text(4, 3), L"0.00");
}

TEST(MainWindow, FocusByKeyboardOrMouseSelectsTheWholeText) {
    Ortelia o;
    for (bool mouse : {false, true}) {
        const HWND field = o.Field(2, mouse ? 1 : 0);
        if (mouse)
            SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        else
            SetFocus(field);
        DWORD from = 9, to = 9;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(GetFocus(), field);
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, 1u);
    }
    Ortelia::Type(o.Field(2, 1), L"4");
    EXPECT_EQ(o.Text(2, 2), L"31.00m") << "the digit replaced the selection";
}

TEST(MainWindow, RightPressesOnBackgroundsOpenTheMenu) {
    Ortelia o;
    const struct {
        HWND target;
        UINT message;
        bool opens;
    } rows[] = {{o.W(), WM_RBUTTONDOWN, true},      {o.Header(), WM_RBUTTONDOWN, true},
                {o.Page(0), WM_RBUTTONDOWN, true},  {o.W(), WM_LBUTTONDOWN, false},
                {o.W(), WM_MBUTTONDOWN, false},     {o.Header(), WM_LBUTTONDOWN, false},
                {o.Page(0), WM_MBUTTONDOWN, false}, {o.Field(0, 0), WM_RBUTTONDOWN, false}};
    // Above every caption on the header; below the fields on the page.
    const LPARAM at = MAKELPARAM(395, 3);
    for (const auto& r : rows) {
        std::wstring items;
        Soon close([&] {
            const HWND menu = Shown(L"#32768");
            if (!menu)
                return false;
            const auto h = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(h); ++i) {
                wchar_t text[32] = L"-";
                GetMenuStringW(h, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
                items += (i ? L"|" : L"") + std::wstring(*text ? text : L"-");
            }
            EndMenu();
            return true;
        });
        SendMessageW(r.target, r.message, 0, r.target == o.Page(0) ? MAKELPARAM(100, 30) : at);
        EXPECT_EQ(items, r.opens ? L"Settings...|-|Exit" : L"") << r.message << " on " << r.target;
    }
}

TEST(MainWindow, KeyboardSwitchesPagesAndGoesRoundThePage) {
    Ortelia o;
    SetFocus(o.Field(0, 1));
    const struct {
        std::initializer_list<int> modifiers;
        WPARAM key;
        int page;
    } steps[] = {{{VK_CONTROL}, VK_TAB, 1},         {{VK_CONTROL}, VK_NEXT, 2},
                 {{VK_CONTROL}, VK_TAB, 3},         {{VK_CONTROL}, VK_TAB, 4},
                 {{VK_CONTROL}, VK_TAB, 0},         {{VK_CONTROL, VK_SHIFT}, VK_TAB, 4},
                 {{VK_CONTROL}, VK_PRIOR, 3},       {{}, VK_NEXT, 3},
                 {{VK_CONTROL, VK_MENU}, VK_TAB, 3}};
    for (const auto& s : steps) {
        o.Press(s.modifiers, s.key);
        EXPECT_EQ(o.VisiblePages(), std::vector<int>{s.page});
        EXPECT_EQ(GetFocus(), o.Field(s.page, 0)) << "the page's first field";
    }
    // Tab and Shift+Tab go round the page in view: LIM Length's three fields.
    const HWND order[] = {o.Field(3, 1), o.Field(3, 2), o.Field(3, 0), o.Field(3, 2)};
    for (int i = 0; i < 4; ++i) {
        o.Press(i < 3 ? std::initializer_list<int>{} : std::initializer_list<int>{VK_SHIFT},
                VK_TAB);
        EXPECT_EQ(GetFocus(), order[i]) << "step " << i;
    }
    // Shift+F10 opens the popup menu.
    Soon close([] { return Shown(L"#32768") && EndMenu(); });
    o.Press({VK_SHIFT}, VK_F10);
    EXPECT_TRUE(close.Done());
    EXPECT_EQ(o.Text(3, 0), L"88") << "no key reached a field";
}

TEST(MainWindow, ExitAndTheCloseBoxLeaveTheTopmostBandAndWriteNothing) {
    for (bool exitItem : {true, false}) {
        Ortelia o("1:2:5:6:0:1");
        EXPECT_TRUE(o.Topmost());
        gMain = o.W();
        gTopmostAtEnd = true;
        const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId());
        if (exitItem) {
            Soon choose([&] {
                const HWND menu = Shown(L"#32768");
                return menu && PostMessageW(menu, WM_KEYDOWN, VK_UP, 0) &&
                       PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            });
            o.main.ShowPopup();
        } else {
            SendMessageW(o.W(), WM_CLOSE, 0, 0);
        }
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(IsWindow(o.W())) << (exitItem ? "Exit" : "close box");
        EXPECT_FALSE(gTopmostAtEnd) << "out of the topmost band before it went";
        EXPECT_EQ(support::Stored(), "1:2:5:6:0:1");
    }
}

} // namespace
