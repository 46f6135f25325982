#pragma once

#include "engine/observation.h"
#include "engine/sun_ephemeris.h"
#include "engine/wall_solution.h"

namespace kestramo {

using alignment_calculations::WallSolution;

// The walls that give a square of height `height`, held straight out from the wall, a shadow of
// length `length` on it (both > 0, in one unit), with the sun where the observation puts it.
// Pure: reads and writes no shared state. Never NaN or infinite for admissible observations.
WallSolution SolveWall(const Observation& observation, double height, double length);

// The same with the sun's ephemeris already computed for this observation.
WallSolution SolveWall(const Observation& observation, const SunEphemeris& sun, double height,
                       double length);

}  // namespace kestramo
