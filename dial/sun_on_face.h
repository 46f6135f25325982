#pragma once

#include <optional>

#include "dial/wall_frame.h"

// The days of the year on which the sun reaches a face at a given hour.
namespace kestramo::dial {

// Degrees: the sun's declination stays within +-kObliquity over the year.
inline constexpr double kObliquity = 23.44;

// Solar declinations, degrees, lowest <= highest.
struct DeclinationRange {
    double lowest = 0;
    double highest = 0;
};

// The solar declinations within +-kObliquity at which the sun, at the hour angle (degrees,
// positive after apparent noon), stands above the horizon and in front of the face; empty when
// there are none, or when the sun only grazes the horizon or the face.
std::optional<DeclinationRange> SunOnFace(double latitude, const WallFrame& frame,
                                          double hourAngle);

}  // namespace kestramo::dial
