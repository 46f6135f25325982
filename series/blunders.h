#pragma once

#include <optional>
#include <span>
#include <vector>

#include "series/reading.h"
#include "series/wall_fit.h"

// The slips people make in a reading, and which one explains a reading the others do not
// predict.
namespace kestramo::series {

enum class Blunder {
    None,
    ClockHourFast,      // the clock read an hour more than it should: daylight time chosen wrongly
    ClockHourSlow,      // an hour less
    ClockHalfHourFast,  // half an hour more: a zone's half hour
    ClockHalfHourSlow,  // half an hour less
    ShadowMisread,      // no slip of the clock explains it: the shadow was probably misread
};

// The clock's error in seconds for a clock slip (3600 for an hour fast); 0 for the others.
double ClockSlipSeconds(Blunder blunder);

// What explains reading `index` of `readings`, which `fit` (a fit without it) does not predict:
// the clock slip under which the reading fits within two standard deviations, the smallest
// such, or else a misread shadow.
Blunder ExplainReading(const FitInput& input, const WallFit& fit, std::span<const Reading> readings,
                       int index);

// The chance of a chi^2 at least this large with these degrees of freedom if the tolerances
// hold (1 for no degrees of freedom).
double ChiSquareTail(double chiSquare, int degreesOfFreedom);

// Readings agree as well as their tolerances allow unless chi^2 is that unlikely.
inline constexpr double kInconsistentBelow = 0.001;

}  // namespace kestramo::series
