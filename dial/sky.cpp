#include "dial/sky.h"

#include <cmath>

#include "engine/angles.h"

namespace kestramo::dial {

namespace {

// The equator's point on the meridian (hour angle 0) and its point due west (hour angle 90).
Vector3 EquatorAtNoon(double latitude) {
    const double phi = latitude * kDegToRad;
    return {0, -std::sin(phi), std::cos(phi)};
}
constexpr Vector3 kWest{-1, 0, 0};

}  // namespace

Vector3 NorthPole(double latitude) {
    const double phi = latitude * kDegToRad;
    return {0, std::cos(phi), std::sin(phi)};
}

Vector3 EquatorAt(double latitude, double hourAngle) {
    const double h = hourAngle * kDegToRad;
    return std::cos(h) * EquatorAtNoon(latitude) + std::sin(h) * kWest;
}

Vector3 SunDirection(double latitude, double hourAngle, double solarDeclination) {
    const double d = solarDeclination * kDegToRad;
    return std::sin(d) * NorthPole(latitude) + std::cos(d) * EquatorAt(latitude, hourAngle);
}

double HourAngleOf(double latitude, Vector3 direction) {
    return Atan2Degrees(Dot(direction, kWest), Dot(direction, EquatorAtNoon(latitude)));
}

}  // namespace kestramo::dial
