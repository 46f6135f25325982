#pragma once

#include "engine/wall_solution.h"
#include "series/reading.h"
#include "series/tolerances.h"

// The shadow a wall casts for one reading, and how far the reading may be from it.
//
// A square held perpendicular to a wall of declination w (degrees from south, west positive)
// and lean e (degrees from vertical, positive when the face leans back toward the sky) meets
// the sun's rays at the angle theta with
//     cos(theta) = cos(a) cos(e) cos(Z - w) + sin(a) sin(e),
// a and Z the sun's altitude and azimuth (from south, west positive). The square's tip then
// casts the end of its shadow at H tan(theta) for the sun's centre, blurred by the sun's disc
// from H tan(theta - r) to H tan(theta + r). The model compares angles rather than lengths: the
// measured length's angle atan(L / H), brought to the sun's centre for the edge the user read,
// against theta; near a shadow of zero length or one that grows without bound, an angle stays
// finite where a length would not.
namespace kestramo::series {

inline constexpr double kSunRadius = 0.2666;  // degrees, the sun's mean apparent radius (16')

enum class ReadingStatus {
    Solved,           // two vertical walls fit the numbers as typed; both answers are set
    NoWallFits,       // the shadow is too short for any vertical wall with the sun that high
    SunBelowHorizon,  // the sun was at or below the horizon at that time
};

// Words for the status, e.g. "no vertical wall fits this shadow".
const char* StatusText(ReadingStatus status);

// What one reading says, worked out once: the engine's two answers for the numbers as typed
// (what the main window shows, no edge or lean taken into account), and the sun at the reading's
// moment with its motion.
struct ReadingGeometry {
    ReadingStatus status = ReadingStatus::NoWallFits;
    double first = 0;         // degrees, the sun's azimuth less the offset; only when Solved
    double second = 0;        // degrees, the sun's azimuth plus the offset; only when Solved
    double sunAltitude = 0;   // degrees above the horizon (negative below)
    double sunAzimuth = 0;    // degrees from due south, west positive
    double altitudeRate = 0;  // degrees per second of clock time
    double azimuthRate = 0;   // degrees per second of clock time, west positive
    double shadowAngle = 0;   // degrees in [0, 90]: atan(length / height) as measured
    double shadowRatio = 0;   // length / height, in square heights
    // The sun's altitude and azimuth as sines and cosines, for predicting many walls quickly.
    double cosAltitude = 1, sinAltitude = 0, cosAzimuth = 1, sinAzimuth = 0;
    // How the reading was taken, and what the kinds other than the square measured: a board's
    // tip shadow in pin heights (right and up the face), a declinometer's angle, a bearing with
    // its one standard deviation (degrees). `first` is such a reading's one answer and `second`
    // has no value; a board's own lean, degrees, goes with it.
    Method method = Method::Square;
    double tipX = 0, tipY = 0;
    double angle = 0;
    double bearing = 0, bearingError = 0;
    double ownLean = kNoValue;

    bool solved() const { return status == ReadingStatus::Solved; }
};

// Works the reading out through the engine. Never throws; any finite inputs give a result.
ReadingGeometry Examine(const Reading& reading);
// The same from the engine's solution of the reading as typed, already computed (the main
// window's), so that the reading is not solved twice.
ReadingGeometry Examine(const Reading& reading, const alignment_calculations::WallSolution& wall);

// The angle between the sun's rays and a wall's normal for one reading, with its rates.
struct PredictedAngle {
    double theta = 0;           // degrees in [0, 180]; above 90 the sun is behind the wall
    double cosTheta = 1;        // its cosine
    double sinTheta = 0;        // and sine
    double perDeclination = 0;  // d theta / d declination (degrees per degree)
    double perLean = 0;         // d theta / d lean (degrees per degree)
    double perSecond = 0;       // d theta / d clock offset (degrees per second)
};

// A wall's declination and lean (degrees) with their sines and cosines.
struct WallPose {
    double declination = 0, lean = 0;
    double cosDeclination = 1, sinDeclination = 0, cosLean = 1, sinLean = 0;
    static WallPose Of(double declination, double lean);
};

// The angle for a wall of `declination` and `lean` (degrees), with the watch `clockOffset`
// seconds behind true time.
PredictedAngle PredictAngle(const ReadingGeometry& reading, double declination, double lean,
                            double clockOffset = 0);
PredictedAngle PredictAngle(const ReadingGeometry& reading, const WallPose& wall,
                            double clockOffset);

// The angle of the sun's centre to the normal that the measured shadow implies, degrees: the
// measured angle, less the sun's radius when the user read the outer edge.
double MeasuredAngle(const ReadingGeometry& reading, ShadowEdge edge);

// How much the measured angle grows, in degrees, when the square is taller than typed by a
// fraction (0.01 for 1 %) of its height, for a shadow at `shadowAngle` degrees (atan(L / H)).
double PerHeightFraction(double shadowAngle);

// The shadow to the edge read for a predicted angle: its angle (atan(L / H), degrees, within
// [0, 90]) with its sine and cosine, worked out from the prediction's without a trigonometric
// call.
struct ShadowAngle {
    double degrees = 0;
    double cosine = 1;
    double sine = 0;
};
ShadowAngle ShadowOf(const PredictedAngle& predicted, ShadowEdge edge);
// PerHeightFraction and OwnVariance of such a shadow.
double PerHeightFraction(const ShadowAngle& shadow);
double OwnVariance(const ShadowAngle& shadow, const Tolerances& tolerances, double perSecond);

// The variance (degrees squared) of the measured angle from the reading's own sources, for a
// shadow at `shadowAngle` degrees (atan(L / H)): the blurred end, the tape, the square's tilt,
// and noting the time at the given rate (degrees per second). Never zero: a thousandth of a
// degree is as exact as any reading gets. A fit takes the shadow its wall predicts, not the one
// measured: weights that followed the measurement would favour the readings whose errors
// happen to shrink their variance.
double OwnVariance(double shadowAngle, const Tolerances& tolerances, double perSecond);

// The shadow a square of `height` casts to the edge the user reads when the sun's rays meet the
// normal at `theta` degrees; NaN when the sun is not on the face or the shadow has no end.
double PredictedLength(double height, double theta, ShadowEdge edge);

// The uncertainty (1 sigma, degrees) of each of the engine's two answers for a reading on its
// own, from all the sources, the shared ones and the lean's included. Infinite where the answer
// does not depend on the shadow (the sun straight in front of the wall); NaN without answers.
struct AnswerUncertainty {
    double first;
    double second;
};
AnswerUncertainty SingleReadingUncertainty(const ReadingGeometry& reading,
                                           const Tolerances& tolerances);

// A reading whose shadow no one could have measured: far beyond the longest shadow the user can
// measure (ten times it), so that it can only be a slip of the hand.
bool Implausible(const ReadingGeometry& reading, const Tolerances& tolerances);

}  // namespace kestramo::series
