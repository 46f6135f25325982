#include "series/decision_time.h"

#include <boost/math/distributions/normal.hpp>

#include <cmath>
#include <vector>

#include "series/next_reading.h"
#include "series/series.h"

namespace kestramo::series {

std::optional<int> MinutesToDecide(const Reading& latest, int date, int square,
                                   std::span<const WallFit> fits, const Tolerances& tolerances) {
    if (fits.size() < 2) return std::nullopt;
    const double z = boost::math::quantile(boost::math::normal(), kDecideWithProbability);
    // D needed against each other wall: D^2 - 2 z D >= price + |difference of chi^2 now|, the
    // larger root, so that it holds whichever of the two is true.
    std::vector<double> needed;
    for (std::size_t k = 1; k < fits.size(); ++k) {
        const double lead = std::fabs(fits[k].chiSquare - fits[0].chiSquare);
        needed.push_back(z + std::sqrt(z * z + kRuledOut + lead));
    }
    const double start = ClockSecondsOf(latest) / 60;
    for (int minute = int(std::floor(start)) + 1; minute < 24 * 60; ++minute) {
        const NextReading best =
            LookAhead(latest, minute * 60.0, fits[0], date, square, tolerances);
        if (!best.practical) continue;
        bool decides = true;
        for (std::size_t k = 1; k < fits.size() && decides; ++k) {
            const NextReading other =
                LookAhead(latest, minute * 60.0, fits[k], date, square, tolerances);
            const double spread = std::sqrt(best.variance + best.predictionVariance);
            const double apart = std::fabs(best.predicted.theta - other.predicted.theta) / spread;
            decides = other.practical && apart >= needed[k - 1];
        }
        if (decides) return int(std::ceil(minute - start));
    }
    return std::nullopt;
}

}  // namespace kestramo::series
