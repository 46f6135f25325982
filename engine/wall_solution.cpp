#include "engine/wall_solution.h"

#include "engine/alignment_calculations.h"
#include "engine/shadow_solution.h"

namespace alignment_calculations {
namespace {

constexpr std::int16_t kMeasurementSlot = 1;

}  // namespace

WallSolution SolveShadowMeasurement(double H, double L) {
    SunPosition(kMeasurementSlot);
    const kestramo::SunEphemeris sun{.declination = SunTable[kMeasurementSlot][0],
                                     .equationOfTime = SunTable[kMeasurementSlot][1]};
    return kestramo::SolveWall(CurrentObservation(kMeasurementSlot), sun, H, L);
}

}  // namespace alignment_calculations
