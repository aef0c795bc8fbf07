#include "settings/registry_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DecodeCase {
    uint32_t type;
    std::vector<uint8_t> bytes;
    std::string entry; // the result text before the call
    bool ok;
    std::string result;
};

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(DecodeRegistryValue, ByTypeAndTrailingNul) {
    const DecodeCase cases[] = {
        {settings::kRegSz, Bytes("1:1:0:22:1:1"), "", true, "1:1:0:22:1:1"},
        {settings::kRegSz, Bytes(std::string("1:1:0:22:1:1") + '\0'), "", true, "1:1:0:22:1:1"},
        {settings::kRegSz, {0}, "old", true, ""}, // only a terminator: empty text
        {settings::kRegSz, {}, "old", false, ""}, // nothing delivered
        {settings::kRegSz, {'a', 0, 'b'}, "", true, std::string("a\0b", 3)},
        {settings::kRegDword, {0x16, 0, 0, 0}, "", true, "&h000016"}, // last NUL dropped first
        {settings::kRegDword, {0x78, 0x56, 0x34, 0x12}, "", true, "&h12345678"},
        {settings::kRegDword, {0x0A, 0xFF, 0x01, 0x80}, "x", true, "&hx8001FF0A"},
        {2 /* REG_EXPAND_SZ */, Bytes("1:1:0:22:1:1"), "", true, ""},
        {settings::kRegBinary, {1, 2, 3}, "kept", true, "kept"},
        {11 /* REG_QWORD */, std::vector<uint8_t>(8, 0xFF), "", true, ""},
    };
    for (const auto& c : cases) {
        std::string result = c.entry;
        EXPECT_EQ(settings::DecodeRegistryValue(c.type, c.bytes, result), c.ok)
            << "type " << c.type << ", " << c.bytes.size() << " bytes";
        EXPECT_EQ(result, c.result) << "type " << c.type << ", " << c.bytes.size() << " bytes";
    }
}

} // namespace
