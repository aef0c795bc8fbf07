// The four design calculators as pure functions from their input texts to their
// output texts.
#pragma once

#include <string>
#include <string_view>

namespace calc {

// What one run of a calculator writes: the result field's text and, for "LIM Length",
// the launch time shown beside it.
struct FormulaResult {
    std::string result;
    std::string extra; // empty unless the calculator has a second output
};

// "CP Length": control-point handle length 4/3 * tan(angle / 4) * radius; none for an
// angle that is an odd multiple of 360 degrees.
FormulaResult CpLength(std::string_view degrees, std::string_view radius);
// "0g Banking": the two bank angles, 180 degrees apart, for vertical and lateral g.
FormulaResult ZeroGBanking(std::string_view vertical, std::string_view lateral);
// "Station Length": rows * cars + 7 metres.
FormulaResult StationLength(std::string_view cars, std::string_view rows, bool metric);
// "LIM Length": launch length and time from standstill to a speed at an acceleration in g.
FormulaResult LimLength(std::string_view speed, std::string_view acceleration, bool metric);

// Runs calculator 1 to 4 on its two input texts; any other number gives no result.
bool Evaluate(int calculator, std::string_view input0, std::string_view input1, bool metric,
              FormulaResult& out);

} // namespace calc
