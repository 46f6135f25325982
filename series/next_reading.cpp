#include "series/next_reading.h"

#include <array>
#include <cmath>

#include "engine/angles.h"
#include "engine/serial_time.h"
#include "series/measurement.h"

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
    // A declinometer's shadow falls on its own board: only the sun on the face matters.
    const bool shadowMeasured = sun.method == Method::Square || sun.method == Method::Board;
    if (!shadowMeasured) next.shadowLength = std::nan("");
    next.practical = next.sunOnFace && next.highEnough &&
                     (!shadowMeasured || (std::isfinite(next.shadowLength) &&
                                          next.shadowLength <= t.longestShadow * height));
    // The reading of the latest one's kind, as the wall would give it.
    const Measurement m = Measure(sun, WallPose::Of(fit.declination, fit.lean), clock, 0, t);
    next.variance = m.covariance[0];

    // The covariance of the unknowns the reading touches, updated with its rows J (one or two):
    // B - B J^T (J B J^T + V)^-1 J B, of which the declination's entry.
    std::array<std::array<double, 4>, 2> bj{};  // B J^T, per row
    std::array<double, 3> s{};                  // J B J^T + V over the rows: 00, 01, 11
    for (int row = 0; row < m.rows; ++row) {
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) {
                bj[size_t(row)][size_t(a)] +=
                    block[size_t(a * 4 + b)] * m.rate[size_t(row)][size_t(b)];
            }
        }
    }
    const auto jbj = [&](int row, int other) {
        double sum = 0;
        for (int a = 0; a < 4; ++a)
            sum += m.rate[size_t(row)][size_t(a)] * bj[size_t(other)][size_t(a)];
        return sum;
    };
    next.predictionVariance = std::max(jbj(0, 0), 0.0);
    double after = block[0];
    if (m.rows == 1) {
        after -= bj[0][0] * bj[0][0] / (jbj(0, 0) + m.covariance[0]);
    } else {
        s = {jbj(0, 0) + m.covariance[0], jbj(0, 1) + m.covariance[1], jbj(1, 1) + m.covariance[2]};
        const double det = s[0] * s[2] - s[1] * s[1];
        if (det > 0) {
            after -= (bj[0][0] * bj[0][0] * s[2] - 2 * bj[0][0] * bj[1][0] * s[1] +
                      bj[1][0] * bj[1][0] * s[0]) /
                     det;
        }
    }
    next.declinationSigmaAfter = std::sqrt(std::max(after, 0.0));
    return next;
}

}  // namespace kestramo::series
