#pragma once

#include <optional>
#include <span>
#include <vector>

#include "readings/reading.h"
#include "readings/tolerances.h"

// Several readings of one wall combined into one answer.
//
// Each solved reading offers two candidate walls: the true normal and its mirror about the sun's
// azimuth at that moment. The true candidates of readings taken at different sun azimuths agree;
// the mirrors move twice as fast as the sun and drift apart. The series chooses, for each
// reading, the candidate that makes the set most consistent, then averages the chosen ones.
//
// All declinations are degrees from due south, west positive, in (-180, 180]; uncertainties are
// degrees, 1 sigma.
namespace kestramo::readings {

// The caller's say over one reading. A reading whose own `excluded` flag is set counts as
// ForcedOut whatever is given here.
enum class Inclusion {
    Automatic,  // used unless it is an outlier
    ForcedIn,   // used, never flagged as an outlier
    ForcedOut,  // left out; still solved and shown
};

// Which of a reading's two answers (ReadingSolution::first or ::second).
enum class Candidate { None = 0, First = 1, Second = 2 };

// What the series made of one reading.
struct ReadingVerdict {
    // The answer nearest the combined declination, once the series is decided; None while it is
    // undecided or when the reading has no answers.
    Candidate chosen = Candidate::None;
    // The answer that belongs to candidates[0] of the result (set while undecided too); the other
    // answer belongs to candidates[1]. None when the reading has no answers.
    Candidate leaning = Candidate::None;
    bool used = false;     // went into the combined answer
    bool outlier = false;  // more than three standard deviations from the others, so left out
    // The leaning answer less the combined (or candidates[0]) declination, degrees in
    // (-180, 180]; NaN when the reading has no answers.
    double residual = kNoValue;
    // The same in standard deviations. For a used reading against the mean of the others
    // (sigma^2 = sigma_i^2 + sigma_others^2); for the rest against the combined answer.
    double residualSigma = kNoValue;
};

// One way the wall may face, with its uncertainty.
struct WallCandidate {
    double declination = 0;  // degrees from south, west positive, (-180, 180]
    double uncertainty = 0;  // degrees, 1 sigma (Birge-inflated like the combined answer)
};

// Why a series has no single answer yet.
enum class Decision {
    Decided,      // the mirrors are rejected; `declination` holds the answer
    NoReadings,   // no usable reading: none solved, or all left out
    OneReading,   // a single reading cannot tell its two answers apart
    SunTooClose,  // the sun has not moved far enough between the readings
};

struct SeriesResult {
    std::vector<ReadingVerdict> readings;  // one per reading, in the order given
    Decision decision = Decision::NoReadings;
    bool decided = false;               // decision == Decided
    std::optional<double> declination;  // the combined answer, only when decided
    // Uncertainty of the combined answer (of candidates[0] while undecided): 1/sqrt(sum of
    // weights 1/sigma_i^2), times the Birge ratio when that exceeds 1. NaN with no readings.
    double uncertainty = kNoValue;
    double chiSquare = kNoValue;  // sum of squared residuals over sigma_i^2 of the used readings
    // sqrt(chiSquare / (n - 1)): about 1 when the scatter matches the stated tolerances, larger
    // when the readings scatter more than those lead one to expect. NaN for fewer than 2 readings.
    double birgeRatio = kNoValue;
    int readingsUsed = 0;  // readings that went into the answer
    // When decided: one entry, the combined answer. While undecided: the two clusters, the one
    // the leaning answers form first and the mirrors second. Empty with no readings.
    std::vector<WallCandidate> candidates;
    // While undecided: minutes after the last used reading's clock time until the sun has moved
    // far enough (twice its azimuth change exceeds three times the candidates' combined
    // uncertainty) for one more reading to decide, with the sun up and on one candidate's face.
    // Empty when decided, with no readings, or when it does not happen before midnight.
    std::optional<int> minutesToDecide;
};

// Combines readings whose solutions and uncertainties were computed already (one
// EvaluatedReading per reading, same order). `inclusion` is empty (all Automatic) or has one entry
// per reading. Readings without answers, or whose uncertainty is not finite, are not used.
SeriesResult CombineReadings(std::span<const Reading> readings,
                             std::span<const EvaluatedReading> evaluated,
                             std::span<const Inclusion> inclusion = {});

// Evaluates every reading with the tolerances, then combines them.
struct SolvedSeries {
    std::vector<EvaluatedReading> evaluated;  // one per reading, in the order given
    SeriesResult result;
};
SolvedSeries SolveSeries(std::span<const Reading> readings, const Tolerances& tolerances,
                         std::span<const Inclusion> inclusion = {});

// The answer of a solved reading: first for Candidate::First, second for Candidate::Second.
double AnswerOf(const ReadingSolution& solution, Candidate candidate);
// Its uncertainty, likewise.
double UncertaintyOf(const AnswerUncertainty& uncertainty, Candidate candidate);

}  // namespace kestramo::readings
