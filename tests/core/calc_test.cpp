// Number rules, formulas and the key filter by worked examples (the converter's: main window's).
#include "calc/formulas.h"
#include "calc/key_filter.h"
#include "calc/number_text.h"
#include "controls/field_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

namespace {

TEST(FieldValue, TakesTheLongestLeadingNumber) {
    // clang-format off
    const struct { std::string text; double value; } rows[] = {
        {"1.0", 1}, {"12.5.3", 12.5}, {"3-4", 3}, {"1,5", 1}, {"", 0}, {".", 0}, {"-", 0},
        {"5-", 5}, {"--", 0}, {"1.2.3", 1.2}, {"-3", -3}, {"+5", 5}, {".5", 0.5}, {"-.25", -0.25},
        {"12px", 12}, {"1 5", 15}, {" \t- 2\n.5", -2.5}, {"1\r5", 1}, {"x5", 0}, {"1e3", 1000},
        {"1D2", 100}, {"2.5E-1", 0.25}, {"1d+2", 100}, {"1e", 1}, {"1e+x", 1}, {"e5", 0},
        {"&H10", 16}, {"&hfaA", 4010}, {"&O17", 15}, {"&o8", 0}, {"&H", 0}, {"&X1", 0},
        {"& H 1 0", 16}, {"&HFFFFFFFF", 4294967295.0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL},
        {"1e-999", 0}, {"1e99999999999999999999", HUGE_VAL},
        // Beyond the double range after hundreds of digits, and texts of thousands.
        {std::string(400, '9'), HUGE_VAL}, {"0." + std::string(400, '0') + "1e500", 1e99},
        {"0." + std::string(499, '0') + "1e100", 0}, {std::string(10000, ' ') + "42", 42},
        {"&H" + std::string(10000, 'F'), HUGE_VAL},
        {std::string(400, '0') + "." + std::string(400, '0') + "1e750", HUGE_VAL}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(controls::FieldValue(r.text), r.value) << '"' << r.text.substr(0, 20) << '"';
}

TEST(NumberText, TheThreeLayouts) {
    // "2": two-decimal text; "m"/"f": length text, metric or imperial; "0": whole number.
    // clang-format off
    const struct { char layout; double x; std::string text; } rows[] = {
        {'2', 5.5228, "5.52"}, {'2', 0.375, "0.38"}, {'2', 0.3, "0.30"}, {'2', 4976.068, "4976.07"},
        {'2', -19.037, "-19.04"}, {'2', -0.001, "0.00"}, {'2', 0.125, "0.12"}, {'2', NAN, "--"},
        {'2', 1e20, "100000000000000000000.00"}, {'2', HUGE_VAL, "--"}, {'2', 1.7e308, "--"},
        {'f', 16.3139, "53.51f"}, {'f', -0.001, "0.00f"}, {'m', HUGE_VAL, "--"}, {'f', 1e307, "--"},
        {'0', -0.0, "0"}, {'0', -45, "-45"}, {'0', 135, "135"}, {'0', NAN, "--"},
        // Feet halfway between two cents where feet * 100 is no longer exact: away from 0.
        {'f', 20000278001920.03, "65617709979790.13f"},
        {'f', -165377619899556.88, "-542577493106612.13f"}};
    // clang-format on
    for (const auto& r : rows) {
        const std::string text = r.layout == '2'   ? calc::TwoDecimalText(r.x)
                                 : r.layout == '0' ? calc::WholeNumberText(r.x)
                                                   : calc::LengthText(r.x, r.layout == 'm');
        EXPECT_EQ(text, r.text) << r.layout << ' ' << r.x;
    }
}

TEST(Formulas, WorkedExamples) {
    // clang-format off
    const struct { int n; std::string a, b; char units; std::string result, extra{}; } rows[] = {
        {1, "90", "10", 'm', "5.52"}, {1, "180", "10", 'm', "13.33"}, {1, "90", "2", 'm', "1.10"},
        {1, "45", "100", 'm', "26.52"}, {1, "300", "1000", 'm', "4976.07"},
        {1, "0", "10", 'm', "0.00"}, {1, "500", "10", 'f', "-19.04"}, {1, "500", "0", 'm', "0.00"},
        {1, "90", "25", 'm', "13.81"}, {1, "90", "1e400", 'm', "--"},
        // A full circle's tangent does not exist; just short of it, a long handle.
        {1, "360", "10", 'm', "--"}, {1, "-360", "10", 'm', "--"}, {1, "1080", "10", 'm', "--"},
        {1, "359.9", "10", 'm', "30557.75"}, {1, "720", "10", 'm', "0.00"},
        {2, "1.0", "1.0", 'm', "-45° or 135°"}, {2, "2", "1", 'm', "-27° or 153°"},
        {2, "1", "2", 'm', "-63° or 117°"}, {2, "1", "-1", 'm', "45° or -135°"},
        {2, "-1", "1", 'm', "-135° or 45°"}, {2, "1", "0", 'm', "0° or -180°"},
        {2, "-1", "0", 'm', "-180° or 0°"}, {2, "0", "1", 'm', "-90° or 90°"},
        {2, "0", "-1", 'f', "90° or -90°"}, {2, "100", "0.5", 'm', "0° or -180°"},
        {2, "-100", "-0.5", 'm', "180° or 0°"}, {2, "0", "0", 'm', "--"},
        {2, "", "-", 'm', "--"}, {2, "1e999", "1e999", 'm', "--"},
        {3, "6", "2", 'm', "19.00m"}, {3, "6", "2", 'f', "62.34f"}, {3, "", "", 'm', "7.00m"},
        {3, "8", "4", 'm', "39.00m"}, {3, "8", "4", 'f', "127.95f"}, {3, "", "", 'f', "22.97f"},
        {4, "88", "1.0", 'm', "30.49m", "2.49 sec"}, {4, "100", "1.5", 'm', "26.25m", "1.89 sec"},
        {4, "88", "1.0", 'f', "259.06f", "4.01 sec"},
        {4, "40", "1.0", 'f', "53.51f", "1.82 sec"}, {4, "0", "1", 'm', "0.00m", "0.00 sec"},
        // No acceleration, no launch: neither output exists.
        {4, "88", "0", 'm', "--", "--"}, {4, "88", ".", 'f', "--", "--"},
        {4, "1e400", "1", 'm', "--", "--"}};
    // clang-format on
    for (const auto& r : rows) {
        calc::FormulaResult out;
        ASSERT_TRUE(calc::Evaluate(r.n, r.a, r.b, r.units == 'm', out)) << r.n;
        EXPECT_EQ(std::pair(out.result, out.extra), std::pair(r.result, r.extra))
            << r.n << " " << r.a << ", " << r.b;
    }
    calc::FormulaResult kept{"kept", "kept"};
    for (int n : {0, 5, -1})
        EXPECT_FALSE(calc::Evaluate(n, "1", "1", true, kept)) << n;
    EXPECT_EQ(kept.result, "kept");
}

TEST(KeyFilter, EachGroupsCharacters) {
    // Permissions (".", "-"); what passes, Ctrl+A, C, V, X and Z among it; what does not.
    const std::tuple<bool, bool, std::string, std::string> rows[] = {
        {false, false, "0123456789\b\r\x01\x03\x16\x18\x1a", ".-, aE+/:\x02\x1b\t\x19"},
        {true, false, "0123456789\b\r.\x01\x03\x16\x18\x1a", "-, aE+\x02\x19"},
        {true, true, "0123456789\b\r.-\x01\x03\x16\x18\x1a", ", aE+\x02\x19"}};
    for (const auto& [decimal, minus, passes, cancelled] : rows)
        for (char c : passes + cancelled + "\xB0") {
            int16_t code = c; // "\xB0" as -80: a character beyond ASCII
            calc::FilterNumericKey(code, decimal, minus);
            EXPECT_EQ(code, passes.find(c) != std::string::npos ? c : 0)
                << "code " << int(c) << " decimal " << decimal << " minus " << minus;
        }
}

} // namespace
