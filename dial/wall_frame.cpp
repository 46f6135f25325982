#include "dial/wall_frame.h"

#include <cmath>

#include "engine/angles.h"

namespace kestramo::dial {

WallFrame FrameOf(const Wall& wall) {
    const double w = wall.declination * kDegToRad;
    const double e = wall.lean * kDegToRad;
    const Vector3 facing{-std::sin(w), -std::cos(w), 0};  // horizontal, toward the declination
    const Vector3 up{0, 0, 1};
    return {std::sin(e) * facing - std::cos(e) * up,
            {std::cos(w), -std::sin(w), 0},
            std::cos(e) * facing + std::sin(e) * up};
}

double AngleInPlane(const WallFrame& frame, Vector3 direction) {
    return Atan2Degrees(Dot(direction, frame.right), Dot(direction, frame.down));
}

Vector3 InPlaneAt(const WallFrame& frame, double angle) {
    const double a = angle * kDegToRad;
    return std::cos(a) * frame.down + std::sin(a) * frame.right;
}

}  // namespace kestramo::dial
