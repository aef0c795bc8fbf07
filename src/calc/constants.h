// Physical and unit constants of the calculators, each the exact value the results are
// computed with.
#pragma once

namespace calc {

// The angle conversions use this 15-digit value, not the full-precision pi.
inline constexpr double kPi = 3.14159265358979;

inline constexpr double kFeetPerMetre = 3.280839895;
inline constexpr double kKmphPerMph = 1.609344;
// Deliberately this decimal, not 1 / 3.6: every launch length and time shown is computed
// with it, and the last digit of some depends on it.
inline constexpr double kMpsPerKmph = 0.27777777778;
inline constexpr double kGravity = 9.8;          // m/s^2
inline constexpr double kStationAllowance = 7.0; // metres added to every train length

} // namespace calc
