#include <cmath>

#include "engine/Trig_Functions.h"
#include "engine/alignment_calculations.h"
#include "engine/wall_solution.h"

int main() {
    namespace ac = alignment_calculations;
    ac::InitConstants();
    ac::ObsDate = 37867;
    ac::Latitude = 40.655;
    ac::Longitude = -72.855;
    ac::ZoneMeridian = -75;
    ac::ClockTime[1] = 11.0 / 24;
    ac::SetDaylightOptionSource([] { return -1; });
    const ac::WallSolution solution = ac::SolveShadowMeasurement(10, 25);
    return solution.Solvable && std::fabs(solution.SecondAnswer - 11.4248) < 1e-4 ? 0 : 1;
}
