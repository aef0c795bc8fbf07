// The stored settings: hostile values at start-up, a refused write, the dialog and its ways out.
#include "ortelia.h"
#include "settings/settings_code.h"
#include "settings/win32/mWinRegistry.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace support;
const auto Code = [] { return settings::ComposeSettingsCode(mMain::Settings()); };

// Each type and size around the 1024-byte buffer: unreadable is silent; only REG_SZ codes apply.
TEST(StoredSettings, HostileValuesByTypeAndSize) {
    for (DWORD type : {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ})
        for (size_t size : {0, 1, 1024, 1025})
            for (bool code : {false, size > 20}) {
                std::string bytes(size, '\xA7'); // no digit, no colon: never a code
                if (code)
                    bytes.replace(0, 14, "0:3:-40:7:0:0:");
                CleanKey key;
                Store(type, bytes);
                mMain::SetDefaultSettings();
                std::wstring shown = L"|";
                Soon answer([&] {
                    const HWND box = Shown(L"#32770", L"Ortelia");
                    shown = BoxText(box);
                    return box && !SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                });
                mMain::LoadSettings();
                SCOPED_TRACE(std::to_string(type) + ", " + std::to_string(size));
                const bool readable = size >= 1 && size <= 1024,
                           applies = readable && code && type == REG_SZ;
                EXPECT_EQ(shown, readable && !applies ? L"Invalid Settings Code|OK" : L"|");
                EXPECT_EQ(Code(), applies ? "0:3:-40:7:0:0" : "1:1:0:22:1:1");
            }
}

TEST(StoredSettings, ARefusedWriteIsReportedAndTheNewSettingsStillHold) {
    Ortelia o("1:1:0:22:1:1");
    const auto allow = [](const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr);
        HKEY key;
        RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, &key);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        RegCloseKey(key);
        LocalFree(sd);
    };
    allow("D:P(A;;KR;;;WD)"); // reading only, for everyone
    using mWinRegistry::RegistryValue, mWinRegistry::WriteRegistryValue;
    for (auto value : {RegistryValue{"0:0:0:0:0:0"}, RegistryValue{5}}) {
        EXPECT_FALSE(WriteRegistryValue(HKEY_CURRENT_USER, kKey, value.index() ? REG_DWORD : REG_SZ,
                                        "Settings", value));
        EXPECT_EQ(std::get<std::string>(value), "");
    }
    o.Dialog([](HWND dialog) {
        Click(dialog, L"Imperial");
        Click(dialog, L"OK");
    });
    allow("D:P(A;;KA;;;WD)");
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "1:1:0:22:1:1");
    EXPECT_EQ(o.Text(2, 2), L"62.34f");
}

// Modal, in its design at each density (rounded half up by hand), the logo, its tab stops.
TEST(SettingsDialog, OpensModalInItsDesign) {
    // The client area; OK, an offset box and "Metric" in it.
    // clang-format off
    const struct { int dpi; const char* places; } sizes[] = {
        {96, "271x259 120,236 69x21 56,172 37x19 180,96 57x13"},
        {120, "339x324 150,295 86x26 70,215 46x24 225,120 71x16"},
        {144, "407x389 180,354 104x32 84,258 56x29 270,144 86x20"}};
    // clang-format on
    Ortelia o("1:0:0:22:1");
    o.Dialog([&](HWND dialog) {
        EXPECT_EQ(support::Text(dialog), L"Ortelia Settings...");
        EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        EXPECT_TRUE(GetWindow(dialog, GW_OWNER) == o.W() && !IsWindowEnabled(o.W()));
        const auto places = [&] {
            const auto place = [&](const wchar_t* cls, const wchar_t* text) {
                return Place(FindWindowExW(dialog, nullptr, cls, text), dialog);
            };
            return Place(dialog) + " " + place(L"Button", L"OK") + " " + place(L"Edit", nullptr) +
                   " " + place(L"Button", L"Metric");
        };
        EXPECT_EQ(Outside(dialog), L"");
        if (const auto* s = Literal(sizes)) {
            EXPECT_EQ(places(), s->places);
        }
        const HWND banner = FindWindowExW(dialog, nullptr, L"OrteliaLogoBanner", nullptr);
        EXPECT_EQ(Pixel(banner, 20, 40), RGB(255, 96, 52)) << "the logo, unscaled";
        EXPECT_EQ(Pixel(banner, 60, 10), RGB(77, 157, 227));
        // Moved to a monitor of another density: laid out at its dpi, in fonts made for it.
        const int to = Dpi() == 144 ? 96 : 144;
        DpiChanged(dialog, to);
        if (Wine()) {
            EXPECT_EQ(places(), sizes[to == 144 ? 2 : 0].places);
        }
        EXPECT_EQ(FontHeight(FindWindowExW(dialog, nullptr, L"Edit", nullptr)),
                  to == 144 ? -16 : -11);
        // Round the tab stops to OK, where Enter clicks it, as on any focused push button.
        std::wstring tabs;
        SetFocus(FindWindowExW(dialog, nullptr, L"Button", L"Dock with Kestrava Editor"));
        for (int i = 0; i < 15; ++i) {
            const HWND at = GetFocus(); // its text, "*" if checked
            tabs += support::Text(at).substr(0, 7) +
                    (SendMessageW(at, BM_GETCHECK, 0, 0) ? L"*|" : L"|");
            MSG key{at, WM_KEYDOWN, static_cast<WPARAM>(i < 14 ? VK_TAB : VK_RETURN), 0, 0, {}};
            IsDialogMessageW(dialog, &key);
        }
        EXPECT_EQ(tabs, L"Dock wi*|Top - L*|0|22|Metric*|Automat*|OK|Cancel|Dock wi*|Top - L*|0|"
                        L"22|Metric*|Automat*|OK|");
    });
    EXPECT_EQ(Stored(), "1:0:0:22:1:1") << "by OK";
}

// OK stores what the dialog shows; Cancel, the close box, Enter and Escape (no default) do not.
TEST(SettingsDialog, OkStoresAndShowsTheSettingsOtherWaysOutChangeNothing) {
    enum Way { kOk, kCancel, kCloseBox, kEnter, kEscape };
    // x, y: nullptr where the box is left as loaded.
    // clang-format off
    const struct { const char* stored; std::vector<const wchar_t*> clicks; const wchar_t *x, *y;
                   Way way; const char* code; } rows[] = {
        {nullptr, {}, nullptr, nullptr, kOk, "1:1:0:22:1:1"},
        {"0:2:15:-9:0", {}, nullptr, nullptr, kOk, "0:2:15:-9:0:1"}, // five fields as six
        {"0:3:-5:7:0:0", {}, nullptr, nullptr, kOk, "0:3:-5:7:0:0"},
        {nullptr, {L"Dock with Kestrava Editor", L"Bottom - Left", L"Imperial"}, L"12px", L"1 5", kOk,
         "0:2:12:15:1:0"},
        {nullptr, {L"Automatically Close when the Kestrava Editor Closes", L"Top - Left"}, L"2.5",
         L"3.5", kOk, "1:0:2:4:0:1"},
        {"1:7:0:22:1:1", {}, L"-3", L"", kOk, "1:7:-3:0:1:1"}, // no corner button: it stays
        {nullptr, {}, L"99999999999", L"-1e99", kOk, "1:1:2147483647:-2147483648:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kCancel, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kCloseBox, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kEnter, "1:1:0:22:1:1"},
        {"1:1:0:22:1:1", {L"Imperial"}, L"40", nullptr, kEscape, "1:1:0:22:1:1"}};
    // clang-format on
    for (const auto& r : rows) {
        Ortelia o(r.stored);
        SetWindowTextW(o.Field(4, 0), L"10");
        o.Dialog([&](HWND dialog) {
            for (const wchar_t* caption : r.clicks)
                Click(dialog, caption);
            for (int n : {0, 1})
                if (const wchar_t* text = n ? r.y : r.x)
                    SetWindowTextW(Children(dialog, L"Edit").at(n), text);
            if (r.way >= kEnter) {
                const WPARAM vk = r.way == kEnter ? VK_RETURN : VK_ESCAPE;
                MSG key{Children(dialog, L"Edit").at(0), WM_KEYDOWN, vk, 0, 0, {}};
                IsDialogMessageW(dialog, &key);
                EXPECT_TRUE(IsWindow(dialog)) << r.way;
            }
            r.way == kCloseBox ? (void)PostMessageW(dialog, WM_CLOSE, 0, 0)
                               : Click(dialog, r.way == kOk ? L"OK" : L"Cancel");
        });
        EXPECT_EQ(Stored() + " " + Code(), std::string(r.code) + " " + r.code) << r.way;
        const bool metric = std::string(r.code).back() == '1';
        EXPECT_EQ(o.Text(2, 2) + o.Text(3, 2) + o.Label(3, 0),
                  metric ? L"19.00m30.49mKmph" : L"62.34f259.06fMph");
        EXPECT_EQ(o.Text(4, 1), L"32.81") << "the converter is not recomputed";
        EXPECT_TRUE(o.Topmost() && IsWindowEnabled(o.W()));
    }
    // The program ending while the dialog is open: closed as Cancel, the quit passed on.
    Ortelia o;
    o.Dialog([](HWND) { PostQuitMessage(7); });
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7);
    EXPECT_FALSE(Shown(L"OrteliaSettings"));
    EXPECT_EQ(Stored(), "(none)");
}

} // namespace
