#pragma once

#include <optional>
#include <span>
#include <vector>

#include "series/blunders.h"
#include "series/explanation.h"
#include "series/reading.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"
#include "series/wall_fit.h"

// Several readings of one wall and the one answer they give.
//
// One fit of the wall (its declination and lean, with the watch of each date and the square of
// each height) to every usable reading at once; the whole circle searched for other walls that
// fit nearly as well; readings the others do not predict left out and named; and a verdict:
// decided, undecided between walls the readings do not yet rule out, ambiguous between
// different readings left out, inconsistent when the readings disagree more than the
// tolerances allow (the chi-square test and nothing else), or explained when a slip put right
// (a date on the other clock kind, say) explains readings that agree as typed much better and
// gives another wall. The likeliest such slip is named beside any verdict. All declinations are
// degrees from due south, west positive, in (-180, 180]; uncertainties are degrees, one standard
// deviation.
namespace kestramo::series {

// Another wall is ruled out when its chi^2 exceeds the best one's by this much.
inline constexpr double kRuledOut = 9;
// Two walls are different when they lie farther apart than this many standard deviations.
inline constexpr double kDifferentWalls = 3;

// The caller's say over one reading.
enum class Inclusion {
    Automatic,  // used unless the series leaves it out
    ForcedIn,   // used, never left out by the series
    ForcedOut,  // left out by the user; still solved and shown
};

// Which of a reading's two answers (ReadingGeometry::first or ::second).
enum class Candidate { None = 0, First = 1, Second = 2 };

enum class ReadingState {
    Used,             // in the fit
    LeftOutByUser,    // Inclusion::ForcedOut
    Outlier,          // left out by the series: the readings that remain do not predict it
    Implausible,      // a shadow no one could have measured, left out until taken in
    SunBelowHorizon,  // the sun was down: nothing to fit
};

// What the series made of one reading.
struct ReadingVerdict {
    ReadingState state = ReadingState::SunBelowHorizon;
    // The engine answer nearer the fitted wall, once the series is decided; None otherwise.
    Candidate chosen = Candidate::None;
    // The measured length less the length the fitted wall predicts to the edge read, in the
    // length's unit; NaN when the wall predicts no shadow end.
    double residual = kNoValue;
    // The residual in standard deviations, positive when the shadow is longer than predicted.
    // A reading left out is measured against the fit without it. NaN with the sun down.
    double residualSigma = kNoValue;
    double expectedLength = kNoValue;  // what the fitted wall predicts the user read
    Blunder blunder = Blunder::None;   // for a reading left out: what explains it
    bool disagreesMost = false;        // named when the series is inconsistent

    bool used() const { return state == ReadingState::Used; }
};

enum class Verdict {
    NoReadings,    // no reading can be used
    Decided,       // one wall: every other ruled out, and the readings agree
    Undecided,     // other walls are not ruled out yet; see `alternatives`
    Ambiguous,     // leaving out different readings leaves consistent sets with different walls
    Inconsistent,  // the readings disagree more than their tolerances allow
    // The readings agree as typed, but a slip put right (see `explanation`) explains them much
    // better and gives another wall: no answer until it is checked.
    Explained,
};

struct WallCandidate {
    double declination = 0;
    double uncertainty = 0;
    double lean = 0;             // degrees, positive leaning back
    double leanUncertainty = 0;  // degrees
    double chiSquare = 0;
    // The readings left out to reach this wall (from 0); for an ambiguous series, where the
    // walls differ in which readings they leave out.
    std::vector<int> leftOut;
};

struct SeriesResult {
    std::vector<ReadingVerdict> readings;  // one per reading, in the order given
    Verdict verdict = Verdict::NoReadings;
    std::optional<double> declination;  // the wall, only when decided
    double uncertainty = kNoValue;      // of the best fit's declination
    double lean = kNoValue;             // the best fit's lean, degrees
    double leanUncertainty = kNoValue;
    double correlation = 0;  // of declination and lean in the best fit
    // The chi^2 test and nothing else: probability >= kInconsistentBelow.
    bool consistent = true;
    double chiSquare = kNoValue;
    int degreesOfFreedom = 0;
    double probability = kNoValue;  // of a chi^2 this large if the tolerances hold
    int readingsUsed = 0;
    // While not decided: every wall the readings do not rule out, the best first; empty when
    // decided or with no readings.
    std::vector<WallCandidate> alternatives;
    // While undecided: minutes after the latest reading until one more reading that day decides
    // with 95 % probability; empty otherwise, or when no reading later that day can.
    std::optional<int> minutesToDecide;
    // What explains the readings better than they fit as typed, the likeliest of the slips
    // tried (a date on the other clock kind; a lean, a watch or a square far beyond its
    // tolerance); nothing when the readings as typed are the likeliest.
    std::optional<Explanation> explanation;
    // Otherwise, a date on the other clock kind that the readings do not rule out (its score
    // within kRuledOut of theirs as typed) and that gives another wall.
    std::optional<Explanation> notRuledOut;
    // With `explanation`, the likeliest other explanation under which the readings agree and
    // which gives another wall: a wall leaning far out and a day on the other clock kind may
    // both explain one date's readings.
    std::optional<Explanation> otherwise;

    // What the plan of the next reading starts from: the fit of each wall still open (one when
    // decided), the latest reading used (by date and clock time) and its groups.
    std::vector<WallFit> fits;
    int latest = -1;
    int latestDate = -1;
    int latestSquare = -1;

    bool decided() const { return verdict == Verdict::Decided; }
};

// Combines readings whose geometry was worked out already (one per reading, same order).
// `inclusion` is empty (all Automatic) or has one entry per reading. `previous`, the result
// before the latest change, is where the fit starts from.
SeriesResult CombineReadings(std::span<const Reading> readings,
                             std::span<const ReadingGeometry> geometry,
                             const Tolerances& tolerances,
                             std::span<const Inclusion> inclusion = {},
                             const SeriesResult* previous = nullptr);

// Works every reading out, then combines them.
struct SolvedSeries {
    std::vector<ReadingGeometry> geometry;             // one per reading
    std::vector<AnswerUncertainty> answerUncertainty;  // of each reading's own two answers
    SeriesResult result;
};
SolvedSeries SolveSeries(std::span<const Reading> readings, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion = {});
// The same with the readings worked out already (a readings file's, say).
SolvedSeries SolveSeries(std::span<const Reading> readings,
                         std::span<const ReadingGeometry> geometry, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion = {});

// The engine answer of a reading: first for Candidate::First, second for Candidate::Second.
double AnswerOf(const ReadingGeometry& geometry, Candidate candidate);
double UncertaintyOf(const AnswerUncertainty& uncertainty, Candidate candidate);

}  // namespace kestramo::series
