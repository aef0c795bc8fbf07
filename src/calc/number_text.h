// How the calculators write numbers: fixed layouts with "." as the decimal point,
// whatever the user's locale. A value that is not finite has no text: "--".
#pragma once

#include <string>

namespace calc {

// The placeholder for a result that does not exist.
inline constexpr const char* kNoResult = "--";

// x rounded to two decimals (ties to even), at least one integer digit, no grouping,
// exactly two decimals, "-" for negatives, "0.00" for anything that rounds to zero.
std::string TwoDecimalText(double x);

// A length in metres: metric "<two-decimal>m"; imperial: the length rounded to
// centimetres, converted to feet and written with two decimals (ties away from zero)
// followed by "f".
std::string LengthText(double metres, bool metric);

// A whole value: all its digits, a leading "-" when negative, "0" for zero.
std::string WholeNumberText(double x);

} // namespace calc
