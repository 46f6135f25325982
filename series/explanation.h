#pragma once

#include <optional>
#include <span>
#include <vector>

#include "series/reading.h"
#include "series/wall_fit.h"

// What explains readings that the series as typed fits badly, ranked by how probable each is.
//
// Each explanation is scored as minus twice the log of its probability, up to a constant that
// all share: the chi^2 of the readings with it put right plus its price. A whole day typed on
// the wrong clock kind (standard time for daylight-saving time, or the other way) is an
// ordinary, discrete mistake with a fixed price; a lean, a watch or a square far beyond its
// stated tolerance pays its pull against that tolerance in chi^2: its score is that of the fit
// as typed of every reading, which pays it, and its wall that of the tolerance widened. The
// readings as typed are scored the same way (chi^2 plus the price of each reading left out): a
// date on the other clock kind is named only when it is likelier than the readings as typed; a
// shared error, the same fit, when it explains them with every reading in much better than
// leaving some out does.
//
// One date's readings all an hour off look exactly like a wall turned an hour about the earth's
// axis, which leans: only the lean's tolerance tells the two apart, and readings spread over
// several hours, which fix the lean, tell them apart well; readings close together, or a lean
// tolerance as wide as the turn, cannot.
namespace kestramo::series {

enum class Cause {
    Daylight,  // a date's readings typed on the other clock kind
    Lean,      // the wall leans far beyond the lean stated
    Watch,     // a date's watch far beyond its tolerance
    Square,    // a square far taller or shorter than typed
};

struct Explanation {
    Cause cause = Cause::Daylight;
    double declination = 0;  // the wall the readings give once it is put right, degrees
    double uncertainty = 0;  // degrees, 1 sigma
    double chiSquare = 0;    // of the readings once it is put right
    int degreesOfFreedom = 0;
    // chi^2 plus the price of the explanation: minus twice the log of its probability.
    double score = 0;
    // How much likelier than the readings as typed, as a difference of scores (as typed less
    // this); positive when likelier.
    double margin = 0;
    // Named in place of the readings as typed: a date on the other clock kind when its margin
    // is positive; a shared error when the readings, all of them in, fit better with its
    // tolerance widened by kRuledOut than the readings as typed with any left out.
    bool likelierThanAsTyped = false;
    // Nothing else (the readings as typed, another explanation) comes within kRuledOut of it.
    bool decisive = false;
    // Daylight: the date, and whether daylight-saving time was typed (standard time fits).
    // Watch: the date whose watch lies farthest off.
    CalendarDate date;
    bool daylightWasChosen = false;
    // Lean: the fitted lean in degrees; Watch: the offset in seconds, the watch behind true
    // time; Square: the height error as a fraction, the square taller than typed. With the
    // tolerance widened, and its uncertainty in the same unit.
    double value = 0;
    double sigma = 0;
    double height = 0;  // Square: the typed height
};

// The price of a day typed on the wrong clock kind: one day in fifty, as minus twice its log.
inline constexpr double kClockKindPrice = 7.8;
// A shared error is far beyond its tolerance when widening that tolerance lowers chi^2 by
// this much: four standard deviations of its pull.
inline constexpr double kFarBeyond = 16;

// Every explanation under which the readings `use` then agree (the chi^2 test passes), the
// likeliest first; `typed` is the fit as typed of those readings and `typedScore` the score of
// the readings as typed (with any left out). Daylight is tried for every date; the lean, the
// watch and the square only when widening them lowers chi^2 by kFarBeyond.
std::vector<Explanation> Explanations(std::span<const Reading> readings, const FitInput& input,
                                      const ReadingSet& use, const WallFit& typed,
                                      double typedScore);

// How strongly the readings of `fit` pull each shared unknown from its prior, as the chi^2 that
// widening its tolerance would save, from the fit's covariance alone: (shift of the fitted value
// from the prior mean)^2 / (prior variance - fitted variance). The largest over the lean and
// every watch and square.
double LargestPriorPull(const FitInput& input, const WallFit& fit);

}  // namespace kestramo::series
