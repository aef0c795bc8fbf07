// The settings code in both directions, and the registry's bytes as text.
#include "settings/registry_data.h"
#include "settings/settings_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StoredSettings, RegistryBytesAsTextAndTheCodeInBothDirections) {
    using Bytes = std::vector<uint8_t>;
    const Bytes code{'1', ':', '1', ':', '0', ':', '2', '2', ':', '1', ':', '1'};
    // clang-format off
    // A value's bytes by registry type, with or without the terminator, over an earlier text.
    const struct { uint32_t type; Bytes in; std::string was; bool ok; std::string now; } values[] = {
        {1, code, "", true, "1:1:0:22:1:1"}, {1, {'2', ':', '3', 0}, "", true, "2:3"},
        {1, {0}, "old", true, ""}, {1, {}, "old", false, ""},
        {1, {'a', 0, 'b'}, "", true, std::string("a\0b", 3)},
        {4, {0x16, 0, 0, 0}, "", true, "&h000016"}, // the last NUL goes first
        {4, {0x78, 0x56, 0x34, 0x12}, "", true, "&h12345678"},
        {4, {0x0A, 0xFF, 0x01, 0x80}, "x", true, "&hx8001FF0A"},
        {2, code, "", true, ""}, {3, {1, 2, 3}, "kept", true, "kept"}}; // REG_EXPAND_SZ, BINARY
    // A stored code and the settings' code once it is applied over metric off ("-": refused).
    const struct { std::string code, applied = "-"; } codes[] = {
        {"1:1:0:22:1:1", "1:1:0:22:1:1"}, {"0:3:5:-7:0", "0:3:5:-7:0:0"}, // five fields: kept
        {"1:2:3:4:0:0:junk:more", "1:2:3:4:0:0"}, {"1:1:0:22:1:1:", "1:1:0:22:1:1"},
        {"2:0:0:0:-1:2", "1:0:0:0:1:1"}, {"0.4:0:0:0:-0:0.0", "1:0:0:0:0:0"}, // not 0: true
        {"1:2.5:3.4:3.5:1:1", "1:2:3:4:1:1"}, {"1:-2.5:-3.5:2.51:1:1", "1:-2:-4:3:1:1"},
        {"1: 5 :\t6:+7:1:1", "1:5:6:7:1:1"}, {"1:7:0:22:1:1", "1:7:0:22:1:1"}, // corner kept
        {"1:-32768:-2147483648:2147483647:1:1", "1:-32768:-2147483648:2147483647:1:1"},
        {"1:00000000000000000001:0:0:1:1", "1:1:0:0:1:1"},
        {"1:1:0:0:1:" + std::string(500, '0') + "1", "1:1:0:0:1:1"},
        // Invalid, so "-": too few fields, an empty or non-numeric field, out of range.
        {""}, {"1:1:0:22"}, {"::::"}, {"1::0:22:1:1"}, {"1:1:0:22:1:"}, {"a:1:0:22:1:1"},
        {"1:1:5px:22:1:1"}, {"1:1:0:22:1:x"}, {"1:1:.5:22:1:1"}, {"1:1:5.:22:1:1"},
        {"1:1:1e3:22:1:1"}, {"1:1:&H10:22:1:1"}, {"1:1:- 5:0:1:1"}, {"1:1:0:2 2:1:1"},
        {"1:32768:0:22:1:1"}, {"1:-32769:0:22:1:1"}, {"1:32767.5:0:22:1:1"},
        {"1:1:2147483648:22:1:1"}, {"1:1:0:-2147483649:1:1"}, {"1:1:2147483647.5:0:1:1"},
        {"1:1:" + std::string(30, '9') + ":0:1:1"}, {"&h000016"}};
    // clang-format on
    for (const auto& r : values) {
        std::string result = r.was;
        EXPECT_EQ(settings::DecodeRegistryValue(r.type, r.in, result), r.ok) << r.type;
        EXPECT_EQ(result, r.now) << "type " << r.type << ", " << r.in.size() << " bytes";
    }
    for (const auto& r : codes) {
        settings::Settings s{.bMetric = false, .bEditorSeen = true};
        const auto stored = settings::ParseSettingsCode(r.code);
        if (stored)
            settings::ApplyStoredSettings(*stored, s);
        EXPECT_EQ(stored ? settings::ComposeSettingsCode(s) : "-", r.applied) << r.code;
        EXPECT_TRUE(s.bEditorSeen) << "never stored, never loaded: " << r.code;
    }
}

} // namespace
