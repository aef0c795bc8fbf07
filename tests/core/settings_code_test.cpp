#include "settings/settings_code.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using settings::ParseSettingsCode;
using settings::Settings;

TEST(SettingsCode, DefaultsComposeToTheDocumentedCode) {
    EXPECT_EQ(settings::ComposeSettingsCode(settings::kDefaultSettings), "1:1:0:22:1:1");
    Settings s;
    s.bDockEnabled = false;
    s.iDockCorner = -32768;
    s.lDockOffsetX = -2147483647 - 1;
    s.lDockOffsetY = 2147483647;
    s.bAutoClose = false;
    s.bMetric = false;
    EXPECT_EQ(settings::ComposeSettingsCode(s), "0:-32768:-2147483648:2147483647:0:0");
}

struct ValidCase {
    std::string code;
    bool dock;
    int16_t corner;
    int32_t x, y;
    bool autoClose;
    int metric; // -1: field absent
};

TEST(SettingsCode, ValidCodes) {
    const ValidCase cases[] = {
        {"1:1:0:22:1:1", true, 1, 0, 22, true, 1},
        {"0:3:5:-7:0", false, 3, 5, -7, false, -1},         // five fields
        {"1:2:3:4:0:0:junk:more", true, 2, 3, 4, false, 0}, // seven and more
        {"1:1:0:22:1:1:", true, 1, 0, 22, true, 1},         // empty seventh field ignored
        {"2:0:0:0:-1:2", true, 0, 0, 0, true, 1},           // any non-zero is true
        {"0.4:0:0:0:-0:0.0", true, 0, 0, 0, false, 0},
        {"1:2.5:2.5:3.5:1:1", true, 2, 2, 4, true, 1}, // half to even
        {"1:-2.5:-3.5:2.51:1:1", true, -2, -4, 3, true, 1},
        {"1: 5 :\t6:+7:1:1", true, 5, 6, 7, true, 1}, // blanks around, plus sign
        {"1:7:0:22:1:1", true, 7, 0, 22, true, 1},    // corner kept as stored
        {"1:-32768:-2147483648:2147483647:1:1", true, -32768, -2147483647 - 1, 2147483647, true, 1},
        {"1:00000000000000000001:0:0:1:1", true, 1, 0, 0, true, 1},
        {"1:1:0:0:1:" + std::string(500, '0') + "1", true, 1, 0, 0, true, 1},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseSettingsCode(c.code);
        ASSERT_TRUE(parsed.has_value()) << c.code;
        EXPECT_EQ(parsed->bDockEnabled, c.dock) << c.code;
        EXPECT_EQ(parsed->iDockCorner, c.corner) << c.code;
        EXPECT_EQ(parsed->lDockOffsetX, c.x) << c.code;
        EXPECT_EQ(parsed->lDockOffsetY, c.y) << c.code;
        EXPECT_EQ(parsed->bAutoClose, c.autoClose) << c.code;
        EXPECT_EQ(parsed->bMetric.has_value(), c.metric >= 0) << c.code;
        if (parsed->bMetric) {
            EXPECT_EQ(*parsed->bMetric, c.metric == 1) << c.code;
        }
    }
}

TEST(SettingsCode, InvalidCodesChangeNothing) {
    const std::string cases[] = {
        "",
        "1",
        "1:1:0:22",
        "1:2:3",
        ":::",
        "::::", // too few fields or empty ones
        "1::0:22:1:1",
        "1:1:0:22:1:", // empty field among those read
        "a:1:0:22:1:1",
        "1:1:5px:22:1:1",
        "1:1:0:22:yes:1",
        "1:1:0:22:1:x",
        "1:1:.5:22:1:1",
        "1:1:5.:22:1:1",
        "1:1:1e3:22:1:1",
        "1:1:&H10:22:1:1",
        "1:1:- 5:0:1:1",
        "1:1:0:2 2:1:1",
        "1:32768:0:22:1:1",
        "1:-32769:0:22:1:1",
        "1:32767.5:0:22:1:1",
        "1:1:2147483648:22:1:1",
        "1:1:0:-2147483649:1:1",
        "1:1:2147483647.5:0:1:1",
        "1:1:" + std::string(30, '9') + ":0:1:1",
        "&h000016",
    };
    for (const auto& code : cases)
        EXPECT_FALSE(ParseSettingsCode(code).has_value()) << "\"" << code << "\"";
}

TEST(SettingsCode, ApplyKeepsMetricWithoutSixthFieldAndNeverTouchesEditorSeen) {
    Settings s;
    s.bMetric = false;
    s.bEditorSeen = true;
    settings::ApplyStoredSettings(*ParseSettingsCode("0:3:5:-7:0"), s);
    EXPECT_EQ(settings::ComposeSettingsCode(s), "0:3:5:-7:0:0");
    EXPECT_TRUE(s.bEditorSeen);
    settings::ApplyStoredSettings(*ParseSettingsCode("1:0:1:2:1:1"), s);
    EXPECT_EQ(settings::ComposeSettingsCode(s), "1:0:1:2:1:1");
}

TEST(SettingsCode, ComposeOfParseReadsBackTheSameSettings) {
    for (const std::string code : {"1:1:0:22:1:1", "0:3:-5:7:0:0", "2:2.5:3.5:-0.5:0:9:x",
                                   "1:-32768:-2147483648:2147483647:1"}) {
        Settings s;
        settings::ApplyStoredSettings(*ParseSettingsCode(code), s);
        const std::string composed = settings::ComposeSettingsCode(s);
        Settings again;
        settings::ApplyStoredSettings(*ParseSettingsCode(composed), again);
        EXPECT_EQ(settings::ComposeSettingsCode(again), composed) << code;
    }
}

TEST(SettingsCode, OffsetTextsReadByTheFieldRuleAndHeldToTheirRange) {
    const struct {
        const char* text;
        int32_t offset;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12px", 12},
        {"1 5", 15},
        {"2.5", 2},
        {"3.5", 4},
        {"-0.4", 0},
        {"-3", -3},
        {"2147483647", 2147483647},
        {"99999999999", 2147483647},
        {"1e999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-1e99", -2147483647 - 1},
        {"&H7FFFFFFF", 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settings::OffsetFromText(c.text), c.offset) << "\"" << c.text << "\"";
}

} // namespace
