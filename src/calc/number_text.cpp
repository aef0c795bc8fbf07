#include "calc/number_text.h"

#include "calc/constants.h"
#include "controls/field_value.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace calc {
namespace {

// Fixed notation with `decimals` digits after the point, correctly rounded from the
// exact binary value. The C library's formatter rather than std::to_chars, whose
// floating-point tables would add about 170 KB to the Windows exe; its decimal separator
// follows the C locale, so a "," is turned back into "." (there is no grouping).
std::string Fixed(double x, int decimals) {
    std::array<char, 400> buffer{}; // the largest double has 309 integer digits
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, x);
    std::string text(buffer.data(), static_cast<size_t>(std::clamp(length, 0, 399)));
    std::replace(text.begin(), text.end(), ',', '.');
    // A value that rounds to zero carries no sign.
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// y written with two decimals, rounded to the nearest with a tie going away from zero.
// A tie is a value whose exact expansion ends in 5 at the third decimal: an odd number k
// of eighths. Its cents, 12.5 k rounded away from zero, are counted in 64-bit integers,
// since y * 100 is no longer exact in a double from about 4.5e13 on. An odd k is below
// 2^53, so 25 k fits.
std::string TwoDecimalsTiesAway(double y) {
    const double eighths = y * 8.0;
    if (!std::isfinite(eighths) || std::floor(eighths) != eighths || std::fmod(eighths, 2.0) == 0.0)
        return Fixed(y, 2);
    const auto k = static_cast<int64_t>(eighths);
    const int64_t cents = (25 * k + (k > 0 ? 1 : -1)) / 2;
    const int64_t magnitude = cents < 0 ? -cents : cents;
    const int64_t fraction = magnitude % 100;
    std::string text = cents < 0 ? "-" : "";
    text += std::to_string(magnitude / 100);
    text += fraction < 10 ? ".0" : ".";
    text += std::to_string(fraction);
    return text;
}

} // namespace

std::string TwoDecimalText(double x) {
    const double rounded = controls::RoundTo(x, 2);
    if (!std::isfinite(rounded))
        return kNoResult;
    return Fixed(rounded, 2);
}

std::string LengthText(double metres, bool metric) {
    if (metric) {
        const std::string text = TwoDecimalText(metres);
        return text == kNoResult ? text : text + "m";
    }
    const double feet = controls::RoundTo(metres, 2) * kFeetPerMetre;
    if (!std::isfinite(feet))
        return kNoResult;
    return TwoDecimalsTiesAway(feet) + "f";
}

std::string WholeNumberText(double x) {
    if (!std::isfinite(x))
        return kNoResult;
    return Fixed(x, 0);
}

} // namespace calc
