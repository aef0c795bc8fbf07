// The docking tracker and the window functions against real top-level windows, with the
// popup menu or the settings dialog open meanwhile.
#include "docking/win32/mWindowFunctions.h"
#include "ortelia.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using support::PumpUntil;
using support::Shown;
using support::Soon;

// A top-level window standing in for the editor, or for any other program's window.
struct Window {
    HWND hwnd;
    Window(const std::wstring& title, RECT r, bool visible = true)
        : hwnd(CreateWindowExW(
              0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), r.left,
              r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr)) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { DestroyWindow(hwnd); }
    void Move(int x, int y) const {
        SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
};

std::string Edges(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST(Docking, EachCornerOfARealEditorWithItsOffsets) {
    Ortelia o;
    Window editor(L"Untitled - Kestrava Editor", {150, 120, 1050, 820});
    // The window's edge nearest each side of the corner, worked from the editor's edges.
    const struct {
        int16_t corner;
        int32_t ox, oy;
        LONG x, y;
    } rows[] = {{1, 0, 22, 1050, 142},
                {0, -3, -5, 147, 115},
                {2, 7, -5, 157, 825},
                {3, -4, 40, 1054, 780},
                {3, 0, 0, 1050, 820}};
    for (const auto& r : rows) {
        auto& s = mMain::Settings();
        s.iDockCorner = r.corner;
        s.lDockOffsetX = r.ox;
        s.lDockOffsetY = r.oy;
        o.Tick();
        const RECT m = o.Outer();
        EXPECT_EQ(r.corner % 2 ? m.right : m.left, r.x) << r.corner << ": " << Edges(m);
        EXPECT_EQ(r.corner < 2 ? m.top : m.bottom, r.y) << r.corner << ": " << Edges(m);
    }
    EXPECT_TRUE(o.Topmost()) << "the z-order is not touched";
    // Dragged away, it goes back; the editor moved, it follows, keeping its size.
    const RECT before = o.Outer();
    SetWindowPos(o.W(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    o.Tick();
    EXPECT_EQ(Edges(o.Outer()), Edges(before));
    editor.Move(250, 100);
    o.Tick();
    EXPECT_EQ(o.Outer().right, 1150);
    EXPECT_EQ(o.Outer().bottom, 800);
    EXPECT_EQ(o.Outer().right - o.Outer().left, before.right - before.left);
}

TEST(Docking, SeenEditorsCloseTheProgramOnlyWhenAutoCloseIsOn) {
    // Docking off, or a corner without a button: never moved, but still tracked.
    for (const char* code : {"0:1:0:22:1:1", "1:7:0:22:1:1"}) {
        Ortelia o(code);
        const RECT before = o.Outer();
        auto editor = std::make_unique<Window>(L"x - KESTRAVA EDITOR", RECT{100, 100, 900, 700});
        o.Tick();
        EXPECT_EQ(Edges(o.Outer()), Edges(before)) << code;
        editor.reset();
        o.Tick();
        EXPECT_FALSE(IsWindow(o.W())) << code;
    }
    Ortelia o("1:1:0:22:0:1");
    o.Tick();
    {
        Window editor(L"a - Kestrava Editor", {0, 0, 800, 600});
        o.Tick();
    }
    o.Tick();
    EXPECT_TRUE(IsWindow(o.W())) << "auto-close off";
    mMain::Settings().bAutoClose = true;
    o.Tick();
    EXPECT_FALSE(IsWindow(o.W())) << "switched on while the editor is gone";
    Ortelia never;
    never.Tick();
    EXPECT_TRUE(IsWindow(never.W())) << "an editor never seen never closes it";
}

TEST(Docking, FollowsTheHigherOfTwoEditors) {
    Ortelia o;
    Window first(L"one - Kestrava Editor", {0, 0, 700, 500});
    Window second(L"two - Kestrava Editor", {100, 50, 1100, 850});
    o.Tick();
    EXPECT_EQ(o.Outer().right, 1100);
    first.Move(0, 0);
    o.Tick();
    EXPECT_EQ(o.Outer().right, 700);
}

TEST(Docking, TicksGoOnWhileTheMenuOrTheDialogIsOpen) {
    for (bool dialog : {false, true}) {
        Ortelia o;
        Window editor(L"m - Kestrava Editor", {100, 100, 900, 700});
        LONG right = 0;
        Soon watch([&] {
            const HWND open = dialog ? Shown(L"OrteliaSettings") : Shown(L"#32768");
            if (!open)
                return false;
            PumpUntil([&] { return o.Outer().right == 900; }, 2500); // the real 1 s timer
            right = o.Outer().right;
            return (dialog ? PostMessageW(open, WM_CLOSE, 0, 0) : EndMenu()) != FALSE;
        });
        dialog ? o.main.mnuSettings_Click() : o.main.ShowPopup();
        EXPECT_EQ(right, 900) << (dialog ? "dialog" : "menu");
    }
}

TEST(Docking, AutoCloseWhileTheMenuOrTheDialogIsOpenEndsCleanly) {
    for (bool dialog : {false, true}) {
        Ortelia o;
        auto editor = std::make_unique<Window>(L"q - Kestrava Editor", RECT{100, 100, 900, 700});
        o.Tick();
        const HWND window = o.W();
        Soon close([&] {
            if (!(dialog ? Shown(L"OrteliaSettings") : Shown(L"#32768")))
                return false;
            editor.reset();
            o.Tick();
            return true;
        });
        dialog ? o.main.mnuSettings_Click() : o.main.ShowPopup();
        EXPECT_TRUE(close.Done()) << (dialog ? "dialog" : "menu");
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); })) << (dialog ? "dialog" : "menu");
        EXPECT_FALSE(Shown(L"OrteliaSettings"));
        EXPECT_EQ(support::Stored(), "(none)") << "closed as Cancel";
    }
}

TEST(WindowFunctions, TitleSearchAndHostileTitles) {
    const struct {
        std::wstring title;
        bool matches;
    } rows[] = {{L"Coaster - Kestrava Editor", true},
                {L"coaster - kestrava editor", true},
                {L"- KESTRAVA EDITOR", true},
                {L"Kestrava Editor", false},
                {L"-Kestrava Editor", false},
                {L"", false},
                {L"k", false},
                {L"\u00C9t\u00E9 - Kestrava Editor \u4E2D", true},
                {std::wstring(32768, L'k') + L" - Kestrava Editor", true}};
    for (const auto& r : rows) {
        Window window(r.title, {0, 0, 100, 100}, false);
        const HWND found = mWindowFunctions::FindWindowByTitle(window.hwnd, "- Kestrava Editor");
        EXPECT_EQ(found == window.hwnd, r.matches) << r.title.size() << " characters";
        EXPECT_EQ(mWindowFunctions::GetWindowTitle(window.hwnd).size(),
                  static_cast<size_t>(GetWindowTextLengthA(window.hwnd)));
    }
    HWND gone = Window(L"gone - Kestrava Editor", {10, 10, 90, 90}).hwnd;
    EXPECT_EQ(Edges(mWindowFunctions::GetWindowRectangle(gone)), "0,0,0,0");
    EXPECT_EQ(mWindowFunctions::GetWindowTitle(gone), "");
}

TEST(WindowFunctions, TopmostBandWithoutActivatingOrMoving) {
    Window window(L"band", {40, 50, 240, 150}, false);
    mWindowFunctions::SetTopmost(window.hwnd);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_TRUE(GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetForegroundWindow(), window.hwnd);
    EXPECT_EQ(Edges(mWindowFunctions::GetWindowRectangle(window.hwnd)), "40,50,240,150");
    mWindowFunctions::SetNotTopmost(window.hwnd);
    EXPECT_FALSE(GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
}

} // namespace
