// The docking timer and the window functions, against real top-level windows.
#include "app/win32/frmMain.h"
#include "controls/win32/text.h"
#include "docking/win32/mWindowFunctions.h"
#include "main_window_fixture.h"
#include "settings/win32/mMain.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace testing_support;

// A top-level window standing in for the editor, or for any other program's window.
class TopLevel {
  public:
    TopLevel(const std::wstring& title, RECT r, bool visible = true) {
        hwnd_ = CreateWindowExW(0, L"STATIC", title.c_str(),
                                WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), r.left, r.top,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    TopLevel(const TopLevel&) = delete;
    TopLevel& operator=(const TopLevel&) = delete;
    ~TopLevel() { Close(); }
    HWND Get() const { return hwnd_; }
    void Close() {
        if (hwnd_)
            DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    void MoveTo(RECT r) {
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

  private:
    HWND hwnd_ = nullptr;
};

std::string Describe(const RECT& r) {
    char text[64];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

TEST(DockingTimer, EachCornerWithItsOffsets) {
    Ortelia o;
    TopLevel editor(L"Untitled - Kestrava Editor", {150, 120, 1050, 820});
    const RECT e = mWindowFunctions::GetWindowRectangle(editor.Get());
    const struct {
        int16_t corner;
        int32_t ox, oy;
    } cases[] = {{0, 0, 22},  {1, 0, 22},  {2, 0, 22}, {3, 0, 22},  {0, 0, 0}, {3, 0, 0},
                 {0, -3, -5}, {1, -3, -5}, {2, 7, -5}, {3, -4, 40}, {1, 12, 0}};
    for (const auto& c : cases) {
        auto& s = mMain::Settings();
        s.iDockCorner = c.corner;
        s.lDockOffsetX = c.ox;
        s.lDockOffsetY = c.oy;
        o.main.tmrDock_Timer();
        const RECT m = o.Outer();
        const bool left = c.corner == 0 || c.corner == 2, top = c.corner < 2;
        const std::string what = "corner " + std::to_string(c.corner) + " offsets " +
                                 std::to_string(c.ox) + "," + std::to_string(c.oy) + ": main " +
                                 Describe(m) + ", editor " + Describe(e);
        if (left)
            EXPECT_EQ(m.left, e.left + c.ox) << what;
        else
            EXPECT_EQ(m.right, e.right - c.ox) << what;
        if (top)
            EXPECT_EQ(m.top, e.top + c.oy) << what;
        else
            EXPECT_EQ(m.bottom, e.bottom - c.oy) << what;
    }
    EXPECT_TRUE(mMain::Settings().bEditorSeen);
    EXPECT_TRUE(GetWindowLongW(o.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "z-order untouched";
}

TEST(DockingTimer, PutsTheWindowBackAndFollowsTheEditor) {
    Ortelia o;
    TopLevel editor(L"track.kse - Kestrava Editor", {100, 100, 900, 700});
    o.main.tmrDock_Timer();
    const RECT docked = o.Outer();
    SetWindowPos(o.Window(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    o.main.tmrDock_Timer();
    const RECT back = o.Outer();
    EXPECT_TRUE(EqualRect(&docked, &back)) << "dragged away, then " << Describe(back);
    editor.MoveTo({300, 200, 1000, 800});
    o.main.tmrDock_Timer();
    EXPECT_EQ(o.Outer().right, 1000);
    EXPECT_EQ(o.Outer().top, 222);
    EXPECT_EQ(o.Outer().right - o.Outer().left, docked.right - docked.left) << "size kept";
}

TEST(DockingTimer, DockingOffOrAnUnknownCornerNeverMovesButStillTracks) {
    for (const auto& [dock, corner] : {std::pair{false, int16_t{1}}, std::pair{true, int16_t{7}}}) {
        Ortelia o;
        auto& s = mMain::Settings();
        s.bDockEnabled = dock;
        s.iDockCorner = corner;
        const RECT before = o.Outer();
        TopLevel editor(L"x - KESTRAVA EDITOR", {100, 100, 900, 700});
        o.main.tmrDock_Timer();
        const RECT after = o.Outer();
        EXPECT_TRUE(EqualRect(&before, &after)) << "dock " << dock << " corner " << corner;
        EXPECT_TRUE(s.bEditorSeen);
        editor.Close();
        const HWND window = o.Window();
        o.main.tmrDock_Timer();
        EXPECT_FALSE(IsWindow(window)) << "auto-close after the editor went, dock " << dock;
    }
}

TEST(DockingTimer, AutoCloseOnlyAfterTheEditorWasSeenAndWhenSwitchedOn) {
    Ortelia o;
    o.main.tmrDock_Timer();
    EXPECT_TRUE(IsWindow(o.Window())) << "editor never seen";
    mMain::Settings().bAutoClose = false;
    {
        TopLevel editor(L"a - Kestrava Editor", {0, 0, 800, 600});
        o.main.tmrDock_Timer();
    }
    o.main.tmrDock_Timer();
    EXPECT_TRUE(IsWindow(o.Window())) << "auto-close off";
    mMain::Settings().bAutoClose = true;
    const HWND window = o.Window();
    o.main.tmrDock_Timer();
    EXPECT_FALSE(IsWindow(window)) << "switched on while the editor is gone";
}

TEST(DockingTimer, FollowsTheHigherOfTwoEditors) {
    Ortelia o;
    TopLevel first(L"one - Kestrava Editor", {0, 0, 700, 500});
    TopLevel second(L"two - Kestrava Editor", {100, 50, 1100, 850});
    SetWindowPos(second.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    o.main.tmrDock_Timer();
    EXPECT_EQ(o.Outer().right, 1100);
    SetWindowPos(first.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    o.main.tmrDock_Timer();
    EXPECT_EQ(o.Outer().right, 700);
}

TEST(DockingTimer, TicksKeepComingWhileThePopupMenuIsOpen) {
    Ortelia o;
    TopLevel editor(L"m - Kestrava Editor", {100, 100, 900, 700});
    RECT whileOpen{};
    WhenReady closeLater([] { return OpenPopupMenu() != nullptr; },
                         [&] {
                             PumpUntil([&] { return o.Outer().right == 900; }, 2500);
                             whileOpen = o.Outer();
                             EndMenu();
                         });
    o.main.ShowPopup();
    EXPECT_TRUE(closeLater.Ran());
    EXPECT_EQ(whileOpen.right, 900) << "docked by a tick during the menu: " << Describe(whileOpen);
}

TEST(DockingTimer, AutoCloseWhileTheMenuIsOpenClosesTheMenuThenTheWindow) {
    Ortelia o;
    const HWND window = o.Window();
    auto editor = std::make_unique<TopLevel>(L"q - Kestrava Editor", RECT{100, 100, 900, 700});
    o.main.tmrDock_Timer();
    WhenReady closeEditor([] { return OpenPopupMenu() != nullptr; }, [&] { editor.reset(); });
    o.main.ShowPopup(); // returns when the tick has closed the menu
    EXPECT_TRUE(closeEditor.Ran());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 3000))
        << "the window must end once the menu has closed";
}

TEST(WindowFunctions, TitleSearchIgnoresCaseAndNeedsTheWholeText) {
    const struct {
        std::wstring title;
        bool matches;
    } cases[] = {{L"Coaster - Kestrava Editor", true},
                 {L"coaster - kestrava editor", true},
                 {L"- KESTRAVA EDITOR", true},
                 {L"Kestrava Editor", false},
                 {L"", false},
                 {L"-Kestrava Editor", false},
                 {L"\u00C9t\u00E9 - Kestrava Editor \u4E2D", true}};
    for (const auto& c : cases) {
        TopLevel window(c.title, {0, 0, 100, 100}, false);
        const HWND found = mWindowFunctions::FindWindowByTitle(window.Get(), "- Kestrava Editor");
        EXPECT_EQ(found == window.Get(), c.matches) << controls::Narrow(c.title);
    }
}

TEST(WindowFunctions, TitlesOfAnyLengthAndGoneWindows) {
    TopLevel untitled(L"", {0, 0, 10, 10}, false);
    EXPECT_EQ(mWindowFunctions::GetWindowTitle(untitled.Get()), "");
    std::wstring longTitle(32768, L'k');
    longTitle.append(L" - Kestrava Editor");
    TopLevel huge(longTitle, {0, 0, 10, 10}, false);
    const std::string title = mWindowFunctions::GetWindowTitle(huge.Get());
    EXPECT_EQ(title.size(), static_cast<size_t>(GetWindowTextLengthA(huge.Get())));
    EXPECT_EQ(mWindowFunctions::FindWindowByTitle(huge.Get(), "- Kestrava Editor"), huge.Get());
    HWND gone = huge.Get();
    huge.Close();
    const RECT r = mWindowFunctions::GetWindowRectangle(gone);
    EXPECT_TRUE(IsRectEmpty(&r) && r.left == 0 && r.top == 0) << Describe(r);
    EXPECT_EQ(mWindowFunctions::GetWindowTitle(gone), "");
}

TEST(WindowFunctions, TopmostBandWithoutActivatingOrMoving) {
    TopLevel window(L"band", {40, 50, 240, 150}, false);
    SetForegroundWindow(GetDesktopWindow());
    mWindowFunctions::SetTopmost(window.Get());
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_TRUE(GetWindowLongW(window.Get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetFocus(), window.Get());
    const RECT r = mWindowFunctions::GetWindowRectangle(window.Get());
    EXPECT_EQ(Describe(r), "(40,50)-(240,150)");
    mWindowFunctions::SetNotTopmost(window.Get());
    EXPECT_FALSE(GetWindowLongW(window.Get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
}

} // namespace
