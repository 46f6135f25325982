#pragma once

#include <numbers>

// The engine's angle constants, fixed at compile time.
namespace kestramo {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegToRad = kPi / 180;  // radians per degree
inline constexpr double kRadToDeg = 180 / kPi;  // degrees per radian

}  // namespace kestramo
