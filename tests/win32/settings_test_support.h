// Registry helpers shared by the settings tests: the stored value exactly as the registry
// holds it, a settings key that refuses every write, and the start-up load watched for
// its message box.
#pragma once

#include "settings/win32/mMain.h"
#include "test_support.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace settings_testing {

inline constexpr const char* kKey = "Software\\Quillon\\Ortelia";

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
    // The text without a terminating NUL. RegSetValueExA counts the terminator of a
    // REG_SZ text when the caller's byte count leaves it out but the buffer has one right
    // after, as a C string does; readers take the text with or without it.
    std::string Text() const {
        return !bytes.empty() && bytes.back() == '\0' ? bytes.substr(0, bytes.size() - 1) : bytes;
    }
};

// Stores exactly `bytes` as the "Settings" value, creating the key. The byte after them
// is not NUL, so RegSetValueExA does not count a terminator of its own.
inline void StoreExact(DWORD type, std::string_view bytes) {
    std::string buffer(bytes);
    buffer.push_back('\x7F');
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Settings", 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// HKCU\Software\Quillon\Ortelia "Settings" read with RegQueryValueExA.
inline StoredValue ReadStored() {
    StoredValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    char buffer[4096];
    DWORD size = sizeof buffer;
    v.present = RegQueryValueExA(key, "Settings", nullptr, &v.type, reinterpret_cast<BYTE*>(buffer),
                                 &size) == ERROR_SUCCESS;
    if (v.present)
        v.bytes.assign(buffer, size);
    RegCloseKey(key);
    return v;
}

// Makes the existing settings key read-only for everyone while it lives, so that every
// write to it fails; gives full rights back afterwards so the key can be removed.
class ReadOnlySettingsKey {
  public:
    ReadOnlySettingsKey() { SetDacl("D:P(A;;KR;;;WD)"); }
    ~ReadOnlySettingsKey() { SetDacl("D:P(A;;KA;;;WD)"); }
    ReadOnlySettingsKey(const ReadOnlySettingsKey&) = delete;
    ReadOnlySettingsKey& operator=(const ReadOnlySettingsKey&) = delete;

  private:
    static void SetDacl(const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd,
                                                                         nullptr));
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, &key), ERROR_SUCCESS);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        RegCloseKey(key);
        LocalFree(sd);
    }
};

// What a message box captioned "Ortelia" showed while mMain::LoadSettings ran; the box is
// answered with its first button.
struct SeenMessage {
    bool shown = false;
    std::wstring text;
    std::vector<std::wstring> buttons;
};

inline SeenMessage LoadSettingsWatched() {
    SeenMessage seen;
    const auto box = [] {
        HWND b = FindWindowW(L"#32770", L"Ortelia");
        return b && IsWindowVisible(b) ? b : nullptr;
    };
    testing_support::WhenReady answer([&] { return box() != nullptr; }, [&] {
        seen.shown = true;
        HWND first = nullptr;
        for (HWND c = GetWindow(box(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32] = L"", text[256] = L"";
            GetClassNameW(c, cls, 32);
            GetWindowTextW(c, text, 256);
            if (!IsWindowVisible(c))
                continue;
            if (lstrcmpiW(cls, L"Button") == 0) {
                seen.buttons.push_back(text);
                first = first ? first : c;
            } else if (lstrcmpiW(cls, L"Static") == 0 && *text) {
                seen.text = text;
            }
        }
        if (first)
            SendMessageW(first, BM_CLICK, 0, 0);
        else
            PostMessageW(box(), WM_CLOSE, 0, 0);
    });
    mMain::LoadSettings();
    return seen;
}

} // namespace settings_testing
