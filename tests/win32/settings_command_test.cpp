// "Settings..." from the main window: the dialog's outcome shown at once, and the docking
// timer running on while the dialog is open.
#include "app/win32/frmMain.h"
#include "controls/win32/text.h"
#include "main_window_fixture.h"
#include "settings/win32/mMain.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace testing_support;

HWND SettingsDialog() {
    return FindWindowW(nullptr, L"Ortelia Settings...");
}

void ClickButton(HWND dialog, const wchar_t* caption) {
    HWND button = FindWindowExW(dialog, nullptr, L"Button", caption);
    ASSERT_NE(button, nullptr) << controls::Narrow(caption);
    SendMessageW(button, BM_CLICK, 0, 0);
}

// Opens "Settings..." and, once the dialog shows, clicks the given buttons in order.
void RunSettings(Ortelia& o, std::initializer_list<const wchar_t*> clicks) {
    WhenReady script([] { return SettingsDialog() != nullptr; },
                     [clicks] {
                         for (const wchar_t* caption : clicks)
                             ClickButton(SettingsDialog(), caption);
                     });
    o.main.mnuSettings_Click();
    EXPECT_TRUE(script.Ran()) << "the settings dialog did not appear";
    EXPECT_EQ(SettingsDialog(), nullptr) << "the dialog is still open";
}

TEST(SettingsCommand, ImperialShowsAtOnceAndLeavesTheConverterAlone) {
    Ortelia o;
    o.main.txtFormula5a[0].SetText("10");
    RunSettings(o, {L"Imperial", L"OK"});
    EXPECT_EQ(controls::WindowText(o.main.lblKmph), "Mph");
    EXPECT_EQ(o.main.txtFormula3[2].Text(), "62.34f");
    EXPECT_EQ(o.main.txtFormula4[2].Text(), "259.06f");
    EXPECT_EQ(controls::WindowText(o.main.lblFormula4extra), "4.01 sec");
    EXPECT_EQ(o.main.txtFormula1[2].Text(), "5.52");
    EXPECT_EQ(o.main.txtFormula5a[1].Text(), "32.81");
    EXPECT_EQ(o.main.txtFormula5a[0].Text(), "10");
    EXPECT_EQ(ReadStored().Text(), "1:1:0:22:1:0");
    EXPECT_TRUE(o.Topmost());
}

TEST(SettingsCommand, CancelChangesNothingButStillRefreshes) {
    Ortelia o;
    SetWindowPos(o.main.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    o.main.txtFormula3[2].SetText("stale");
    RunSettings(o, {L"Imperial", L"Cancel"});
    EXPECT_EQ(controls::WindowText(o.main.lblKmph), "Kmph");
    EXPECT_EQ(o.main.txtFormula3[2].Text(), "19.00m") << "calculators 1 to 4 are recomputed";
    EXPECT_TRUE(mMain::Settings().bMetric);
    EXPECT_FALSE(ReadStored().present);
    EXPECT_TRUE(o.Topmost()) << "topmost again after the dialog";
}

TEST(SettingsCommand, DockingGoesOnWhileTheDialogIsOpen) {
    Ortelia o;
    HWND editor = CreateWindowExW(0, L"STATIC", L"d - Kestrava Editor", WS_POPUP | WS_VISIBLE, 200,
                                  150, 800, 600, nullptr, nullptr, nullptr, nullptr);
    RECT whileOpen{};
    WhenReady watch([] { return SettingsDialog() != nullptr; },
                    [&] {
                        PumpUntil(
                            [&] {
                                GetWindowRect(o.main.Handle(), &whileOpen);
                                return whileOpen.right == 1000;
                            },
                            2500);
                        ClickButton(SettingsDialog(), L"Cancel");
                    });
    o.main.mnuSettings_Click();
    DestroyWindow(editor);
    EXPECT_EQ(whileOpen.right, 1000) << "a tick during the dialog docks the window";
    EXPECT_EQ(whileOpen.top, 172);
}

TEST(SettingsCommand, AutoCloseWhileOpenCancelsTheDialogThenEndsCleanly) {
    Ortelia o;
    StoreExact(REG_SZ, "1:1:0:22:1:1");
    const HWND window = o.main.Handle();
    auto editor = CreateWindowExW(0, L"STATIC", L"e - Kestrava Editor", WS_POPUP | WS_VISIBLE, 100,
                                  100, 700, 500, nullptr, nullptr, nullptr, nullptr);
    o.main.tmrDock_Timer();
    WhenReady closeEditor([] { return SettingsDialog() != nullptr; },
                          [&] {
                              // Typed but never confirmed: must not be applied.
                              ClickButton(SettingsDialog(), L"Imperial");
                              DestroyWindow(editor);
                          });
    o.main.mnuSettings_Click(); // returns once the tick has cancelled the dialog
    EXPECT_TRUE(closeEditor.Ran());
    EXPECT_EQ(SettingsDialog(), nullptr);
    EXPECT_TRUE(mMain::Settings().bMetric) << "nothing applied";
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); })) << "the main window must end";
    EXPECT_EQ(ReadStored().Text(), "1:1:0:22:1:1") << "nothing written";
}

} // namespace
