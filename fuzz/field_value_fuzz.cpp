// The field-value rule on any text: never NaN; blanks, tabs and line feeds count for
// nothing wherever they stand; reading stops at a character that cannot continue a
// number, such as ",".
#include "calc/field_value.h"
#include "fuzz_check.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = calc::FieldValue(text);
    FUZZ_CHECK(!std::isnan(value));
    std::string squeezed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            squeezed += c;
    FUZZ_CHECK(fuzz_check::Identical(calc::FieldValue(squeezed), value));
    const std::string head = text.substr(0, size / 2);
    FUZZ_CHECK(fuzz_check::Identical(calc::FieldValue(head + "," + text.substr(size / 2)),
                                     calc::FieldValue(head)));
    return 0;
}
