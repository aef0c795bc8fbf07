// Ortelia as its user and the programs around it meet it: ortelia.exe runs as a process of
// its own and is driven only through its windows, the mouse and keyboard, the registry and
// the editor stand-in.
#include "driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace blackbox;

// The settings dialog's picture of the default settings.
const DialogState kDefaults{true, 1, L"0", L"22", true, true};

class Acceptance : public ::testing::Test {
  protected:
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }

    // Starts Ortelia over `code` (none: no stored value) and waits for its main window.
    static std::unique_ptr<Ortelia> Start(const char* code = nullptr) {
        if (code)
            StoreSettings(code);
        auto o = std::make_unique<Ortelia>();
        o->WaitForMain();
        return o;
    }

    // What the settings dialog shows now; the dialog is closed again with Cancel.
    static DialogState DialogNow(Ortelia& o) {
        SettingsDialog d = o.OpenSettings();
        const DialogState state = d.Read();
        d.Finish(SettingsDialog::Close::Cancel);
        o.Settle();
        return state;
    }

    // Ends Ortelia through its menu and expects exit code 0.
    static void Exit(Ortelia& o) {
        o.ExitFromMenu();
        EXPECT_EQ(o.WaitExit(5000), std::optional<DWORD>(0)) << "\"Exit\" ended with another code";
    }
};

TEST_F(Acceptance, FirstStartShowsNoMessageAndHasTheDefaults) {
    auto o = Start();
    Sleep(500);
    EXPECT_TRUE(o->MessageBoxes().empty()) << "a message box appeared on the first start";
    EXPECT_TRUE(GetWindowLongW(o->Main(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "main window not topmost";
    EXPECT_EQ(TextOf(o->Main()), L"Ortelia");
    const struct {
        FieldRef field;
        const wchar_t* text;
    } shown[] = {{{0, 2}, L"5.52"}, {{1, 2}, L"-45\u00B0 or 135\u00B0"}, {{2, 2}, L"19.00m"},
                 {{3, 2}, L"30.49m"}, {{4, 1}, L"3.28"},                 {{4, 3}, L"0.62"}};
    for (const auto& s : shown)
        EXPECT_EQ(o->FieldText(s.field), s.text) << "page " << s.field.page << " field " << s.field.index;
    EXPECT_EQ(TextOf(o->LaunchTimeLabel()), L"2.49 sec");
    EXPECT_EQ(o->Inconsistencies({}), "");
    EXPECT_EQ(DialogNow(*o), kDefaults);
    Exit(*o);
    EXPECT_FALSE(ReadStoredSettings().present) << "something was stored without the dialog's OK";
}

TEST_F(Acceptance, StoredCodesOfFiveSixAndSevenFieldsAreApplied) {
    const struct {
        const char* code;
        DialogState shown;
    } cases[] = {
        {"1:3:5:7:0:0", {true, 3, L"5", L"7", false, false}},
        {"0:2:-3:4:1", {false, 2, L"-3", L"4", true, true}}, // units keep the default
        {"1:0:10:20:0:0:99", {true, 0, L"10", L"20", false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        RemoveSettingsKey();
        auto o = Start(c.code);
        const StoredValue before = ReadStoredSettings();
        EXPECT_TRUE(o->MessageBoxes().empty());
        EXPECT_EQ(o->Inconsistencies({.metric = c.shown.metric}), "");
        EXPECT_EQ(DialogNow(*o), c.shown) << Describe(DialogNow(*o));
        Exit(*o);
        EXPECT_EQ(ReadStoredSettings(), before) << Describe(ReadStoredSettings());
    }
}

TEST_F(Acceptance, AnInvalidCodeShowsItsMessageBeforeTheWindowThenTheDefaults) {
    for (const char* code : {"1:1:0:22", "not a code"}) {
        SCOPED_TRACE(std::string("code \"") + code + "\"");
        RemoveSettingsKey();
        StoreSettings(code);
        const StoredValue before = ReadStoredSettings();
        Ortelia o;
        HWND box = o.WaitForBoxOrMain();
        ASSERT_NE(box, nullptr) << "the main window showed without the message";
        for (HWND main : TopLevelWindows(o.process().Id(), L"OrteliaMain"))
            EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows beside the message";
        EXPECT_EQ(TextOf(box), L"Ortelia") << "caption of the message box";
        bool saysInvalid = false;
        for (HWND label : Children(box, L"Static"))
            saysInvalid |= TextOf(label) == L"Invalid Settings Code";
        EXPECT_TRUE(saysInvalid) << "the box does not say \"Invalid Settings Code\"";
        std::vector<HWND> buttons;
        for (HWND b : Children(box, L"Button"))
            if (IsWindowVisible(b))
                buttons.push_back(b);
        ASSERT_EQ(buttons.size(), 1u) << "the box should offer one button";
        EXPECT_EQ(TextOf(buttons[0]), L"OK");
        ClickAt(Centre(RectOf(buttons[0])));
        EXPECT_TRUE(WaitUntil([&] { return o.MessageBoxes().empty(); }, 3000)) << "OK left the box open";
        o.WaitForMain();
        EXPECT_EQ(DialogNow(o), kDefaults) << "after OK the program should run with the defaults";
        EXPECT_EQ(o.Inconsistencies({}), "");
        Exit(o);
        EXPECT_EQ(ReadStoredSettings(), before) << Describe(ReadStoredSettings());
    }
}

TEST_F(Acceptance, EveryPageIsReachedByClickingItsCaption) {
    auto o = Start();
    for (int tab : {3, 0, 4, 1, 2, 2, 4, 3}) {
        o->ClickTab(tab);
        EXPECT_EQ(o->Inconsistencies({.page = tab}), "") << "after clicking tab " << tab;
    }
}

TEST_F(Acceptance, TypingInEveryCalculatorRecomputesIt) {
    auto o = Start();
    Expectation want;
    // Worked examples: one field typed, the others at their start values.
    const struct {
        FieldRef field;
        const wchar_t* keys;
        FieldRef result;
        const wchar_t* shows;
    } examples[] = {
        {{0, 1}, L"25", {0, 2}, L"13.81"}, // 90 degrees, radius 25
        {{1, 1}, L"0", {1, 2}, L"0\u00B0 or -180\u00B0"},
        {{2, 1}, L"4", {2, 2}, L"31.00m"},  // 6 cars of 4 rows
        {{3, 0}, L"100", {3, 2}, L"39.37m"}, // 100 km/h at 1 g
        {{4, 0}, L"-5", {4, 1}, L"-16.40"},
        {{4, 1}, L"3.28", {4, 0}, L"1.00"},
        {{4, 2}, L"100", {4, 3}, L"62.14"},
        {{4, 3}, L"100", {4, 2}, L"160.93"},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(Utf8(kTabCaptions[e.field.page]) + ": " + Utf8(e.keys));
        o->ClickTab(e.field.page);
        o->ClickField(e.field);
        PressKeys(e.keys);
        EXPECT_TRUE(WaitUntil([&] { return o->FieldText(e.field) == e.keys; }, 3000))
            << "the field reads \"" << Utf8(o->FieldText(e.field)) << "\"";
        EXPECT_EQ(o->FieldText(e.result), e.shows);
        want.page = e.field.page;
        if (e.field.page == 4)
            want.converterSource[e.field.index / 2] = e.field.index % 2;
        EXPECT_EQ(o->Inconsistencies(want), "");
    }
    EXPECT_EQ(TextOf(o->LaunchTimeLabel()), L"2.83 sec");
    // The same keys in the first field of every page: "." and "-" pass where that page's
    // numbers have them; letters, "," and " " never pass; Backspace does.
    const wchar_t* keys = L"1a2.-5, \b3";
    const wchar_t* typed[kPages] = {L"123", L"12.-3", L"123", L"12.3", L"12.-3"};
    for (int page = 0; page < kPages; ++page) {
        SCOPED_TRACE(Utf8(kTabCaptions[page]));
        o->ClickTab(page);
        o->ClickField({page, 0});
        PressKeys(keys);
        EXPECT_TRUE(WaitUntil([&] { return o->FieldText({page, 0}) == typed[page]; }, 3000))
            << "the field reads \"" << Utf8(o->FieldText({page, 0})) << "\"";
        want.page = page;
        if (page == 4)
            want.converterSource[0] = 0;
        EXPECT_EQ(o->Inconsistencies(want), "");
    }
}

TEST_F(Acceptance, ARightClickOnAnyBackgroundOpensTheMenuALeftClickDoesNot) {
    auto o = Start();
    for (HWND surface : {o->Main(), o->Header(), o->Page(0)}) {
        SCOPED_TRACE(Utf8(ClassOf(surface)));
        const auto at = o->BackgroundPoint(surface);
        ASSERT_TRUE(at) << "no background of this window in view";
        ClickAt(*at, Button::Left);
        Sleep(300);
        EXPECT_EQ(o->OpenMenu(), nullptr) << "a left click opened a menu";
        HWND menu = o->RightClick(*at);
        ASSERT_NE(menu, nullptr) << "a right click opened no menu";
        const size_t items = o->MenuItems(menu).size();
        if (IsWindowVisible(menu)) // Wine may have closed it meanwhile
            EXPECT_EQ(items, 2u) << "\"Settings...\" and \"Exit\"";
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !o->OpenMenu(); }, 3000)) << "Escape left the menu open";
    }
    EXPECT_EQ(o->Inconsistencies({}), "");
}

TEST_F(Acceptance, ExitAndTheCloseBoxEndWithCodeZeroAndWriteNothing) {
    for (const char* code : {static_cast<const char*>(nullptr), "1:3:5:7:0:0"}) {
        for (bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(closeBox ? "close box" : "menu Exit") + " over " +
                         (code ? code : "no stored code"));
            RemoveSettingsKey();
            auto o = Start(code);
            const StoredValue before = ReadStoredSettings();
            o->ClickTab(2);
            if (closeBox) {
                o->ClickCloseBox();
                EXPECT_EQ(o->WaitExit(5000), std::optional<DWORD>(0));
            } else {
                Exit(*o);
            }
            EXPECT_EQ(ReadStoredSettings(), before) << Describe(ReadStoredSettings());
        }
    }
}

TEST_F(Acceptance, DocksInTheDefaultCornerAndEndsWithinTwoTicksOfTheEditor) {
    auto o = Start();
    Editor editor(kEditorTitle, {150, 120, 1050, 820});
    const RECT e = editor.Rect();
    auto dockedAt = [&](const RECT& ed) {
        const RECT m = RectOf(o->Main());
        return m.right == ed.right && m.top == ed.top + 22;
    };
    EXPECT_TRUE(WaitUntil([&] { return dockedAt(e); }, 2500))
        << "not docked flush right, 22 pixels down, within two ticks";
    ASSERT_TRUE(editor.Move({300, 200, 1000, 760}));
    EXPECT_TRUE(WaitUntil([&] { return dockedAt(editor.Rect()); }, 2500)) << "did not follow the editor";
    editor.Close();
    const auto start = GetTickCount64();
    EXPECT_EQ(o->WaitExit(2500), std::optional<DWORD>(0))
        << "still running " << GetTickCount64() - start << " ms after the editor closed";
    EXPECT_FALSE(ReadStoredSettings().present);
}

TEST_F(Acceptance, SettingsChangedInTheDialogAreStoredAndComeBackAfterARestart) {
    const DialogState changed{false, 2, L"12px", L"-3", false, false};
    const DialogState reloaded{false, 2, L"12", L"-3", false, false};
    {
        auto o = Start();
        SettingsDialog d = o->OpenSettings();
        d.Set(changed);
        d.Finish(SettingsDialog::Close::Ok);
        o->Settle();
        const StoredValue stored = ReadStoredSettings();
        EXPECT_EQ(Describe(stored), "type 1 \"0:2:12:-3:0:0\"");
        EXPECT_EQ(TextOf(o->SpeedUnitLabel()), L"Mph");
        EXPECT_EQ(o->FieldText({2, 2}), L"62.34f");
        EXPECT_EQ(o->FieldText({3, 2}), L"259.06f");
        EXPECT_EQ(TextOf(o->LaunchTimeLabel()), L"4.01 sec");
        EXPECT_EQ(o->Inconsistencies({.metric = false}), "");
        // Cancel and the close box change nothing, whatever was clicked.
        for (auto close : {SettingsDialog::Close::Cancel, SettingsDialog::Close::CloseBox}) {
            SettingsDialog again = o->OpenSettings();
            EXPECT_EQ(again.Read(), reloaded);
            again.Set(kDefaults);
            again.Finish(close);
            o->Settle();
            EXPECT_EQ(ReadStoredSettings(), stored);
            EXPECT_EQ(o->Inconsistencies({.metric = false}), "");
        }
        Exit(*o);
    }
    auto o = Start();
    EXPECT_TRUE(o->MessageBoxes().empty());
    EXPECT_EQ(DialogNow(*o), reloaded);
    EXPECT_EQ(o->Inconsistencies({.metric = false}), "");
}

// ---- Hostile windows around the program ---------------------------------------------------

// Top-level windows of this test process, made and served by a thread of their own while
// `work` runs there; the thread ends when the object goes.
class WindowThread {
  public:
    explicit WindowThread(std::function<void(const std::atomic<bool>& stop)> work)
        : thread_([this, work = std::move(work)] { work(stop_); }) {}
    ~WindowThread() {
        stop_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

HWND MakeWindow(const std::wstring& title, RECT r = {20, 20, 220, 120}) {
    return CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// Ortelia keeps working for `ms` milliseconds: alive, answering, consistent.
void ExpectSurvives(Ortelia& o, int ms) {
    const auto until = GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (GetTickCount64() < until) {
        ASSERT_TRUE(o.Responsive()) << "ortelia.exe stopped answering or ended";
        Sleep(100);
    }
    EXPECT_EQ(o.Inconsistencies({}), "");
}

TEST_F(Acceptance, TheEditorIsFoundAmongWindowsWithHostileTitles) {
    auto o = Start();
    const std::wstring kib32(32 * 1024, L'A');
    WindowThread others([&](const std::atomic<bool>& stop) {
        std::vector<HWND> windows;
        for (const std::wstring& title :
             {std::wstring(), std::wstring(L"x"), kib32, std::wstring(32 * 1024, L'\u00E9'),
              std::wstring(16 * 1024, L'\u6F22') + L" - Kestrava Edito",
              std::wstring(L"\u041A\u0435\u0441\u0442\u0440\u0430\u0432\u0430 \u2013 Kestrava Editor"),
              std::wstring(L"Kestrava Editor"), std::wstring(L"-Kestrava Editor")})
            windows.push_back(MakeWindow(title));
        // One title that changes all the time, between the length query and the read too.
        HWND flicker = MakeWindow(L"");
        const std::wstring titles[] = {L"", kib32, L"y", kib32 + kib32, L"\u00FC\u00DF"};
        for (size_t i = 0; !stop; ++i) {
            SetWindowTextW(flicker, titles[i % 5].c_str());
            Pump();
        }
        for (HWND w : windows)
            DestroyWindow(w);
        DestroyWindow(flicker);
    });
    Editor editor(kEditorTitle, {200, 150, 900, 650});
    EXPECT_TRUE(WaitUntil(
        [&] {
            const RECT m = RectOf(o->Main()), e = editor.Rect();
            return m.right == e.right && m.top == e.top + 22;
        },
        3500))
        << "not docked to the one editor among the others";
    ExpectSurvives(*o, 3000);
}

TEST_F(Acceptance, AnEditorThatVanishesDuringTheSearchIsSurvived) {
    // Auto-close off: the racing editors come and go all the time.
    auto o = Start("1:1:0:22:0:1");
    WindowThread racer([](const std::atomic<bool>& stop) {
        // Many long titles make each search slow, so that editors often vanish during one.
        std::vector<HWND> filler;
        for (int i = 0; i < 150; ++i)
            filler.push_back(MakeWindow(std::wstring(8 * 1024, L'f')));
        while (!stop) {
            HWND editor = MakeWindow(L"race - Kestrava Editor", {300, 300, 700, 600});
            Pump();
            DestroyWindow(editor);
            Pump();
        }
        for (HWND w : filler)
            DestroyWindow(w);
    });
    ExpectSurvives(*o, 8000);
}

TEST_F(Acceptance, AnEditorFarOffTheScreenIsFollowedAndSurvived) {
    auto o = Start();
    const RECT places[] = {{-5000, -4000, -4200, -3400}, {30000, 30000, 31000, 31000},
                           {-40000, 100, -39000, 700}, {2000000000, 2000000000, 2000000800, 2000000600}};
    Editor editor(kEditorTitle, {100, 100, 900, 700});
    for (const RECT& place : places) {
        SCOPED_TRACE(std::to_string(place.left) + "," + std::to_string(place.top));
        editor.Move(place); // the system may hold extreme rectangles to its own limits
        const RECT e = editor.Rect();
        const auto want = DockedPosition(e, RectOf(o->Main()), {});
        ASSERT_TRUE(want);
        EXPECT_TRUE(WaitUntil(
            [&] {
                const RECT m = RectOf(o->Main());
                return m.left == want->x && m.top == want->y;
            },
            2500))
            << "editor at " << e.left << "," << e.top << ": main window at "
            << RectOf(o->Main()).left << "," << RectOf(o->Main()).top << ", expected " << want->x
            << "," << want->y;
        ASSERT_TRUE(o->Responsive());
    }
    ASSERT_TRUE(editor.Move({100, 100, 900, 700}));
    EXPECT_TRUE(WaitUntil([&] { return RectOf(o->Main()).right == 900; }, 2500)) << "did not come back";
    EXPECT_EQ(o->Inconsistencies({}), "");
}

} // namespace
