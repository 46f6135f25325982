#include "series/series.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "series/circle_search.h"
#include "series/decision_time.h"
#include "series/leave_out.h"
#include "series/measurement.h"

namespace kestramo::series {
namespace {

// Minima of all the usable readings that are worth leaving readings out from.
constexpr std::size_t kStartsTried = 3;
// ... those whose chi^2 lies within this reach of the least (plus a share of it).
constexpr double kStartReach = 60;
constexpr double kStartSlack = 0.05;
// Up to this many usable readings, every choice of one reading to leave out is tried as well,
// to find a different reading whose leaving also leaves a consistent set.
constexpr int kEveryChoiceUpTo = 8;
// Up to this many usable readings, the circle is searched again once readings are left out.
constexpr int kSearchAgainUpTo = 60;
// The readings named when the series is inconsistent.
constexpr std::size_t kNamedWhenInconsistent = 2;
// A series of this many dates or fewer is always tried for a date on the other clock kind: a
// day turned an hour may pull the lean too little to show.
constexpr int kFewDates = 2;
// One reading in this many left out is many.
constexpr int kManyLeftOut = 5;

bool Consistent(const WallFit& fit) {
    return ChiSquareTail(fit.chiSquare, fit.degreesOfFreedom) >= kInconsistentBelow;
}

bool DifferentWalls(const WallFit& a, const WallFit& b) {
    return std::fabs(AngleDifference(a.declination, b.declination)) >
           kDifferentWalls * std::hypot(a.declinationSigma, b.declinationSigma);
}

bool DifferentWalls(const WallFit& a, const Explanation& b) {
    return std::fabs(AngleDifference(a.declination, b.declination)) >
           kDifferentWalls * std::hypot(a.declinationSigma, b.uncertainty);
}

bool DifferentWalls(const Explanation& a, const Explanation& b) {
    return std::fabs(AngleDifference(a.declination, b.declination)) >
           kDifferentWalls * std::hypot(a.uncertainty, b.uncertainty);
}

WallCandidate CandidateOf(const WallFit& fit) {
    return {fit.declination, fit.declinationSigma, fit.lean, fit.leanSigma, fit.chiSquare, {}};
}

// The latest of the used readings by date and clock time; -1 for none.
int Latest(std::span<const Reading> readings, const ReadingSet& use) {
    int latest = -1;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (!use.Contains(i) || !Timed(readings[i].method)) continue;
        const auto key = [&](std::size_t k) {
            return std::pair(std::trunc(readings[k].observation.date), ClockSecondsOf(readings[k]));
        };
        if (latest < 0 || key(i) > key(size_t(latest))) latest = int(i);
    }
    return latest;
}

// Each reading measured against `fit`: in it, or left out of it.
void Residuals(std::span<const Reading> readings, const FitInput& input, const WallFit& fit,
               std::vector<ReadingVerdict>& verdicts, std::vector<ReadingResidual> known) {
    const std::vector<ReadingResidual> residuals =
        known.size() == readings.size() ? std::move(known) : ResidualsAt(input, fit);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        ReadingVerdict& verdict = verdicts[i];
        if (verdict.state == ReadingState::SunBelowHorizon) continue;
        const ReadingResidual& r = residuals[i];
        const int s = input.squareGroup[i];
        const double height = s < int(fit.heightError.size()) ? fit.heightError[size_t(s)] : 0;
        verdict.residualSigma = Standardized(r, verdict.used());
        if (readings[i].method != Method::Square) continue;
        verdict.expectedLength = PredictedLength(readings[i].height / (1 + height),
                                                 r.predicted.theta, input.tolerances.edge);
        verdict.residual = readings[i].length - verdict.expectedLength;
    }
}

// Which readings the fit may use, and which the user keeps in; every reading's state set but
// for those the series leaves out later.
struct Classes {
    ReadingSet usable;
    ReadingSet forcedIn;
};
Classes Classify(std::span<const ReadingGeometry> geometry, std::span<const Inclusion> inclusion,
                 const Tolerances& t, std::vector<ReadingVerdict>& verdicts) {
    const std::size_t n = geometry.size();
    Classes classes{ReadingSet(n), ReadingSet(n)};
    for (std::size_t i = 0; i < n; ++i) {
        const Inclusion say = i < inclusion.size() ? inclusion[i] : Inclusion::Automatic;
        ReadingVerdict& verdict = verdicts[i];
        if (geometry[i].status == ReadingStatus::SunBelowHorizon) {
            verdict.state = ReadingState::SunBelowHorizon;
        } else if (say == Inclusion::ForcedOut) {
            verdict.state = ReadingState::LeftOutByUser;
        } else if (say != Inclusion::ForcedIn && Implausible(geometry[i], t)) {
            verdict.state = ReadingState::Implausible;
        } else {
            verdict.state = ReadingState::Used;
            classes.usable.Add(i);
            classes.forcedIn.Set(i, say == Inclusion::ForcedIn);
        }
    }
    return classes;
}

// Every choice of readings to leave out worth comparing, and the cheapest.
struct Choices {
    std::vector<LeaveOutChoice> all;
    std::size_t best = 0;

    const LeaveOutChoice& Chosen() const { return all[best]; }
};
Choices ChooseLeftOut(const FitInput& input, const Classes& classes,
                      std::span<const WallFit> minima, const SeriesResult* previous) {
    const std::size_t n = input.geometry.size();
    // The readings left out before the latest change are where each search starts.
    std::vector<int> leftBefore;
    if (previous) {
        for (std::size_t i = 0; i < previous->readings.size() && i < n; ++i) {
            if (previous->readings[i].state == ReadingState::Outlier) leftBefore.push_back(int(i));
        }
    }
    Choices choices;
    for (std::size_t k = 0; k < minima.size() && k < kStartsTried; ++k) {
        if (minima[k].chiSquare > minima.front().chiSquare * (1 + kStartSlack) + kStartReach) break;
        choices.all.push_back(
            LeaveOut(input, classes.usable, classes.forcedIn, minima[k], leftBefore));
    }
    const int usableCount = classes.usable.Count();
    if (usableCount <= kEveryChoiceUpTo && usableCount >= 3) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!classes.usable.Contains(i) || classes.forcedIn.Contains(i)) continue;
            const ReadingSet use = classes.usable.Without(i);
            const std::vector<WallFit> without = FitMinima(input, use);
            if (without.empty()) continue;
            choices.all.push_back({use,
                                   {int(i)},
                                   without.front(),
                                   without.front().chiSquare + OutlierPrice(usableCount),
                                   {}});
        }
    }
    for (std::size_t k = 1; k < choices.all.size(); ++k) {
        if (choices.all[k].score < choices.all[choices.best].score) choices.best = k;
    }
    return choices;
}

// The walls the readings kept do not rule out, the best first, with the readings each leaves
// out.
struct OpenWalls {
    std::vector<WallFit> fits;
    std::vector<std::vector<int>> leftOut;
    bool ambiguous = false;  // some walls leave out different readings

    const WallFit& Best() const { return fits.front(); }
};
OpenWalls WallsStillOpen(const FitInput& input, const Classes& classes,
                         const std::vector<WallFit>& minima, const Choices& choices) {
    const LeaveOutChoice& chosen = choices.Chosen();
    // The whole circle once more for the readings kept. A large series follows its other minima
    // from where they were, as leaving a few readings out hardly moves them.
    std::vector<WallFit> kept;
    if (chosen.use == classes.usable) {
        kept = minima;
    } else if (classes.usable.Count() <= kSearchAgainUpTo) {
        kept = FitMinima(input, chosen.use, std::vector{chosen.fit});
    } else {
        kept.push_back(chosen.fit);
        for (std::size_t k = 1; k < minima.size(); ++k) {
            kept.push_back(FitWall(input, chosen.use, minima[k]));
        }
        std::sort(kept.begin(), kept.end(),
                  [](const WallFit& a, const WallFit& b) { return a.chiSquare < b.chiSquare; });
    }
    const WallFit& best =
        kept.empty() || chosen.fit.chiSquare < kept.front().chiSquare ? chosen.fit : kept.front();
    OpenWalls open{{best}, {chosen.leftOut}, false};
    for (const WallFit& other : kept) {
        if (other.chiSquare - best.chiSquare < kRuledOut &&
            std::fabs(AngleDifference(other.declination, best.declination)) > 0.01) {
            open.fits.push_back(other);
            open.leftOut.push_back(chosen.leftOut);
        }
    }
    // When some reading has to go, another reading's going may do as well for another wall.
    if (!Consistent(open.Best()) || chosen.leftOut.empty()) return open;
    for (std::size_t k = 0; k < choices.all.size(); ++k) {
        const LeaveOutChoice& other = choices.all[k];
        if (k == choices.best || other.use == chosen.use || other.leftOut.empty() ||
            !Consistent(other.fit) || other.score >= chosen.score + kRuledOut) {
            continue;
        }
        const bool fresh = std::all_of(open.fits.begin(), open.fits.end(), [&](const WallFit& fit) {
            return DifferentWalls(fit, other.fit);
        });
        if (fresh) {
            open.fits.push_back(other.fit);
            open.leftOut.push_back(other.leftOut);
            open.ambiguous = true;
        }
    }
    return open;
}

// The slips that may explain the readings better than they fit as typed. Worth trying when
// the readings disagree, when many are left out, when a shared error is pulled far from its
// tolerance (a day an hour off pulls the lean or the watch), or in a small series of few dates,
// where trying is cheap.
void ExplainSlips(std::span<const Reading> readings, const FitInput& input, const Classes& classes,
                  const WallFit& typed, const LeaveOutChoice& chosen, SeriesResult& result) {
    const WallFit& best = chosen.fit;
    const int usable = classes.usable.Count();
    // In a large series a few blunders left out are no sign of a day gone wrong.
    const bool manyLeftOut =
        !chosen.leftOut.empty() &&
        (usable <= kEveryChoiceUpTo * 2 || int(chosen.leftOut.size()) * kManyLeftOut >= usable);
    const bool worthTrying = !Consistent(best) || manyLeftOut || usable <= kEveryChoiceUpTo ||
                             (input.dates <= kFewDates && usable <= kSearchAgainUpTo) ||
                             LargestPriorPull(input, typed) > kFarBeyond;
    if (!worthTrying) return;
    const std::vector<Explanation> found =
        Explanations(readings, input, classes.usable, typed, chosen.score);
    const auto named = std::find_if(found.begin(), found.end(),
                                    [](const Explanation& e) { return e.likelierThanAsTyped; });
    if (named != found.end()) {
        result.explanation = *named;
        // The likeliest of the others that gives another wall: what to look at next when the
        // slip named turns out not to have been made.
        for (const Explanation& e : found) {
            if (&e != &*named && DifferentWalls(e, *named)) {
                result.otherwise = e;
                break;
            }
        }
        return;
    }
    for (const Explanation& e : found) {
        if (e.cause == Cause::Daylight && e.margin > -kRuledOut && DifferentWalls(best, e)) {
            result.notRuledOut = e;
            return;
        }
    }
}

// Every reading measured against the best wall; those left out marked, with the slip that
// explains each.
void MeasureReadings(std::span<const Reading> readings, const FitInput& input,
                     LeaveOutChoice& chosen, const WallFit& best, SeriesResult& result) {
    for (int i : chosen.leftOut) result.readings[size_t(i)].state = ReadingState::Outlier;
    // The leaving out measured every reading against its fit already, when that is the best.
    const bool same =
        best.declination == chosen.fit.declination && best.chiSquare == chosen.fit.chiSquare;
    Residuals(readings, input, best, result.readings,
              same ? std::move(chosen.residuals) : std::vector<ReadingResidual>{});
    for (int i : chosen.leftOut) {
        result.readings[size_t(i)].blunder = ExplainReading(input, best, readings, i);
    }
}

// The verdict: the chi^2 test of the best fit, then the walls still open.
void Judge(std::span<const ReadingGeometry> geometry, const OpenWalls& open, SeriesResult& result) {
    const WallFit& best = open.Best();
    result.chiSquare = best.chiSquare;
    result.degreesOfFreedom = best.degreesOfFreedom;
    result.probability = ChiSquareTail(best.chiSquare, best.degreesOfFreedom);
    result.consistent = result.probability >= kInconsistentBelow;
    result.readingsUsed = best.used;
    result.uncertainty = best.declinationSigma;
    result.lean = best.lean;
    result.leanUncertainty = best.leanSigma;
    result.correlation = best.correlation;
    if (!result.consistent) {
        result.verdict = Verdict::Inconsistent;
    } else if (open.ambiguous) {
        result.verdict = Verdict::Ambiguous;
    } else if (open.fits.size() > 1) {
        result.verdict = Verdict::Undecided;
    } else if (result.explanation && DifferentWalls(best, *result.explanation)) {
        result.verdict = Verdict::Explained;
    } else {
        result.verdict = Verdict::Decided;
        result.declination = best.declination;
    }
    if (result.verdict != Verdict::Decided) {
        for (std::size_t k = 0; k < open.fits.size(); ++k) {
            result.alternatives.push_back(CandidateOf(open.fits[k]));
            result.alternatives.back().leftOut = open.leftOut[k];
        }
    }
    const std::size_t n = geometry.size();
    if (result.verdict == Verdict::Inconsistent) {
        std::vector<std::pair<double, std::size_t>> worst;
        for (std::size_t i = 0; i < n; ++i) {
            if (result.readings[i].used()) {
                worst.emplace_back(std::fabs(result.readings[i].residualSigma), i);
            }
        }
        std::sort(worst.rbegin(), worst.rend());
        // A reading alone that no wall fits disagrees with no other.
        for (std::size_t k = 0; worst.size() > 1 && k < worst.size() && k < kNamedWhenInconsistent;
             ++k) {
            result.readings[worst[k].second].disagreesMost = true;
        }
    }
    if (result.decided()) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!geometry[i].solved() || !std::isfinite(geometry[i].second)) continue;
            const bool second = std::fabs(AngleDifference(geometry[i].second, best.declination)) <
                                std::fabs(AngleDifference(geometry[i].first, best.declination));
            result.readings[i].chosen = second ? Candidate::Second : Candidate::First;
        }
    }
}

// Where the plan of the next reading starts: the walls still open and the latest reading used.
void Plan(std::span<const Reading> readings, const FitInput& input, const ReadingSet& use,
          const OpenWalls& open, SeriesResult& result) {
    result.fits = open.fits;
    result.latest = Latest(readings, use);
    if (result.latest < 0) return;
    result.latestDate = input.dateGroup[size_t(result.latest)];
    result.latestSquare = input.squareGroup[size_t(result.latest)];
    if (result.verdict == Verdict::Undecided) {
        result.minutesToDecide =
            MinutesToDecide(readings[size_t(result.latest)], result.latestDate, result.latestSquare,
                            result.fits, input.tolerances);
    }
}

}  // namespace

double AnswerOf(const ReadingGeometry& geometry, Candidate candidate) {
    switch (candidate) {
        case Candidate::First:
            return geometry.first;
        case Candidate::Second:
            return geometry.second;
        case Candidate::None:
            break;
    }
    return kNoValue;
}

double UncertaintyOf(const AnswerUncertainty& uncertainty, Candidate candidate) {
    switch (candidate) {
        case Candidate::First:
            return uncertainty.first;
        case Candidate::Second:
            return uncertainty.second;
        case Candidate::None:
            break;
    }
    return kNoValue;
}

SeriesResult CombineReadings(std::span<const Reading> all,
                             std::span<const ReadingGeometry> geometry,
                             const Tolerances& tolerances, std::span<const Inclusion> inclusion,
                             const SeriesResult* previous) {
    const Tolerances t = Admissible(tolerances);
    const std::size_t n = std::min(all.size(), geometry.size());
    const std::span<const Reading> readings = all.first(n);
    SeriesResult result;
    result.readings.resize(all.size());
    const Classes classes = Classify(geometry.first(n), inclusion, t, result.readings);
    if (classes.usable.Empty()) {
        for (ReadingVerdict& verdict : result.readings) {
            if (verdict.state == ReadingState::Used) verdict.state = ReadingState::LeftOutByUser;
        }
        return result;
    }

    const FitInput input = MakeFitInput(
        readings, std::vector<ReadingGeometry>(geometry.begin(), geometry.begin() + long(n)), t);
    const std::span<const WallFit> starts =
        previous ? std::span<const WallFit>(previous->fits) : std::span<const WallFit>();
    const std::vector<WallFit> minima = FitMinima(input, classes.usable, starts);
    if (minima.empty()) return result;

    Choices choices = ChooseLeftOut(input, classes, minima, previous);
    LeaveOutChoice& chosen = choices.all[choices.best];
    ExplainSlips(readings, input, classes, minima.front(), chosen, result);
    // A slip named explains the readings better than leaving them out does.
    if (result.explanation) {
        chosen = {classes.usable, {}, minima.front(), minima.front().chiSquare, {}};
    }
    const OpenWalls open = WallsStillOpen(input, classes, minima, choices);
    MeasureReadings(readings, input, chosen, open.Best(), result);
    Judge(geometry.first(n), open, result);
    Plan(readings, input, chosen.use, open, result);
    return result;
}

SolvedSeries SolveSeries(std::span<const Reading> readings, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion) {
    std::vector<ReadingGeometry> geometry;
    geometry.reserve(readings.size());
    for (const Reading& reading : readings) geometry.push_back(Examine(reading));
    return SolveSeries(readings, geometry, tolerances, inclusion);
}

SolvedSeries SolveSeries(std::span<const Reading> readings,
                         std::span<const ReadingGeometry> geometry, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion) {
    SolvedSeries solved;
    solved.geometry.assign(geometry.begin(), geometry.end());
    for (const ReadingGeometry& g : solved.geometry) {
        solved.answerUncertainty.push_back(SingleReadingUncertainty(g, tolerances));
    }
    solved.result = CombineReadings(readings, solved.geometry, tolerances, inclusion);
    return solved;
}

}  // namespace kestramo::series
