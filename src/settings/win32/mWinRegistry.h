// Reading and writing one registry value through the single-byte (ANSI) registry calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>

namespace mWinRegistry {

// A value to store: a text (REG_SZ, REG_BINARY) or a number (REG_DWORD).
using RegistryValue = std::variant<std::string, int32_t>;

// Reads value `valueName` under root\keyPath into `result`. REG_SZ gives its text,
// REG_DWORD "&h" followed by hex digits, other types leave `result` as it was. False
// when the key or value is missing, empty, longer than 1024 bytes, or unreadable.
bool ReadRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       std::string& result);

// Stores `value` as `type` (REG_SZ, REG_BINARY or REG_DWORD), creating the key when
// needed. On failure returns false and sets `value` to the empty text.
bool WriteRegistryValue(HKEY root, const std::string& keyPath, DWORD type,
                        const std::string& valueName, RegistryValue& value);

} // namespace mWinRegistry
