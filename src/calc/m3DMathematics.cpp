#include "calc/m3DMathematics.h"

#include "calc/constants.h"

namespace m3DMathematics {

double DegreesToRadians(double x) {
    return x * calc::kPi / 180.0;
}

double RadiansToDegrees(double x) {
    return x / calc::kPi * 180.0;
}

} // namespace m3DMathematics
