// The settings code on any text: what the parser accepts has five or more fields and
// composes to six that read back as the same settings; a text read as a dialog offset
// reads back unchanged once the box shows it.
#include "controls/field_value.h"
#include "fuzz_check.h"
#include "settings/settings_code.h"

#include <algorithm>
#include <string>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string code(reinterpret_cast<const char*>(data), size);
    const auto fields = [](const settings::Settings& s) {
        return std::tie(s.bDockEnabled, s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY, s.bAutoClose,
                        s.bMetric);
    };
    if (const auto parsed = settings::ParseSettingsCode(code)) {
        FUZZ_CHECK(std::count(code.begin(), code.end(), ':') >= 4);
        settings::Settings s, back;
        settings::ApplyStoredSettings(*parsed, s);
        back.bMetric = !s.bMetric; // the sixth field must set it
        const auto again = settings::ParseSettingsCode(settings::ComposeSettingsCode(s));
        FUZZ_CHECK(again && again->bMetric);
        settings::ApplyStoredSettings(*again, back);
        FUZZ_CHECK(fields(back) == fields(s));
    }
    const int32_t offset = controls::Int32FieldValue(code);
    FUZZ_CHECK(controls::Int32FieldValue(std::to_string(offset)) == offset);
    return 0;
}
