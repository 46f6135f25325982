#include "engine/alignment_calculations.h"

#include <cmath>
#include <utility>

#include "engine/Trig_Functions.h"

namespace alignment_calculations {
namespace {

// Serial day of 1 January 1900, the day the sun's day count starts from.
constexpr double kFirstOfJanuary1900 = 2;
// Julian century in days; the epoch is 1900 January 0.5 (Julian Day 2415020.0).
constexpr double kDaysPerCentury = 36525;

std::function<int()>& DaylightSource() {
    static std::function<int()> source;
    return source;
}

// Reduces degrees to [0, 360) by the fraction of whole turns, rounding toward minus infinity.
double ReduceToTurn(double degrees) {
    return (degrees / 360 - std::floor(degrees / 360)) * 360;
}

}  // namespace

void InitConstants() {
    Pi = 4 * std::atan(1.0);
    DegToRad = Pi / 180;
    RadToDeg = 180 / Pi;
    ClockTime[0] = 0.5;
}

void SetDaylightOptionSource(std::function<int()> source) {
    DaylightSource() = std::move(source);
}

int DaylightOption() {
    const auto& source = DaylightSource();
    return source ? source() : 0;
}

double CalendarDay(DateTime value) { return std::trunc(value); }

double TimeOfDay(DateTime value) { return std::fabs(value - std::trunc(value)); }

void SunPosition(std::int16_t slot) {
    const double daylight = DaylightOption();
    const double dayCount = CalendarDay(ObsDate) - kFirstOfJanuary1900;
    // Mean solar time at the site: the clock reading brought back to standard time, less the
    // site's longitude as a fraction of a day. The zone meridian plays no part here.
    const double centuries =
        ((((dayCount - Longitude / 360) + TimeOfDay(ClockTime[slot])) + daylight / 24) - 0.5 + 1) /
        kDaysPerCentury;

    const double meanLongitude = ReduceToTurn(centuries * 36000.769 + 279.697);  // degrees
    const double meanAnomaly = ReduceToTurn(centuries * 35999.05 + 358.476);     // degrees
    const double obliquity = 23.452 - 0.013 * centuries;                         // degrees
    // True longitude, deliberately left unreduced: it may lie a little outside [0, 360).
    const double trueLongitude =
        ((1.919 - 0.005 * centuries) * std::sin(meanAnomaly * DegToRad) + meanLongitude) +
        0.02 * std::sin(2 * meanAnomaly * DegToRad);

    SunTable[slot][0] = Trig_Functions::ArcSin(std::sin(trueLongitude * DegToRad) *
                                               std::sin(obliquity * DegToRad));

    // Right ascension in degrees, first in (-90, 90), then moved into the quadrant of the
    // true longitude.
    double rightAscension = Trig_Functions::ArcTan(std::tan(trueLongitude * DegToRad) *
                                                   std::cos(obliquity * DegToRad)) *
                            RadToDeg;
    if (std::cos(trueLongitude * DegToRad) >= 0) {
        if (trueLongitude - rightAscension > 300) {
            rightAscension += 360;
        }
    } else {
        rightAscension += 180;
    }

    SunTable[slot][1] = (meanLongitude - rightAscension) * 4;  // 4 minutes of time per degree
}

}  // namespace alignment_calculations
