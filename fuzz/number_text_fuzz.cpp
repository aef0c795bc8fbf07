// The result texts of any double (the first eight input bytes, so NaNs, infinities and
// subnormals included): "--" exactly for values beyond reach, otherwise the fixed layout
// with no "-0", reading back through the field-value rule within half a unit of the
// last digit (plus half a centimetre for imperial lengths, which are rounded in metres
// first) and a few units in the last place of the double.
#include "calc/constants.h"
#include "calc/field_value.h"
#include "calc/number_text.h"
#include "fuzz_check.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?[0-9]+ then, with decimals, "." and exactly that many digits; then the unit.
bool HasLayout(std::string_view text, int decimals, std::string_view unit) {
    if (!text.ends_with(unit))
        return false;
    text.remove_suffix(unit.size());
    if (text.starts_with('-'))
        text.remove_prefix(1);
    size_t whole = 0;
    while (whole < text.size() && IsDigit(text[whole]))
        ++whole;
    if (whole == 0)
        return false;
    if (decimals == 0)
        return whole == text.size();
    if (text.size() != whole + 1 + static_cast<size_t>(decimals) || text[whole] != '.')
        return false;
    return IsDigit(text[whole + 1]) && IsDigit(text[whole + 2]);
}

// `text` written for x (whose exact result is `exact`) with `decimals` and `unit`.
void CheckText(const std::string& text, double x, double exact, int decimals, std::string_view unit,
               double tolerance) {
    if (!std::isfinite(x)) {
        FUZZ_CHECK(text == calc::kNoResult);
        return;
    }
    // Far from the end of the double range every value has a text.
    if (std::fabs(x) < 1e300)
        FUZZ_CHECK(text != calc::kNoResult);
    if (text == calc::kNoResult)
        return;
    FUZZ_CHECK(HasLayout(text, decimals, unit));
    const std::string zero = decimals ? "-0.00" : "-0";
    FUZZ_CHECK(text != zero + std::string(unit));
    const double back = calc::FieldValue(text);
    FUZZ_CHECK(std::fabs(back - exact) <= tolerance + 16 * DBL_EPSILON * std::fabs(exact));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double x;
    if (size < sizeof x)
        return 0;
    std::memcpy(&x, data, sizeof x);
    const double cent = 0.005;
    CheckText(calc::TwoDecimalText(x), x, x, 2, "", cent);
    CheckText(calc::LengthText(x, true), x, x, 2, "m", cent);
    CheckText(calc::LengthText(x, false), x, x * calc::kFeetPerMetre, 2, "f",
              cent + cent * calc::kFeetPerMetre);
    CheckText(calc::WholeNumberText(x), x, x, 0, "", 0.5);
    return 0;
}
