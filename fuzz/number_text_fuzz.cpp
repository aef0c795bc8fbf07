// The result texts of any double: "--" exactly for the values beyond reach; otherwise the
// text reads back, by the field-value rule, within half a unit of its last digit (an
// imperial length also within half a centimetre, being rounded in metres first) and a
// few units in the last place.
#include "calc/constants.h"
#include "calc/number_text.h"
#include "controls/field_value.h"
#include "fuzz_check.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

static void Check(std::string text, double x, double exact, double within) {
    FUZZ_CHECK((text == calc::kNoResult) == !std::isfinite(x) || std::fabs(x) >= 1e300);
    if (text != calc::kNoResult)
        FUZZ_CHECK(std::fabs(controls::FieldValue(text) - exact) <=
                   within + 16 * DBL_EPSILON * std::fabs(exact));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double x;
    if (size < sizeof x)
        return 0;
    std::memcpy(&x, data, sizeof x);
    const double cent = 0.005, feet = calc::kFeetPerMetre;
    Check(calc::TwoDecimalText(x), x, x, cent);
    Check(calc::LengthText(x, true), x, x, cent);
    Check(calc::LengthText(x, false), x, x * feet, cent + cent * feet);
    Check(calc::WholeNumberText(x), x, x, 0.5);
    return 0;
}
