// The docking tracker and the window functions against real top-level windows.
#include "docking/win32/mWindowFunctions.h"
#include "ortelia.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace support;

// A top-level window, 900 x 700, standing in for the editor or another program's window;
// it takes no activation, as another program's window does not from this thread's menu.
struct Window {
    HWND hwnd;
    Window(const std::wstring& title, int x, int y, bool visible = true)
        : hwnd(CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", title.c_str(),
                               WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, 900, 700, nullptr,
                               nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(hwnd); }
};

// An editor that goes between the title search and the rectangle query (here as its title
// is read, through the single-byte interface) is seen, which auto-close acts on at the
// next tick, but not docked to.
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

// The editor goes while a field's menu or the window menu is open: the tick ends the menu
// and the window outlives it, to end in the main loop (where the black-box tests see the
// program end, during these and the other loops).
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
    // clang-format off
    const struct { std::wstring title; bool matches; } rows[] = {
        {L"Coaster - Kestrava Editor", true}, {L"coaster - kestrava editor", true},
        {L"- KESTRAVA EDITOR", true}, {L"Kestrava Editor", false}, {L"-Kestrava Editor", false},
        {L"", false}, {L"k", false}, {L"\u00C9t\u00E9 - Kestrava Editor \u4E2D", true},
        {std::wstring(32768, L'k') + L" - Kestrava Editor", true}};
    // clang-format on
    for (const auto& r : rows) {
        Window window(r.title, 0, 0, false);
        const HWND found = mWindowFunctions::FindWindowByTitle(window.hwnd, "- Kestrava Editor");
        EXPECT_EQ(found == window.hwnd, r.matches) << r.title.size() << " characters";
        EXPECT_EQ(mWindowFunctions::GetWindowTitle(window.hwnd).size(),
                  static_cast<size_t>(GetWindowTextLengthA(window.hwnd)));
    }
    Window first(L"one - Kestrava Editor", 0, 0), second(L"two - Kestrava Editor", 0, 0);
    EXPECT_EQ(mWindowFunctions::FindWindowByTitle(first.hwnd, "- Kestrava Editor"), second.hwnd);
    SetWindowPos(first.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(mWindowFunctions::FindWindowByTitle(first.hwnd, "- Kestrava Editor"), first.hwnd);
}

} // namespace
