#include "series/next_reading.h"

#include <array>
#include <cmath>

#include "engine/angles.h"
#include "engine/serial_time.h"

namespace kestramo::series {

std::array<double, 16> NextReadingBlock(const WallFit& fit, int date, int square,
                                        const Tolerances& tolerances) {
    const Tolerances t = Admissible(tolerances);
    std::array<double, 16> block = fit.covariance.Block(date, square);
    if (!fit.covariance.HasDate(date)) block[10] = t.clockSeconds * t.clockSeconds;
    if (!fit.covariance.HasSquare(square)) block[15] = std::pow(t.heightPercent / 100, 2);
    return block;
}

NextReading LookAhead(const Reading& latest, double clockSeconds, const WallFit& fit, int date,
                      int square, const Tolerances& tolerances) {
    Reading reading = latest;
    reading.observation.clockTime = clockSeconds / kSecondsPerDay;
    return LookAhead(Examine(reading), clockSeconds, latest.height, fit, date,
                     NextReadingBlock(fit, date, square, tolerances), tolerances);
}

NextReading LookAhead(const ReadingGeometry& sun, double clockSeconds, double height,
                      const WallFit& fit, int date, const std::array<double, 16>& block,
                      const Tolerances& tolerances) {
    const Tolerances t = Admissible(tolerances);
    NextReading next;
    next.clockSeconds = clockSeconds;
    next.geometry = sun;
    const double clock =
        date >= 0 && date < int(fit.clockOffset.size()) ? fit.clockOffset[size_t(date)] : 0;
    next.predicted = PredictAngle(next.geometry, fit.declination, fit.lean, clock);
    next.sunOnFace = next.geometry.sunAltitude > 0 && next.predicted.theta < 90;
    next.highEnough = next.geometry.sunAltitude >= kMinimumAltitude;
    next.shadowLength =
        next.sunOnFace ? PredictedLength(height, next.predicted.theta, t.edge) : std::nan("");
    next.practical = next.sunOnFace && next.highEnough && std::isfinite(next.shadowLength) &&
                     next.shadowLength <= t.longestShadow * height;
    // The shadow the wall would cast, as the user would measure it.
    const ShadowAngle shadow = ShadowOf(next.predicted, t.edge);
    next.variance = OwnVariance(shadow, t, next.predicted.perSecond);

    // Sherman and Morrison's update of the covariance of the unknowns the reading touches.
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
