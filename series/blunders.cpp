#include "series/blunders.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>

namespace kestramo::series {
namespace {

constexpr double kExplainedWithin = 4;  // chi^2 of the slipped reading: two standard deviations

}  // namespace

double ClockSlipSeconds(Blunder blunder) {
    switch (blunder) {
        case Blunder::ClockHourFast:
            return 3600;
        case Blunder::ClockHourSlow:
            return -3600;
        case Blunder::ClockHalfHourFast:
            return 1800;
        case Blunder::ClockHalfHourSlow:
            return -1800;
        case Blunder::None:
        case Blunder::ShadowMisread:
            break;
    }
    return 0;
}

Blunder ExplainReading(const FitInput& input, const WallFit& fit, std::span<const Reading> readings,
                       int index) {
    const int date = input.dateGroup[size_t(index)];
    const int square = input.squareGroup[size_t(index)];
    Blunder best = Blunder::ShadowMisread;
    double bestZ = kExplainedWithin;
    for (Blunder slip : {Blunder::ClockHourFast, Blunder::ClockHourSlow, Blunder::ClockHalfHourFast,
                         Blunder::ClockHalfHourSlow}) {
        // A clock that read fast shows a time later than the true one: the reading belongs to
        // the moment that much earlier.
        const Reading moved = ShiftedClock(readings[size_t(index)], -ClockSlipSeconds(slip));
        const ReadingGeometry geometry = Examine(moved);
        if (geometry.status == ReadingStatus::SunBelowHorizon) continue;
        const double z = Standardized(ResidualOf(input, fit, geometry, date, square), false);
        if (z * z < bestZ) {
            bestZ = z * z;
            best = slip;
        }
    }
    return best;
}

double ChiSquareTail(double chiSquare, int degreesOfFreedom) {
    if (!(chiSquare > 0)) return 1;
    if (!std::isfinite(chiSquare)) return 0;
    // With no degrees of freedom the fit reaches every reading exactly whenever some wall can
    // cast them: what is left over says that none can (one shadow too short for any vertical
    // wall), and is measured as if it had one degree.
    const boost::math::chi_squared distribution(std::max(degreesOfFreedom, 1));
    return boost::math::cdf(boost::math::complement(distribution, chiSquare));
}

}  // namespace kestramo::series
