#pragma once

#include "dial/vector3.h"

// A wall and the axes of a dial drawn on it.
namespace kestramo::dial {

// A wall's orientation, as the fit of the shadow readings gives it.
struct Wall {
    double declination = 0;  // degrees from due south, positive toward the west, (-180, 180]
    double lean = 0;         // degrees from vertical, [-90, 90]: positive when the face leans back
                             // toward the sky (reclines), negative when it overhangs (inclines)
};

// The dial plane's axes in the horizon frame of sky.h (x east, y north, z up): unit vectors,
// right-handed (right = normal x down).
struct WallFrame {
    // The plane's downward line of steepest descent: the downward vertical on a plumb wall. On a
    // level face it is the limit of the tilted face's: the horizontal direction of the wall's
    // declination for a face looking up, its opposite for a face looking down.
    Vector3 down;
    Vector3 right;   // horizontal, toward the right hand of a person facing the wall
    Vector3 normal;  // out of the face: declination as azimuth from south, lean as altitude
};

// The frame of a wall. A lean beyond +-90 degrees tilts the face on past level, so that a
// slightly disturbed wall has a frame near its own at every lean.
WallFrame FrameOf(const Wall& wall);

// The angle of a direction within the plane (its part along the normal is ignored), from `down`
// toward `right`, degrees in (-180, 180]; 0 for a direction along the normal.
double AngleInPlane(const WallFrame& frame, Vector3 direction);

// The unit vector of the plane at an angle measured as AngleInPlane measures it.
Vector3 InPlaneAt(const WallFrame& frame, double angle);

}  // namespace kestramo::dial
