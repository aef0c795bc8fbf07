// The main window from the keyboard: keys go through the window's PreTranslateMessage and
// then, if it leaves them, to the focused control, as in the program's message loop. The
// modifier keys are held in the thread's keyboard state while a key is pressed.
#include "app/win32/frmMain.h"
#include "controls/win32/paint.h"
#include "main_window_fixture.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

// Presses `key` with the given modifiers held, as the program's loop would see it.
void Press(app::frmMain& main, std::initializer_list<int> modifiers, WPARAM key) {
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    GetKeyboardState(held);
    for (int m : modifiers)
        held[m] = 0x80;
    SetKeyboardState(held);
    const bool system = key == VK_F10 || held[VK_MENU];
    const HWND target = GetFocus() ? GetFocus() : main.Handle();
    for (UINT message : {system ? WM_SYSKEYDOWN : WM_KEYDOWN, system ? WM_SYSKEYUP : WM_KEYUP}) {
        MSG msg{target, message, key, 1, static_cast<DWORD>(GetMessageTime()), {}};
        if (!main.PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        PumpFor(5); // the characters TranslateMessage posted
    }
    SetKeyboardState(saved);
}

// The first input of each page, where the focus goes when the page comes up.
HWND FirstField(app::frmMain& main, int page) {
    calc::NumberField* first[] = {&main.txtFormula1[0], &main.txtFormula2[0], &main.txtFormula3[0],
                                  &main.txtFormula4[0], &main.txtFormula5a[0]};
    return first[page]->Handle();
}

TEST(Keyboard, CtrlTabAndCtrlPageKeysCyclePagesAsACaptionClickDoes) {
    Ortelia o;
    SetFocus(o.main.txtFormula1[1].Handle());
    const struct {
        std::initializer_list<int> modifiers;
        WPARAM key;
        int tab;
    } steps[] = {
        {{VK_CONTROL}, VK_TAB, 1},           {{VK_CONTROL}, VK_TAB, 2},
        {{VK_CONTROL}, VK_NEXT, 3},          {{VK_CONTROL}, VK_NEXT, 4},
        {{VK_CONTROL}, VK_TAB, 0},           // round from the last tab to the first
        {{VK_CONTROL, VK_SHIFT}, VK_TAB, 4}, // and back
        {{VK_CONTROL}, VK_PRIOR, 3},         {{VK_CONTROL, VK_SHIFT}, VK_TAB, 2},
        {{VK_CONTROL}, VK_PRIOR, 1},         {{VK_CONTROL}, VK_PRIOR, 0},
    };
    int step = 0;
    for (const auto& s : steps) {
        Press(o.main, s.modifiers, s.key);
        SCOPED_TRACE("step " + std::to_string(step++));
        EXPECT_EQ(o.main.ucHeader.SelectedTab(), s.tab);
        EXPECT_EQ(o.VisiblePages(), std::vector<int>{s.tab});
        // The header redrew: the selected tab is the raised one.
        EXPECT_EQ(o.main.ucHeader.Layout().tabs.at(s.tab).caption.top, 60);
        EXPECT_EQ(GetFocus(), FirstField(o.main, s.tab));
    }
    EXPECT_EQ(o.main.txtFormula1[1].Text(), "10") << "no key reached a field";
}

TEST(Keyboard, PageKeysWithoutCtrlOrWithAltDoNotSwitch) {
    Ortelia o;
    SetFocus(o.main.txtFormula1[0].Handle());
    const struct {
        std::initializer_list<int> modifiers;
        WPARAM key;
    } presses[] = {{{}, VK_NEXT},
                   {{}, VK_PRIOR},
                   {{VK_SHIFT}, VK_NEXT},
                   {{VK_CONTROL, VK_MENU}, VK_NEXT},
                   {{VK_CONTROL, VK_MENU}, VK_TAB}};
    for (const auto& p : presses)
        Press(o.main, p.modifiers, p.key);
    EXPECT_EQ(o.main.ucHeader.SelectedTab(), 0);
    EXPECT_EQ(o.VisiblePages().size(), 5u) << "no page switched";
}

TEST(Keyboard, TabGoesRoundTheFieldsOfThePageInViewOnly) {
    Ortelia o;
    auto h = [](calc::NumberField& f) { return f.Handle(); };
    const struct {
        int page; // -1: the start-up stack, all five pages visible with page 0 on top
        std::vector<HWND> order;
    } cases[] = {
        {-1, {h(o.main.txtFormula1[0]), h(o.main.txtFormula1[1]), h(o.main.txtFormula1[2])}},
        {3, {h(o.main.txtFormula4[0]), h(o.main.txtFormula4[1]), h(o.main.txtFormula4[2])}},
        {4,
         {h(o.main.txtFormula5a[0]), h(o.main.txtFormula5a[1]), h(o.main.txtFormula5b[0]),
          h(o.main.txtFormula5b[1])}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page));
        if (c.page >= 0)
            o.main.ucHeader.ShowTab(static_cast<int16_t>(c.page));
        SetFocus(o.Window()); // no field focused: Tab starts at the first
        std::vector<HWND> forward, backward;
        for (size_t i = 0; i <= c.order.size(); ++i) {
            Press(o.main, {}, VK_TAB);
            forward.push_back(GetFocus());
        }
        for (size_t i = 0; i <= c.order.size(); ++i) {
            Press(o.main, {VK_SHIFT}, VK_TAB);
            backward.push_back(GetFocus());
        }
        // Forward round to the first field again, then backward from there round to the
        // last field again.
        const size_t n = c.order.size();
        std::vector<HWND> expectForward = c.order, expectBackward;
        expectForward.push_back(c.order.front());
        for (size_t k = 0; k <= n; ++k)
            expectBackward.push_back(c.order[n - 1 - k % n]);
        EXPECT_EQ(forward, expectForward);
        EXPECT_EQ(backward, expectBackward);
    }
    // Gaining the focus by Tab selects the whole text; Tab typed nothing.
    DWORD start = 1, end = 0;
    SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(GetFocus())));
    EXPECT_EQ(o.main.txtFormula5a[0].Text(), "1");
}

// Counts the popup menus the main window opens while it lives.
struct MenuCounter {
    static inline HWND watched = nullptr;
    static inline int opened = 0;
    HHOOK hook;
    explicit MenuCounter(HWND window) {
        watched = window;
        opened = 0;
        hook = SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, GetCurrentThreadId());
    }
    ~MenuCounter() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && msg->hwnd == watched && msg->message == WM_INITMENUPOPUP)
            ++opened;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};

// Runs `open` and reports the items and the rectangle of the first menu that opened.
// Every menu that opens meanwhile is closed, a second one too, so that a fault that
// opens two fails the count instead of hanging the test.
struct MenuSeen {
    std::wstring items;
    RECT rect{};
};
MenuSeen* g_seen = nullptr;
void CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
    const HWND menu = OpenPopupMenu();
    if (menu && g_seen && g_seen->items.empty()) {
        g_seen->items = PopupMenuItems(menu);
        GetWindowRect(menu, &g_seen->rect);
    }
    // Also ends the window-menu mode that F10 without Shift enters, which shows no menu.
    EndMenu();
}
template <typename Open> MenuSeen WatchMenu(Open&& open) {
    MenuSeen seen;
    g_seen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CloseMenus);
    open();
    PumpFor(100);
    KillTimer(nullptr, timer);
    g_seen = nullptr;
    return seen;
}

TEST(Keyboard, ShiftF10AndTheMenuKeyOpenThePopupOnceUnderTheFocusedField) {
    Ortelia o;
    const std::wstring ours = L"Settings...|-|Exit";
    const struct {
        const char* name;
        std::initializer_list<int> modifiers;
        WPARAM key;
        bool opens;
    } keys[] = {
        {"Shift+F10", {VK_SHIFT}, VK_F10, true},
        {"context-menu key", {}, VK_APPS, true},
        {"F10 alone", {}, VK_F10, false},
        {"Ctrl+Shift+F10", {VK_CONTROL, VK_SHIFT}, VK_F10, true},
    };
    for (calc::NumberField* field : {&o.main.txtFormula1[1], &o.main.txtFormula2[2]}) {
        for (const auto& k : keys) {
            SCOPED_TRACE(k.name);
            SetFocus(field->Handle());
            MenuCounter counter(o.Window());
            const MenuSeen seen = WatchMenu([&] { Press(o.main, k.modifiers, k.key); });
            EXPECT_EQ(seen.items, k.opens ? ours : L"");
            EXPECT_EQ(MenuCounter::opened, k.opens ? 1 : 0);
            if (k.opens) {
                RECT r;
                GetWindowRect(field->Handle(), &r);
                EXPECT_EQ(seen.rect.left, r.left);
                EXPECT_EQ(seen.rect.top, r.bottom);
            }
        }
    }
}

TEST(Keyboard, RightClicksStillOpenOneMenuAndAFieldKeepsItsOwn) {
    Ortelia o;
    const std::wstring ours = L"Settings...|-|Exit";
    const auto scale = controls::ScreenLayoutScale();
    const LPARAM background = ClientPoint(scale.PixelsX(6035), scale.PixelsY(935));
    // A press and release on the background: the press opens the menu, and the
    // WM_CONTEXTMENU that the release brings must not open it a second time.
    {
        MenuCounter counter(o.Window());
        const MenuSeen seen = WatchMenu([&] {
            SendMessageW(o.Window(), WM_RBUTTONDOWN, MK_RBUTTON, background);
            SendMessageW(o.Window(), WM_RBUTTONUP, 0, background);
        });
        EXPECT_EQ(seen.items, ours);
        EXPECT_EQ(MenuCounter::opened, 1);
    }
    // A right click on a field asks the field for its menu: the edit's own, not ours.
    {
        MenuCounter counter(o.Window());
        RECT r;
        GetWindowRect(o.main.txtFormula1[0].Handle(), &r);
        const MenuSeen seen = WatchMenu([&] {
            SendMessageW(o.main.txtFormula1[0].Handle(), WM_CONTEXTMENU,
                         reinterpret_cast<WPARAM>(o.main.txtFormula1[0].Handle()),
                         MAKELPARAM(r.left + 3, r.top + 3));
        });
        EXPECT_NE(seen.items, L"");
        EXPECT_NE(seen.items, ours);
        EXPECT_EQ(MenuCounter::opened, 0);
    }
}

} // namespace
