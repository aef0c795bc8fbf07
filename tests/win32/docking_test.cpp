// The docking tracker and the window functions against real top-level windows, with the
// popup menu or the settings dialog open meanwhile.
#include "docking/win32/mWindowFunctions.h"
#include "ortelia.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace {

using support::PumpUntil;
using support::Shown;

// A top-level window standing in for the editor, or for any other program's window; it
// takes no activation, as another program's window does not from this thread's menu.
struct Window {
    HWND hwnd;
    Window(const std::wstring& title, int x, int y, bool visible = true)
        : hwnd(CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", title.c_str(),
                               WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, 900, 700, nullptr,
                               nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(hwnd); }
    void Move(int x, int y) const { SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE); }
};

std::string Edges(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST(Docking, IntoEachCornerOfARealEditorWithItsOffsets) {
    Ortelia o;
    Window editor(L"Untitled - Kestrava Editor", 150, 120); // to 1050, 820
    // The window's edges nearest the corner, worked from the editor's edges.
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
        std::tie(s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY) = std::tie(r.corner, r.ox, r.oy);
        o.Tick();
        const RECT m = o.Outer();
        EXPECT_EQ(r.corner % 2 ? m.right : m.left, r.x) << r.corner << ": " << Edges(m);
        EXPECT_EQ(r.corner < 2 ? m.top : m.bottom, r.y) << r.corner << ": " << Edges(m);
    }
    EXPECT_TRUE(o.Topmost()) << "the z-order is not touched";
    // Dragged away, it goes back; the editor moved, it follows, keeping its size.
    const RECT docked = o.Outer();
    SetWindowPos(o.W(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    o.Tick();
    EXPECT_EQ(Edges(o.Outer()), Edges(docked));
    editor.Move(250, 100);
    o.Tick();
    const RECT moved = o.Outer();
    EXPECT_EQ(Edges(moved), std::to_string(1150 - (docked.right - docked.left)) + "," +
                                std::to_string(800 - (docked.bottom - docked.top)) + ",1150,800");
}

TEST(Docking, FollowsTheHigherOfTwoEditorsAndClosesOnlyAfterOneWasSeen) {
    // Docking off, or a corner without a button: never moved, but still tracked.
    for (const char* code : {"0:1:0:22:1:1", "1:7:0:22:1:1"}) {
        Ortelia o(code);
        const RECT before = o.Outer();
        o.Tick();
        EXPECT_TRUE(IsWindow(o.W())) << "never seen: stays";
        {
            Window editor(L"x - KESTRAVA EDITOR", 100, 100);
            o.Tick();
            EXPECT_EQ(Edges(o.Outer()), Edges(before)) << code;
        }
        o.Tick();
        EXPECT_FALSE(IsWindow(o.W())) << code;
    }
    Ortelia o("1:1:0:22:0:1");
    {
        Window first(L"one - Kestrava Editor", 0, 0), second(L"two - Kestrava Editor", 200, 50);
        o.Tick();
        EXPECT_EQ(o.Outer().right, 1100);
        first.Move(0, 0);
        o.Tick();
        EXPECT_EQ(o.Outer().right, 900);
    }
    o.Tick();
    EXPECT_TRUE(IsWindow(o.W())) << "auto-close off";
    mMain::Settings().bAutoClose = true;
    o.Tick();
    EXPECT_FALSE(IsWindow(o.W())) << "switched on while the editor is gone";
}

TEST(Docking, TicksGoOnWhileTheMenuOrTheDialogIsOpenAndMayEndTheProgram) {
    for (bool dialog : {false, true}) {
        Ortelia o;
        auto editor = std::make_unique<Window>(L"m - Kestrava Editor", 0, 0);
        LONG right = 0;
        const auto watch = [&] {
            PumpUntil([&] { return o.Outer().right == 900; }, 2500); // the real 1 s timer
            right = o.Outer().right;
            editor.reset();
            o.Tick();
        };
        const HWND window = o.W();
        if (dialog) {
            o.Dialog([&](HWND) { watch(); });
        } else {
            support::Soon whileOpen([&] { return Shown(L"#32768") && (watch(), true); });
            o.Menu();
        }
        EXPECT_EQ(right, 900) << (dialog ? "dialog" : "menu");
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); })) << "closed, then the window";
        EXPECT_FALSE(Shown(L"OrteliaSettings"));
        EXPECT_EQ(support::Stored(), "(none)") << "closed as Cancel";
    }
}

TEST(WindowFunctions, TitleSearchAmongHostileTitlesAndTheTopmostBand) {
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
        Window window(r.title, 0, 0, false);
        const HWND found = mWindowFunctions::FindWindowByTitle(window.hwnd, "- Kestrava Editor");
        EXPECT_EQ(found == window.hwnd, r.matches) << r.title.size() << " characters";
        EXPECT_EQ(mWindowFunctions::GetWindowTitle(window.hwnd).size(),
                  static_cast<size_t>(GetWindowTextLengthA(window.hwnd)));
    }
    const HWND gone = Window(L"gone - Kestrava Editor", 10, 10).hwnd;
    EXPECT_EQ(Edges(mWindowFunctions::GetWindowRectangle(gone)) +
                  mWindowFunctions::GetWindowTitle(gone),
              "0,0,0,0");
    Window band(L"band", 40, 50, false);
    mWindowFunctions::SetTopmost(band.hwnd);
    EXPECT_TRUE(IsWindowVisible(band.hwnd) && GetForegroundWindow() != band.hwnd);
    EXPECT_TRUE(GetWindowLongW(band.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Edges(mWindowFunctions::GetWindowRectangle(band.hwnd)), "40,50,940,750");
    mWindowFunctions::SetNotTopmost(band.hwnd);
    EXPECT_FALSE(GetWindowLongW(band.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(band.hwnd));
}

} // namespace
