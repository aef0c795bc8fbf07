#include "settings/win32/mWinRegistry.h"

#include "calc/field_value.h"
#include "calc/number_text.h"
#include "settings/registry_data.h"

#include <array>
#include <cmath>
#include <optional>

namespace mWinRegistry {
namespace {

// KEY_READ | KEY_WRITE | KEY_CREATE_LINK.
constexpr REGSAM kAccess = 0x2003F;

// Closes an opened key when it goes out of scope.
class OpenKey {
  public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::string AsText(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::to_string(std::get<int32_t>(value));
}

// A number as a 32-bit integer: texts are read as field values and rounded half to
// even; anything outside the range has no 32-bit form.
std::optional<int32_t> AsInt32(const RegistryValue& value) {
    if (const auto* number = std::get_if<int32_t>(&value))
        return *number;
    const double rounded = calc::RoundTo(calc::FieldValue(std::get<std::string>(value)), 0);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

LSTATUS Store(HKEY key, DWORD type, const std::string& valueName, const RegistryValue& value) {
    if (type == REG_SZ || type == REG_BINARY) {
        const std::string text = AsText(value);
        return RegSetValueExA(key, valueName.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>(text.size()));
    }
    const auto number = AsInt32(value);
    if (!number)
        return ERROR_INVALID_DATA;
    const uint32_t bits = static_cast<uint32_t>(*number);
    const std::array<BYTE, 4> bytes{static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                                    static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    return RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD, bytes.data(), 4);
}

} // namespace

bool ReadRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       std::string& result) {
    OpenKey key;
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
    OpenKey key;
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
