#pragma once

#include "engine/observation.h"

namespace kestramo {

// The sun's place as the sundial needs it, at one moment.
struct SunEphemeris {
    double declination = 0;     // radians, north positive
    double equationOfTime = 0;  // minutes of time, positive when apparent solar time runs ahead
};

// The sun's declination and the equation of time at the observation's date and clock reading,
// from the classical low-accuracy formulas referred to 1900 January 0.5. Only the date, the
// clock reading, the longitude and the daylight-saving flag count, and the zone meridian where
// it lies more than half a turn from the longitude: the site's clock then keeps the date of the
// far side of the date line.
SunEphemeris SunAt(const Observation& observation);

}  // namespace kestramo
