#include "engine/shadow_solution.h"

#include <algorithm>
#include <cmath>

#include "engine/Trig_Functions.h"
#include "engine/angles.h"
#include "engine/serial_time.h"

namespace kestramo {
namespace {

using Trig_Functions::ArcCos;
using Trig_Functions::ArcSin;
using Trig_Functions::ArcTan;

// Brings an hour angle into one turn, [-180, 180). Values already inside are returned as they
// are, to the bit.
double ReduceHourAngle(double degrees) {
    if (degrees >= -180 && degrees < 180) {
        return degrees;
    }
    const double reduced = degrees - 360 * std::floor((degrees + 180) / 360);
    return reduced >= 180 ? reduced - 360 : reduced;
}

// Maps degrees to the equivalent angle in [-180, 180] by the half-angle tangent: the rule the
// answers have always been wrapped by, which keeps +-180 as they come.
double HalfAngleRule(double degrees) {
    return 2 * ArcTan(std::tan(kDegToRad * degrees / 2)) / kDegToRad;
}

}  // namespace

WallSolution SolveWall(const Observation& observation, double height, double length) {
    return SolveWall(observation, SunAt(observation), height, length);
}

WallSolution SolveWall(const Observation& observation, const SunEphemeris& sun, double height,
                       double length) {
    WallSolution solution{};
    const double shadowAngle = ArcTan(height / length);  // radians

    // Local apparent solar time as a fraction of a day: the clock reading in standard time,
    // then the equation of time, then the step from the zone's meridian to the site's.
    const double daylight = observation.daylightSaving ? -1.0 : 0.0;
    double solarTime = daylight / 24 + TimeOfDay(observation.clockTime);
    solarTime = solarTime + sun.equationOfTime / 60 / 24;
    solarTime = solarTime + (observation.longitude - observation.zoneMeridian) / 360;

    // Hour angle in degrees, positive after apparent noon. A zone far from the site's
    // longitude can carry it past half a turn, which would put the sun on the wrong side.
    const double sinceNoon = solarTime - 0.5;
    const double hourAngle = ReduceHourAngle(sinceNoon * 360);

    const double latitude = observation.latitude * kDegToRad;
    const double altitude =
        ArcSin(std::sin(latitude) * std::sin(sun.declination) +
               std::cos(latitude) * std::cos(sun.declination) * std::cos(hourAngle * kDegToRad));

    // Azimuth from north in [0, pi]. Near the meridian rounding can carry the cosine just past
    // +-1; it is clamped so that such a sun keeps its side instead of turning north.
    double azimuthCosine = (std::sin(sun.declination) - std::sin(latitude) * std::sin(altitude)) /
                           (std::cos(latitude) * std::cos(altitude));
    azimuthCosine = std::isnan(azimuthCosine) ? 1.0 : std::clamp(azimuthCosine, -1.0, 1.0);
    double azimuth = kPi - ArcCos(azimuthCosine);  // from south
    // On the meridian itself the sun has no side to take.
    if (hourAngle != 0) {
        azimuth = (azimuth * hourAngle) / std::fabs(hourAngle);
    }

    solution.SunAltitude = altitude * kRadToDeg;
    solution.SunAzimuth = std::clamp(azimuth * kRadToDeg, -180.0, 180.0);

    const double ratio = std::sin(shadowAngle) / std::cos(altitude);
    if (!(std::fabs(ratio) <= 1)) {
        solution.Solvable = false;
        return solution;
    }

    const double offset = ArcCos(ratio);  // radians, in [0, pi/2)
    solution.FirstAnswer = HalfAngleRule((azimuth - offset) / kDegToRad);
    solution.SecondAnswer = HalfAngleRule((azimuth + offset) / kDegToRad);
    solution.Solvable = true;
    return solution;
}

}  // namespace kestramo
