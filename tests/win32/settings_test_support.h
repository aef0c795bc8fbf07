// Registry helpers shared by the settings tests: a settings key that refuses every
// write, and the start-up load watched for its message box.
#pragma once

#include "settings/win32/mMain.h"
#include "test_support.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace settings_testing {

using testing_support::kSettingsKey;

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
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &key),
                  ERROR_SUCCESS);
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
    testing_support::WhenReady answer([&] { return box() != nullptr; },
                                      [&] {
                                          seen.shown = true;
                                          HWND first = nullptr;
                                          for (HWND c = GetWindow(box(), GW_CHILD); c;
                                               c = GetWindow(c, GW_HWNDNEXT)) {
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
