#pragma once

#include <cmath>
#include <optional>

#include "dial/vector3.h"
#include "engine/angles.h"

// A dial built the way one would on paper, independently of the library's formulas: the sun from
// the textbook altitude and azimuth, the wall from its normal, the style along the polar axis,
// and the shadow of a nodus where its ray meets the plane. Frame: x east, y north, z up.
namespace construction {

using kestramo::dial::Vector3;
constexpr double kRad = kestramo::kDegToRad;

inline Vector3 Unit(Vector3 v) { return (1 / kestramo::dial::Length(v)) * v; }

// The sun at hour angle h (west +) and declination d; degrees.
inline Vector3 Sun(double latitude, double h, double d) {
    const double phi = latitude * kRad;
    h *= kRad;
    d *= kRad;
    const double altitude =
        std::asin(std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(h));
    // From due south, west positive: tan A = sin h / (sin phi cos h - cos phi tan d).
    const double azimuth =
        std::atan2(std::cos(d) * std::sin(h),
                   std::sin(phi) * std::cos(d) * std::cos(h) - std::cos(phi) * std::sin(d));
    return {-std::cos(altitude) * std::sin(azimuth), -std::cos(altitude) * std::cos(azimuth),
            std::sin(altitude)};
}

// A wall whose normal has azimuth w from south (west +) and altitude e; degrees.
struct Plane {
    Vector3 normal, right, down;
    Plane(double w, double e)
        : normal{-std::cos(e * kRad) * std::sin(w * kRad), -std::cos(e * kRad) * std::cos(w * kRad),
                 std::sin(e * kRad)},
          right{std::cos(w * kRad), -std::sin(w * kRad), 0},
          down(Cross(right, normal)) {}
    double AngleOf(Vector3 v) const { return std::atan2(Dot(v, right), Dot(v, down)) / kRad; }
};

// An hour line as the shadow of a nodus one unit out from the foot (the origin) on a style along
// the polar axis: its direction from the root (degrees) and signed distance from the foot,
// positive to the direction's left as AngleOf counts (toward +90). Empty without sun on the face.
struct Line {
    double angle, distance;
};
inline std::optional<Line> ShadowLine(double latitude, const Plane& plane, const Vector3& sun) {
    if (sun.z <= 1e-9 || Dot(sun, plane.normal) <= 1e-9) {
        return std::nullopt;
    }
    const Vector3 pole{0, std::cos(latitude * kRad), std::sin(latitude * kRad)};
    const Vector3 style = Dot(pole, plane.normal) > 0 ? pole : -pole;
    const Vector3 nodus = plane.normal;
    const Vector3 shadow = nodus - (1 / Dot(sun, plane.normal)) * sun;
    const Vector3 root = nodus - (1 / Dot(style, plane.normal)) * style;
    const Vector3 along = Unit(shadow - root);
    return Line{plane.AngleOf(along), Dot(shadow, Cross(plane.normal, along))};
}

}  // namespace construction
