// How the text of a field becomes a number.
#pragma once

#include <string_view>

namespace calc {

// The field-value rule: blanks, tabs and line feeds are skipped wherever they stand;
// the longest leading part that reads as a number is taken (optional sign, digits,
// one ".", digits, optional exponent E or D with sign and digits, or a whole number
// after the prefixes &H (hexadecimal) and &O (octal)); text without such a part is 0.
// "." is the decimal point whatever the locale. Linear in the text's length; may
// return an infinity for numbers beyond the double range.
double FieldValue(std::string_view text);

} // namespace calc
