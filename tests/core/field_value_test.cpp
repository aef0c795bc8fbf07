#include "calc/field_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct ValueCase {
    std::string text;
    double expected;
};

class FieldValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FieldValueTest, ReadsLongestLeadingNumber) {
    const auto& c = GetParam();
    EXPECT_EQ(calc::FieldValue(c.text), c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FieldValueTest,
    ::testing::Values(
        // Plain numbers and the documented examples.
        ValueCase{"1.0", 1}, ValueCase{"12.5.3", 12.5}, ValueCase{"3-4", 3}, ValueCase{"1,5", 1},
        ValueCase{"", 0}, ValueCase{".", 0}, ValueCase{"-", 0}, ValueCase{"5-", 5},
        ValueCase{"--", 0}, ValueCase{"1.2.3", 1.2}, ValueCase{"-3", -3}, ValueCase{"+5", 5},
        ValueCase{".5", 0.5}, ValueCase{"-.25", -0.25}, ValueCase{"7.", 7}, ValueCase{"0.1", 0.1},
        ValueCase{"12px", 12},
        // Blanks, tabs and line feeds vanish wherever they stand; other characters stop.
        ValueCase{"1 5", 15}, ValueCase{" \t- 2\n.5", -2.5}, ValueCase{"1\r5", 1},
        ValueCase{"x5", 0},
        ValueCase{"\xC2\xB0"
                  "5",
                  0},
        // Exponents with E or D in either case; an incomplete exponent is left unread.
        ValueCase{"1e3", 1000}, ValueCase{"1D2", 100}, ValueCase{"2.5E-1", 0.25},
        ValueCase{"1d+2", 100}, ValueCase{"1e", 1}, ValueCase{"1e+", 1}, ValueCase{"1.5e3x", 1500},
        ValueCase{"e5", 0},
        // &H and &O whole numbers.
        ValueCase{"&H10", 16}, ValueCase{"&hff", 255}, ValueCase{"&O17", 15}, ValueCase{"&o8", 0},
        ValueCase{"&H", 0}, ValueCase{"&", 0}, ValueCase{"&X1", 0}, ValueCase{"& H 1 0", 16},
        ValueCase{"&HFFFFFFFF", 4294967295.0},
        // Beyond the double range.
        ValueCase{"1e999", HUGE_VAL}, ValueCase{"-1e999", -HUGE_VAL}, ValueCase{"1e-999", 0},
        ValueCase{std::string(400, '9'), HUGE_VAL},
        ValueCase{"0." + std::string(400, '0') + "1", 0},
        ValueCase{"0." + std::string(400, '0') + "1e500", 1e99},
        ValueCase{"1e99999999999999999999", HUGE_VAL}));

TEST(FieldValueLongText, ReadsTenThousandDigitsWithoutOverflowingTheStack) {
    EXPECT_EQ(calc::FieldValue(std::string(10000, '1')), HUGE_VAL);
    EXPECT_EQ(calc::FieldValue("&H" + std::string(10000, 'F')), HUGE_VAL);
    EXPECT_EQ(calc::FieldValue(std::string(10000, ' ') + "42"), 42);
}

} // namespace
