// The field-value reader on any text: never NaN, and two properties of the rule itself,
// checked against the reader rather than a second copy of it: blanks, tabs and line
// feeds count for nothing wherever they stand, and reading stops at a character that
// cannot continue a number.
#include "calc/field_value.h"
#include "fuzz_check.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool Identical(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = calc::FieldValue(text);
    FUZZ_CHECK(!std::isnan(value));

    std::string squeezed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            squeezed += c;
    FUZZ_CHECK(Identical(calc::FieldValue(squeezed), value));

    // "," never belongs to a number, so whatever follows it is never read.
    const std::string_view head = text.substr(0, size / 2);
    const std::string cut = std::string(head) + "," + std::string(text.substr(size / 2));
    FUZZ_CHECK(Identical(calc::FieldValue(cut), calc::FieldValue(head)));
    return 0;
}
