#pragma once

#include "dial/sun_on_face.h"
#include "dial/wall_frame.h"

// How far off a dial reads when the wall it is mounted on does not face exactly the way the
// fit says. The dial (plane, style and hour lines) is laid out for the fitted wall and fixed to
// the true one rigidly; its shadow then falls on the line of another hour.
namespace kestramo::dial {

// The fitted wall's uncertainty: the covariance of (declination, lean), degrees squared.
struct WallCovariance {
    double declinationVariance = 0;
    double leanVariance = 0;
    double covariance = 0;  // of the declination with the lean
};

// Minutes of time per degree of hour angle.
inline constexpr double kMinutesPerDegree = 4;

// The hour angle (degrees in (-180, 180], positive after apparent noon) that a dial laid out for
// `designed` shows when it is mounted on a wall facing `actual` and the sun stands at the hour
// angle and solar declination given (degrees). Meaningful while the sun is on the face.
double ReadingOnMountedDial(double latitude, const Wall& designed, const Wall& actual,
                            double hourAngle, double solarDeclination);

// The time error's rate of change with the wall's true orientation about the fitted one, at
// one hour angle and solar declination: minutes of time per degree.
struct TimeErrorSlopes {
    double perDeclination = 0;  // minutes per degree of the true declination less the fitted
    double perLean = 0;         // minutes per degree of the true lean less the fitted
};
TimeErrorSlopes SlopesAt(double latitude, const Wall& wall, double hourAngle,
                         double solarDeclination);

// One standard deviation of the time error, minutes, from the slopes and the covariance: the
// square root of g' C g. Infinite when the covariance is not finite.
double TimeErrorSigma(const TimeErrorSlopes& slopes, const WallCovariance& covariance);

// The largest one-sigma time error (minutes) at an hour angle over the solar declinations at
// which the sun is on the face then (`days`, from SunOnFace), sampled every few degrees.
double WorstTimeError(double latitude, const Wall& wall, const WallCovariance& covariance,
                      double hourAngle, const DeclinationRange& days);

}  // namespace kestramo::dial
