#pragma once

#include <array>

#include "series/reading.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"

// Each way of measuring a wall as one kind of measurement: what it predicts from the wall and
// the shared unknowns (the watch of its date, the height error of its square or pin), the rates
// of that prediction, and the variance of the reading's own sources. The fit, the search over
// the circle and the leaving out of readings see every kind through this one interface.
//
// The unknowns, in the order of every rate below: the wall's declination w (degrees from south,
// west positive), its lean e (degrees, positive leaning back), the watch's offset (seconds
// behind true time) and the height error (fraction: the square or pin taller than typed).
//
// - square: one row, the angle atan(L / H) brought to the sun's centre, against the angle theta
//   between the sun's rays and the wall's normal (shadow_model.h), degrees.
// - board: two rows, the tip's shadow x and y in pin heights. With the sun's unit vector s in
//   the wall's frame (n out of the face, r level and to the right of a person facing the wall,
//   u up the face), a pin of height G square to the board casts its tip at
//   x = -G (s.r) / (s.n), y = -G (s.u) / (s.n), at G tan(theta) from its foot; the outer edge of
//   the blur lies at G tan(theta + r) along the same line.
// - declinometer: one row, the angle A - w (A the sun's azimuth), wrapped to (-180, 180],
//   degrees; no lean.
// - bearing: one row, w itself, degrees; no lean, no watch.
namespace kestramo::series {

inline constexpr int kUnknownsPerRow = 4;

inline int RowsOf(const ReadingGeometry& geometry) { return RowsOf(geometry.method); }

// One reading seen from a wall.
struct Measurement {
    int rows = 1;
    // Measured less predicted: degrees, or a board's in pin heights.
    std::array<double, 2> residual{};
    // The reading's own sources: variance of row 0, covariance of rows 0 and 1, variance of row 1.
    std::array<double, 3> covariance{};
    // d residual / d (declination, lean, watch, height error), per row.
    std::array<std::array<double, kUnknownsPerRow>, 2> rate{};
    // For a board whose placement is shared and fitted: d residual / d (the board's level, the
    // pin's tilt to the right, its tilt up the face), degrees, per row.
    std::array<std::array<double, 3>, 2> perPlacement{};
    // The angle between the sun's rays and the wall's normal.
    PredictedAngle predicted;
};

// What a fit holds while it steps: a measurement's covariance and a square's rate with its
// height.
struct Frozen {
    std::array<double, 3> covariance{};
    double perHeight = 0;
};

// A board's placement: its edge off level (positive turning the marks clockwise as one faces
// the wall), the pin's tilt to the right and up the face; degrees.
using Placement = std::array<double, 3>;

// The reading `geometry` measured against the wall `pose` with the watch `clock` seconds behind
// and the square or pin taller than typed by `heightError`; with `frozen`, what it holds. A
// board with `placement` takes its level and tilt from it (a placement shared with other
// readings and fitted), not as errors of its own.
Measurement Measure(const ReadingGeometry& geometry, const WallPose& pose, double clock,
                    double heightError, const Tolerances& tolerances,
                    const Frozen* frozen = nullptr, const Placement* placement = nullptr);

// The measurement's chi^2: its residuals over its covariance.
double ChiSquareOf(const Measurement& measurement);

// The terms a reading adds to chi^2 over the circle of declinations, the lean held at the lean
// stated and the shared errors at zero: chi^2(w) ~ uu - 2 c up - 2 s uq + c^2 pp + 2 s c pq +
// s^2 qq with c = cos w, s = sin w.
struct CosineTerms {
    double uu = 0, up = 0, uq = 0, pp = 0, pq = 0, qq = 0;
};
CosineTerms ScanTerms(const ReadingGeometry& geometry, const Tolerances& tolerances);

// A chi^2 of `rows` degrees of freedom as the square of the normal deviate equally unlikely, so
// that a board's two rows are left out no more readily than a square's one.
double OneRowEquivalent(double chiSquare, int rows);

// Sets the kind's part of a reading's geometry once the sun is placed: its values, its status
// and its one answer (a board's declination with the lean it gives, a declinometer's at the
// time written, a bearing's own), `second` left without value.
void ExamineKind(const Reading& reading, ReadingGeometry& geometry);

// The sun's direction in the frame of the wall `pose` (n out of the face, r level and to the
// right as one faces the wall, u up the face) for the sun at `altitude` and `azimuth` (degrees,
// from south, west positive).
struct WallFrameSun {
    double n = 0, r = 0, u = 0;
};
WallFrameSun SunInWallFrame(double altitude, double azimuth, double declination, double lean);

// The uncertainty (1 sigma, degrees) of a reading's one answer on its own, from all its sources;
// for kinds other than the square. NaN without an answer.
double OneAnswerUncertainty(const ReadingGeometry& geometry, const Tolerances& tolerances);

}  // namespace kestramo::series
