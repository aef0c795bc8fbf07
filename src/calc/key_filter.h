// Which typed characters a calculator field lets through.
#pragma once

#include <cstdint>

namespace calc {

// Backspace, Enter and the digits always pass; "." and "-" pass when allowed.
// Any other character code is set to 0, which cancels the keystroke.
void FilterNumericKey(int16_t& keyAscii, bool allowDecimal, bool allowMinus);

// The permissions of one group of fields.
struct KeyPermissions {
    bool decimal;
    bool minus;
};

} // namespace calc
