// The settings dialog driven from inside its own modal loop, as a user drives it: found
// by its title, controls found by their captions, real clicks, keys and registry.
#include "controls/win32/paint.h"
#include "settings/settings_code.h"
#include "settings/win32/frmSettings.h"
#include "settings/win32/mMain.h"
#include "settings_test_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using settings_testing::ReadOnlySettingsKey;
using testing_support::CleanSettingsKey;
using testing_support::ReadStored;
using testing_support::StoredValue;

HWND OpenDialog() {
    HWND dialog = FindWindowW(settings::frmSettings::kClassName, L"Ortelia Settings...");
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::wstring Text(HWND hwnd) {
    wchar_t buffer[256] = L"";
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::string Narrow(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());
}

// The open dialog as the user sees it: controls by caption, offset boxes by position.
struct DialogView {
    HWND hwnd;

    HWND Find(const wchar_t* caption) const {
        HWND found = FindWindowExW(hwnd, nullptr, nullptr, caption);
        EXPECT_NE(found, nullptr) << "no control \"" << Narrow(caption) << "\"";
        return found;
    }
    bool Checked(const wchar_t* caption) const {
        return SendMessageW(Find(caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Click(const wchar_t* caption) const { SendMessageW(Find(caption), BM_CLICK, 0, 0); }
    HWND OffsetBox(int n) const {
        HWND box = FindWindowExW(hwnd, nullptr, L"Edit", nullptr);
        return n == 0 ? box : FindWindowExW(hwnd, box, L"Edit", nullptr);
    }
    std::string Offset(int n) const { return Narrow(Text(OffsetBox(n))); }
    void SetOffset(int n, const wchar_t* text) const {
        SendMessageW(OffsetBox(n), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
};

using Step = std::function<void(const DialogView&)>;

// The steps of one dialog run, taken one per timer tick from inside the dialog's modal
// loop, so that what a step posts is handled before the next step looks.
struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool leftOpen = false; // still open after the last step: closed by the watchdog
    std::chrono::steady_clock::time_point deadline;
};
Script* running = nullptr;

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = OpenDialog();
    if (!running || !dialog)
        return;
    if (running->next < running->steps.size()) {
        running->steps[running->next++](DialogView{dialog});
    } else if (std::chrono::steady_clock::now() > running->deadline) {
        running->leftOpen = true;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

// A visible top-level window standing in for the main window.
struct Owner {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 300,
                                300, 420, 100, nullptr, nullptr, nullptr, nullptr);
    ~Owner() { DestroyWindow(hwnd); }
};

// Shows the dialog over `owner` and runs the steps inside its loop. Returns how many
// steps ran and whether the dialog had to be closed after them.
Script RunDialog(std::vector<Step> steps, HWND owner = nullptr) {
    Owner standIn;
    Script script;
    script.steps = std::move(steps);
    script.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    running = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &ScriptTick);
    settings::ShowSettingsDialog(owner ? owner : standIn.hwnd);
    KillTimer(nullptr, timer);
    running = nullptr;
    EXPECT_EQ(script.next, script.steps.size()) << "steps run before the dialog closed";
    return script;
}

// Starts a test with the defaults, then `code` stored and loaded when given.
void StartWith(const char* code) {
    mMain::SetDefaultSettings();
    if (code) {
        testing_support::StoreExact(REG_SZ, code);
        mMain::LoadSettings();
    }
}

std::string CodeInForce() {
    return settings::ComposeSettingsCode(mMain::Settings());
}

TEST(SettingsDialog, OpensShowingTheSettingsInForce) {
    const struct {
        const char* stored;
        bool dock;
        const wchar_t* corner; // nullptr: no corner button selected
        const char* x;
        const char* y;
        bool autoClose;
        bool metric;
    } cases[] = {
        {nullptr, true, L"Top - Right", "0", "22", true, true},
        {"0:0:-3:2147483647:0:0", false, L"Top - Left", "-3", "2147483647", false, false},
        {"1:3:5:6:1", true, L"Bottom - Right", "5", "6", true, true},
        {"1:2:0:0:0:1", true, L"Bottom - Left", "0", "0", false, true},
        {"1:7:0:22:1:1", true, nullptr, "0", "22", true, true},
    };
    const wchar_t* corners[] = {L"Top - Left", L"Top - Right", L"Bottom - Left", L"Bottom - Right"};
    for (const auto& c : cases) {
        CleanSettingsKey key;
        StartWith(c.stored);
        const std::string before = CodeInForce();
        SCOPED_TRACE(c.stored ? c.stored : "no stored code");
        RunDialog({[&](const DialogView& d) {
            EXPECT_EQ(d.Checked(L"Dock with Kestrava Editor"), c.dock);
            for (const wchar_t* corner : corners)
                EXPECT_EQ(d.Checked(corner), c.corner && std::wstring(corner) == c.corner)
                    << Narrow(corner);
            EXPECT_EQ(d.Offset(0), c.x);
            EXPECT_EQ(d.Offset(1), c.y);
            EXPECT_EQ(d.Checked(L"Automatically Close when the Kestrava Editor Closes"),
                      c.autoClose);
            EXPECT_EQ(d.Checked(L"Metric"), c.metric);
            EXPECT_EQ(d.Checked(L"Imperial"), !c.metric);
            d.Click(L"Cancel");
        }});
        EXPECT_EQ(CodeInForce(), before);
    }
}

TEST(SettingsDialog, IsAModalToolWindowCentredOverItsOwner) {
    CleanSettingsKey key;
    StartWith(nullptr);
    Owner owner;
    RunDialog({[&](const DialogView& d) {
                   EXPECT_FALSE(IsWindowEnabled(owner.hwnd)) << "owner must wait for the dialog";
                   EXPECT_EQ(GetWindow(d.hwnd, GW_OWNER), owner.hwnd);
                   EXPECT_TRUE(GetWindowLongW(d.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
                   RECT client, outer, over;
                   GetClientRect(d.hwnd, &client);
                   const auto scale = controls::ScreenLayoutScale();
                   EXPECT_EQ(client.right, scale.PixelsX(4065));
                   EXPECT_EQ(client.bottom, scale.PixelsY(3885));
                   GetWindowRect(d.hwnd, &outer);
                   GetWindowRect(owner.hwnd, &over);
                   EXPECT_NEAR(outer.left + outer.right, over.left + over.right, 1);
                   EXPECT_NEAR(outer.top + outer.bottom, over.top + over.bottom, 1);
                   EXPECT_EQ(GetFocus(), d.Find(L"Dock with Kestrava Editor"));
               },
               [](const DialogView& d) { d.Click(L"Cancel"); }},
              owner.hwnd);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd)) << "owner left disabled";
    EXPECT_EQ(FindWindowW(settings::frmSettings::kClassName, nullptr), nullptr)
        << "dialog window left behind";
}

TEST(SettingsDialog, TabVisitsTheControlsInDesignOrder) {
    CleanSettingsKey key;
    StartWith("1:2:0:22:1:0");
    std::vector<std::wstring> visited;
    auto record = [&](const DialogView& d) {
        HWND focus = GetFocus();
        visited.push_back(focus == d.OffsetBox(0)   ? L"<x>"
                          : focus == d.OffsetBox(1) ? L"<y>"
                                                    : Text(focus));
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    };
    std::vector<Step> steps(9, record);
    steps.push_back([](const DialogView& d) { d.Click(L"Cancel"); });
    RunDialog(steps);
    const std::vector<std::wstring> expected{L"Dock with Kestrava Editor",
                                             L"Bottom - Left",
                                             L"<x>",
                                             L"<y>",
                                             L"Imperial",
                                             L"Automatically Close when the Kestrava Editor Closes",
                                             L"OK",
                                             L"Cancel",
                                             L"Dock with Kestrava Editor"};
    EXPECT_EQ(visited, expected);
}

TEST(SettingsDialog, OkStoresTheCodeOfTheSettingsInForce) {
    const struct {
        const char* stored;
        const char* written;
    } cases[] = {
        {nullptr, "1:1:0:22:1:1"},
        {"0:3:-5:40:0:0", "0:3:-5:40:0:0"},
        {"1:2:7:8:0", "1:2:7:8:0:1"},     // five fields come back with six
        {"1:7:0:22:1:1", "1:7:0:22:1:1"}, // a corner without a button is kept
        {"2:1:2.5:3.5:-1:0:extra", "1:1:2:4:1:0"},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        StartWith(c.stored);
        const std::string inForce = CodeInForce();
        SCOPED_TRACE(c.stored ? c.stored : "no stored code");
        RunDialog({[](const DialogView& d) { d.Click(L"OK"); }});
        const StoredValue v = ReadStored();
        EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(v.Text(), c.written);
        EXPECT_EQ(CodeInForce(), inForce) << "OK without changes keeps the settings";
    }
}

TEST(SettingsDialog, OkAppliesTheChosenSettingsAtOnce) {
    CleanSettingsKey key;
    StartWith(nullptr);
    RunDialog({[](const DialogView& d) {
        d.Click(L"Dock with Kestrava Editor");
        d.Click(L"Bottom - Left");
        d.SetOffset(0, L"-7");
        d.SetOffset(1, L"30");
        d.Click(L"Automatically Close when the Kestrava Editor Closes");
        d.Click(L"Imperial");
        EXPECT_FALSE(d.Checked(L"Top - Right")) << "one corner per group";
        EXPECT_FALSE(d.Checked(L"Metric")) << "one unit per group";
        d.Click(L"OK");
    }});
    const auto& s = mMain::Settings();
    EXPECT_FALSE(s.bDockEnabled);
    EXPECT_EQ(s.iDockCorner, 2);
    EXPECT_EQ(s.lDockOffsetX, -7);
    EXPECT_EQ(s.lDockOffsetY, 30);
    EXPECT_FALSE(s.bAutoClose);
    EXPECT_FALSE(s.bMetric);
    EXPECT_EQ(ReadStored().Text(), "0:2:-7:30:0:0");
}

// The boxes' texts go through the offset rule (tested with the core) into the settings.
TEST(SettingsDialog, OffsetTextsAreReadAsOffsets) {
    const struct {
        const wchar_t* text;
        int32_t offset;
    } cases[] = {{L"12px", 12}, {L"3.5", 4}, {L"-1e99", INT_MIN}};
    for (const auto& c : cases) {
        CleanSettingsKey key;
        StartWith(nullptr);
        SCOPED_TRACE("offset text \"" + Narrow(c.text) + "\"");
        RunDialog({[&](const DialogView& d) {
            d.SetOffset(0, c.text);
            d.SetOffset(1, c.text);
            d.Click(L"OK");
        }});
        EXPECT_EQ(mMain::Settings().lDockOffsetX, c.offset);
        EXPECT_EQ(mMain::Settings().lDockOffsetY, c.offset);
        const std::string n = std::to_string(c.offset);
        EXPECT_EQ(ReadStored().Text(), "1:1:" + n + ":" + n + ":1:1");
    }
}

TEST(SettingsDialog, CancelCloseBoxAndProgramEndChangeNothing) {
    const struct {
        const char* how;
        Step close;
    } ways[] = {
        {"Cancel", [](const DialogView& d) { d.Click(L"Cancel"); }},
        {"WM_CLOSE", [](const DialogView& d) { PostMessageW(d.hwnd, WM_CLOSE, 0, 0); }},
        {"SC_CLOSE", [](const DialogView& d) { PostMessageW(d.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"CancelSettingsDialog", [](const DialogView&) { settings::CancelSettingsDialog(); }},
    };
    for (const char* stored : {static_cast<const char*>(nullptr), "0:3:4:5:0:0"}) {
        for (const auto& way : ways) {
            CleanSettingsKey key;
            StartWith(stored);
            const std::string before = CodeInForce();
            const StoredValue storedBefore = ReadStored();
            SCOPED_TRACE(std::string(way.how) + ", stored " + (stored ? stored : "nothing"));
            RunDialog({[](const DialogView& d) {
                           d.Click(L"Dock with Kestrava Editor");
                           d.Click(L"Bottom - Left");
                           d.SetOffset(0, L"99");
                           d.Click(L"Automatically Close when the Kestrava Editor Closes");
                           d.Click(L"Imperial");
                       },
                       way.close});
            EXPECT_EQ(OpenDialog(), nullptr);
            EXPECT_EQ(CodeInForce(), before);
            const StoredValue after = ReadStored();
            EXPECT_EQ(after.present, storedBefore.present);
            EXPECT_EQ(after.bytes, storedBefore.bytes);
        }
    }
}

TEST(SettingsDialog, EnterAndEscapeDoNothing) {
    const struct {
        const char* name;
        WPARAM key;
        bool inOffsetBox;
    } cases[] = {
        {"Enter in an offset box", VK_RETURN, true},
        {"Escape on the check box", VK_ESCAPE, false},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        StartWith(nullptr);
        SCOPED_TRACE(c.name);
        const Script run = RunDialog({
            [&](const DialogView& d) {
                d.SetOffset(0, L"9");
                HWND target = c.inOffsetBox ? d.OffsetBox(0) : d.Find(L"Dock with Kestrava Editor");
                SetFocus(target);
                PostMessageW(target, WM_KEYDOWN, c.key, 1);
                PostMessageW(target, WM_CHAR, c.key == VK_RETURN ? L'\r' : 0x1B, 1);
                PostMessageW(target, WM_KEYUP, c.key, 0xC0000001);
            },
            [](const DialogView& d) {
                EXPECT_TRUE(IsWindowVisible(d.hwnd)) << "the key closed the dialog";
                EXPECT_EQ(d.Offset(0), "9");
                d.Click(L"Cancel");
            },
        });
        EXPECT_FALSE(run.leftOpen);
        EXPECT_EQ(CodeInForce(), "1:1:0:22:1:1");
        EXPECT_FALSE(ReadStored().present) << "nothing written";
    }
}

TEST(SettingsDialog, FailedRegistryWriteStillClosesAndTheNewSettingsHold) {
    CleanSettingsKey key;
    StartWith("1:1:0:22:1:1");
    ReadOnlySettingsKey readOnly;
    const Script run = RunDialog({[](const DialogView& d) {
        d.Click(L"Imperial");
        d.SetOffset(1, L"40");
        d.Click(L"OK");
    }});
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(OpenDialog(), nullptr);
    EXPECT_EQ(CodeInForce(), "1:1:0:40:1:0") << "settings apply for this run";
    EXPECT_EQ(ReadStored().bytes, "1:1:0:22:1:1") << "the old code stays";
}

TEST(SettingsDialog, ProgramQuitWhileOpenClosesAsCancelAndPassesTheQuitOn) {
    CleanSettingsKey key;
    StartWith(nullptr);
    RunDialog({[](const DialogView& d) {
        d.Click(L"Imperial");
        PostQuitMessage(3);
    }});
    MSG msg;
    const bool quitPending = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    EXPECT_TRUE(quitPending) << "WM_QUIT swallowed by the dialog's loop";
    if (quitPending) {
        EXPECT_EQ(msg.wParam, 3u);
    }
    EXPECT_EQ(CodeInForce(), "1:1:0:22:1:1");
    EXPECT_FALSE(ReadStored().present);
}

} // namespace
