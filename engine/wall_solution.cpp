#include "engine/wall_solution.h"

#include <algorithm>
#include <cmath>

#include "engine/Trig_Functions.h"
#include "engine/alignment_calculations.h"

namespace alignment_calculations {
namespace {

using Trig_Functions::ArcCos;
using Trig_Functions::ArcSin;
using Trig_Functions::ArcTan;

constexpr std::int16_t kMeasurementSlot = 1;

// Brings an hour angle into one turn, [-180, 180). Values already inside are returned as they
// are, to the bit.
double ReduceHourAngle(double degrees) {
    if (degrees >= -180 && degrees < 180) {
        return degrees;
    }
    const double reduced = degrees - 360 * std::floor((degrees + 180) / 360);
    return reduced >= 180 ? reduced - 360 : reduced;
}

// Maps degrees to the equivalent angle in [-180, 180] by the half-angle tangent.
double WrapHalfTurn(double degrees) { return 2 * ArcTan(std::tan(DegToRad * degrees / 2)) / DegToRad; }

}  // namespace

WallSolution SolveShadowMeasurement(double H, double L) {
    WallSolution solution{};
    const double shadowAngle = ArcTan(H / L);  // radians

    SunPosition(kMeasurementSlot);
    const double declination = SunTable[kMeasurementSlot][0];      // radians
    const double equationOfTime = SunTable[kMeasurementSlot][1];  // minutes

    // Local apparent solar time as a fraction of a day: the clock reading in standard time,
    // then the equation of time, then the step from the zone's meridian to the site's.
    const double daylight = DaylightOption();
    DateTime solarTime = daylight / 24 + TimeOfDay(ClockTime[kMeasurementSlot]);
    solarTime = solarTime + equationOfTime / 60 / 24;
    solarTime = solarTime + (Longitude - ZoneMeridian) / 360;

    // Hour angle in degrees, positive after apparent noon. A zone far from the site's
    // longitude can carry it past half a turn, which would put the sun on the wrong side.
    const DateTime sinceNoon = solarTime - 0.5;
    const double hourAngle = ReduceHourAngle(sinceNoon * 360);

    const double latitude = Latitude * DegToRad;
    const double altitude =
        ArcSin(std::sin(latitude) * std::sin(declination) +
               std::cos(latitude) * std::cos(declination) * std::cos(hourAngle * DegToRad));

    // Azimuth from north in [0, pi]. Near the meridian rounding can carry the cosine just past
    // +-1; it is clamped so that such a sun keeps its side instead of turning north.
    double azimuthCosine = (std::sin(declination) - std::sin(latitude) * std::sin(altitude)) /
                           (std::cos(latitude) * std::cos(altitude));
    azimuthCosine = std::isnan(azimuthCosine) ? 1.0 : std::clamp(azimuthCosine, -1.0, 1.0);
    double azimuth = Pi - ArcCos(azimuthCosine);  // from south
    // On the meridian itself the sun has no side to take.
    if (hourAngle != 0) {
        azimuth = (azimuth * hourAngle) / std::fabs(hourAngle);
    }

    solution.SunAltitude = altitude * RadToDeg;
    solution.SunAzimuth = std::clamp(azimuth * RadToDeg, -180.0, 180.0);

    const double ratio = std::sin(shadowAngle) / std::cos(altitude);
    if (!(std::fabs(ratio) <= 1)) {
        solution.Solvable = false;
        return solution;
    }

    const double offset = ArcCos(ratio);  // radians, in [0, pi/2)
    solution.FirstAnswer = WrapHalfTurn((azimuth - offset) / DegToRad);
    solution.SecondAnswer = WrapHalfTurn((azimuth + offset) / DegToRad);
    solution.Solvable = true;
    return solution;
}

}  // namespace alignment_calculations
