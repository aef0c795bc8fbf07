// Angle conversions of the calculators.
#pragma once

namespace m3DMathematics {

// x * pi / 180, the multiplication first.
double DegreesToRadians(double x);
// x / pi * 180, the division first.
double RadiansToDegrees(double x);

} // namespace m3DMathematics
