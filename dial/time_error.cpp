#include "dial/time_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dial/sky.h"
#include "engine/angles.h"

namespace kestramo::dial {

namespace {

constexpr double kStep = 1e-3;            // degrees of the central differences
constexpr double kDeclinationStep = 2.0;  // degrees between the sampled days

// A vector given in the horizon frame, expressed in a wall's frame (down, right, normal).
Vector3 InWallFrame(const WallFrame& frame, Vector3 v) {
    return {Dot(v, frame.down), Dot(v, frame.right), Dot(v, frame.normal)};
}
// A vector given in a wall's frame, back in the horizon frame.
Vector3 FromWallFrame(const WallFrame& frame, Vector3 v) {
    return v.x * frame.down + v.y * frame.right + v.z * frame.normal;
}

}  // namespace

double ReadingOnMountedDial(double latitude, const Wall& designed, const Wall& actual,
                            double hourAngle, double solarDeclination) {
    // The dial knows the sun only relative to its own plane: the sun it sees is the true sun
    // carried from the actual wall's frame to the designed one. A dial laid out correctly shows
    // the hour angle of the sun it sees, its style lying along the designed polar axis.
    const Vector3 sun = SunDirection(latitude, hourAngle, solarDeclination);
    const Vector3 seen = FromWallFrame(FrameOf(designed), InWallFrame(FrameOf(actual), sun));
    return HourAngleOf(latitude, seen);
}

TimeErrorSlopes SlopesAt(double latitude, const Wall& wall, double hourAngle,
                         double solarDeclination) {
    const auto error = [&](double dw, double de) {
        const Wall actual{wall.declination + dw, wall.lean + de};
        return WrapHalfTurn(
                   ReadingOnMountedDial(latitude, wall, actual, hourAngle, solarDeclination) -
                   hourAngle) *
               kMinutesPerDegree;
    };
    return {(error(kStep, 0) - error(-kStep, 0)) / (2 * kStep),
            (error(0, kStep) - error(0, -kStep)) / (2 * kStep)};
}

double TimeErrorSigma(const TimeErrorSlopes& slopes, const WallCovariance& covariance) {
    if (!std::isfinite(covariance.declinationVariance) || !std::isfinite(covariance.leanVariance) ||
        !std::isfinite(covariance.covariance)) {
        return std::numeric_limits<double>::infinity();
    }
    const double gw = slopes.perDeclination;
    const double ge = slopes.perLean;
    const double variance = gw * gw * covariance.declinationVariance +
                            2 * gw * ge * covariance.covariance + ge * ge * covariance.leanVariance;
    return std::sqrt(std::max(variance, 0.0));
}

double WorstTimeError(double latitude, const Wall& wall, const WallCovariance& covariance,
                      double hourAngle, const DeclinationRange& days) {
    const double span = days.highest - days.lowest;
    const int steps = std::max(1, static_cast<int>(std::ceil(span / kDeclinationStep)));
    double worst = 0;
    for (int i = 0; i <= steps; ++i) {
        const double declination = days.lowest + span * i / steps;
        worst = std::max(
            worst, TimeErrorSigma(SlopesAt(latitude, wall, hourAngle, declination), covariance));
    }
    return worst;
}

}  // namespace kestramo::dial
