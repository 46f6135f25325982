#include "engine/sun_ephemeris.h"

#include <cmath>

#include "engine/Trig_Functions.h"
#include "engine/angles.h"
#include "engine/serial_time.h"

namespace kestramo {
namespace {

// Serial day of 1 January 1900, the day the sun's day count starts from.
constexpr double kFirstOfJanuary1900 = 2;
// Julian century in days; the epoch is 1900 January 0.5 (Julian Day 2415020.0).
constexpr double kDaysPerCentury = 36525;

// Reduces degrees to [0, 360) by the fraction of whole turns, rounding toward minus infinity.
double ReduceToTurn(double degrees) { return (degrees / 360 - std::floor(degrees / 360)) * 360; }

// The site's longitude counted on the side of the date line whose date its clock keeps: a zone
// meridian more than half a turn away (a site at 172 W on the clock of 13 hours east of
// Greenwich) puts the date a day ahead of what the longitude alone would say.
double ClockSideLongitude(const Observation& observation) {
    const double turns = std::round((observation.zoneMeridian - observation.longitude) / 360);
    return turns == 0 ? observation.longitude : observation.longitude + 360 * turns;
}

}  // namespace

SunEphemeris SunAt(const Observation& observation) {
    const double daylight = observation.daylightSaving ? -1.0 : 0.0;  // hours back to standard time
    const double dayCount = CalendarDay(observation.date) - kFirstOfJanuary1900;
    // Mean solar time at the site: the clock reading brought back to standard time, less the
    // site's longitude as a fraction of a day. The zone meridian plays no part here, but to say
    // on which side of the date line the clock's date lies.
    const double centuries =
        ((((dayCount - ClockSideLongitude(observation) / 360) + TimeOfDay(observation.clockTime)) +
          daylight / 24) -
         0.5 + 1) /
        kDaysPerCentury;

    const double meanLongitude = ReduceToTurn(centuries * 36000.769 + 279.697);  // degrees
    const double meanAnomaly = ReduceToTurn(centuries * 35999.05 + 358.476);     // degrees
    const double obliquity = 23.452 - 0.013 * centuries;                         // degrees
    // True longitude, deliberately left unreduced: it may lie a little outside [0, 360).
    const double trueLongitude =
        ((1.919 - 0.005 * centuries) * std::sin(meanAnomaly * kDegToRad) + meanLongitude) +
        0.02 * std::sin(2 * meanAnomaly * kDegToRad);

    SunEphemeris sun;
    sun.declination = Trig_Functions::ArcSin(std::sin(trueLongitude * kDegToRad) *
                                             std::sin(obliquity * kDegToRad));

    // Right ascension in degrees, first in (-90, 90), then moved into the quadrant of the true
    // longitude.
    double rightAscension = Trig_Functions::ArcTan(std::tan(trueLongitude * kDegToRad) *
                                                   std::cos(obliquity * kDegToRad)) *
                            kRadToDeg;
    if (std::cos(trueLongitude * kDegToRad) >= 0) {
        if (trueLongitude - rightAscension > 300) {
            rightAscension += 360;
        }
    } else {
        rightAscension += 180;
    }

    sun.equationOfTime = (meanLongitude - rightAscension) * 4;  // 4 minutes of time per degree
    return sun;
}

}  // namespace kestramo
