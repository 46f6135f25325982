#pragma once

#include <cmath>
#include <numbers>

// The engine's angle constants, fixed at compile time, and angles on the circle in degrees.
namespace kestramo {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegToRad = kPi / 180;  // radians per degree
inline constexpr double kRadToDeg = 180 / kPi;  // degrees per radian

// The same direction in (-180, 180] degrees; never -0, which would print as "-0".
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

// The signed turn from `to` to `from` in (-180, 180] degrees: how far `from` lies west
// (positive) of `to` when both are declinations or azimuths from south.
inline double AngleDifference(double from, double to) { return WrapHalfTurn(from - to); }

}  // namespace kestramo
