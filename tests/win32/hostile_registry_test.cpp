// Start-up against a hostile "Settings" value: every registry type, sizes around the
// 1024-byte read buffer and far beyond it, holding seeded random bytes (NULs and bytes
// >= 0x80 among them) or a valid code padded to the size. The outcome follows from the
// type and size alone: a value that cannot be read (empty, over 1024 bytes) leaves the
// defaults without a word; a readable REG_SZ code applies; anything else readable is
// the one "Invalid Settings Code" message, and the defaults stay.
#include "settings/settings_code.h"
#include "settings/win32/mMain.h"
#include "settings_test_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

namespace {

enum class Content { kRandom, kSixFields, kFiveFields };

// The random bytes follow the six fields as a seventh field and beyond; the five fields
// are padded with blanks and tabs, which the field reader trims, and end in a NUL.
constexpr std::string_view kSixFields = "0:3:-40:7:0:0:";
constexpr std::string_view kFiveFields = "0:2:15:-9:0";

std::string Bytes(Content content, size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    if (size >= 3) {
        // A NUL in the first field also rules out that the random bytes form a code.
        bytes[1] = '\0';
        bytes[2] = '\x80';
    }
    if (content == Content::kSixFields) {
        bytes.replace(0, kSixFields.size(), kSixFields);
    } else if (content == Content::kFiveFields) {
        for (size_t i = 0; i < size; ++i)
            bytes[i] = i % 2 ? ' ' : '\t';
        bytes.replace(0, kFiveFields.size(), kFiveFields);
        bytes.back() = '\0';
    }
    return bytes;
}

TEST(HostileRegistry, StartUpGivesTheOutcomeOfTheValuesTypeAndSize) {
    // Sizes below are ANSI bytes, which are characters only in a single-byte code page.
    CPINFO codePage{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    ASSERT_EQ(codePage.MaxCharSize, 1u);

    const struct {
        DWORD type;
        const char* name;
    } types[] = {{REG_NONE, "REG_NONE"},           {REG_SZ, "REG_SZ"},
                 {REG_EXPAND_SZ, "REG_EXPAND_SZ"}, {REG_BINARY, "REG_BINARY"},
                 {REG_DWORD, "REG_DWORD"},         {REG_MULTI_SZ, "REG_MULTI_SZ"},
                 {REG_QWORD, "REG_QWORD"}};
    const size_t sizes[] = {0, 1, 1023, 1024, 1025, 64 * 1024};
    const struct {
        Content content;
        const char* name;
        const char* inForce; // as a code, when the value is read as a REG_SZ text
    } contents[] = {{Content::kRandom, "random bytes", nullptr},
                    {Content::kSixFields, "six fields and more", "0:3:-40:7:0:0"},
                    {Content::kFiveFields, "five fields, blanks, NUL", "0:2:15:-9:0:1"}};
    const std::string defaults = settings::ComposeSettingsCode(settings::kDefaultSettings);

    unsigned seed = 0;
    for (const auto& type : types)
        for (const size_t size : sizes)
            for (const auto& content : contents) {
                if (content.content != Content::kRandom && size < kSixFields.size() + 1)
                    continue; // no room for a code
                SCOPED_TRACE(std::string(type.name) + ", " + std::to_string(size) + " bytes, " +
                             content.name + ", seed " + std::to_string(seed));
                testing_support::CleanSettingsKey key;
                testing_support::StoreExact(type.type, Bytes(content.content, size, seed++));

                const bool readable = size >= 1 && size <= 1024;
                const bool code = type.type == REG_SZ && content.inForce;
                mMain::SetDefaultSettings();
                const auto seen = settings_testing::LoadSettingsWatched();
                EXPECT_EQ(seen.shown, readable && !code);
                if (seen.shown) {
                    EXPECT_EQ(seen.text, L"Invalid Settings Code");
                    EXPECT_EQ(seen.buttons, std::vector<std::wstring>{L"OK"});
                }
                EXPECT_EQ(settings::ComposeSettingsCode(mMain::Settings()),
                          readable && code ? content.inForce : defaults);
                EXPECT_FALSE(mMain::Settings().bEditorSeen);
            }
}

} // namespace
