#include "series/explanation.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "series/blunders.h"
#include "series/circle_search.h"
#include "series/series.h"

namespace kestramo::series {
namespace {

// A shared error's tolerance widened this many times, and at least to these, lets the readings
// say where it lies.
constexpr double kWidened = 10;
constexpr double kWideLeanDegrees = 5;
constexpr double kWideWatchSeconds = 300;
constexpr double kWideHeightPercent = 5;

bool Agrees(const WallFit& fit) {
    return ChiSquareTail(fit.chiSquare, fit.degreesOfFreedom) >= kInconsistentBelow;
}

// The first reading of `group` in `groups`, or nothing.
std::optional<std::size_t> FirstOf(std::span<const int> groups, int group) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i] == group) return i;
    }
    return std::nullopt;
}

Explanation FromFit(Cause cause, const WallFit& fit, double price) {
    Explanation e;
    e.cause = cause;
    e.declination = fit.declination;
    e.uncertainty = fit.declinationSigma;
    e.chiSquare = fit.chiSquare;
    e.degreesOfFreedom = fit.degreesOfFreedom;
    e.score = fit.chiSquare + price;
    return e;
}

// The readings of `date` typed on the other clock kind: the fit of every reading with theirs
// turned the other way, when the readings then agree.
std::optional<Explanation> OtherClockKind(std::span<const Reading> readings, const FitInput& input,
                                          const ReadingSet& use, int date) {
    FitInput flipped = input;
    ReadingSet up = use;
    bool any = false;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (input.dateGroup[i] != date) continue;
        Reading other = readings[i];
        other.observation.daylightSaving = !other.observation.daylightSaving;
        flipped.geometry[i] = Examine(other);
        up.Set(i, up.Contains(i) && flipped.geometry[i].status != ReadingStatus::SunBelowHorizon);
        any = any || up.Contains(i);
    }
    if (!any) return std::nullopt;
    const std::vector<WallFit> minima = FitMinima(flipped, up);
    if (minima.empty() || !Agrees(minima.front())) return std::nullopt;
    Explanation e = FromFit(Cause::Daylight, minima.front(), kClockKindPrice);
    const std::size_t first = *FirstOf(input.dateGroup, date);
    e.date = DateOf(readings[first]);
    e.daylightWasChosen = readings[first].observation.daylightSaving;
    return e;
}

// A lean, a watch or a square far beyond its tolerance: the fit with that tolerance widened,
// from the fit as typed, when it lowers chi^2 by kFarBeyond and the readings then agree.
std::optional<Explanation> FarBeyondItsTolerance(std::span<const Reading> readings,
                                                 const FitInput& input, const ReadingSet& use,
                                                 const WallFit& typed, Cause cause) {
    FitInput wide = input;
    Tolerances& t = wide.tolerances;
    switch (cause) {
        case Cause::Lean:
            if (!(t.leanErrorDegrees > 0)) return std::nullopt;
            t.leanErrorDegrees = std::max(kWidened * t.leanErrorDegrees, kWideLeanDegrees);
            break;
        case Cause::Watch:
            if (!(t.clockSeconds > 0)) return std::nullopt;
            t.clockSeconds = std::max(kWidened * t.clockSeconds, kWideWatchSeconds);
            break;
        case Cause::Square:
            if (!(t.heightPercent > 0)) return std::nullopt;
            t.heightPercent = std::max(kWidened * t.heightPercent, kWideHeightPercent);
            break;
        case Cause::Daylight:
            return std::nullopt;
    }
    const WallFit fit = FitWall(wide, use, typed);
    if (!fit.valid || !(typed.chiSquare - fit.chiSquare >= kFarBeyond) || !Agrees(fit)) {
        return std::nullopt;
    }
    // Under the stated tolerances a shared error far out is as probable as the fit as typed,
    // which pays its pull.
    Explanation e = FromFit(cause, fit, 0);
    e.score = typed.chiSquare;
    if (cause == Cause::Lean) {
        e.value = fit.lean;
        e.sigma = fit.leanSigma;
        return e;
    }
    const bool watch = cause == Cause::Watch;
    const std::vector<double>& values = watch ? fit.clockOffset : fit.heightError;
    std::size_t far = 0;
    for (std::size_t k = 1; k < values.size(); ++k) {
        if (std::fabs(values[k]) > std::fabs(values[far])) far = k;
    }
    e.value = values.empty() ? 0 : values[far];
    const auto block =
        watch ? fit.covariance.Block(int(far), -1) : fit.covariance.Block(-1, int(far));
    e.sigma = std::sqrt(std::max(block[watch ? 10 : 15], 0.0));
    if (const auto first = FirstOf(watch ? input.dateGroup : input.squareGroup, int(far))) {
        e.date = DateOf(readings[*first]);
        e.height = readings[*first].height;
    }
    return e;
}

}  // namespace

std::vector<Explanation> Explanations(std::span<const Reading> readings, const FitInput& input,
                                      const ReadingSet& use, const WallFit& typed,
                                      double typedScore) {
    std::vector<Explanation> found;
    for (int date = 0; date < input.dates; ++date) {
        if (auto e = OtherClockKind(readings, input, use, date)) found.push_back(*e);
    }
    for (Cause cause : {Cause::Lean, Cause::Watch, Cause::Square}) {
        if (auto e = FarBeyondItsTolerance(readings, input, use, typed, cause)) found.push_back(*e);
    }
    for (Explanation& e : found) {
        e.margin = typedScore - e.score;
        // A shared error far out is the fit as typed of every reading with that error named, so
        // it is no less likely than that fit; it is named rather than readings left out when
        // the readings, all of them in, fit better with its tolerance widened by kRuledOut.
        e.likelierThanAsTyped =
            e.cause == Cause::Daylight ? e.margin > 0 : typedScore - e.chiSquare > kRuledOut;
    }
    std::sort(found.begin(), found.end(),
              [](const Explanation& a, const Explanation& b) { return a.score < b.score; });
    // The likeliest that is likelier than the readings as typed is decisive when nothing
    // giving another wall comes within kRuledOut of it.
    const auto named = std::find_if(found.begin(), found.end(),
                                    [](const Explanation& e) { return e.likelierThanAsTyped; });
    if (named != found.end()) {
        named->decisive = named->cause != Cause::Daylight || named->margin >= kRuledOut;
        for (const Explanation& other : found) {
            const bool anotherWall =
                std::fabs(AngleDifference(other.declination, named->declination)) >=
                kDifferentWalls * std::hypot(other.uncertainty, named->uncertainty);
            if (&other != &*named && anotherWall && other.score - named->score < kRuledOut) {
                named->decisive = false;
            }
        }
    }
    return found;
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

}  // namespace kestramo::series
