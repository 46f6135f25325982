#pragma once

#include "dial/vector3.h"

// Directions on the sky seen from a site, as unit vectors of the horizon frame: x toward the
// east, y toward the north, z toward the zenith. Latitudes are degrees, north positive; hour
// angles are degrees, positive after apparent noon (the sun in the west); solar declinations
// are degrees, north positive.
namespace kestramo::dial {

// The celestial north pole: (0, cos latitude, sin latitude).
Vector3 NorthPole(double latitude);

// The point of the celestial equator at an hour angle: where the sun stands at that hour on an
// equinox. At hour angle 0 it is on the meridian, south of the zenith in the north.
Vector3 EquatorAt(double latitude, double hourAngle);

// The sun at an hour angle and solar declination.
Vector3 SunDirection(double latitude, double hourAngle, double solarDeclination);

// The hour angle of the hour circle through a direction (any length), in (-180, 180]; 0 for a
// direction along the polar axis.
double HourAngleOf(double latitude, Vector3 direction);

}  // namespace kestramo::dial
