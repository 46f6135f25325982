#include "dial/dial_layout.h"

#include <algorithm>
#include <cmath>

#include "dial/sky.h"
#include "dial/sun_on_face.h"
#include "engine/angles.h"

namespace kestramo::dial {

namespace {

// Below this sine of the style height the style is taken as parallel to the plane; below this
// length of its part along the plane, as square to it.
constexpr double kParallel = 1e-12;
constexpr double kSquare = 1e-9;
constexpr double kHourLineStep = 7.5;  // degrees of hour angle: half an hour

// The style's direction out of the face: toward the celestial pole in front of it, or for a
// style parallel to the plane, toward the pole above the horizon (the north one on the
// equator).
Vector3 StyleDirection(const Vector3& pole, double poleOutOfFace, DialKind kind, double latitude) {
    const bool north = kind == DialKind::Polar ? latitude >= 0 : poleOutOfFace > 0;
    return north ? pole : -pole;
}

// The hour line at an hour angle: where the plane of that hour circle meets the dial plane,
// on the side away from the sun. Written in the hour circle's own axes, the pole and the
// equator's point: the line is (equator . normal) style - sin(style height) equator.
Vector3 LineDirection(const Vector3& style, double sinStyleHeight, const Vector3& equator,
                      const Vector3& normal) {
    return Dot(equator, normal) * style - sinStyleHeight * equator;
}

// The hour line's distance from the nodus's foot: the shadow of a nodus at the normal's tip
// cast by any direction of the hour circle falls on the line; the hour circle's direction
// nearest the normal keeps the division well away from zero.
double LineDistance(const WallFrame& frame, const Vector3& pole, const Vector3& equator,
                    double angle) {
    const Vector3 across = Cross(pole, equator);  // normal of the hour circle's plane
    const Vector3 toward = frame.normal - Dot(frame.normal, across) * across;
    const Vector3 side = InPlaneAt(frame, angle + 90);
    return -Dot(toward, side) / Dot(toward, frame.normal);
}

}  // namespace

DialLayout LayOutDial(const DialRequest& request) {
    DialLayout layout;
    if (!std::isfinite(request.latitude) || !std::isfinite(request.wall.declination) ||
        !std::isfinite(request.wall.lean)) {
        return layout;
    }
    const double latitude = std::clamp(request.latitude, -90.0, 90.0);
    const Wall wall{WrapHalfTurn(request.wall.declination),
                    std::clamp(request.wall.lean, -90.0, 90.0)};
    const WallFrame frame = FrameOf(wall);
    const Vector3 pole = NorthPole(latitude);
    const double poleOutOfFace = Dot(pole, frame.normal);

    // The style's sine and cosine of height from the pole's parts across and along the plane:
    // an arcsine alone loses half the digits near 90 degrees.
    const double cosStyleHeight = Length(pole - poleOutOfFace * frame.normal);
    if (std::fabs(poleOutOfFace) < kParallel) {
        layout.kind = DialKind::Polar;
    } else if (cosStyleHeight < kSquare) {
        layout.kind = DialKind::Equatorial;
    }
    const double sinStyleHeight = layout.kind == DialKind::Polar ? 0 : std::fabs(poleOutOfFace);
    const Vector3 style = StyleDirection(pole, poleOutOfFace, layout.kind, latitude);

    layout.styleHeight = std::atan2(sinStyleHeight, cosStyleHeight) * kRadToDeg;
    if (layout.kind != DialKind::Polar) {
        layout.rootDistance = cosStyleHeight / sinStyleHeight;
    }
    if (layout.kind == DialKind::Equatorial) {
        layout.substyleAngle = AngleInPlane(
            frame, LineDirection(style, sinStyleHeight, EquatorAt(latitude, 0), frame.normal));
    } else {
        layout.substyleAngle = AngleInPlane(frame, style);
        layout.substyleHourAngle = HourAngleOf(latitude, frame.normal);
    }

    const int steps = static_cast<int>(180 / kHourLineStep);
    for (int i = -steps + 1; i <= steps; ++i) {
        const double hourAngle = i * kHourLineStep;
        const std::optional<DeclinationRange> days = SunOnFace(latitude, frame, hourAngle);
        if (!days) {
            continue;
        }
        const Vector3 equator = EquatorAt(latitude, hourAngle);
        HourLine line;
        line.hourAngle = hourAngle;
        line.angle =
            layout.kind == DialKind::Polar
                ? layout.substyleAngle
                : AngleInPlane(frame, LineDirection(style, sinStyleHeight, equator, frame.normal));
        line.distance = LineDistance(frame, pole, equator, line.angle);
        line.timeErrorMinutes =
            WorstTimeError(latitude, wall, request.covariance, hourAngle, *days);
        layout.hourLines.push_back(line);
    }
    return layout;
}

}  // namespace kestramo::dial
