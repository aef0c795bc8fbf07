// The settings code on any text and any settings: what the parser accepts composes to six
// fields that read back as the same settings; any settings, made of the same bytes,
// compose to a code that reads back as themselves; a text read as a dialog offset reads
// back unchanged once the box shows it.
#include "controls/field_value.h"
#include "fuzz_check.h"
#include "settings/settings_code.h"

#include <cstring>
#include <string>
#include <tuple>

static void CheckComposed(const settings::Settings& s) {
    const auto fields = [](const settings::Settings& t) {
        return std::tie(t.bDockEnabled, t.iDockCorner, t.lDockOffsetX, t.lDockOffsetY, t.bAutoClose,
                        t.bMetric, t.bEditorSeen);
    };
    const auto parsed = settings::ParseSettingsCode(settings::ComposeSettingsCode(s));
    FUZZ_CHECK(parsed && parsed->bMetric);
    settings::Settings back = s;
    back.bMetric = !s.bMetric; // the sixth field must set it
    settings::ApplyStoredSettings(*parsed, back);
    FUZZ_CHECK(fields(back) == fields(s));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string code(reinterpret_cast<const char*>(data), size);
    settings::Settings s;
    if (const auto parsed = settings::ParseSettingsCode(code)) {
        settings::ApplyStoredSettings(*parsed, s);
        CheckComposed(s);
    }
    const int32_t offset = controls::Int32FieldValue(code);
    FUZZ_CHECK(controls::Int32FieldValue(std::to_string(offset)) == offset);
    if (size >= 11) {
        std::memcpy(&s.iDockCorner, data + 1, 2);
        std::memcpy(&s.lDockOffsetX, data + 3, 4);
        std::memcpy(&s.lDockOffsetY, data + 7, 4);
    }
    const uint8_t flags = size ? data[0] : 0;
    s.bDockEnabled = flags & 1;
    s.bAutoClose = flags & 2;
    s.bMetric = flags & 4;
    s.bEditorSeen = flags & 8;
    CheckComposed(s);
    return 0;
}
