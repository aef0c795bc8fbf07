// The result texts of any double: "--" exactly for values beyond reach, otherwise digits,
// "." and exactly the decimals of the layout, never "-0", and reading back through the
// field-value rule within half a unit of the last digit (imperial lengths also within
// half a centimetre, being rounded in metres first) and a few units in the last place.
#include "calc/constants.h"
#include "calc/number_text.h"
#include "controls/field_value.h"
#include "fuzz_check.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

static void Check(std::string text, double x, double exact, size_t decimals, double within) {
    FUZZ_CHECK((text == calc::kNoResult) == !std::isfinite(x) || std::fabs(x) >= 1e300);
    if (text == calc::kNoResult)
        return;
    if (text.back() == 'm' || text.back() == 'f')
        text.pop_back();
    const size_t point = text.find('.');
    FUZZ_CHECK(decimals ? point == text.size() - 1 - decimals : point == std::string::npos);
    FUZZ_CHECK(text.find_first_not_of("-.0123456789") == std::string::npos);
    FUZZ_CHECK(text[0] != '-' || text.find_first_of("123456789") != std::string::npos);
    const double back = controls::FieldValue(text);
    FUZZ_CHECK(std::fabs(back - exact) <= within + 16 * DBL_EPSILON * std::fabs(exact));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double x;
    if (size < sizeof x)
        return 0;
    std::memcpy(&x, data, sizeof x);
    const double cent = 0.005, feet = calc::kFeetPerMetre;
    Check(calc::TwoDecimalText(x), x, x, 2, cent);
    Check(calc::LengthText(x, true), x, x, 2, cent);
    Check(calc::LengthText(x, false), x, x * feet, 2, cent + cent * feet);
    Check(calc::WholeNumberText(x), x, x, 0, 0.5);
    return 0;
}
