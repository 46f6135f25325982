#pragma once

#include <array>

#include "series/reading.h"
#include "series/wall_fit.h"

// What one more reading at another time of the day would bring, for a fitted wall.
namespace kestramo::series {

inline constexpr double kMinimumAltitude = 10;  // degrees: lower suns give fuzzy shadows

struct NextReading {
    double clockSeconds = 0;   // the clock time of the reading, seconds after midnight
    ReadingGeometry geometry;  // the sun then, and the shadow the wall would cast
    PredictedAngle predicted;  // for the fitted wall
    bool sunOnFace = false;    // the sun lights the wall's face
    bool highEnough = false;   // the sun is at least kMinimumAltitude high
    bool practical = false;    // both, and the shadow no longer than the user can measure
    double shadowLength = 0;   // to the edge the user reads, in the unit of the square's height;
                               // NaN when the sun is not on the face
    // The reading's own variance and that of the fitted wall's prediction, of its first row:
    // degrees squared, or a board's pin heights squared.
    double variance = 0;
    double predictionVariance = 0;
    double declinationSigmaAfter = 0;  // degrees, the wall's uncertainty with the reading added
};

// A reading like `latest` (its kind, date, site, clock kind and square or pin) at `clockSeconds`,
// for the wall `fit` fitted to readings whose groups include `date` and `square` (those of
// `latest`), with the lean as unknown as the fit has it.
NextReading LookAhead(const Reading& latest, double clockSeconds, const WallFit& fit, int date,
                      int square, const Tolerances& tolerances);

// The unknowns one more reading of `date` and `square` touches, with their covariance in the
// fit (4 x 4 over declination, lean, watch, square; those the fit holds give their priors).
std::array<double, 16> NextReadingBlock(const WallFit& fit, int date, int square,
                                        const Tolerances& tolerances);
// LookAhead with the sun at that time (Examine of the reading then) and the block worked out
// already, for a plan that samples a day.
NextReading LookAhead(const ReadingGeometry& sun, double clockSeconds, double height,
                      const WallFit& fit, int date, const std::array<double, 16>& block,
                      const Tolerances& tolerances);

}  // namespace kestramo::series
