// The stored settings on any bytes: a registry type, a prior result text, then the value's bytes.
#include "controls/field_value.h"
#include "fuzz_check.h"
#include "settings/registry_data.h"
#include "settings/settings_code.h"

#include <algorithm>
#include <span>
#include <string>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    constexpr uint32_t kTypes[] = {0, 1, 2, 3, 4, 7, 11, 0xFFFFFFFF};
    const uint32_t type = kTypes[data[0] % std::size(kTypes)];
    const size_t held = std::min<size_t>(data[1] % 16, size - 2);
    const std::string entry(reinterpret_cast<const char*>(data + 2), held);
    const std::span<const uint8_t> bytes(data + 2 + held, size - 2 - held); // overreads caught
    std::string code = entry;
    FUZZ_CHECK(settings::DecodeRegistryValue(type, bytes, code) == !bytes.empty());
    const size_t kept = bytes.empty() ? 0 : bytes.size() - (bytes.back() == 0); // less a final NUL
    if (bytes.empty())
        FUZZ_CHECK(code.empty());
    else if (type == settings::kRegSz)
        FUZZ_CHECK(code == std::string(bytes.begin(), bytes.begin() + kept));
    else if (type == settings::kRegDword)
        FUZZ_CHECK(code.size() == 2 + held + 2 * kept && code.starts_with("&h" + entry));
    else
        FUZZ_CHECK(code == entry);
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
    const int32_t offset = controls::Int32FieldValue(code); // as the dialog's box, shown and read
    FUZZ_CHECK(controls::Int32FieldValue(std::to_string(offset)) == offset);
    return 0;
}
