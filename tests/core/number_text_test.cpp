#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct TextCase {
    double value;
    std::string expected;
};

TEST(RoundTo, TiesGoToTheEvenNeighbour) {
    const struct {
        double x;
        int n;
        double expected;
    } cases[] = {{2.5, 0, 2},    {3.5, 0, 4},      {-2.5, 0, -2},
                 {-3.5, 0, -4},  {0.125, 2, 0.12}, {0.375, 2, 0.38},
                 {2.4999, 0, 2}, {-0.29, 0, 0},    {5.5228, 2, 5.52}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::RoundTo(c.x, c.n), c.expected) << c.x << " to " << c.n << " decimals";
}

TEST(TwoDecimalText, FixedLayoutWithPointAndNoGrouping) {
    const TextCase cases[] = {{5.5228, "5.52"},
                              {0.3, "0.30"},
                              {4976.068, "4976.07"},
                              {-19.037, "-19.04"},
                              {0, "0.00"},
                              {-0.001, "0.00"},
                              {-0.0, "0.00"},
                              {0.125, "0.12"},
                              {1234567.891, "1234567.89"},
                              {1e20, "100000000000000000000.00"},
                              {HUGE_VAL, "--"},
                              {-HUGE_VAL, "--"},
                              {NAN, "--"},
                              {1.7e308, "--"}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::TwoDecimalText(c.value), c.expected) << "value " << c.value;
}

TEST(LengthText, MetricAndImperialFromCentimetres) {
    const struct {
        double metres;
        bool metric;
        std::string expected;
    } cases[] = {{19, true, "19.00m"},
                 {19, false, "62.34f"},
                 {39, true, "39.00m"},
                 {39, false, "127.95f"},
                 {7, true, "7.00m"},
                 {7, false, "22.97f"},
                 // Rounded to centimetres before converting: 16.3139 m is 16.31 m = 53.51 ft.
                 {16.3139, false, "53.51f"},
                 {-0.001, false, "0.00f"},
                 {HUGE_VAL, true, "--"},
                 {1e307, false, "--"},
                 // Feet exactly halfway between two cents, ...790.125 and -...612.125, where
                 // the feet times 100 is no longer exact in a double: away from zero.
                 {20000278001920.03, false, "65617709979790.13f"},
                 {-165377619899556.88, false, "-542577493106612.13f"}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::LengthText(c.metres, c.metric), c.expected)
            << c.metres << (c.metric ? " metric" : " imperial");
}

TEST(WholeNumberText, NoDecimalsAndNeverMinusZero) {
    const TextCase cases[] = {{0, "0"},     {-0.0, "0"},    {-45, "-45"},
                              {135, "135"}, {-180, "-180"}, {NAN, "--"}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::WholeNumberText(c.value), c.expected) << "value " << c.value;
}

} // namespace
