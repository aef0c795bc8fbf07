// The number rules on any bytes. As text, by the field-value rule: never NaN; blanks, tabs
// and line feeds count for nothing wherever they stand; reading stops at a character that
// cannot continue a number, such as ",". Compared bit for bit, so 0 and -0 differ; the
// text ends where libFuzzer's buffer ends, so that a read past it is caught. As a double
// (the first eight bytes), the result texts: "--" exactly for the values beyond reach;
// otherwise each reads back within half a unit of its last digit (an imperial length also
// within half a centimetre, being rounded in metres first) and a few units in the last
// place.
#include "calc/constants.h"
#include "calc/number_text.h"
#include "controls/field_value.h"
#include "fuzz_check.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

static void Check(const std::string& text, double x, double exact, double within) {
    FUZZ_CHECK((text == calc::kNoResult) == !std::isfinite(x) || std::fabs(x) >= 1e300);
    if (text != calc::kNoResult)
        FUZZ_CHECK(std::fabs(controls::FieldValue(text) - exact) <=
                   within + 16 * DBL_EPSILON * std::fabs(exact));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto bits = [](std::string_view t) {
        return std::bit_cast<uint64_t>(controls::FieldValue(t));
    };
    FUZZ_CHECK(!std::isnan(controls::FieldValue(text)));
    std::string squeezed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            squeezed += c;
    FUZZ_CHECK(bits(squeezed) == bits(text));
    const std::string head(text.substr(0, size / 2));
    FUZZ_CHECK(bits(head + "," + std::string(text.substr(size / 2))) == bits(head));
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
