#include "calc/formulas.h"
#include "calc/m3DMathematics.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One calculator run: inputs, units and the texts a user sees.
struct FormulaCase {
    int calculator;
    std::string input0, input1;
    bool metric;
    std::string result, extra;
};

void PrintTo(const FormulaCase& c, std::ostream* os) {
    *os << "calculator " << c.calculator << " (\"" << c.input0 << "\", \"" << c.input1 << "\") "
        << (c.metric ? "metric" : "imperial");
}

class FormulaTest : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaTest, GivesTheDesignersResults) {
    const auto& c = GetParam();
    calc::FormulaResult out;
    ASSERT_TRUE(calc::Evaluate(c.calculator, c.input0, c.input1, c.metric, out));
    EXPECT_EQ(out.result, c.result);
    EXPECT_EQ(out.extra, c.extra);
}

const char* const kDeg = "\xC2\xB0";

std::string Bank(const std::string& a, const std::string& b) {
    return a + kDeg + " or " + b + kDeg;
}

INSTANTIATE_TEST_SUITE_P(CpLength, FormulaTest,
                         ::testing::Values(FormulaCase{1, "90", "10", true, "5.52", ""},
                                           FormulaCase{1, "180", "10", true, "13.33", ""},
                                           FormulaCase{1, "45", "100", true, "26.52", ""},
                                           FormulaCase{1, "300", "1000", true, "4976.07", ""},
                                           FormulaCase{1, "0", "10", true, "0.00", ""},
                                           FormulaCase{1, "500", "10", false, "-19.04", ""},
                                           FormulaCase{1, "500", "0", true, "0.00", ""},
                                           FormulaCase{1, "", "", true, "0.00", ""},
                                           FormulaCase{1, "90", "2", true, "1.10", ""},
                                           FormulaCase{1, "90", "25", true, "13.81", ""},
                                           FormulaCase{1, "90", "1e400", true, "--", ""}));

INSTANTIATE_TEST_SUITE_P(
    ZeroGBanking, FormulaTest,
    ::testing::Values(FormulaCase{2, "1.0", "1.0", true, Bank("-45", "135"), ""},
                      FormulaCase{2, "2", "1", true, Bank("-27", "153"), ""},
                      FormulaCase{2, "1", "2", true, Bank("-63", "117"), ""},
                      FormulaCase{2, "1", "-1", true, Bank("45", "-135"), ""},
                      FormulaCase{2, "-1", "1", true, Bank("-135", "45"), ""},
                      FormulaCase{2, "1", "0", true, Bank("0", "-180"), ""},
                      FormulaCase{2, "-1", "0", true, Bank("-180", "0"), ""},
                      FormulaCase{2, "0", "1", true, Bank("-90", "90"), ""},
                      FormulaCase{2, "0", "-1", false, Bank("90", "-90"), ""},
                      FormulaCase{2, "100", "0.5", true, Bank("0", "-180"), ""},
                      FormulaCase{2, "-100", "-0.5", true, Bank("180", "0"), ""},
                      FormulaCase{2, "0", "0", true, "--", ""},
                      FormulaCase{2, "", "-", true, "--", ""},
                      FormulaCase{2, "1e999", "1e999", true, "--", ""}));

INSTANTIATE_TEST_SUITE_P(StationLength, FormulaTest,
                         ::testing::Values(FormulaCase{3, "6", "2", true, "19.00m", ""},
                                           FormulaCase{3, "6", "2", false, "62.34f", ""},
                                           FormulaCase{3, "8", "4", true, "39.00m", ""},
                                           FormulaCase{3, "8", "4", false, "127.95f", ""},
                                           FormulaCase{3, "", "", true, "7.00m", ""},
                                           FormulaCase{3, "", "", false, "22.97f", ""}));

INSTANTIATE_TEST_SUITE_P(LimLength, FormulaTest,
                         ::testing::Values(FormulaCase{4, "88", "1.0", true, "30.49m", "2.49 sec"},
                                           FormulaCase{4, "100", "1.5", true, "26.25m", "1.89 sec"},
                                           FormulaCase{4, "88", "1.0", false, "259.06f",
                                                       "4.01 sec"},
                                           FormulaCase{4, "40", "1.0", false, "53.51f", "1.82 sec"},
                                           FormulaCase{4, "0", "1", true, "0.00m", "0.00 sec"},
                                           // No acceleration: no launch, so neither output exists.
                                           FormulaCase{4, "88", "0", true, "--", "--"},
                                           FormulaCase{4, "88", "", false, "--", "--"},
                                           FormulaCase{4, "88", ".", true, "--", "--"},
                                           FormulaCase{4, "1e400", "1", true, "--", "--"}));

TEST(Evaluate, UnknownCalculatorLeavesTheOutputAlone) {
    calc::FormulaResult out{"kept", "kept"};
    for (int n : {0, 5, -1, 32767}) {
        EXPECT_FALSE(calc::Evaluate(n, "1", "1", true, out)) << n;
        EXPECT_EQ(out.result, "kept");
    }
}

TEST(AngleConversions, UseTheFifteenDigitPiInTheStatedOrder) {
    const double pi = 3.14159265358979;
    EXPECT_EQ(m3DMathematics::DegreesToRadians(90), 90 * pi / 180);
    EXPECT_EQ(m3DMathematics::RadiansToDegrees(1), 1 / pi * 180);
    EXPECT_NE(m3DMathematics::RadiansToDegrees(1), 180 / 3.141592653589793);
}

} // namespace

namespace {

// Every displayed digit must be the same in the native and the Windows build, whose
// maths libraries differ: both builds hash the texts of a wide sweep of inputs and
// must reach the same recorded value.
uint64_t SweepHash() {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](const std::string& text) {
        for (unsigned char c : text)
            hash = (hash ^ c) * 1099511628211ull;
    };
    calc::FormulaResult out;
    for (int degrees = -720; degrees <= 1440; ++degrees)
        for (const char* radius : {"1", "10", "1000", "12345.678"}) {
            calc::Evaluate(1, std::to_string(degrees) + ".5", radius, true, out);
            mix(out.result);
        }
    for (int v = -40; v <= 40; ++v)
        for (int l = -40; l <= 40; ++l) {
            calc::Evaluate(2, std::to_string(v * 0.25), std::to_string(l * 0.37), true, out);
            mix(out.result);
        }
    for (int speed = 0; speed <= 400; speed += 3)
        for (const char* g : {"0.3", "1.0", "2.5"})
            for (bool metric : {true, false}) {
                calc::Evaluate(4, std::to_string(speed), g, metric, out);
                mix(out.result + out.extra);
            }
    return hash;
}

TEST(FormulaSweep, SameTextsOnEveryPlatform) {
    EXPECT_EQ(SweepHash(), 12313836870198157653ull);
}

} // namespace
