#include "settings/win32/mMain.h"

#include "settings/settings_code.h"
#include "settings/win32/mWinRegistry.h"

#include <windows.h>

namespace mMain {

settings::Settings& Settings() {
    static settings::Settings current;
    return current;
}

void SetDefaultSettings() {
    Settings() = settings::kDefaultSettings;
}

void LoadSettings() {
    std::string code;
    if (!mWinRegistry::ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, kSettingsValue, code))
        return;
    const auto stored = settings::ParseSettingsCode(code);
    if (!stored) {
        MessageBoxW(nullptr, L"Invalid Settings Code", L"Ortelia", MB_OK);
        return;
    }
    settings::ApplyStoredSettings(*stored, Settings());
}

bool SaveSettings() {
    mWinRegistry::RegistryValue code = settings::ComposeSettingsCode(Settings());
    return mWinRegistry::WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, REG_SZ, kSettingsValue,
                                            code);
}

} // namespace mMain
