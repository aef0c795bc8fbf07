#include "calc/key_filter.h"

namespace calc {

void FilterNumericKey(int16_t& keyAscii, bool allowDecimal, bool allowMinus) {
    constexpr int16_t kBackspace = 8, kEnter = 13, kMinus = 45, kPoint = 46;
    const int16_t c = keyAscii;
    const bool editing = c == kCtrlA || c == kCtrlC || c == kCtrlV || c == kCtrlX || c == kCtrlZ;
    const bool passes = c == kBackspace || c == kEnter || (c >= '0' && c <= '9') || editing ||
                        (c == kPoint && allowDecimal) || (c == kMinus && allowMinus);
    if (!passes)
        keyAscii = 0;
}

} // namespace calc
