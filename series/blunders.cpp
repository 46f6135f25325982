#include "series/blunders.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <cmath>

#include "series/circle_search.h"
#include "series/leave_out.h"
#include "series/series.h"

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

std::optional<DateSlip> FindDateSlip(std::span<const Reading> readings, const FitInput& input,
                                     std::span<const char> usable, double score) {
    if (input.dates < 2) return std::nullopt;
    std::optional<DateSlip> best;
    for (int date = 0; date < input.dates; ++date) {
        FitInput flipped = input;
        std::vector<char> use(usable.begin(), usable.end());
        bool any = false;
        bool daylight = false;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            if (input.dateGroup[i] != date) continue;
            Reading other = readings[i];
            daylight = other.observation.daylightSaving;
            other.observation.daylightSaving = !daylight;
            flipped.geometry[i] = Examine(other);
            const bool up = flipped.geometry[i].status != ReadingStatus::SunBelowHorizon;
            any = any || (i < use.size() && use[i] && up);
            if (i < use.size()) use[i] = use[i] && up;
        }
        if (!any) continue;
        const std::vector<WallFit> minima = FitMinima(flipped, use);
        if (minima.empty()) continue;
        const WallFit& fit = minima.front();
        const bool agrees =
            ChiSquareTail(fit.chiSquare, fit.degreesOfFreedom) >= kInconsistentBelow;
        const double limit = best ? best->chiSquare : score - OutlierPrice(fit.used);
        if (agrees && fit.chiSquare < limit) {
            for (std::size_t i = 0; i < readings.size(); ++i) {
                if (input.dateGroup[i] == date) {
                    best = DateSlip{DateOf(readings[i]), daylight, fit.declination,
                                    fit.declinationSigma, fit.chiSquare};
                    break;
                }
            }
        }
    }
    return best;
}

double LargestPriorPull(const FitInput& input, const WallFit& fit) {
    const Tolerances& t = input.tolerances;
    const auto pull = [](double shift, double prior, double fitted) {
        const double room = prior - fitted;
        return room > 0.1 * prior ? shift * shift / room : 0.0;
    };
    double largest = 0;
    if (t.leanErrorDegrees > 0) {
        largest = pull(fit.lean - t.leanDegrees, t.leanErrorDegrees * t.leanErrorDegrees,
                       fit.leanSigma * fit.leanSigma);
    }
    for (int d = 0; d < input.dates && t.clockSeconds > 0; ++d) {
        if (!fit.covariance.HasDate(d)) continue;
        const double variance = fit.covariance.Block(d, -1)[10];
        largest = std::max(
            largest, pull(fit.clockOffset[size_t(d)], t.clockSeconds * t.clockSeconds, variance));
    }
    const double h = t.heightPercent / 100;
    for (int s = 0; s < input.squares && h > 0; ++s) {
        if (!fit.covariance.HasSquare(s)) continue;
        const double variance = fit.covariance.Block(-1, s)[15];
        largest = std::max(largest, pull(fit.heightError[size_t(s)], h * h, variance));
    }
    return largest;
}

std::optional<PriorConflict> FindPriorConflict(std::span<const Reading> readings,
                                               const FitInput& input, std::span<const char> usable,
                                               const WallFit& start, double score) {
    constexpr double kWidened = 10;
    std::optional<PriorConflict> best;
    for (SharedSource source : {SharedSource::Lean, SharedSource::Watch, SharedSource::Height}) {
        FitInput wide = input;
        Tolerances& t = wide.tolerances;
        switch (source) {
            case SharedSource::Lean:
                t.leanErrorDegrees = std::max(kWidened * t.leanErrorDegrees, 5.0);
                break;
            case SharedSource::Watch:
                t.clockSeconds = std::max(kWidened * t.clockSeconds, 300.0);
                break;
            case SharedSource::Height:
                t.heightPercent = std::max(kWidened * t.heightPercent, 5.0);
                break;
        }
        const WallFit fit = FitWall(wide, usable, start);
        if (!fit.valid) continue;
        const double limit = best ? best->chiSquare : score - kRuledOut;
        if (!(fit.chiSquare < limit) ||
            ChiSquareTail(fit.chiSquare, fit.degreesOfFreedom) < kInconsistentBelow) {
            continue;
        }
        PriorConflict conflict;
        conflict.source = source;
        conflict.declination = fit.declination;
        conflict.uncertainty = fit.declinationSigma;
        conflict.chiSquare = fit.chiSquare;
        if (source == SharedSource::Lean) {
            conflict.value = fit.lean;
            conflict.sigma = fit.leanSigma;
        } else {
            const bool watch = source == SharedSource::Watch;
            const std::vector<double>& values = watch ? fit.clockOffset : fit.heightError;
            std::size_t far = 0;
            for (std::size_t k = 1; k < values.size(); ++k) {
                if (std::fabs(values[k]) > std::fabs(values[far])) far = k;
            }
            conflict.value = values.empty() ? 0 : values[far];
            const auto block =
                watch ? fit.covariance.Block(int(far), -1) : fit.covariance.Block(-1, int(far));
            conflict.sigma = std::sqrt(std::max(block[watch ? 10 : 15], 0.0));
            for (std::size_t i = 0; i < readings.size(); ++i) {
                const int group = watch ? input.dateGroup[i] : input.squareGroup[i];
                if (group == int(far)) {
                    conflict.date = DateOf(readings[i]);
                    conflict.height = readings[i].height;
                    break;
                }
            }
        }
        best = conflict;
    }
    return best;
}

double ChiSquareTail(double chiSquare, int degreesOfFreedom) {
    if (degreesOfFreedom <= 0 || !(chiSquare > 0)) return 1;
    if (!std::isfinite(chiSquare)) return 0;
    const boost::math::chi_squared distribution(degreesOfFreedom);
    return boost::math::cdf(boost::math::complement(distribution, chiSquare));
}

}  // namespace kestramo::series
