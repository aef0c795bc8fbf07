// The registry value HKCU\Software\Quillon\Ortelia "Settings", read and written as
// another program would.
#pragma once

#include "basics.h"

#include <windows.h>

#include <optional>
#include <string>

namespace blackbox {

inline constexpr const char* kKey = "Software\\Quillon\\Ortelia";

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

inline StoredValue ReadStoredSettings() {
    StoredValue v;
    HKEY key;
    DWORD size = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    if (RegQueryValueExW(key, L"Settings", nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.resize(size);
        v.present =
            RegQueryValueExW(key, L"Settings", nullptr, &v.type,
                             reinterpret_cast<BYTE*>(v.bytes.data()), &size) == ERROR_SUCCESS;
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

inline void StoreSettings(const std::string& code) { // REG_SZ, as the program writes it
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS)
        Fail("cannot create the settings key");
    const LSTATUS status =
        RegSetValueExA(key, "Settings", 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                       DWORD(code.size() + 1));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        Fail("cannot store the settings value");
}

inline void RemoveSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

inline std::optional<std::string> StoredCode(const StoredValue& v) { // the REG_SZ text
    if (!v.present || v.type != REG_SZ)
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(v.bytes.data()), v.bytes.size() / 2);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return Utf8(text);
}

inline std::string Describe(const StoredValue& v) { // e.g. type 1 "0:2:12:-3:0:0"
    const auto code = StoredCode(v);
    return !v.present
               ? "<no value>"
               : "type " + std::to_string(v.type) + " " +
                     (code ? "\"" + *code + "\"" : std::to_string(v.bytes.size()) + " bytes");
}

} // namespace blackbox
