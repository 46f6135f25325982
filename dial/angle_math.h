#pragma once

#include <cmath>

#include "engine/angles.h"

// Angles in degrees on the circle.
namespace kestramo::dial {

// The same direction in (-180, 180]; never -0, which would print as "-0".
inline double WrapHalfTurn(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped <= -180) {
        wrapped += 360;
    } else if (wrapped > 180) {
        wrapped -= 360;
    }
    return wrapped + 0.0;
}

// atan2 in degrees, in (-180, 180]; 0 for (0, 0).
inline double Atan2Degrees(double y, double x) {
    return WrapHalfTurn(std::atan2(y, x) * kRadToDeg);
}

}  // namespace kestramo::dial
