#include "series/next_reading.h"

#include <array>
#include <cmath>

#include "engine/angles.h"
#include "engine/serial_time.h"

namespace kestramo::series {

NextReading LookAhead(const Reading& latest, double clockSeconds, const WallFit& fit, int date,
                      int square, const Tolerances& tolerances) {
    const Tolerances t = Admissible(tolerances);
    NextReading next;
    next.clockSeconds = clockSeconds;
    Reading reading = latest;
    reading.observation.clockTime = clockSeconds / kSecondsPerDay;
    next.geometry = Examine(reading);
    const double clock =
        date >= 0 && date < int(fit.clockOffset.size()) ? fit.clockOffset[size_t(date)] : 0;
    next.predicted = PredictAngle(next.geometry, fit.declination, fit.lean, clock);
    next.sunOnFace = next.geometry.sunAltitude > 0 && next.predicted.theta < 90;
    next.highEnough = next.geometry.sunAltitude >= kMinimumAltitude;
    next.shadowLength = next.sunOnFace
                            ? PredictedLength(reading.height, next.predicted.theta, t.edge)
                            : std::nan("");
    next.practical = next.sunOnFace && next.highEnough && std::isfinite(next.shadowLength) &&
                     next.shadowLength <= t.longestShadow * reading.height;
    // The shadow the wall would cast, as the user would measure it.
    const ShadowAngle shadow = ShadowOf(next.predicted, t.edge);
    next.variance = OwnVariance(shadow, t, next.predicted.perSecond);

    // The unknowns the reading touches, and Sherman and Morrison's update of their covariance.
    std::array<double, 16> block = fit.covariance.Block(date, square);
    if (!fit.covariance.HasDate(date)) block[10] = t.clockSeconds * t.clockSeconds;
    if (!fit.covariance.HasSquare(square)) block[15] = std::pow(t.heightPercent / 100, 2);
    const std::array<double, 4> j = {-next.predicted.perDeclination, -next.predicted.perLean,
                                     -next.predicted.perSecond, PerHeightFraction(shadow)};
    std::array<double, 4> bj{};
    double jbj = 0;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) bj[size_t(a)] += block[size_t(a * 4 + b)] * j[size_t(b)];
        jbj += j[size_t(a)] * bj[size_t(a)];
    }
    next.predictionVariance = std::max(jbj, 0.0);
    const double after = block[0] - bj[0] * bj[0] / (jbj + next.variance);
    next.declinationSigmaAfter = std::sqrt(std::max(after, 0.0));
    return next;
}

}  // namespace kestramo::series
