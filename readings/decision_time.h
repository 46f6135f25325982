#pragma once

#include <array>
#include <optional>
#include <span>

#include "readings/reading.h"

// How long the sun must move before readings can tell a wall from its mirror.
namespace kestramo::readings {

// A reading's sun azimuth and the uncertainty of its mirror answer, as far as the decision goes.
struct SunSighting {
    double sunAzimuth = 0;         // degrees from south, west positive
    double mirrorUncertainty = 0;  // degrees, 1 sigma
};

// Minutes after `last`'s clock time until a reading taken then would decide between the two
// candidate walls: its mirror and the mirror of one of the `sightings` lie farther apart (twice
// the sun's azimuth change) than `separation` standard deviations of their difference, taking
// `newUncertainty` (degrees, 1 sigma) for the new reading. The sun must then be above the
// horizon and on the face of one of the `walls` (declinations, degrees from south, west
// positive). Steps the engine a minute at a time to the clock's midnight; empty when that never
// happens.
std::optional<int> MinutesToDecide(const Reading& last, std::span<const SunSighting> sightings,
                                   double newUncertainty, std::array<double, 2> walls,
                                   double separation);

}  // namespace kestramo::readings
