#include "calc/number_text.h"

#include "calc/constants.h"

#include <array>
#include <charconv>
#include <cmath>

namespace calc {
namespace {

// Fixed notation with `decimals` digits after the point, correctly rounded from the
// exact binary value (to_chars is exact and ignores the locale).
std::string Fixed(double x, int decimals) {
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed,
                      decimals);
    std::string text(buffer.data(), result.ptr);
    // A value that rounds to zero carries no sign.
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

double RoundHalfEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// y written with two decimals, rounded to the nearest with a tie going away from zero.
// A tie needs a value whose exact binary expansion ends in ...5 at the third decimal,
// which only multiples of 1/8 have; for those y * 100 is exact and std::round decides.
std::string TwoDecimalsTiesAway(double y) {
    const double eighths = y * 8.0;
    if (std::floor(eighths) == eighths && std::fabs(y) < 0x1p50)
        return Fixed(std::round(y * 100.0) / 100.0, 2);
    return Fixed(y, 2);
}

} // namespace

double RoundTo(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return RoundHalfEven(x * scale) / scale;
}

std::string TwoDecimalText(double x) {
    const double rounded = RoundTo(x, 2);
    if (!std::isfinite(rounded))
        return kNoResult;
    return Fixed(rounded, 2);
}

std::string LengthText(double metres, bool metric) {
    if (metric) {
        const std::string text = TwoDecimalText(metres);
        return text == kNoResult ? text : text + "m";
    }
    const double feet = RoundTo(metres, 2) * kFeetPerMetre;
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
