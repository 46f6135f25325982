#include "series/measurement.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/angles.h"

namespace kestramo::series {
namespace {

constexpr double kLeastSigma = 1e-3;  // degrees, or pin heights: as exact as any reading gets
constexpr double kLeastTail = 1e-300;

double Sq(double x) { return x * x; }

// The square: the shadow's angle against theta (shadow_model.h).
Measurement MeasureSquare(const ReadingGeometry& g, const WallPose& pose, double clock,
                          double heightError, const Tolerances& t, const Frozen* frozen) {
    Measurement m;
    const PredictedAngle p = PredictAngle(g, pose, clock);
    const ShadowAngle shadow = ShadowOf(p, t.edge);
    const double perHeight = frozen ? frozen->perHeight : PerHeightFraction(shadow);
    m.predicted = p;
    m.residual[0] = MeasuredAngle(g, t.edge) + perHeight * heightError - p.theta;
    m.covariance[0] = frozen ? frozen->covariance[0] : OwnVariance(shadow, t, p.perSecond);
    m.rate[0] = {-p.perDeclination, -p.perLean, -p.perSecond, perHeight};
    return m;
}

// The declinometer: the sun's azimuth from the wall's normal, A - w.
Measurement MeasureDeclinometer(const ReadingGeometry& g, const WallPose& pose, double clock,
                                const Tolerances& t, const Frozen* frozen) {
    Measurement m;
    m.predicted = PredictAngle(g, pose, clock);
    const double predicted = WrapHalfTurn(g.sunAzimuth + g.azimuthRate * clock - pose.declination);
    m.residual[0] = AngleDifference(g.angle, predicted);
    m.covariance[0] =
        frozen ? frozen->covariance[0]
               : Sq(t.angleDegrees) + Sq(g.azimuthRate * t.timingSeconds) + Sq(kLeastSigma);
    m.rate[0] = {1, 0, -g.azimuthRate, 0};
    return m;
}

// A bearing found by other means: the declination itself.
Measurement MeasureBearing(const ReadingGeometry& g, const WallPose& pose) {
    Measurement m;
    m.residual[0] = AngleDifference(g.bearing, pose.declination);
    m.covariance[0] = Sq(std::max(g.bearingError, kLeastSigma));
    m.rate[0] = {-1, 0, 0, 0};
    return m;
}

// The board's tip x, y in pin heights with their rates per radian of the declination, the lean,
// the sun's altitude and its azimuth.
struct TipShadow {
    double x = 0, y = 0, cosTheta = 1;
    std::array<double, 4> perX{}, perY{};  // d / d (w, e, altitude, azimuth), per radian
};

TipShadow TipOf(double cosA, double sinA, double cosZ, double sinZ, const WallPose& pose) {
    const double cosE = pose.cosLean, sinE = pose.sinLean;
    const double cosZW = cosZ * pose.cosDeclination + sinZ * pose.sinDeclination;
    const double sinZW = sinZ * pose.cosDeclination - cosZ * pose.sinDeclination;
    // -s.r, -s.u and s.n.
    const double nx = cosA * sinZW;
    const double ny = sinE * cosA * cosZW - cosE * sinA;
    const double d = std::max(cosA * cosE * cosZW + sinA * sinE, 1e-6);
    TipShadow tip;
    tip.x = nx / d;
    tip.y = ny / d;
    tip.cosTheta = d;
    const std::array<double, 4> dNx = {-cosA * cosZW, 0, -sinA * sinZW, cosA * cosZW};
    const std::array<double, 4> dNy = {sinE * cosA * sinZW, cosE * cosA * cosZW + sinE * sinA,
                                       -sinE * sinA * cosZW - cosE * cosA, -sinE * cosA * sinZW};
    const std::array<double, 4> dD = {cosA * cosE * sinZW, -cosA * sinE * cosZW + sinA * cosE,
                                      -sinA * cosE * cosZW + cosA * sinE, -cosA * cosE * sinZW};
    for (std::size_t k = 0; k < 4; ++k) {
        tip.perX[k] = (dNx[k] - tip.x * dD[k]) / d;
        tip.perY[k] = (dNy[k] - tip.y * dD[k]) / d;
    }
    return tip;
}

// The board: the tip's shadow read to the edge the user reads, against the measured x, y.
Measurement MeasureBoard(const ReadingGeometry& g, const WallPose& pose, double clock,
                         double heightError, const Tolerances& t, const Frozen* frozen,
                         const Placement* placement) {
    Measurement m;
    m.rows = 2;
    m.predicted = PredictAngle(g, pose, clock);
    const double a = (g.sunAltitude + g.altitudeRate * clock) * kDegToRad;
    const double z = (g.sunAzimuth + g.azimuthRate * clock) * kDegToRad;
    const TipShadow tip = TipOf(std::cos(a), std::sin(a), std::cos(z), std::sin(z), pose);
    // The blur's edge lies further along the shadow's line.
    const double reach = std::hypot(tip.x, tip.y);
    const double theta = std::atan(reach);
    const double edge = t.edge == ShadowEdge::Outer ? kSunRadius * kDegToRad : 0;
    const double readReach = std::tan(std::min(theta + edge, 89.0 * kDegToRad));
    const double alongX = reach > 1e-9 ? tip.x / reach : 0;
    const double alongY = reach > 1e-9 ? tip.y / reach : 0;
    const double scale = 1 + heightError;
    double x = tip.x + alongX * (readReach - reach);
    double y = tip.y + alongY * (readReach - reach);
    if (placement) {
        // The pin tilted moves the tip's shadow by as much; the board turned off level turns
        // the marks about the pin's foot.
        const double level = (*placement)[0] * kDegToRad;
        const double turnedX = x + level * y, turnedY = y - level * x;
        x = turnedX + (*placement)[1] * kDegToRad;
        y = turnedY + (*placement)[2] * kDegToRad;
        m.perPlacement[0] = {-scale * y * kDegToRad, -scale * kDegToRad, 0};
        m.perPlacement[1] = {scale * x * kDegToRad, 0, -scale * kDegToRad};
    }
    m.residual = {g.tipX - scale * x, g.tipY - scale * y};
    const double perSecondX =
        (tip.perX[2] * g.altitudeRate + tip.perX[3] * g.azimuthRate) * kDegToRad;
    const double perSecondY =
        (tip.perY[2] * g.altitudeRate + tip.perY[3] * g.azimuthRate) * kDegToRad;
    m.rate[0] = {-scale * tip.perX[0] * kDegToRad, -scale * tip.perX[1] * kDegToRad,
                 -scale * perSecondX, -x};
    m.rate[1] = {-scale * tip.perY[0] * kDegToRad, -scale * tip.perY[1] * kDegToRad,
                 -scale * perSecondY, -y};
    if (frozen) {
        m.covariance = frozen->covariance;
        return m;
    }
    // Marking the tip and the pin's tilt move it anywhere; the board off level turns it about
    // the pin's foot; the blur and noting the time move it along the line and the sun's path.
    // A placement's level and tilt, shared and fitted, are not the reading's own.
    const double own = placement ? 0 : 1;
    const double isotropic =
        Sq(t.tipPercent / 100) + own * Sq(t.tiltDegrees * kDegToRad) + Sq(kLeastSigma);
    const double level = own * t.levelDegrees * kDegToRad;
    const double blur = t.blurFraction * 2 * kSunRadius * kDegToRad * (1 + readReach * readReach);
    const double timingX = perSecondX * t.timingSeconds, timingY = perSecondY * t.timingSeconds;
    const double turnX = -y * level, turnY = x * level;
    const double blurX = alongX * blur, blurY = alongY * blur;
    m.covariance = {isotropic + Sq(turnX) + Sq(blurX) + Sq(timingX),
                    turnX * turnY + blurX * blurY + timingX * timingY,
                    isotropic + Sq(turnY) + Sq(blurY) + Sq(timingY)};
    return m;
}

// The terms of a reading that points at one declination `target` (degrees) with `sigma`
// (degrees): chi^2 ~ (2 - 2 cos(target - w)) / sigma^2, that is (target - w)^2 near it.
CosineTerms Pointing(double target, double sigma) {
    const double s2 = std::max(Sq(sigma * kDegToRad), 1e-14);
    const double c = std::cos(target * kDegToRad), s = std::sin(target * kDegToRad);
    return {1 / s2, c / s2, s / s2, 1 / s2, 0, 1 / s2};
}

CosineTerms SquareTerms(const ReadingGeometry& g, const Tolerances& t) {
    const double cosLean = std::cos(t.leanDegrees * kDegToRad);
    const double sinLean = std::sin(t.leanDegrees * kDegToRad);
    // The measured angle's cosine and sine from the shadow's ratio, brought to the sun's centre
    // for the edge read, without a trigonometric call.
    const double edge = t.edge == ShadowEdge::Outer ? kSunRadius * kDegToRad : 0;
    const double cosEdge = std::cos(edge), sinEdge = std::sin(edge);
    const double hypot = std::sqrt(1 + g.shadowRatio * g.shadowRatio);
    const double cosShadow = std::isfinite(hypot) ? 1 / hypot : 0;
    const double sinShadow = std::isfinite(hypot) ? g.shadowRatio / hypot : 1;
    const double cosTheta = cosShadow * cosEdge + sinShadow * sinEdge;
    const double sinTheta = sinShadow * cosEdge - cosShadow * sinEdge;
    const double p = cosLean * g.cosAltitude * g.cosAzimuth;
    const double q = cosLean * g.cosAltitude * g.sinAzimuth;
    const double u = cosTheta - g.sinAltitude * sinLean;
    const double sigma =
        std::sqrt(OwnVariance(ShadowAngle{g.shadowAngle, cosShadow, sinShadow}, t, 0)) * kDegToRad;
    const double leanEffect = g.sinAltitude * cosLean * t.leanErrorDegrees * kDegToRad;
    const double s2 = std::max(Sq(sinTheta * sigma) + leanEffect * leanEffect, 1e-14);
    return {u * u / s2, u * p / s2, u * q / s2, p * p / s2, p * q / s2, q * q / s2};
}

// The sun's direction in the board's frame from its tip shadow, brought back to the sun's
// centre for the edge read.
WallFrameSun SunFromTip(double x, double y, ShadowEdge edge) {
    const double reach = std::hypot(x, y);
    if (edge == ShadowEdge::Outer && reach > 1e-9) {
        const double centre = std::tan(std::max(std::atan(reach) - kSunRadius * kDegToRad, 0.0));
        x *= centre / reach;
        y *= centre / reach;
    }
    const double norm = std::sqrt(1 + x * x + y * y);
    return {1 / norm, -x / norm, -y / norm};
}

// The declination a board reading gives with the wall's lean `lean` (degrees): the sun's
// azimuth from the wall's horizontal normal, taken from the sun's.
double BoardDeclination(const ReadingGeometry& g, const WallFrameSun& s, double lean) {
    const double e = lean * kDegToRad;
    const double horizontal = s.n * std::cos(e) - s.u * std::sin(e);
    return WrapHalfTurn(g.sunAzimuth - Atan2Degrees(-s.r, horizontal));
}

CosineTerms BoardTerms(const ReadingGeometry& g, const Tolerances& t) {
    const WallFrameSun s = SunFromTip(g.tipX, g.tipY, t.edge);
    const double reach2 = g.tipX * g.tipX + g.tipY * g.tipY;
    const double flat = std::max(std::hypot(s.n * std::cos(t.leanDegrees * kDegToRad), s.r), 0.05);
    const double spread =
        std::hypot(t.tipPercent / 100, t.tiltDegrees * kDegToRad) * (1 + reach2) / flat * kRadToDeg;
    const double lean = t.leanErrorDegrees * std::tan(std::min(g.sunAltitude, 80.0) * kDegToRad);
    return Pointing(BoardDeclination(g, s, t.leanDegrees), std::hypot(spread, lean, 0.01));
}

}  // namespace

Measurement Measure(const ReadingGeometry& g, const WallPose& pose, double clock,
                    double heightError, const Tolerances& t, const Frozen* frozen,
                    const Placement* placement) {
    switch (g.method) {
        case Method::Square:
            break;
        case Method::Board:
            return MeasureBoard(g, pose, clock, heightError, t, frozen, placement);
        case Method::Declinometer:
            return MeasureDeclinometer(g, pose, clock, t, frozen);
        case Method::Bearing:
            return MeasureBearing(g, pose);
    }
    return MeasureSquare(g, pose, clock, heightError, t, frozen);
}

CosineTerms ScanTerms(const ReadingGeometry& g, const Tolerances& t) {
    switch (g.method) {
        case Method::Square:
            break;
        case Method::Board:
            return BoardTerms(g, t);
        case Method::Declinometer:
            return Pointing(WrapHalfTurn(g.sunAzimuth - g.angle),
                            std::hypot(t.angleDegrees, g.azimuthRate * t.clockSeconds, 0.01));
        case Method::Bearing:
            return Pointing(g.bearing, std::max(g.bearingError, 0.01));
    }
    return SquareTerms(g, t);
}

double ChiSquareOf(const Measurement& m) {
    const auto& c = m.covariance;
    if (m.rows < 2) return m.residual[0] * m.residual[0] / c[0];
    const double det = c[0] * c[2] - c[1] * c[1];
    return (m.residual[0] * m.residual[0] * c[2] - 2 * m.residual[0] * m.residual[1] * c[1] +
            m.residual[1] * m.residual[1] * c[0]) /
           det;
}

double OneRowEquivalent(double chiSquare, int rows) {
    if (rows <= 1 || !(chiSquare > 0)) return chiSquare;
    if (!std::isfinite(chiSquare)) return chiSquare;
    const boost::math::chi_squared distribution(rows);
    const double tail = boost::math::cdf(boost::math::complement(distribution, chiSquare));
    if (!(tail > kLeastTail)) return chiSquare;
    if (!(tail < 1)) return 0;
    const double z =
        boost::math::quantile(boost::math::complement(boost::math::normal(), tail / 2));
    return z * z;
}

WallFrameSun SunInWallFrame(double altitude, double azimuth, double declination, double lean) {
    const double a = altitude * kDegToRad, z = azimuth * kDegToRad;
    const WallPose pose = WallPose::Of(declination, lean);
    const TipShadow tip = TipOf(std::cos(a), std::sin(a), std::cos(z), std::sin(z), pose);
    // s.n = cos(theta); s.r = -x cos(theta); s.u = -y cos(theta).
    return {tip.cosTheta, -tip.x * tip.cosTheta, -tip.y * tip.cosTheta};
}

void ExamineKind(const Reading& reading, ReadingGeometry& g) {
    g.method = reading.method;
    g.shadowRatio = 0;
    g.shadowAngle = 0;
    g.second = kNoValue;
    switch (reading.method) {
        case Method::Square:
            return;
        case Method::Bearing:
            g.status = ReadingStatus::Solved;
            g.bearing = WrapHalfTurn(reading.bearing);
            g.bearingError = reading.bearingError;
            g.first = g.bearing;
            g.altitudeRate = g.azimuthRate = 0;
            return;
        case Method::Declinometer:
            g.angle = WrapHalfTurn(reading.angle);
            break;
        case Method::Board:
            g.tipX = reading.tipX / reading.height;
            g.tipY = reading.tipY / reading.height;
            break;
    }
    if (!(g.sunAltitude > 0)) {
        g.status = ReadingStatus::SunBelowHorizon;
        return;
    }
    g.status = ReadingStatus::Solved;
    if (g.method == Method::Declinometer) {
        g.first = WrapHalfTurn(g.sunAzimuth - g.angle);
        return;
    }
    // The board's own wall: the lean that puts the sun at its altitude, then the declination.
    const WallFrameSun s = SunFromTip(g.tipX, g.tipY, ShadowEdge::Middle);
    const double reach = std::hypot(s.n, s.u);
    const double sine = g.sinAltitude / reach;
    if (!(std::fabs(sine) <= 1) || !std::isfinite(g.tipX) || !std::isfinite(g.tipY)) {
        g.status = ReadingStatus::NoWallFits;
        g.first = kNoValue;
        return;
    }
    g.ownLean = WrapHalfTurn((std::asin(sine) - std::atan2(s.u, s.n)) * kRadToDeg);
    g.first = BoardDeclination(g, s, g.ownLean);
}

double OneAnswerUncertainty(const ReadingGeometry& g, const Tolerances& t) {
    if (!g.solved()) return kNoValue;
    const Measurement m =
        Measure(g, WallPose::Of(g.first, std::isfinite(g.ownLean) ? g.ownLean : 0), 0, 0, t);
    std::array<double, 3> v = m.covariance;
    const double clock = t.clockSeconds, height = t.heightPercent / 100;
    v[0] += Sq(m.rate[0][2] * clock) + Sq(m.rate[0][3] * height);
    if (m.rows == 1) return std::sqrt(v[0]) / std::max(std::fabs(m.rate[0][0]), 1e-12);
    v[1] +=
        m.rate[0][2] * m.rate[1][2] * clock * clock + m.rate[0][3] * m.rate[1][3] * height * height;
    v[2] += Sq(m.rate[1][2] * clock) + Sq(m.rate[1][3] * height);
    // Two rows, two unknowns (the declination and the lean): J^-1 V J^-T.
    const double j00 = m.rate[0][0], j01 = m.rate[0][1], j10 = m.rate[1][0], j11 = m.rate[1][1];
    const double det = j00 * j11 - j01 * j10;
    if (!(std::fabs(det) > 1e-15)) return std::numeric_limits<double>::infinity();
    // Row of J^-1 for the declination: (j11, -j01) / det.
    const double k0 = j11 / det, k1 = -j01 / det;
    return std::sqrt(std::max(k0 * k0 * v[0] + 2 * k0 * k1 * v[1] + k1 * k1 * v[2], 0.0));
}

}  // namespace kestramo::series
