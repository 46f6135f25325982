#include "readings/tolerances.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/shadow_solution.h"
#include "readings/circular.h"

namespace kestramo::readings {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One error source: its 1-sigma size and how a step of `h` of it perturbs the reading.
enum class Source { Clock, Length, Height, Tilt };

ReadingSolution Step(const Reading& reading, Source source, double h) {
    switch (source) {
        case Source::Clock:
            return SolvePerturbed(reading, h, 0, 0, 0);
        case Source::Length:
            return SolvePerturbed(reading, 0, h, 0, 0);
        case Source::Height:
            return SolvePerturbed(reading, 0, 0, h, 0);
        case Source::Tilt:
            return SolvePerturbed(reading, 0, 0, 0, h);
    }
    return {};
}

// Derivatives of the two answers times sigma (degrees): central differences with a step of a
// quarter sigma, halved up to a few times when a step leaves the solvable region, then one-sided.
// Infinite when no step stays solvable.
std::array<double, 2> Contribution(const Reading& reading, const ReadingSolution& nominal,
                                   Source source, double sigma) {
    if (!(sigma > 0)) {
        return {0, 0};
    }
    double h = sigma / 4;
    for (int attempt = 0; attempt < 6; ++attempt, h /= 2) {
        const ReadingSolution plus = Step(reading, source, h);
        const ReadingSolution minus = Step(reading, source, -h);
        if (plus.solved() && minus.solved()) {
            return {std::fabs(AngleDifference(plus.first, minus.first)) / (2 * h) * sigma,
                    std::fabs(AngleDifference(plus.second, minus.second)) / (2 * h) * sigma};
        }
        const ReadingSolution& side = plus.solved() ? plus : minus;
        if (side.solved() && attempt == 5) {
            return {std::fabs(AngleDifference(side.first, nominal.first)) / h * sigma,
                    std::fabs(AngleDifference(side.second, nominal.second)) / h * sigma};
        }
    }
    return {kInfinity, kInfinity};
}

}  // namespace

ReadingSolution SolvePerturbed(const Reading& reading, double clockSeconds, double lengthFraction,
                               double heightFraction, double tiltDegrees) {
    Reading moved = clockSeconds == 0 ? reading : ShiftedClock(reading, clockSeconds);
    const double length = reading.length * (1 + lengthFraction);
    const double height = reading.height * (1 + heightFraction);
    // A square tilted by t toward the shadow puts its tip H sin t along the wall and H cos t out
    // from it, so the shadow reads H sin t + L cos t: to first order the length grows by H t.
    // (A tilt across the shadow moves it sideways, which changes its length only to second
    // order.)
    const double tilt = tiltDegrees * (std::numbers::pi / 180);
    moved.height = height;
    moved.length = tiltDegrees != 0 ? height * std::sin(tilt) + length * std::cos(tilt) : length;
    if (!(moved.height > 0) || !(moved.length > 0) || !std::isfinite(moved.height)) {
        ReadingSolution none = SolveReading(reading);
        none.status = ReadingStatus::NoWallFits;
        return none;
    }
    return SolveReading(moved);
}

AnswerUncertainty PropagateUncertainty(const Reading& reading, const ReadingSolution& solution,
                                       const Tolerances& tolerances) {
    if (!solution.solved()) {
        return {};
    }
    const std::array<std::pair<Source, double>, 4> sources{{
        {Source::Clock, tolerances.clockSeconds},
        {Source::Length, tolerances.lengthPercent / 100},
        {Source::Height, tolerances.heightPercent / 100},
        {Source::Tilt, tolerances.tiltDegrees},
    }};
    double first = 0;
    double second = 0;
    for (const auto& [source, sigma] : sources) {
        const auto [dFirst, dSecond] = Contribution(reading, solution, source, sigma);
        first += dFirst * dFirst;
        second += dSecond * dSecond;
    }
    return {std::sqrt(first), std::sqrt(second)};
}

EvaluatedReading EvaluateReading(const Reading& reading, const Tolerances& tolerances) {
    const ReadingSolution solution = SolveReading(reading);
    return {solution, PropagateUncertainty(reading, solution, tolerances)};
}

}  // namespace kestramo::readings
