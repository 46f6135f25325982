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
        default:
            break;
    }
    return 0;
}

namespace {

// A slip of one kind of reading, and the reading as it would have been typed without it.
struct SlipRow {
    Blunder blunder;
    bool (*applies)(Method method);
    Reading (*undone)(const Reading& reading);
};

// A clock that read fast shows a time later than the true one: the reading belongs to the
// moment that much earlier.
template <Blunder slip>
Reading ClockUndone(const Reading& r) {
    return ShiftedClock(r, -ClockSlipSeconds(slip));
}

template <Method kind>
bool Of(Method method) {
    return method == kind;
}

const SlipRow kSlips[] = {
    {Blunder::ClockHourFast, Timed, ClockUndone<Blunder::ClockHourFast>},
    {Blunder::ClockHourSlow, Timed, ClockUndone<Blunder::ClockHourSlow>},
    {Blunder::ClockHalfHourFast, Timed, ClockUndone<Blunder::ClockHalfHourFast>},
    {Blunder::ClockHalfHourSlow, Timed, ClockUndone<Blunder::ClockHalfHourSlow>},
    {Blunder::AngleSignFlipped, Of<Method::Declinometer>,
     [](const Reading& r) {
         Reading u = r;
         u.angle = -r.angle;
         return u;
     }},
    {Blunder::BearingOfTheLine, Of<Method::Bearing>,
     [](const Reading& r) {
         Reading u = r;
         u.bearing = r.bearing + 90;
         return u;
     }},
    {Blunder::BearingOfTheLine, Of<Method::Bearing>,
     [](const Reading& r) {
         Reading u = r;
         u.bearing = r.bearing - 90;
         return u;
     }},
    {Blunder::BearingFromNorth, Of<Method::Bearing>,
     [](const Reading& r) {
         Reading u = r;
         u.bearing = r.bearing + 180;
         return u;
     }},
    {Blunder::BearingEastPositive, Of<Method::Bearing>,
     [](const Reading& r) {
         Reading u = r;
         u.bearing = -r.bearing;
         return u;
     }},
    {Blunder::BoardXReversed, Of<Method::Board>,
     [](const Reading& r) {
         Reading u = r;
         u.tipX = -r.tipX;
         return u;
     }},
};

}  // namespace

Blunder ExplainReading(const FitInput& input, const WallFit& fit, std::span<const Reading> readings,
                       int index) {
    const int date = input.dateGroup[size_t(index)];
    const int square = input.squareGroup[size_t(index)];
    const Reading& reading = readings[size_t(index)];
    Blunder best = Blunder::ShadowMisread;
    double bestZ = kExplainedWithin;
    for (const SlipRow& slip : kSlips) {
        if (!slip.applies(reading.method)) continue;
        const ReadingGeometry geometry = Examine(slip.undone(reading));
        if (geometry.status == ReadingStatus::SunBelowHorizon) continue;
        const double z = Standardized(ResidualOf(input, fit, geometry, date, square), false);
        if (z * z < bestZ) {
            bestZ = z * z;
            best = slip.blunder;
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
