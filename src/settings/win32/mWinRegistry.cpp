#include "settings/win32/mWinRegistry.h"

#include "controls/field_value.h"
#include "controls/win32/handles.h"
#include "settings/registry_data.h"

#include <algorithm>
#include <array>

namespace mWinRegistry {
namespace {

// KEY_READ | KEY_WRITE | KEY_CREATE_LINK.
constexpr REGSAM kAccess = 0x2003F;

std::string AsText(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::to_string(std::get<int32_t>(value));
}

// A number as a 32-bit integer; a text read by the field-value rule.
int32_t AsInt32(const RegistryValue& value) {
    if (const auto* number = std::get_if<int32_t>(&value))
        return *number;
    return controls::Int32FieldValue(std::get<std::string>(value));
}

LSTATUS Store(HKEY key, DWORD type, const std::string& valueName, const RegistryValue& value) {
    if (type == REG_SZ || type == REG_BINARY) {
        const std::string text = AsText(value);
        return RegSetValueExA(key, valueName.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>(text.size()));
    }
    const auto bits = static_cast<uint32_t>(AsInt32(value));
    const std::array<BYTE, 4> bytes{static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                                    static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    return RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD, bytes.data(), 4);
}

} // namespace

bool ReadRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       std::string& result) {
    controls::RegKey key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, kAccess, key.Out()) != ERROR_SUCCESS)
        return false;
    std::array<BYTE, settings::kRegistryBufferSize> buffer{};
    DWORD count = static_cast<DWORD>(buffer.size());
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, buffer.data(), &count) !=
        ERROR_SUCCESS)
        return false;
    count = std::min<DWORD>(count, static_cast<DWORD>(buffer.size()));
    return settings::DecodeRegistryValue(type, std::span<const uint8_t>(buffer.data(), count),
                                         result);
}

bool WriteRegistryValue(HKEY root, const std::string& keyPath, DWORD type,
                        const std::string& valueName, RegistryValue& value) {
    controls::RegKey key;
    LSTATUS status = RegOpenKeyExA(root, keyPath.c_str(), 0, kAccess, key.Out());
    if (status != ERROR_SUCCESS)
        RegCreateKeyA(root, keyPath.c_str(), key.Out());
    if (type == REG_SZ || type == REG_BINARY || type == REG_DWORD)
        status = key.Get() ? Store(key.Get(), type, valueName, value) : ERROR_INVALID_HANDLE;
    if (status != ERROR_SUCCESS) {
        value = std::string();
        return false;
    }
    return true;
}

} // namespace mWinRegistry
