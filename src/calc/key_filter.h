// Which typed characters a calculator field lets through.
#pragma once

#include <cstdint>

namespace calc {

// The editing keys, which arrive as control characters: commands, not typed text.
inline constexpr int16_t kCtrlA = 1, kCtrlC = 3, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;

// Backspace, Enter, the digits and the editing keys (select all, copy, paste, cut, undo)
// always pass; "." and "-" pass when allowed. Any other character code is set to 0,
// which cancels the keystroke.
void FilterNumericKey(int16_t& keyAscii, bool allowDecimal, bool allowMinus);

// The permissions of one group of fields.
struct KeyPermissions {
    bool decimal;
    bool minus;
};

} // namespace calc
