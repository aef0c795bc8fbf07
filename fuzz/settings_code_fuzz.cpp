// The settings-code parser on any text and the composer on any settings: the parser
// answers the same every time, accepts nothing with fewer than five fields, and what
// it accepts composes to a six-field code that reads back as the same settings; any
// settings compose to a code that reads back as themselves. The same text as a dialog
// offset box's reads as an offset that the box, showing it, reads back unchanged.
#include "fuzz_check.h"
#include "settings/settings_code.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace {

auto Fields(const settings::Settings& s) {
    return std::tie(s.bDockEnabled, s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY, s.bAutoClose,
                    s.bMetric, s.bEditorSeen);
}

auto Fields(const settings::StoredSettings& s) {
    return std::tie(s.bDockEnabled, s.iDockCorner, s.lDockOffsetX, s.lDockOffsetY, s.bAutoClose,
                    s.bMetric);
}

bool Same(const std::optional<settings::StoredSettings>& a,
          const std::optional<settings::StoredSettings>& b) {
    return a.has_value() == b.has_value() && (!a || Fields(*a) == Fields(*b));
}

// The composed code of `s` is six fields and reads back as `s`.
void CheckComposed(const settings::Settings& s) {
    const std::string code = settings::ComposeSettingsCode(s);
    FUZZ_CHECK(std::count(code.begin(), code.end(), ':') == 5);
    const auto parsed = settings::ParseSettingsCode(code);
    FUZZ_CHECK(parsed && parsed->bMetric);
    settings::Settings back = s;
    back.bMetric = !s.bMetric; // must be overwritten by the sixth field
    settings::ApplyStoredSettings(*parsed, back);
    FUZZ_CHECK(Fields(back) == Fields(s));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    const auto parsed = settings::ParseSettingsCode(code);
    FUZZ_CHECK(Same(parsed, settings::ParseSettingsCode(std::string(code))));
    if (parsed) {
        FUZZ_CHECK(std::count(code.begin(), code.end(), ':') >= 4);
        settings::Settings s;
        settings::ApplyStoredSettings(*parsed, s);
        CheckComposed(s);
    }

    const int32_t offset = settings::OffsetFromText(code);
    FUZZ_CHECK(settings::OffsetFromText(std::to_string(offset)) == offset);

    // The same bytes as settings: flags, corner, offsets.
    settings::Settings s;
    uint8_t flags = 0;
    if (size >= 1 + sizeof s.iDockCorner + sizeof s.lDockOffsetX + sizeof s.lDockOffsetY) {
        std::memcpy(&flags, data, 1);
        std::memcpy(&s.iDockCorner, data + 1, sizeof s.iDockCorner);
        std::memcpy(&s.lDockOffsetX, data + 3, sizeof s.lDockOffsetX);
        std::memcpy(&s.lDockOffsetY, data + 7, sizeof s.lDockOffsetY);
    }
    s.bDockEnabled = flags & 1;
    s.bAutoClose = flags & 2;
    s.bMetric = flags & 4;
    s.bEditorSeen = flags & 8;
    CheckComposed(s);
    return 0;
}
