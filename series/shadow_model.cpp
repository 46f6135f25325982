#include "series/shadow_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/angles.h"
#include "engine/shadow_solution.h"
#include "series/measurement.h"

namespace kestramo::series {
namespace {

constexpr double kRateStep = 30;           // seconds either side for the sun's motion
constexpr double kLeastSigma = 1e-3;       // degrees
constexpr double kLeastSine = 1e-6;        // keeps d theta finite with the sun along the normal
constexpr double kImplausibleFactor = 10;  // times the longest shadow the user can measure

alignment_calculations::WallSolution SunOnly(const Reading& reading) {
    // Any square and shadow give the sun's place; 1 and 1 always solve.
    return SolveWall(reading.observation, 1, 1);
}

}  // namespace

const char* StatusText(ReadingStatus status) {
    switch (status) {
        case ReadingStatus::Solved:
            return "solved";
        case ReadingStatus::NoWallFits:
            return "no vertical wall fits this shadow";
        case ReadingStatus::SunBelowHorizon:
            return "the sun was below the horizon";
    }
    return "unknown";
}

ReadingGeometry Examine(const Reading& reading) {
    if (reading.method != Method::Square) return Examine(reading, SunOnly(reading));
    return Examine(reading, SolveWall(reading.observation, reading.height, reading.length));
}

ReadingGeometry Examine(const Reading& reading, const alignment_calculations::WallSolution& wall) {
    ReadingGeometry g;
    g.sunAltitude = wall.SunAltitude;
    g.sunAzimuth = wall.SunAzimuth;
    if (!(wall.SunAltitude > 0)) {
        g.status = ReadingStatus::SunBelowHorizon;
    } else if (!wall.Solvable) {
        g.status = ReadingStatus::NoWallFits;
    } else {
        g.status = ReadingStatus::Solved;
        g.first = wall.FirstAnswer;
        g.second = wall.SecondAnswer;
    }
    const auto later = SunOnly(ShiftedClock(reading, kRateStep));
    const auto earlier = SunOnly(ShiftedClock(reading, -kRateStep));
    g.altitudeRate = (later.SunAltitude - earlier.SunAltitude) / (2 * kRateStep);
    g.azimuthRate = AngleDifference(later.SunAzimuth, earlier.SunAzimuth) / (2 * kRateStep);
    g.shadowRatio = reading.length / reading.height;
    g.shadowAngle = std::atan2(reading.length, reading.height) * kRadToDeg;
    if (!std::isfinite(g.shadowRatio)) {
        g.shadowRatio = std::numeric_limits<double>::max();
    }
    g.cosAltitude = std::cos(g.sunAltitude * kDegToRad);
    g.sinAltitude = std::sin(g.sunAltitude * kDegToRad);
    g.cosAzimuth = std::cos(g.sunAzimuth * kDegToRad);
    g.sinAzimuth = std::sin(g.sunAzimuth * kDegToRad);
    if (reading.method != Method::Square) ExamineKind(reading, g);
    return g;
}

WallPose WallPose::Of(double declination, double lean) {
    return {declination,
            lean,
            std::cos(declination * kDegToRad),
            std::sin(declination * kDegToRad),
            std::cos(lean * kDegToRad),
            std::sin(lean * kDegToRad)};
}

PredictedAngle PredictAngle(const ReadingGeometry& r, double declination, double lean,
                            double clockOffset) {
    return PredictAngle(r, WallPose::Of(declination, lean), clockOffset);
}

namespace {

// cos and sin of x + d from those of x, for the small d of a watch's offset.
void Turned(double cosX, double sinX, double d, double& cosOut, double& sinOut) {
    double cosD, sinD;
    if (std::fabs(d) < 0.05) {
        // Taylor to d^5: exact to 1e-12 there.
        const double d2 = d * d;
        cosD = 1 - d2 * (0.5 - d2 * (1.0 / 24));
        sinD = d * (1 - d2 * ((1.0 / 6) - d2 * (1.0 / 120)));
    } else {
        cosD = std::cos(d);
        sinD = std::sin(d);
    }
    cosOut = cosX * cosD - sinX * sinD;
    sinOut = sinX * cosD + cosX * sinD;
}

}  // namespace

PredictedAngle PredictAngle(const ReadingGeometry& r, const WallPose& wall, double clockOffset) {
    double cosA = r.cosAltitude, sinA = r.sinAltitude;
    double cosZ = r.cosAzimuth, sinZ = r.sinAzimuth;
    if (clockOffset != 0) {
        Turned(r.cosAltitude, r.sinAltitude, r.altitudeRate * clockOffset * kDegToRad, cosA, sinA);
        Turned(r.cosAzimuth, r.sinAzimuth, r.azimuthRate * clockOffset * kDegToRad, cosZ, sinZ);
    }
    const double cosE = wall.cosLean, sinE = wall.sinLean;
    // cos and sin of Z - w.
    const double cosZW = cosZ * wall.cosDeclination + sinZ * wall.sinDeclination;
    const double sinZW = sinZ * wall.cosDeclination - cosZ * wall.sinDeclination;
    const double cosTheta = std::clamp(cosA * cosE * cosZW + sinA * sinE, -1.0, 1.0);
    const double sinTheta = std::sqrt(1 - cosTheta * cosTheta);
    const double perTheta = -1 / std::max(sinTheta, kLeastSine);
    // Rates of cos(theta) per radian, then of theta: d theta = -d cos(theta) / sin(theta).
    const double perW = cosA * cosE * sinZW;
    const double perE = -cosA * sinE * cosZW + sinA * cosE;
    const double perA = -sinA * cosE * cosZW + cosA * sinE;
    const double perZ = -cosA * cosE * sinZW;
    PredictedAngle p;
    p.theta = std::acos(cosTheta) * kRadToDeg;
    p.cosTheta = cosTheta;
    p.sinTheta = sinTheta;
    p.perDeclination = perW * perTheta;
    p.perLean = perE * perTheta;
    p.perSecond = (perA * r.altitudeRate + perZ * r.azimuthRate) * perTheta;
    return p;
}

double MeasuredAngle(const ReadingGeometry& r, ShadowEdge edge) {
    return edge == ShadowEdge::Outer ? r.shadowAngle - kSunRadius : r.shadowAngle;
}

namespace {

const double kCosRadius = std::cos(kSunRadius * kDegToRad);
const double kSinRadius = std::sin(kSunRadius * kDegToRad);

}  // namespace

ShadowAngle ShadowOf(const PredictedAngle& p, ShadowEdge edge) {
    ShadowAngle shadow{p.theta, p.cosTheta, p.sinTheta};
    if (edge == ShadowEdge::Outer) {
        shadow.degrees += kSunRadius;
        shadow.cosine = p.cosTheta * kCosRadius - p.sinTheta * kSinRadius;
        shadow.sine = p.sinTheta * kCosRadius + p.cosTheta * kSinRadius;
    }
    if (shadow.degrees > 90 || shadow.cosine < 0) shadow = {90, 0, 1};
    return shadow;
}

double PerHeightFraction(const ShadowAngle& shadow) {
    return shadow.sine * shadow.cosine * kRadToDeg;
}

double OwnVariance(const ShadowAngle& shadow, const Tolerances& t, double perSecond) {
    const double blur = t.blurFraction * 2 * kSunRadius;
    const double tape = t.lengthPercent / 100 * shadow.sine * shadow.cosine * kRadToDeg;
    const double tilt = t.tiltDegrees * shadow.cosine * shadow.cosine;
    const double timing = perSecond * t.timingSeconds;
    return blur * blur + tape * tape + tilt * tilt + timing * timing + kLeastSigma * kLeastSigma;
}

namespace {

ShadowAngle Measured(double shadowAngle) {
    const double theta = shadowAngle * kDegToRad;
    return {shadowAngle, std::cos(theta), std::sin(theta)};
}

}  // namespace

double PerHeightFraction(double shadowAngle) { return PerHeightFraction(Measured(shadowAngle)); }

double OwnVariance(double shadowAngle, const Tolerances& t, double perSecond) {
    return OwnVariance(Measured(shadowAngle), t, perSecond);
}

double PredictedLength(double height, double theta, ShadowEdge edge) {
    const double end = edge == ShadowEdge::Outer ? theta + kSunRadius : theta;
    if (!(theta < 90) || !(end < 90)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return height * std::tan(std::max(end, 0.0) * kDegToRad);
}

AnswerUncertainty SingleReadingUncertainty(const ReadingGeometry& r, const Tolerances& t) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    if (!r.solved()) {
        return {kNaN, kNaN};
    }
    if (r.method != Method::Square) return {OneAnswerUncertainty(r, t), kNaN};
    const auto sigma = [&](double answer) {
        const PredictedAngle p = PredictAngle(r, answer, t.leanDegrees);
        const double clock = p.perSecond * t.clockSeconds;
        const double height = PerHeightFraction(r.shadowAngle) * t.heightPercent / 100;
        const double lean = p.perLean * t.leanErrorDegrees;
        const double variance = OwnVariance(r.shadowAngle, t, p.perSecond) + clock * clock +
                                height * height + lean * lean;
        return std::fabs(p.perDeclination) > 0 ? std::sqrt(variance) / std::fabs(p.perDeclination)
                                               : std::numeric_limits<double>::infinity();
    };
    return {sigma(r.first), sigma(r.second)};
}

bool Implausible(const ReadingGeometry& r, const Tolerances& t) {
    return r.shadowRatio > kImplausibleFactor * std::max(t.longestShadow, 1.0);
}

}  // namespace kestramo::series
