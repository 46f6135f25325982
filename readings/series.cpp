#include "readings/series.h"

#include <algorithm>
#include <cmath>

#include "readings/circular.h"
#include "readings/decision_time.h"
#include "readings/series_fit.h"

namespace kestramo::readings {
namespace {

// A used reading more than this many standard deviations from the others is an outlier.
constexpr double kOutlierLimit = 3;
// Two readings tell a wall from its mirror when their mirrors lie farther apart than this many
// standard deviations of their difference.
constexpr double kDecisiveSeparation = 3;

Candidate CandidateOf(int pick) { return pick == 0 ? Candidate::First : Candidate::Second; }

// Birge-inflated uncertainty of a weighted mean.
double MeanUncertainty(double weight, double birge) {
    const double plain = 1 / std::sqrt(weight);
    return std::isfinite(birge) && birge > 1 ? plain * birge : plain;
}

double BirgeRatio(double chiSquare, int count) {
    return count >= 2 ? std::sqrt(chiSquare / (count - 1)) : kNoValue;
}

// True when some pair of used items has mirrors farther apart than their uncertainties allow.
// Mirrors lie at twice the sun's azimuth less the wall, within half a turn of the wall, so
// their offsets from the mean mirror order them; each item is compared with the two extremes.
bool MirrorsDisagree(const std::vector<fit::Item>& items, const fit::Fit& best) {
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!best.outlier[i]) {
            used.push_back(i);
        }
    }
    if (used.size() < 2) {
        return false;
    }
    std::vector<double> offset(items.size());
    std::size_t low = used.front();
    std::size_t high = used.front();
    for (std::size_t i : used) {
        const int mirror = 1 - best.pick[i];
        offset[i] = AngleDifference(items[i].answer[mirror], best.mean);
        low = offset[i] < offset[low] ? i : low;
        high = offset[i] > offset[high] ? i : high;
    }
    for (std::size_t i : used) {
        const double sigma = items[i].sigma[1 - best.pick[i]];
        for (std::size_t j : {low, high}) {
            const double other = items[j].sigma[1 - best.pick[j]];
            if (std::fabs(AngleDifference(items[i].answer[1 - best.pick[i]],
                                          items[j].answer[1 - best.pick[j]])) >
                kDecisiveSeparation * std::sqrt(sigma * sigma + other * other)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

double AnswerOf(const ReadingSolution& solution, Candidate candidate) {
    switch (candidate) {
        case Candidate::First:
            return solution.first;
        case Candidate::Second:
            return solution.second;
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
                             std::span<const EvaluatedReading> evaluated,
                             std::span<const Inclusion> inclusion) {
    SeriesResult result;
    const std::size_t n = std::min(readings.size(), evaluated.size());
    result.readings.resize(readings.size());

    // The usable readings as bare numbers, and where each came from.
    std::vector<fit::Item> items;
    std::vector<std::size_t> source;
    items.reserve(n);
    source.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Inclusion say = i < inclusion.size() ? inclusion[i] : Inclusion::Automatic;
        const EvaluatedReading& e = evaluated[i];
        const bool finite =
            std::isfinite(e.uncertainty.first) && std::isfinite(e.uncertainty.second);
        if (!e.solution.solved() || !finite || readings[i].excluded ||
            say == Inclusion::ForcedOut) {
            continue;
        }
        fit::Item item;
        item.answer = {e.solution.first, e.solution.second};
        // A zero tolerance would give infinite weight; a thousandth of a degree is exact enough.
        item.sigma = {std::max(e.uncertainty.first, 1e-3), std::max(e.uncertainty.second, 1e-3)};
        item.sunAzimuth = e.solution.sunAzimuth;
        item.forcedIn = say == Inclusion::ForcedIn;
        fit::Prepare(item);
        items.push_back(item);
        source.push_back(i);
    }
    if (items.empty()) {
        result.decision = Decision::NoReadings;
        return result;
    }

    const fit::Fit best = fit::BestFit(items, kOutlierLimit);
    result.readingsUsed = best.used;
    result.chiSquare = best.chiSquare;
    result.birgeRatio = BirgeRatio(best.chiSquare, best.used);
    result.uncertainty = MeanUncertainty(best.weight, result.birgeRatio);
    const double mean = best.mean;

    if (best.used < 2) {
        result.decision = Decision::OneReading;
    } else if (MirrorsDisagree(items, best)) {
        result.decision = Decision::Decided;
    } else {
        result.decision = Decision::SunTooClose;
    }
    result.decided = result.decision == Decision::Decided;
    result.candidates.push_back({mean, result.uncertainty});
    if (result.decided) {
        result.declination = mean;
    } else {
        // The mirror cluster: the other answer of each used reading.
        std::vector<int> mirrorPick(best.pick.size());
        std::vector<bool> counted(best.pick.size());
        for (std::size_t k = 0; k < items.size(); ++k) {
            mirrorPick[k] = 1 - best.pick[k];
            counted[k] = !best.outlier[k];
        }
        const fit::Moments mirror = fit::MomentsOf(items, mirrorPick, counted);
        result.candidates.push_back(
            {mirror.mean,
             MeanUncertainty(mirror.weight, BirgeRatio(mirror.chiSquare, mirror.count))});
    }

    // Verdicts of the usable readings: residuals of the used ones against the others.
    CircularSum all;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (!best.outlier[k]) {
            const int p = best.pick[k];
            all.add(items[k].answer[p], 1 / (items[k].sigma[p] * items[k].sigma[p]));
        }
    }
    for (std::size_t k = 0; k < items.size(); ++k) {
        ReadingVerdict& verdict = result.readings[source[k]];
        const int p = best.pick[k];
        const double answer = items[k].answer[p];
        const double sigma = items[k].sigma[p];
        verdict.leaning = CandidateOf(p);
        verdict.used = !best.outlier[k];
        verdict.outlier = best.outlier[k];
        verdict.residual = AngleDifference(answer, mean);
        if (verdict.used) {
            CircularSum others = all;
            others.remove(answer, 1 / (sigma * sigma));
            verdict.residualSigma = others.weight > 0
                                        ? std::fabs(AngleDifference(answer, others.mean())) /
                                              std::sqrt(sigma * sigma + 1 / others.weight)
                                        : 0;
        } else {
            verdict.residualSigma =
                std::fabs(verdict.residual) / std::hypot(sigma, result.uncertainty);
        }
    }
    // Readings left out by the caller: their answer nearest the combined one.
    for (std::size_t i = 0; i < n; ++i) {
        ReadingVerdict& verdict = result.readings[i];
        const ReadingSolution& solution = evaluated[i].solution;
        if (verdict.leaning != Candidate::None || !solution.solved()) {
            continue;
        }
        const bool second = std::fabs(AngleDifference(solution.second, mean)) <
                            std::fabs(AngleDifference(solution.first, mean));
        verdict.leaning = second ? Candidate::Second : Candidate::First;
        verdict.residual = AngleDifference(AnswerOf(solution, verdict.leaning), mean);
        verdict.residualSigma = std::fabs(verdict.residual) /
                                std::hypot(UncertaintyOf(evaluated[i].uncertainty, verdict.leaning),
                                           result.uncertainty);
    }
    if (result.decided) {
        for (ReadingVerdict& verdict : result.readings) {
            verdict.chosen = verdict.leaning;
        }
    } else {
        // The last used reading is where the sun has to move on from.
        std::size_t last = items.size() - 1;
        while (best.outlier[last]) {
            --last;
        }
        std::vector<SunSighting> sightings;
        for (std::size_t k = 0; k < items.size(); ++k) {
            if (!best.outlier[k]) {
                const int mirror = 1 - best.pick[k];
                sightings.push_back({items[k].sunAzimuth, items[k].sigma[mirror]});
            }
        }
        result.minutesToDecide = MinutesToDecide(
            readings[source[last]], sightings, items[last].sigma[1 - best.pick[last]],
            {result.candidates[0].declination, result.candidates[1].declination},
            kDecisiveSeparation);
    }
    return result;
}

SolvedSeries SolveSeries(std::span<const Reading> readings, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion) {
    SolvedSeries solved;
    solved.evaluated.reserve(readings.size());
    for (const Reading& reading : readings) {
        solved.evaluated.push_back(EvaluateReading(reading, tolerances));
    }
    solved.result = CombineReadings(readings, solved.evaluated, inclusion);
    return solved;
}

}  // namespace kestramo::readings
