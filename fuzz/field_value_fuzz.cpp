// The field-value rule on any text: never NaN; blanks, tabs and line feeds count for
// nothing wherever they stand; reading stops at a character that cannot continue a
// number, such as ",". Compared bit for bit, so 0 and -0 differ. The text ends where
// libFuzzer's buffer ends, so that a read past it is caught.
#include "controls/field_value.h"
#include "fuzz_check.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

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
    return 0;
}
