// How the text of a field becomes a number: the one rule of the calculators, the
// converter and the settings dialog's offset boxes.
#pragma once

#include <cstdint>
#include <string_view>

namespace controls {

// The field-value rule: blanks, tabs and line feeds are skipped wherever they stand;
// the longest leading part that reads as a number is taken (optional sign, digits,
// one ".", digits, optional exponent E or D with sign and digits, or a whole number
// after the prefixes &H (hexadecimal) and &O (octal)); text without such a part is 0.
// "." is the decimal point whatever the locale. Linear in the text's length; may
// return an infinity for numbers beyond the double range.
double FieldValue(std::string_view text);

// x * 10^n rounded to the nearest whole number, a tie going to the even neighbour,
// then divided by 10^n. n = 0 rounds to a whole number.
double RoundTo(double x, int decimals);

// The field value rounded to a whole number (ties to even) and held to the 32-bit range,
// so that an absurd text gives the farthest value instead of a wrapped one; 0 for a text
// that holds no number.
int32_t Int32FieldValue(std::string_view text);

} // namespace controls
