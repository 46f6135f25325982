#include "dial/sun_on_face.h"

#include <algorithm>
#include <cmath>

#include "dial/sky.h"
#include "engine/angles.h"

namespace kestramo::dial {

namespace {

// How far, as a cosine, the sun must stand clear of the horizon and of the face: a sun exactly
// in the plane casts no shadow, and rounding must not make it seem to.
constexpr double kClearance = 1e-12;

// Narrows [low, high] to the values of t = tan(declination) at which slope * t + offset exceeds
// kClearance. The sun at declination d is cos(d) * (t * pole + equator point), so its height
// above a plane is cos(d) times a linear function of t.
void KeepAbove(double slope, double offset, double& low, double& high) {
    if (std::fabs(slope) < kClearance) {
        if (offset <= kClearance) {
            high = low - 1;
        }
        return;
    }
    const double bound = (kClearance - offset) / slope;
    if (slope > 0) {
        low = std::max(low, bound);
    } else {
        high = std::min(high, bound);
    }
}

}  // namespace

std::optional<DeclinationRange> SunOnFace(double latitude, const WallFrame& frame,
                                          double hourAngle) {
    const Vector3 pole = NorthPole(latitude);
    const Vector3 equator = EquatorAt(latitude, hourAngle);
    const Vector3 zenith{0, 0, 1};
    double low = -std::tan(kObliquity * kDegToRad);
    double high = -low;
    KeepAbove(Dot(pole, zenith), Dot(equator, zenith), low, high);
    KeepAbove(Dot(pole, frame.normal), Dot(equator, frame.normal), low, high);
    if (!(low < high)) {
        return std::nullopt;
    }
    return DeclinationRange{std::atan(low) * kRadToDeg, std::atan(high) * kRadToDeg};
}

}  // namespace kestramo::dial
