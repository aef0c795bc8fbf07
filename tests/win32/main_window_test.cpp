// The main window driven as a user drives it: real windows, real messages, real registry.
#include "app/win32/frmMain.h"
#include "controls/win32/paint.h"
#include "controls/win32/text.h"
#include "main_window_fixture.h"
#include "settings/win32/mMain.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testing_support;

std::string Text(HWND hwnd) {
    wchar_t buffer[256] = L"";
    GetWindowTextW(hwnd, buffer, 256);
    return controls::Narrow(buffer);
}

void Type(calc::NumberField& field, const std::string& keys) {
    SetFocus(field.Handle());
    for (char c : keys)
        SendMessageW(field.Handle(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)),
                     0);
}

void Click(HWND hwnd, LPARAM at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP,
           WPARAM keys = MK_LBUTTON) {
    SendMessageW(hwnd, down, keys, at);
    SendMessageW(hwnd, up, 0, at);
}

void ClickTab(app::frmMain& main, int tab) {
    const auto& header = main.ucHeader;
    const RECT r = controls::ToPixels(header.Layout().tabs.at(tab).caption, header.Scale());
    Click(header.Handle(), ClientPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

TEST(MainWindow, StartsTopmostWithTheDesignTextsAndNoMessage) {
    Ortelia o;
    EXPECT_EQ(Text(o.Window()), "Ortelia");
    EXPECT_TRUE(GetWindowLongW(o.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(o.Window()));
    RECT client;
    GetClientRect(o.Window(), &client);
    const auto scale = controls::ScreenLayoutScale();
    EXPECT_EQ(client.right, scale.PixelsX(6045));
    EXPECT_EQ(client.bottom, scale.PixelsY(945));
    EXPECT_EQ(o.main.txtFormula1[2].Text(), "5.52");
    EXPECT_EQ(o.main.txtFormula2[2].Text(), "-45\u00B0 or 135\u00B0");
    EXPECT_EQ(o.main.txtFormula3[2].Text(), "19.00m");
    EXPECT_EQ(o.main.txtFormula4[2].Text(), "30.49m");
    EXPECT_EQ(Text(o.main.lblFormula4extra), "2.49 sec");
    EXPECT_EQ(Text(o.main.lblKmph), "Kmph");
    EXPECT_EQ(o.main.ucHeader.TabCount(), 5);
    EXPECT_EQ(o.main.ucHeader.SelectedTab(), 0);
    EXPECT_TRUE(GetWindowLongW(o.main.txtFormula3[2].Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(GetWindowLongW(o.main.txtFormula5b[1].Handle(), GWL_STYLE) & ES_READONLY);
}

TEST(MainWindow, ImperialSettingsShowMatchingResultsFromTheFirstFrame) {
    Ortelia o("1:1:0:22:1:0");
    EXPECT_EQ(Text(o.main.lblKmph), "Mph");
    EXPECT_EQ(o.main.txtFormula3[2].Text(), "62.34f");
    EXPECT_EQ(o.main.txtFormula4[2].Text(), "259.06f");
    EXPECT_EQ(Text(o.main.lblFormula4extra), "4.01 sec");
    EXPECT_EQ(o.main.txtFormula1[2].Text(), "5.52");
}

TEST(MainWindow, TypingRecomputesWithOneSettlingRun) {
    Ortelia o;
    auto& radius = o.main.txtFormula1[1];
    SetFocus(radius.Handle());
    const struct {
        std::string keys, text, result;
    } steps[] = {{"2", "2", "1.10"},
                 {"5", "25", "13.81"},
                 {".", "25", "13.81"},
                 {"\b", "2", "1.10"},
                 {"\b", "", "0.00"}};
    for (const auto& step : steps) {
        const unsigned before = o.main.RecalcRuns();
        Type(radius, step.keys);
        EXPECT_EQ(radius.Text(), step.text) << "after typing '" << step.keys << "'";
        EXPECT_EQ(o.main.txtFormula1[2].Text(), step.result)
            << "after typing '" << step.keys << "'";
        const unsigned runs = o.main.RecalcRuns() - before;
        EXPECT_EQ(runs, step.keys == "." ? 0u : 2u) << "runs for '" << step.keys << "'";
    }
}

TEST(MainWindow, KeyFilterPerGroup) {
    Ortelia o;
    // Which of ".", "-", ",", " ", "a", Ctrl+C/V/X/Z each group lets through: digits,
    // Backspace and Enter always pass.
    const struct {
        calc::NumberField* field;
        bool point, minus;
    } groups[] = {{&o.main.txtFormula1[0], false, false}, {&o.main.txtFormula2[0], true, true},
                  {&o.main.txtFormula3[1], false, false}, {&o.main.txtFormula4[1], true, false},
                  {&o.main.txtFormula5a[0], true, true},  {&o.main.txtFormula5b[1], true, true}};
    for (const auto& g : groups) {
        const struct {
            char key;
            bool passes;
        } keys[] = {{'7', true},  {'.', g.point}, {'-', g.minus}, {',', false},
                    {' ', false}, {'a', false},   {'E', false},   {3, false},
                    {22, false},  {24, false},    {26, false}};
        for (const auto& k : keys) {
            g.field->SetText("1");
            SendMessageW(g.field->Handle(), EM_SETSEL, 1, 1); // caret at the end
            SendMessageW(g.field->Handle(), WM_CHAR, static_cast<WPARAM>(k.key), 0);
            EXPECT_EQ(g.field->Text(), k.passes ? std::string("1") + k.key : "1")
                << "group " << g.field->Group() << " key code " << int(k.key);
        }
        SendMessageW(g.field->Handle(), WM_CHAR, '\r', 0);
        SendMessageW(g.field->Handle(), WM_CHAR, '\b', 0);
        EXPECT_EQ(g.field->Text(), "") << "Enter and Backspace in group " << g.field->Group();
    }
}

TEST(MainWindow, PastedTextIsNotFilteredAndReadsByTheFieldRule) {
    Ortelia o;
    auto& vertical = o.main.txtFormula2[0];
    SetFocus(vertical.Handle());
    SendMessageW(vertical.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(vertical.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"2,5 g"));
    EXPECT_EQ(vertical.Text(), "2,5 g");
    EXPECT_EQ(o.main.txtFormula2[2].Text(), "-27\u00B0 or 153\u00B0"); // 2 vertical, 1 lateral
}

TEST(MainWindow, FocusSelectsTheWholeTextByKeyboardAndMouse) {
    Ortelia o;
    auto selection = [](HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return std::make_pair(start, end);
    };
    HWND degrees = o.main.txtFormula1[0].Handle(), radius = o.main.txtFormula1[1].Handle();
    SetFocus(degrees);
    EXPECT_EQ(selection(degrees), std::make_pair(0ul, 2ul)) << "keyboard focus on \"90\"";
    Click(radius, ClientPoint(3, 5)); // near the left edge, far from the text's end
    EXPECT_EQ(GetFocus(), radius);
    EXPECT_EQ(selection(radius), std::make_pair(0ul, 2ul)) << "mouse focus on \"10\"";
    Type(o.main.txtFormula1[1], "4");
    EXPECT_EQ(o.main.txtFormula1[1].Text(), "4");
}

TEST(MainWindow, ConverterWritesThePartnerAndKeepsTheTypedText) {
    Ortelia o;
    auto& feet = o.main.txtFormula5a[1];
    Type(feet, "3.28");
    EXPECT_EQ(feet.Text(), "3.28");
    EXPECT_EQ(o.main.txtFormula5a[0].Text(), "1.00");
    Type(o.main.txtFormula5b[0], "100");
    EXPECT_EQ(o.main.txtFormula5b[1].Text(), "62.14");
    EXPECT_EQ(o.main.txtFormula5a[0].Text(), "1.00") << "the other pair is untouched";
    Type(o.main.txtFormula5a[0], "-");
    EXPECT_EQ(feet.Text(), "0.00");
    EXPECT_FALSE(o.main.bConverting);
}

TEST(MainWindow, ExactlyOnePageVisibleAfterTabClicks) {
    Ortelia o;
    EXPECT_EQ(o.VisiblePages().size(), 5u) << "all pages stacked at start-up";
    for (int tab : {3, 3, 0, 4, 1, 2, 4}) {
        ClickTab(o.main, tab);
        EXPECT_EQ(o.VisiblePages(), std::vector<int>{tab}) << "after clicking tab " << tab;
        EXPECT_EQ(o.main.ucHeader.SelectedTab(), tab);
    }
}

// Sends a button press and reports the popup menu that opened, if any ("" if none).
std::wstring MenuAfterPress(HWND target, LPARAM at, UINT down, UINT up, WPARAM keys) {
    std::wstring items;
    WhenReady closeMenu([] { return OpenPopupMenu() != nullptr; },
                        [&items] {
                            items = PopupMenuItems(OpenPopupMenu());
                            EndMenu();
                        },
                        400);
    Click(target, at, down, up, keys);
    PumpFor(50);
    return items;
}

TEST(MainWindow, RightPressOnBackgroundsOpensTheMenuOtherPressesDoNot) {
    Ortelia o;
    const auto scale = controls::ScreenLayoutScale();
    const LPARAM windowBackground = ClientPoint(scale.PixelsX(6035), scale.PixelsY(935));
    // Above an unselected tab's top edge: header, but no caption.
    const auto& lastCaption = o.main.ucHeader.Layout().tabs.back().caption;
    const LPARAM headerBackground =
        ClientPoint(scale.PixelsX(lastCaption.left + 30), scale.PixelsY(15));
    const LPARAM pageBackground = ClientPoint(scale.PixelsX(5900), scale.PixelsY(450));
    const std::wstring menu = L"Settings...|-|Exit";
    const struct {
        const char* where;
        HWND target;
        LPARAM at;
        UINT down, up;
        WPARAM keys;
        std::wstring expected;
    } cases[] = {
        {"window, right", o.Window(), windowBackground, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON,
         menu},
        {"window, left", o.Window(), windowBackground, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON,
         L""},
        {"window, middle", o.Window(), windowBackground, WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON,
         L""},
        {"header, right", o.main.ucHeader.Handle(), headerBackground, WM_RBUTTONDOWN, WM_RBUTTONUP,
         MK_RBUTTON, menu},
        {"header, left", o.main.ucHeader.Handle(), headerBackground, WM_LBUTTONDOWN, WM_LBUTTONUP,
         MK_LBUTTON, L""},
        {"page, right", o.main.ucTab[0].Handle(), pageBackground, WM_RBUTTONDOWN, WM_RBUTTONUP,
         MK_RBUTTON, menu},
        {"page, middle", o.main.ucTab[0].Handle(), pageBackground, WM_MBUTTONDOWN, WM_MBUTTONUP,
         MK_MBUTTON, L""},
        {"field, right press", o.main.txtFormula1[0].Handle(), ClientPoint(3, 3), WM_RBUTTONDOWN,
         WM_NULL, MK_RBUTTON, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuAfterPress(c.target, c.at, c.down, c.up, c.keys), c.expected) << c.where;
}

// Records the window's extended style as it is destroyed.
DWORD g_exStyleAtDestroy = 0;
HWND g_watched = nullptr;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wp, LPARAM lp) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && msg->hwnd == g_watched && msg->message == WM_DESTROY)
        g_exStyleAtDestroy = static_cast<DWORD>(GetWindowLongW(msg->hwnd, GWL_EXSTYLE));
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(MainWindow, MenuExitLeavesTheTopmostBandAndWritesNothing) {
    Ortelia o("0:2:5:6:0:1");
    const StoredValue before = ReadStored();
    g_watched = o.Window();
    g_exStyleAtDestroy = WS_EX_TOPMOST;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
    WhenReady chooseExit([] { return OpenPopupMenu() != nullptr; },
                         [] {
                             HWND menu = OpenPopupMenu();
                             PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
                             PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
                         });
    Click(o.Window(), ClientPoint(2, 2), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(g_watched); }));
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(chooseExit.Ran());
    EXPECT_FALSE(IsWindow(g_watched)) << "Exit must close the window";
    EXPECT_FALSE(g_exStyleAtDestroy & WS_EX_TOPMOST) << "still topmost when destroyed";
    EXPECT_EQ(ReadStored(), before);
}

TEST(MainWindow, CloseBoxEndsTheWindowTheSameWay) {
    Ortelia o;
    const HWND window = o.Window();
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    EXPECT_FALSE(ReadStored().present) << "nothing is written at exit";
}

} // namespace
