// The number rules on any bytes, which end with libFuzzer's buffer so that a read past it fails.
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

// "--" exactly beyond reach, else a text that reads back within `within` plus a few ulps.
static void Check(const std::string& text, double x, double exact, double within) {
    FUZZ_CHECK((text == calc::kNoResult) == !std::isfinite(x) || std::fabs(x) >= 1e300);
    if (text != calc::kNoResult)
        FUZZ_CHECK(std::fabs(controls::FieldValue(text) - exact) <=
                   within + 16 * DBL_EPSILON * std::fabs(exact));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto bits = [](auto t) { return std::bit_cast<uint64_t>(controls::FieldValue(t)); };
    FUZZ_CHECK(!std::isnan(controls::FieldValue(text)));
    std::string squeezed(text);
    std::erase_if(squeezed, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    FUZZ_CHECK(bits(squeezed) == bits(text)); // blanks count for nothing (0 is not -0)
    const std::string head(text.substr(0, size / 2)), tail(text.substr(size / 2));
    FUZZ_CHECK(bits(head + "," + tail) == bits(head)); // reading stops at ","
    double x;
    if (size < sizeof x)
        return 0;
    std::memcpy(&x, data, sizeof x);
    const double cent = 0.005, feet = calc::kFeetPerMetre;
    Check(calc::TwoDecimalText(x), x, x, cent);
    Check(calc::LengthText(x, true), x, x, cent);
    Check(calc::LengthText(x, false), x, x * feet, cent + cent * feet); // rounded in metres first
    Check(calc::WholeNumberText(x), x, x, 0.5);
    return 0;
}
