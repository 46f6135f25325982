#pragma once

#include <optional>
#include <span>

#include "series/wall_fit.h"

// How long to wait before one more reading tells the walls that the readings leave open apart.
namespace kestramo::series {

// The probability with which that reading must decide.
inline constexpr double kDecideWithProbability = 0.95;

// Minutes after `latest` (the series' latest reading by date and clock time, whose groups are
// `date` and `square`) until one more reading, taken that day with the same square, decides
// between the walls of `fits` (the best first, each fitted to the same readings) with at least
// kDecideWithProbability, whichever of them is the wall: with the predicted angles of the two
// walls D standard deviations apart, the new reading widens their chi^2 difference by
// D^2 + 2 D z, z normal, and it has to pass kRuledOut. The sun must then be on the face of
// every wall, high enough, and the shadow no longer than the user can measure. Steps a minute at
// a time to the clock's midnight; empty when that never happens.
std::optional<int> MinutesToDecide(const Reading& latest, int date, int square,
                                   std::span<const WallFit> fits, const Tolerances& tolerances);

}  // namespace kestramo::series
