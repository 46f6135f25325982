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
    ShadowMisread,      // no slip explains it: the shadow (angle, bearing) was probably misread
    AngleSignFlipped,   // a declinometer's angle read on the wrong side of the perpendicular
    BearingOfTheLine,   // a bearing of the wall's line, 90 degrees from its normal
    BearingFromNorth,   // a bearing counted from north: 180 degrees off
    BearingEastPositive,  // a bearing counted east positive: its sign flipped
    BoardXReversed,       // a board's x measured to the left
};

// The clock's error in seconds for a clock slip (3600 for an hour fast); 0 for the others.
double ClockSlipSeconds(Blunder blunder);

// What explains reading `index` of `readings`, which `fit` (a fit without it) does not predict:
// the slip of its kind (the clock of a timed reading an hour or half an hour off, a
// declinometer's sign, a bearing's origin or sense, a board's x) under which it fits within two
// standard deviations, the likeliest such, or else a misread shadow.
Blunder ExplainReading(const FitInput& input, const WallFit& fit, std::span<const Reading> readings,
                       int index);

// The chance of a chi^2 at least this large with these degrees of freedom if the tolerances
// hold (1 for no degrees of freedom).
double ChiSquareTail(double chiSquare, int degreesOfFreedom);

// Readings agree as well as their tolerances allow unless chi^2 is that unlikely.
inline constexpr double kInconsistentBelow = 0.001;

}  // namespace kestramo::series
