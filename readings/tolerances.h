#pragma once

#include "readings/reading.h"

// How far a reading may be off, and what that does to its two answers.
namespace kestramo::readings {

// The user's estimate of each measurement's standard error (1 sigma). The defaults suit a watch
// set from a time service and a carpenter's square measured with a tape:
// - the clock: set to the second, read to the nearest few seconds; 10 s covers drift over a day
//   and the moment between seeing the shadow settle and reading the watch;
// - the shadow: its pencil-thin end is fuzzy by the sun's half-degree disc, about 1 % of a
//   typical shadow of 10 to 30 units;
// - the square's height: a fixed, well-measured length, 0.5 %;
// - the square's tilt: held "straight out" by eye, half a degree off perpendicular; tilted
//   toward the shadow by t, the square throws H sin t + L cos t instead of L.
// A zero tolerance leaves that source out.
struct Tolerances {
    double clockSeconds = 10;    // seconds of time, 1 sigma, >= 0
    double lengthPercent = 1;    // percent of the shadow's length, 1 sigma, >= 0
    double heightPercent = 0.5;  // percent of the square's height, 1 sigma, >= 0
    double tiltDegrees = 0.5;    // degrees of the square off perpendicular, 1 sigma, >= 0
};

// Standard uncertainties (1 sigma, degrees) of a reading's two answers. Infinite when the
// answer changes without bound with its inputs (the shadow angle at the edge of solvability);
// NaN when the reading has no answers.
struct AnswerUncertainty {
    double first = kNoValue;
    double second = kNoValue;
};

// A reading solved on its own with the uncertainties of its answers.
struct EvaluatedReading {
    ReadingSolution solution;
    AnswerUncertainty uncertainty;
};

// Propagates the tolerances through the engine: each answer's partial derivative with respect
// to each error source, by central differences, combined in quadrature. Readings without
// answers get NaN.
AnswerUncertainty PropagateUncertainty(const Reading& reading, const ReadingSolution& solution,
                                       const Tolerances& tolerances);

// SolveReading and PropagateUncertainty in one.
EvaluatedReading EvaluateReading(const Reading& reading, const Tolerances& tolerances);

// The engine's two answers for a reading with perturbed inputs: the clock moved by
// `clockSeconds`, the length and height scaled by (1 + fraction), the square tilted toward the
// shadow by `tiltDegrees`. Used by the propagation and by checks of it.
ReadingSolution SolvePerturbed(const Reading& reading, double clockSeconds, double lengthFraction,
                               double heightFraction, double tiltDegrees);

}  // namespace kestramo::readings
