// The settings store against the real registry: values of every shape read back, the
// start-up load with its one message, and writes.
#include "settings/settings_code.h"
#include "settings/win32/mMain.h"
#include "settings/win32/mWinRegistry.h"
#include "settings_test_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using settings_testing::LoadSettingsWatched;
using settings_testing::ReadOnlySettingsKey;
using settings_testing::SeenMessage;
using testing_support::CleanSettingsKey;
using testing_support::kSettingsKey;
using testing_support::ReadStored;

using namespace std::string_literals;
using namespace std::string_view_literals;

std::string Narrow(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());
}

std::string CodeInForce() {
    return settings::ComposeSettingsCode(mMain::Settings());
}

constexpr DWORD kNoKey = 0xFFFFFFFF;

// A stored value: its registry type and raw bytes. kNoKey: no key at all; REG_NONE: the
// key without the value.
struct Stored {
    DWORD type = kNoKey;
    std::string_view bytes;
    void Put() const {
        if (type == REG_NONE) {
            HKEY key;
            RegCreateKeyA(HKEY_CURRENT_USER, kSettingsKey, &key);
            RegCloseKey(key);
        } else if (type != kNoKey) {
            testing_support::StoreExact(type, bytes);
        }
    }
};

constexpr std::string_view kDword22 = "\x16\0\0\0"sv;
const std::string kLongCode = "0:2:5:6:0:0" + std::string(1024, ' ');
const std::string k1023(1023, 'x');
const std::string k1023Nul = k1023 + '\0';
const std::string k1024(1024, 'x');
const std::string k1025(1025, 'x');

TEST(Registry, LoadSettingsAppliesStoredCodesAndIgnoresUnreadableOnesSilently) {
    const struct {
        const char* name;
        Stored stored;
        const char* inForce;
    } cases[] = {
        {"no value", {kNoKey, ""}, "1:1:0:22:1:1"},
        {"key without the value", {REG_NONE, ""}, "1:1:0:22:1:1"},
        {"zero-byte value", {REG_SZ, ""}, "1:1:0:22:1:1"},
        {"five fields keep metric", {REG_SZ, "0:2:5:6:0"}, "0:2:5:6:0:1"},
        {"six fields", {REG_SZ, "0:2:5:6:0:0"}, "0:2:5:6:0:0"},
        {"seven fields", {REG_SZ, "0:2:5:6:0:0:junk"}, "0:2:5:6:0:0"},
        {"trailing NUL", {REG_SZ, "0:3:-1:2:1:0\0"sv}, "0:3:-1:2:1:0"},
        {"non-zero Booleans", {REG_SZ, "-1:0:0:0:2:-1"}, "1:0:0:0:1:1"},
        {"longer than 1024 bytes", {REG_SZ, kLongCode}, "1:1:0:22:1:1"},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        c.stored.Put();
        mMain::SetDefaultSettings();
        SCOPED_TRACE(c.name);
        const SeenMessage seen = LoadSettingsWatched();
        EXPECT_FALSE(seen.shown) << Narrow(seen.text);
        EXPECT_EQ(CodeInForce(), c.inForce);
        EXPECT_FALSE(mMain::Settings().bEditorSeen);
    }
}

TEST(Registry, MalformedStoredValueShowsTheOneMessageAndChangesNothing) {
    const struct {
        const char* name;
        Stored stored;
    } cases[] = {
        {"three colons", {REG_SZ, "1:0:5:6"}},
        {"only a NUL", {REG_SZ, "\0"sv}},
        {"REG_EXPAND_SZ", {REG_EXPAND_SZ, "0:2:5:6:0:0"}},
        {"REG_DWORD", {REG_DWORD, kDword22}},
        {"REG_BINARY", {REG_BINARY, "0:2:5:6:0:0"}},
        {"field not a number", {REG_SZ, "0:2:x:6:0:0"}},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        c.stored.Put();
        mMain::SetDefaultSettings();
        mMain::Settings().lDockOffsetX = 9; // a state to keep
        SCOPED_TRACE(c.name);
        const SeenMessage seen = LoadSettingsWatched();
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(Narrow(seen.text), "Invalid Settings Code");
        ASSERT_EQ(seen.buttons.size(), 1u);
        EXPECT_EQ(Narrow(seen.buttons[0]), "OK");
        EXPECT_EQ(CodeInForce(), "1:1:9:22:1:1");
    }
}

TEST(Registry, ReadRegistryValueByTypeAndSize) {
    const struct {
        const char* name;
        Stored stored;
        const char* before; // the result text on entry
        bool ok;
        std::string_view result;
    } cases[] = {
        {"REG_SZ", {REG_SZ, "1:1:0:22:1:1"}, "", true, "1:1:0:22:1:1"},
        {"REG_SZ with NUL", {REG_SZ, "1:1:0:22:1:1\0"sv}, "", true, "1:1:0:22:1:1"},
        {"REG_DWORD 22", {REG_DWORD, kDword22}, "", true, "&h000016"},
        {"REG_DWORD", {REG_DWORD, "\x04\x03\x02\x01"}, "", true, "&h01020304"},
        {"REG_EXPAND_SZ keeps the text", {REG_EXPAND_SZ, "abc"}, "prior", true, "prior"},
        {"1024 bytes", {REG_SZ, k1024}, "", true, k1024},
        {"1024 bytes with NUL", {REG_SZ, k1023Nul}, "", true, k1023},
        {"1025 bytes", {REG_SZ, k1025}, "prior", false, "prior"},
        {"zero bytes", {REG_SZ, ""}, "prior", false, ""},
        {"key without the value", {REG_NONE, ""}, "prior", false, "prior"},
        {"no key", {kNoKey, ""}, "prior", false, "prior"},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        c.stored.Put();
        SCOPED_TRACE(c.name);
        std::string result = c.before;
        EXPECT_EQ(
            mWinRegistry::ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Settings", result),
            c.ok);
        EXPECT_EQ(result, c.result);
    }
}

TEST(Registry, WriteCreatesTheKeyAndReadsBack) {
    const struct {
        const char* name;
        DWORD type;
        mWinRegistry::RegistryValue value;
        std::string bytes; // as stored, without a terminating NUL
        std::string read;  // as read back
    } cases[] = {
        {"code", REG_SZ, "1:3:-4:22:0:1"s, "1:3:-4:22:0:1", "1:3:-4:22:0:1"},
        {"empty text", REG_SZ, ""s, "", ""},
        {"number", REG_DWORD, int32_t{22}, std::string(kDword22), "&h000016"},
        {"negative number", REG_DWORD, int32_t{-2}, "\xFE\xFF\xFF\xFF", "&hFFFFFFFE"},
        {"number as text", REG_DWORD, "258"s, "\x02\x01\0\0"s, "&h000102"},
    };
    for (const auto& c : cases) {
        CleanSettingsKey key;
        SCOPED_TRACE(c.name);
        mWinRegistry::RegistryValue value = c.value;
        EXPECT_TRUE(mWinRegistry::WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, c.type,
                                                     "Settings", value));
        const auto stored = ReadStored();
        EXPECT_TRUE(stored.present);
        EXPECT_EQ(stored.type, c.type);
        EXPECT_EQ(c.type == REG_SZ ? stored.Text() : stored.bytes, c.bytes);
        std::string read;
        mWinRegistry::ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Settings", read);
        EXPECT_EQ(read, c.read);
    }
}

TEST(Registry, FailedWriteReportsFalseAndEmptiesTheValue) {
    CleanSettingsKey key;
    testing_support::StoreExact(REG_SZ, "1:1:0:22:1:1");
    ReadOnlySettingsKey readOnly;
    for (DWORD type : {DWORD{REG_SZ}, DWORD{REG_DWORD}}) {
        mWinRegistry::RegistryValue value = "0:0:0:0:0:0"s;
        if (type == REG_DWORD)
            value = int32_t{5};
        EXPECT_FALSE(mWinRegistry::WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, type,
                                                      "Settings", value))
            << "type " << type;
        EXPECT_EQ(std::get<std::string>(value), "");
    }
    EXPECT_EQ(ReadStored().bytes, "1:1:0:22:1:1");
    mMain::SetDefaultSettings();
    mMain::Settings().bMetric = false;
    EXPECT_FALSE(mMain::SaveSettings());
    EXPECT_EQ(ReadStored().bytes, "1:1:0:22:1:1");
}

} // namespace
