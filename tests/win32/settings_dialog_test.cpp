// The stored settings: hostile registry values at start-up, and the settings dialog's
// load, OK, Cancel and close box, with what each writes.
#include "ortelia.h"
#include "settings/settings_code.h"
#include "settings/win32/mWinRegistry.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace {

using support::Shown;
using support::Soon;
using support::Stored;

HWND Button(HWND dialog, const wchar_t* caption) {
    return FindWindowExW(dialog, nullptr, L"Button", caption);
}
HWND Offset(HWND dialog, int n) {
    return support::Children(dialog, L"Edit").at(n);
}

// "Settings..." with `act` run on the dialog once it is shown, from inside its loop.
void WithDialog(Ortelia& o, const std::function<void(HWND)>& act) {
    Soon run([&] {
        const HWND dialog = Shown(L"OrteliaSettings");
        if (dialog)
            act(dialog);
        return dialog != nullptr;
    });
    o.main.mnuSettings_Click();
    EXPECT_TRUE(run.Done());
}

// What start-up shows for a "Settings" value of every type and of sizes around the
// 1024-byte read buffer, holding random bytes or a code followed by them: a value that
// cannot be read leaves the defaults silently; a REG_SZ code applies; anything else
// readable is "Invalid Settings Code" in an OK box captioned "Ortelia", defaults kept.
TEST(StoredSettings, HostileValuesByTypeAndSize) {
    std::mt19937 random(7);
    for (DWORD type :
         {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD})
        for (size_t size : {0, 1, 1024, 1025})
            for (bool code : {false, true}) {
                if (code && size < 20)
                    continue;
                std::string bytes(size, '\0');
                for (char& b : bytes)
                    b = static_cast<char>(random() | 0x80); // no colon, so never a code
                if (code)
                    bytes.replace(0, 14, "0:3:-40:7:0:0:");
                support::CleanKey key;
                support::Store(type, bytes);
                mMain::SetDefaultSettings();
                std::wstring text, buttons;
                Soon answer([&] {
                    const HWND box = Shown(L"#32770", L"Ortelia");
                    if (!box)
                        return false;
                    for (HWND t : support::Children(box, L"Static"))
                        text += support::Text(t);
                    for (HWND b : support::Children(box, L"Button"))
                        buttons += IsWindowVisible(b) ? support::Text(b) : L"";
                    return SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0) == 0;
                });
                mMain::LoadSettings();
                const bool readable = size >= 1 && size <= 1024;
                const bool applies = readable && code && type == REG_SZ;
                const std::string what = std::to_string(type) + ", " + std::to_string(size);
                EXPECT_EQ(text, readable && !applies ? L"Invalid Settings Code" : L"") << what;
                EXPECT_EQ(buttons, readable && !applies ? L"OK" : L"") << what;
                EXPECT_EQ(settings::ComposeSettingsCode(mMain::Settings()),
                          applies ? "0:3:-40:7:0:0" : "1:1:0:22:1:1")
                    << what;
            }
}

TEST(StoredSettings, AFailedWriteIsReportedAndTheNewSettingsStillHold) {
    Ortelia o("1:1:0:22:1:1");
    const auto setDacl = [](const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr);
        HKEY key;
        RegOpenKeyExA(HKEY_CURRENT_USER, support::kKey, 0, WRITE_DAC, &key);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        RegCloseKey(key);
        LocalFree(sd);
    };
    setDacl("D:P(A;;KR;;;WD)"); // read-only for everyone
    for (mWinRegistry::RegistryValue value :
         {mWinRegistry::RegistryValue{"0:0:0:0:0:0"}, mWinRegistry::RegistryValue{int32_t{5}}}) {
        const DWORD type = value.index() ? REG_DWORD : REG_SZ;
        EXPECT_FALSE(mWinRegistry::WriteRegistryValue(HKEY_CURRENT_USER, support::kKey, type,
                                                      "Settings", value));
        EXPECT_EQ(std::get<std::string>(value), "");
    }
    WithDialog(o, [](HWND dialog) {
        SendMessageW(Button(dialog, L"Imperial"), BM_CLICK, 0, 0);
        SendMessageW(Button(dialog, L"OK"), BM_CLICK, 0, 0);
    });
    setDacl("D:P(A;;KA;;;WD)");
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "1:1:0:22:1:1");
    EXPECT_EQ(o.Text(2, 2), L"62.34f");
}

TEST(SettingsDialog, OpensShowingTheSettingsInForceAtThisDensity) {
    const struct {
        const char* code;
        const wchar_t *checks, *x, *y;
    } rows[] = {{nullptr, L"Dock with K|Top - Right|Metric|Automatical", L"0", L"22"},
                {"0:3:-5:7:0:0", L"Bottom - Ri|Imperial", L"-5", L"7"},
                {"1:7:0:0:1:1", L"Dock with K|Metric|Automatical", L"0", L"0"}};
    const struct {
        int dpi;
        const char *client, *ok;
    } sizes[] = {{96, "0,0 271x259", "120,236 69x21"},
                 {120, "0,0 339x324", "150,295 86x26"},
                 {144, "0,0 407x389", "180,354 104x32"}};
    for (const auto& r : rows) {
        Ortelia o(r.code);
        WithDialog(o, [&](HWND dialog) {
            std::wstring checks;
            for (HWND b : support::Children(dialog, L"Button"))
                if (SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    checks += (checks.empty() ? L"" : L"|") + support::Text(b).substr(0, 11);
            EXPECT_EQ(checks, r.checks);
            EXPECT_EQ(support::Text(Offset(dialog, 0)), r.x);
            EXPECT_EQ(support::Text(Offset(dialog, 1)), r.y);
            EXPECT_EQ(support::Text(dialog), L"Ortelia Settings...");
            EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
            EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_FALSE(IsWindowEnabled(o.W())) << "modal";
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), o.W());
            for (const auto& s : sizes)
                if (s.dpi == support::ScreenDpi()) {
                    RECT c{};
                    GetClientRect(dialog, &c);
                    EXPECT_EQ("0,0 " + std::to_string(c.right) + "x" + std::to_string(c.bottom),
                              s.client);
                    EXPECT_EQ(support::Place(Button(dialog, L"OK"), dialog), s.ok);
                }
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
}

TEST(SettingsDialog, TabVisitsTheControlsInDesignOrder) {
    Ortelia o;
    std::wstring visited;
    WithDialog(o, [&](HWND dialog) {
        SetFocus(Button(dialog, L"Dock with Kestrava Editor"));
        for (int i = 0; i < 9; ++i) {
            wchar_t cls[8] = L"";
            GetClassNameW(GetFocus(), cls, 8);
            visited +=
                (lstrcmpiW(cls, L"Edit") ? support::Text(GetFocus()).substr(0, 6) : L"box") + L"|";
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            IsDialogMessageW(dialog, &tab);
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(visited, L"Dock w|Top - |box|box|Metric|Automa|OK|Cancel|Dock w|");
}

TEST(SettingsDialog, OkStoresTheSettingsAndTheMainWindowShowsThemAtOnce) {
    const struct {
        const char* stored;
        std::vector<const wchar_t*> clicks;
        const wchar_t *x, *y; // nullptr: left as loaded
        const char* code;
    } rows[] = {
        {nullptr, {}, nullptr, nullptr, "1:1:0:22:1:1"},
        {"0:2:15:-9:0", {}, nullptr, nullptr, "0:2:15:-9:0:1"}, // five fields come back six
        {nullptr,
         {L"Dock with Kestrava Editor", L"Bottom - Left", L"Imperial"},
         L"12px",
         L"1 5",
         "0:2:12:15:1:0"},
        {nullptr,
         {L"Automatically Close when the Kestrava Editor Closes", L"Top - Left"},
         L"2.5",
         L"3.5",
         "1:0:2:4:0:1"},
        {"1:7:0:22:1:1", {}, L"-3", L"", "1:7:-3:0:1:1"}, // no button: the corner is kept
        {nullptr, {}, L"99999999999", L"-1e99", "1:1:2147483647:-2147483648:1:1"},
    };
    for (const auto& r : rows) {
        Ortelia o(r.stored);
        SetWindowTextW(o.Field(4, 0), L"10");
        WithDialog(o, [&](HWND dialog) {
            for (const wchar_t* caption : r.clicks)
                SendMessageW(Button(dialog, caption), BM_CLICK, 0, 0);
            if (r.x)
                SetWindowTextW(Offset(dialog, 0), r.x);
            if (r.y)
                SetWindowTextW(Offset(dialog, 1), r.y);
            SendMessageW(Button(dialog, L"OK"), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(Stored(), r.code);
        EXPECT_EQ(settings::ComposeSettingsCode(mMain::Settings()), r.code);
        const bool metric = r.code[std::string(r.code).size() - 1] == '1';
        EXPECT_EQ(o.Text(2, 2), metric ? L"19.00m" : L"62.34f");
        EXPECT_EQ(o.Text(3, 2), metric ? L"30.49m" : L"259.06f");
        EXPECT_EQ(support::Text(support::Children(o.Page(3), L"Static").at(0)),
                  metric ? L"Kmph" : L"Mph");
        EXPECT_EQ(o.Text(4, 1), L"32.81") << "the converter is not recomputed";
        EXPECT_TRUE(o.Topmost() && IsWindowEnabled(o.W()));
    }
}

TEST(SettingsDialog, CancelTheCloseBoxEnterAndEscapeChangeNothing) {
    for (int way = 0; way < 4; ++way) {
        Ortelia o("1:1:0:22:1:1");
        WithDialog(o, [&](HWND dialog) {
            SendMessageW(Button(dialog, L"Imperial"), BM_CLICK, 0, 0);
            SetWindowTextW(Offset(dialog, 0), L"40");
            if (way >= 2) { // neither button is the default or the cancel button
                MSG key{Offset(dialog, 0),
                        WM_KEYDOWN,
                        WPARAM(way == 2 ? VK_RETURN : VK_ESCAPE),
                        0,
                        0,
                        {}};
                IsDialogMessageW(dialog, &key);
                EXPECT_TRUE(IsWindow(dialog)) << way;
            }
            if (way == 1)
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            else
                SendMessageW(Button(dialog, L"Cancel"), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(Stored(), "1:1:0:22:1:1") << way;
        EXPECT_EQ(settings::ComposeSettingsCode(mMain::Settings()), "1:1:0:22:1:1") << way;
        EXPECT_EQ(o.Text(2, 2), L"19.00m");
    }
    // The program ending while the dialog is open: closed as Cancel, the quit passed on.
    Ortelia o;
    WithDialog(o, [](HWND) { PostQuitMessage(7); });
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "(none)");
}

} // namespace
