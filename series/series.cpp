#include "series/series.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "series/circle_search.h"
#include "series/decision_time.h"
#include "series/leave_out.h"

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
// Two walls are different when they lie farther apart than this many standard deviations.
constexpr double kDifferentWalls = 3;
// Up to this many usable readings, the circle is searched again once readings are left out.
constexpr int kSearchAgainUpTo = 60;
// One reading in this many left out is many.
constexpr int kManyLeftOut = 5;
// The readings named when the series is inconsistent.
constexpr std::size_t kNamedWhenInconsistent = 2;

bool Consistent(const WallFit& fit) {
    return ChiSquareTail(fit.chiSquare, fit.degreesOfFreedom) >= kInconsistentBelow;
}

bool DifferentWalls(const WallFit& a, const WallFit& b) {
    return std::fabs(AngleDifference(a.declination, b.declination)) >
           kDifferentWalls * std::hypot(a.declinationSigma, b.declinationSigma);
}

WallCandidate CandidateOf(const WallFit& fit) {
    return {fit.declination, fit.declinationSigma, fit.lean, fit.leanSigma, fit.chiSquare, {}};
}

// The latest of the used readings by date and clock time; -1 for none.
int Latest(std::span<const Reading> readings, std::span<const char> use) {
    int latest = -1;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (i >= use.size() || !use[i]) continue;
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
        verdict.expectedLength = PredictedLength(readings[i].height / (1 + height),
                                                 r.predicted.theta, input.tolerances.edge);
        verdict.residual = readings[i].length - verdict.expectedLength;
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

SeriesResult CombineReadings(std::span<const Reading> readings,
                             std::span<const ReadingGeometry> geometry,
                             const Tolerances& tolerances, std::span<const Inclusion> inclusion,
                             const SeriesResult* previous) {
    const Tolerances t = Admissible(tolerances);
    const std::size_t n = std::min(readings.size(), geometry.size());
    SeriesResult result;
    result.readings.resize(readings.size());
    std::vector<char> usable(n, 0);
    std::vector<char> forcedIn(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const Inclusion say = i < inclusion.size() ? inclusion[i] : Inclusion::Automatic;
        ReadingVerdict& verdict = result.readings[i];
        if (geometry[i].status == ReadingStatus::SunBelowHorizon) {
            verdict.state = ReadingState::SunBelowHorizon;
        } else if (say == Inclusion::ForcedOut) {
            verdict.state = ReadingState::LeftOutByUser;
        } else if (say != Inclusion::ForcedIn && Implausible(geometry[i], t)) {
            verdict.state = ReadingState::Implausible;
        } else {
            verdict.state = ReadingState::Used;
            usable[i] = 1;
            forcedIn[i] = say == Inclusion::ForcedIn;
        }
    }
    if (std::count(usable.begin(), usable.end(), 1) == 0) {
        for (ReadingVerdict& verdict : result.readings) {
            if (verdict.state == ReadingState::Used) verdict.state = ReadingState::LeftOutByUser;
        }
        return result;
    }

    const FitInput input =
        MakeFitInput(readings.first(n),
                     std::vector<ReadingGeometry>(geometry.begin(), geometry.begin() + long(n)), t);
    const std::span<const WallFit> starts =
        previous ? std::span<const WallFit>(previous->fits) : std::span<const WallFit>();
    const std::vector<WallFit> minima = FitMinima(input, usable, starts);
    if (minima.empty()) return result;

    // Readings left out from each promising minimum, and the cheapest choice.
    std::vector<int> leftBefore;
    if (previous) {
        for (std::size_t i = 0; i < previous->readings.size() && i < n; ++i) {
            if (previous->readings[i].state == ReadingState::Outlier) leftBefore.push_back(int(i));
        }
    }
    std::vector<LeaveOutChoice> choices;
    for (std::size_t k = 0; k < minima.size() && k < kStartsTried; ++k) {
        if (minima[k].chiSquare > minima.front().chiSquare * (1 + kStartSlack) + kStartReach) break;
        choices.push_back(LeaveOut(input, usable, forcedIn, minima[k], leftBefore));
    }
    const int usableCount = int(std::count(usable.begin(), usable.end(), 1));
    if (usableCount <= kEveryChoiceUpTo && usableCount >= 3) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!usable[i] || forcedIn[i]) continue;
            std::vector<char> use = usable;
            use[i] = 0;
            const std::vector<WallFit> without = FitMinima(input, use);
            if (without.empty()) continue;
            choices.push_back({use,
                               {int(i)},
                               without.front(),
                               without.front().chiSquare + OutlierPrice(usableCount),
                               {}});
        }
    }
    std::size_t bestChoice = 0;
    for (std::size_t k = 1; k < choices.size(); ++k) {
        if (choices[k].score < choices[bestChoice].score) bestChoice = k;
    }
    LeaveOutChoice chosen = choices[bestChoice];

    // The whole circle once more for the readings kept: the walls not ruled out. A large series
    // follows its other minima from where they were, as leaving a few readings out hardly moves
    // them.
    std::vector<WallFit> kept;
    if (chosen.use == usable) {
        kept = minima;
    } else if (usableCount <= kSearchAgainUpTo) {
        kept = FitMinima(input, chosen.use, std::vector{chosen.fit});
    } else {
        kept.push_back(chosen.fit);
        for (std::size_t k = 1; k < minima.size(); ++k) {
            kept.push_back(FitWall(input, chosen.use, minima[k]));
        }
        std::sort(kept.begin(), kept.end(),
                  [](const WallFit& a, const WallFit& b) { return a.chiSquare < b.chiSquare; });
    }
    WallFit best =
        kept.empty() || chosen.fit.chiSquare < kept.front().chiSquare ? chosen.fit : kept.front();
    std::vector<WallFit> open{best};
    std::vector<std::vector<int>> openLeftOut{chosen.leftOut};
    for (const WallFit& other : kept) {
        if (other.chiSquare - best.chiSquare < kRuledOut &&
            std::fabs(AngleDifference(other.declination, best.declination)) > 0.01) {
            open.push_back(other);
            openLeftOut.push_back(chosen.leftOut);
        }
    }
    // When some reading has to go, another reading's going may do as well for another wall.
    bool ambiguous = false;
    if (Consistent(best) && !chosen.leftOut.empty()) {
        for (std::size_t k = 0; k < choices.size(); ++k) {
            const LeaveOutChoice& other = choices[k];
            if (k == bestChoice || other.use == chosen.use || other.leftOut.empty() ||
                !Consistent(other.fit) || other.score >= chosen.score + kRuledOut) {
                continue;
            }
            const bool fresh = std::all_of(open.begin(), open.end(), [&](const WallFit& fit) {
                return DifferentWalls(fit, other.fit);
            });
            if (fresh) {
                open.push_back(other.fit);
                openLeftOut.push_back(other.leftOut);
                ambiguous = true;
            }
        }
    }

    // A whole date set to the wrong clock kind may explain the readings better than leaving any
    // out: say so, and leave none out. Worth trying when the readings disagree, or when many are
    // left out (in a large series a few blunders are no sign of a day gone wrong).
    const bool manyLeftOut =
        !chosen.leftOut.empty() && (usableCount <= kEveryChoiceUpTo * 2 ||
                                    int(chosen.leftOut.size()) * kManyLeftOut >= usableCount);
    if (manyLeftOut || !Consistent(best)) {
        result.dateSlip = FindDateSlip(readings.first(n), input, usable, chosen.score);
    }
    // So may a lean, a watch or a square far beyond its tolerance.
    if (!result.dateSlip &&
        (manyLeftOut || !Consistent(best) || LargestPriorPull(input, best) > kRuledOut)) {
        result.priorConflict =
            FindPriorConflict(readings.first(n), input, usable, minima.front(), chosen.score);
    }
    if (result.dateSlip || result.priorConflict) {
        chosen.use = usable;
        chosen.leftOut.clear();
        best = minima.front();
        open = {best};
        openLeftOut = {{}};
        ambiguous = false;
    }

    for (int i : chosen.leftOut) result.readings[size_t(i)].state = ReadingState::Outlier;
    // The leaving out measured every reading against its fit already, when that is the best.
    const bool same =
        best.declination == chosen.fit.declination && best.chiSquare == chosen.fit.chiSquare;
    Residuals(readings.first(n), input, best, result.readings,
              same ? std::move(chosen.residuals) : std::vector<ReadingResidual>{});
    for (int i : chosen.leftOut) {
        result.readings[size_t(i)].blunder = ExplainReading(input, best, readings.first(n), i);
    }

    result.chiSquare = best.chiSquare;
    result.degreesOfFreedom = best.degreesOfFreedom;
    result.probability = ChiSquareTail(best.chiSquare, best.degreesOfFreedom);
    result.consistent =
        result.probability >= kInconsistentBelow && !result.dateSlip && !result.priorConflict;
    result.readingsUsed = best.used;
    result.uncertainty = best.declinationSigma;
    result.lean = best.lean;
    result.leanUncertainty = best.leanSigma;
    result.correlation = best.correlation;
    if (!result.consistent) {
        result.verdict = Verdict::Inconsistent;
    } else if (ambiguous) {
        result.verdict = Verdict::Ambiguous;
    } else if (open.size() > 1) {
        result.verdict = Verdict::Undecided;
    } else {
        result.verdict = Verdict::Decided;
        result.declination = best.declination;
    }
    if (result.verdict != Verdict::Decided) {
        for (std::size_t k = 0; k < open.size(); ++k) {
            result.alternatives.push_back(CandidateOf(open[k]));
            result.alternatives.back().leftOut = openLeftOut[k];
        }
    }
    if (result.verdict == Verdict::Inconsistent) {
        std::vector<std::pair<double, std::size_t>> worst;
        for (std::size_t i = 0; i < n; ++i) {
            if (result.readings[i].used()) {
                worst.emplace_back(std::fabs(result.readings[i].residualSigma), i);
            }
        }
        std::sort(worst.rbegin(), worst.rend());
        for (std::size_t k = 0; k < worst.size() && k < kNamedWhenInconsistent; ++k) {
            result.readings[worst[k].second].disagreesMost = true;
        }
    }
    if (result.decided()) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!geometry[i].solved()) continue;
            const bool second = std::fabs(AngleDifference(geometry[i].second, best.declination)) <
                                std::fabs(AngleDifference(geometry[i].first, best.declination));
            result.readings[i].chosen = second ? Candidate::Second : Candidate::First;
        }
    }

    result.fits = open;
    result.latest = Latest(readings.first(n), chosen.use);
    if (result.latest >= 0) {
        result.latestDate = input.dateGroup[size_t(result.latest)];
        result.latestSquare = input.squareGroup[size_t(result.latest)];
        if (result.verdict == Verdict::Undecided) {
            result.minutesToDecide =
                MinutesToDecide(readings[size_t(result.latest)], result.latestDate,
                                result.latestSquare, result.fits, t);
        }
    }
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
