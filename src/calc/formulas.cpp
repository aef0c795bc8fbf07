#include "calc/formulas.h"

#include "calc/constants.h"
#include "calc/m3DMathematics.h"
#include "calc/number_text.h"
#include "controls/field_value.h"

#include <cmath>

namespace calc {

FormulaResult CpLength(std::string_view degrees, std::string_view radius) {
    const double angle = controls::FieldValue(degrees);
    // An arc of an odd multiple of 360 degrees has its quarter angle at an odd multiple of
    // 90, where the tangent is infinite: no handle length exists. (The inexact pi would
    // turn it into a finite, meaningless number.)
    if (std::fmod(std::fabs(angle), 720.0) == 360.0)
        return {kNoResult, {}};
    const double theta = m3DMathematics::DegreesToRadians(angle);
    const double r = controls::FieldValue(radius);
    const double h = ((4.0 / 3.0) * std::tan(theta / 4.0)) * r;
    return {TwoDecimalText(h), {}};
}

namespace {

// The bank angle in degrees before rounding: the direction of (V, -L), with
// V < 0 and L = 0 giving -180 rather than 180.
double BankAngle(double v, double l) {
    double a;
    if (v == 0.0)
        a = l > 0.0 ? -90.0 : 90.0;
    else if (l == 0.0)
        a = 0.0;
    else
        a = m3DMathematics::RadiansToDegrees(std::atan(-l / v));
    if (v < 0.0)
        a = a >= 0.0 ? a - 180.0 : a + 180.0;
    return a;
}

} // namespace

FormulaResult ZeroGBanking(std::string_view vertical, std::string_view lateral) {
    const double v = controls::FieldValue(vertical);
    const double l = controls::FieldValue(lateral);
    if (v == 0.0 && l == 0.0)
        return {kNoResult, {}};
    const double first = controls::RoundTo(BankAngle(v, l), 0);
    if (!std::isfinite(first))
        return {kNoResult, {}};
    const double second = first >= 0.0 ? first - 180.0 : first + 180.0;
    return {WholeNumberText(first) + "\xC2\xB0 or " + WholeNumberText(second) + "\xC2\xB0", {}};
}

FormulaResult StationLength(std::string_view cars, std::string_view rows, bool metric) {
    const double c = controls::FieldValue(cars);
    const double r = controls::FieldValue(rows);
    return {LengthText(r * c + kStationAllowance, metric), {}};
}

FormulaResult LimLength(std::string_view speed, std::string_view acceleration, bool metric) {
    double v = controls::FieldValue(speed);
    if (!metric)
        v = v * kKmphPerMph;
    v = v * kMpsPerKmph;
    const double a = controls::FieldValue(acceleration) * kGravity;
    if (a == 0.0) // no launch without acceleration: the time and length do not exist
        return {kNoResult, kNoResult};
    const double t = v / a;
    const double d = (t * t) * (a * 0.5);
    const std::string time = TwoDecimalText(t);
    return {LengthText(d, metric), time == kNoResult ? time : time + " sec"};
}

bool Evaluate(int calculator, std::string_view input0, std::string_view input1, bool metric,
              FormulaResult& out) {
    switch (calculator) {
    case 1:
        out = CpLength(input0, input1);
        return true;
    case 2:
        out = ZeroGBanking(input0, input1);
        return true;
    case 3:
        out = StationLength(input0, input1, metric);
        return true;
    case 4:
        out = LimLength(input0, input1, metric);
        return true;
    default:
        return false;
    }
}

} // namespace calc
