// Turning the bytes of a queried registry value into text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace settings {

inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegDword = 4;

// The read buffer's capacity: longer values are not read at all.
inline constexpr size_t kRegistryBufferSize = 1024;

// Decodes the `bytes` delivered for a value of registry type `type` into `result`.
// A trailing NUL is dropped; REG_SZ gives the bytes as text; REG_DWORD appends the kept
// bytes, last first, as two upper-case hex digits each and puts "&h" in front of the
// whole text; other types leave `result` as it was. Returns false (and empties
// `result`) only for an empty value.
bool DecodeRegistryValue(uint32_t type, std::span<const uint8_t> bytes, std::string& result);

} // namespace settings
