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

// A date whose readings all fit much better with the clock kind chosen the other way:
// daylight-saving time set wrongly for a whole day shifts all its readings by an hour, which
// looks like a wall turned about the earth's axis rather than like one reading out of line.
struct DateSlip {
    CalendarDate date;
    bool daylightWasChosen = false;  // the readings say daylight time; standard time fits
    double declination = 0;          // the wall the readings give with it set the other way
    double uncertainty = 0;          // degrees, 1 sigma
    double chiSquare = 0;            // of all the readings with it set the other way
};

// Tries each date (of two or more) with its readings' clock kind the other way; the one that
// lowers chi^2 the most, when the readings then agree and their chi^2 lies more than a reading's
// leaving price below `score`, or nothing.
std::optional<DateSlip> FindDateSlip(std::span<const Reading> readings, const FitInput& input,
                                     std::span<const char> usable, double score);

// A tolerance the readings say is far too tight: the wall's lean much farther from the lean
// stated, a watch much farther off, or a square much taller or shorter than typed.
enum class SharedSource { Lean, Watch, Height };
struct PriorConflict {
    SharedSource source = SharedSource::Lean;
    double value = 0;        // the fitted lean (degrees), watch offset (seconds, the watch behind
                             // true time) or height error (a fraction, the square taller than
                             // typed), with that tolerance widened; for a watch or a square, the
                             // date or height whose value lies farthest out
    double sigma = 0;        // its uncertainty, same unit
    CalendarDate date;       // the date, for a watch
    double height = 0;       // the typed height, for a square
    double declination = 0;  // the wall the readings give with the tolerance widened
    double uncertainty = 0;
    double chiSquare = 0;  // of the readings with the tolerance widened
};

// How strongly the readings of `fit` pull each shared unknown from its prior, as the chi^2 that
// widening its tolerance would save, from the fit's covariance alone: (shift of the fitted value
// from the prior mean)^2 / (prior variance - fitted variance). The largest over the lean and
// every watch and square.
double LargestPriorPull(const FitInput& input, const WallFit& fit);

// Refits the usable readings from `start` (their fit) with each tolerance of the lean, the
// watch and the square widened tenfold in turn; the one whose chi^2 then lies more than
// kRuledOut below `score`, the most, or nothing. A tolerance widened moves the wall a little,
// not to another minimum: each refit follows the fit from where it is.
std::optional<PriorConflict> FindPriorConflict(std::span<const Reading> readings,
                                               const FitInput& input, std::span<const char> usable,
                                               const WallFit& start, double score);

// The chance of a chi^2 at least this large with these degrees of freedom if the tolerances
// hold (1 for no degrees of freedom).
double ChiSquareTail(double chiSquare, int degreesOfFreedom);

// Readings agree as well as their tolerances allow unless chi^2 is that unlikely.
inline constexpr double kInconsistentBelow = 0.001;

}  // namespace kestramo::series
