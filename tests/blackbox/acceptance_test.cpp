// Ortelia as its user and the programs around it meet it: ortelia.exe runs as a process of
// its own and is driven only through its windows, the mouse and keyboard, the registry and
// the editor stand-in.
#include "driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

using namespace blackbox;

const DialogState kDefaults = DialogFor(settings::kDefaultSettings);

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

    // What the settings dialog shows; closed again with Cancel.
    static DialogState DialogNow(Ortelia& o) {
        SettingsDialog d = o.OpenSettings();
        const DialogState state = d.Read();
        d.Finish(SettingsDialog::Close::Cancel);
        o.Settle();
        return state;
    }

    static void Exit(Ortelia& o) {
        o.ExitFromMenu();
        EXPECT_EQ(o.WaitExit(5000), std::optional<DWORD>(0)) << "\"Exit\" ended with another code";
    }
};

TEST_F(Acceptance, StartsOverEveryKindOfStoredCodeAndEndsWritingNothing) {
    const struct {
        const char* code; // nullptr: nothing stored
        bool invalid;
        DialogState shown;
        bool closeBox; // how it is ended: the close box or the menu's "Exit"
    } cases[] = {
        {nullptr, false, kDefaults, false},
        {"1:3:5:7:0:0", false, {true, 3, L"5", L"7", false, false}, true},
        {"0:2:-3:4:1", false, {false, 2, L"-3", L"4", true, true}, false}, // units keep the default
        {"1:0:10:20:0:0:99", false, {true, 0, L"10", L"20", false, false}, true},
        {"1:1:0:22", true, kDefaults, false},
        {"not a code", true, kDefaults, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code ? c.code : "no stored code");
        RemoveSettingsKey();
        if (c.code)
            StoreSettings(c.code);
        const StoredValue before = ReadStoredSettings();
        Ortelia o;
        HWND box = o.WaitForBoxOrMain();
        ASSERT_EQ(box != nullptr, c.invalid)
            << "the message box " << (c.invalid ? "did not show" : "showed");
        if (box) {
            for (HWND main : TopLevelWindows(o.process().Id(), L"OrteliaMain"))
                EXPECT_FALSE(IsWindowVisible(main)) << "the main window shows beside the message";
            EXPECT_EQ(TextOf(box), L"Ortelia") << "caption of the message box";
            bool saysInvalid = false;
            for (HWND label : Children(box, L"Static"))
                saysInvalid |= TextOf(label) == L"Invalid Settings Code";
            EXPECT_TRUE(saysInvalid) << "the box does not say \"Invalid Settings Code\"";
            std::vector<HWND> buttons = Children(box, L"Button");
            std::erase_if(buttons, [](HWND b) { return !IsWindowVisible(b); });
            ASSERT_EQ(buttons.size(), 1u) << "the box should offer one button";
            EXPECT_EQ(TextOf(buttons[0]), L"OK");
            ClickAt(Centre(RectOf(buttons[0])));
            EXPECT_TRUE(WaitUntil([&] { return o.MessageBoxes().empty(); }, 3000))
                << "OK left the box open";
        }
        o.WaitForMain();
        EXPECT_TRUE(o.MessageBoxes().empty());
        EXPECT_TRUE(GetWindowLongW(o.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST)
            << "main window not topmost";
        EXPECT_EQ(o.Inconsistencies({.metric = c.shown.metric}), "");
        if (!c.code) { // the first start's values
            const std::pair<FieldRef, const wchar_t*> shown[] = {
                {{0, 2}, L"5.52"},   {{1, 2}, L"-45\u00B0 or 135\u00B0"},
                {{2, 2}, L"19.00m"}, {{3, 2}, L"30.49m"},
                {{4, 1}, L"3.28"},   {{4, 3}, L"0.62"}};
            for (const auto& [field, text] : shown)
                EXPECT_EQ(o.FieldText(field), text)
                    << "page " << field.page << " field " << field.index;
            EXPECT_EQ(TextOf(o.LaunchTimeLabel()), L"2.49 sec");
        }
        EXPECT_EQ(DialogNow(o), c.shown);
        if (c.closeBox) {
            o.ClickCloseBox();
            EXPECT_EQ(o.WaitExit(5000), std::optional<DWORD>(0))
                << "the close box ended with another code";
        } else {
            Exit(o);
        }
        EXPECT_EQ(ReadStoredSettings(), before) << Describe(ReadStoredSettings());
    }
}

TEST_F(Acceptance, EveryPageIsReachedByItsCaptionAndEveryCalculatorFollowsTyping) {
    auto o = Start();
    Expectation want;
    for (int tab : {3, 0, 4, 1, 2, 2}) {
        o->ClickTab(want.page = tab);
        EXPECT_EQ(o->Inconsistencies(want), "") << "after clicking tab " << tab;
    }
    // Worked examples: one field typed, the others at their start values.
    const struct {
        FieldRef field;
        const wchar_t* keys;
        FieldRef result;
        const wchar_t* shows;
    } examples[] = {
        {{0, 1}, L"25", {0, 2}, L"13.81"}, // 90 degrees, radius 25
        {{1, 1}, L"0", {1, 2}, L"0\u00B0 or -180\u00B0"},
        {{2, 1}, L"4", {2, 2}, L"31.00m"},   // 6 cars of 4 rows
        {{3, 0}, L"100", {3, 2}, L"39.37m"}, // 100 km/h at 1 g
        {{4, 0}, L"-5", {4, 1}, L"-16.40"},
        {{4, 1}, L"3.28", {4, 0}, L"1.00"},
        {{4, 2}, L"100", {4, 3}, L"62.14"},
        {{4, 3}, L"100", {4, 2}, L"160.93"},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(Utf8(kTabCaptions[e.field.page]) + ": " + Utf8(e.keys));
        o->ClickTab(want.page = e.field.page);
        o->ClickField(e.field);
        PressKeys(e.keys);
        EXPECT_TRUE(WaitUntil([&] { return o->FieldText(e.field) == e.keys; }, 3000))
            << "the field reads " << Quote(o->FieldText(e.field));
        EXPECT_EQ(o->FieldText(e.result), e.shows);
        if (e.field.page == 4)
            want.converterSource[e.field.index / 2] = e.field.index % 2;
        EXPECT_EQ(o->Inconsistencies(want), "");
    }
    EXPECT_EQ(TextOf(o->LaunchTimeLabel()), L"2.83 sec");
    // The same keys into every page's first field: "." and "-" pass where that page's
    // numbers have them; letters, "," and " " never do; Backspace does.
    const wchar_t* typed[kPages] = {L"123", L"12.-3", L"123", L"12.3", L"12.-3"};
    for (int page = 0; page < kPages; ++page) {
        SCOPED_TRACE(Utf8(kTabCaptions[page]));
        o->ClickTab(want.page = page);
        o->ClickField({page, 0});
        PressKeys(L"1a2.-5, \b3");
        EXPECT_TRUE(WaitUntil(
            [&] {
                return o->FieldText({page, 0}) == typed[page];
            },
            3000))
            << "the field reads " << Quote(o->FieldText({page, 0}));
        want.converterSource[0] = page == 4 ? 0 : want.converterSource[0];
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
        if (const size_t items = o->MenuItemCount(menu);
            IsWindowVisible(menu)) { // Wine may close it
            EXPECT_EQ(items, 2u) << "\"Settings...\" and \"Exit\"";
        }
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !o->OpenMenu(); }, 3000)) << "Escape left the menu open";
    }
    EXPECT_EQ(o->Inconsistencies({}), "");
}

TEST_F(Acceptance, DocksInTheDefaultCornerAndEndsWithinTwoTicksOfTheEditor) {
    auto o = Start();
    Editor editor(kEditorTitle, {150, 120, 1050, 820});
    auto docked = [&] {
        const RECT m = RectOf(o->Main()), e = editor.Rect();
        return m.right == e.right && m.top == e.top + 22;
    };
    EXPECT_TRUE(WaitUntil(docked, 2500))
        << "not docked flush right, 22 pixels down, within two ticks";
    ASSERT_TRUE(editor.Move({300, 200, 1000, 760}));
    EXPECT_TRUE(WaitUntil(docked, 2500)) << "did not follow the editor";
    editor.Close();
    EXPECT_EQ(o->WaitExit(2500), std::optional<DWORD>(0))
        << "still running 2.5 s after the editor closed";
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

TEST_F(Acceptance, OkClickedByAnotherProgramTakesEffectAtOnce) {
    // BM_CLICK from another program (a screen reader, an automation tool) arrives as a sent
    // message; the main window must follow at once, not at its next one-second tick.
    auto o = Start();
    for (bool metric : {false, true, false, true}) {
        DialogState units = kDefaults;
        units.metric = metric;
        SettingsDialog d = o->OpenSettings();
        d.Set(units);
        d.Finish(SettingsDialog::Close::Ok);
        EXPECT_TRUE(WaitUntil(
            [&] { return TextOf(o->SpeedUnitLabel()) == (metric ? L"Kmph" : L"Mph"); }, 300))
            << "0.3 s after OK the speed unit still reads " << Quote(TextOf(o->SpeedUnitLabel()));
        o->Settle();
        EXPECT_EQ(o->Inconsistencies({.metric = metric}), "");
    }
}

// ---- Hostile windows around the program ----

// Runs `work` on a thread of its own, which makes and serves its windows, until the object goes.
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
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr,
                           nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// Ortelia stays alive, answering and consistent for `ms` milliseconds.
void ExpectSurvives(Ortelia& o, int ms) {
    for (const auto until = GetTickCount64() + ULONGLONG(ms); GetTickCount64() < until; Sleep(100))
        ASSERT_TRUE(o.Responsive()) << "ortelia.exe stopped answering or ended";
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
              std::wstring(
                  L"\u041A\u0435\u0441\u0442\u0440\u0430\u0432\u0430 \u2013 Kestrava Editor"),
              std::wstring(L"Kestrava Editor"), std::wstring(L"-Kestrava Editor")})
            windows.push_back(MakeWindow(title));
        // A title that changes all the time, between the length query and the read too.
        windows.push_back(MakeWindow(L""));
        const std::wstring titles[] = {L"", kib32, L"y", kib32 + kib32, L"\u00FC\u00DF"};
        for (size_t i = 0; !stop; ++i, Pump())
            SetWindowTextW(windows.back(), titles[i % 5].c_str());
        for (HWND w : windows)
            DestroyWindow(w);
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
    auto o = Start("1:1:0:22:0:1"); // auto-close off: the racing editors come and go
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
    Editor editor(kEditorTitle, {100, 100, 900, 700});
    for (const RECT& place :
         {RECT{-5000, -4000, -4200, -3400}, RECT{30000, 30000, 31000, 31000},
          RECT{-40000, 100, -39000, 700}, RECT{2000000000, 2000000000, 2000000800, 2000000600},
          RECT{100, 100, 900, 700}}) {
        editor.Move(place); // the system may hold extreme rectangles to its own limits
        const RECT e = editor.Rect();
        const auto want = DockedPosition(e, RectOf(o->Main()), {});
        ASSERT_TRUE(want);
        EXPECT_TRUE(WaitUntil(
            [&] { return RectOf(o->Main()).left == want->x && RectOf(o->Main()).top == want->y; },
            2500))
            << "editor at " << e.left << "," << e.top << ": main window at "
            << RectOf(o->Main()).left << "," << RectOf(o->Main()).top << ", expected " << want->x
            << "," << want->y;
        ASSERT_TRUE(o->Responsive());
    }
    EXPECT_EQ(o->Inconsistencies({}), "");
}

} // namespace
