#include <cmath>

#include "engine/shadow_solution.h"

// Only the engine's own headers are on the engine's include path.
#if __has_include("main_window/Sundial_Input.h") || __has_include("text/text_conversions.h")
#error "the engine's include path shows more than the engine"
#endif

int main() {
    const kestramo::Observation worked{.date = 37867,
                                       .clockTime = 11.0 / 24,
                                       .latitude = 40.655,
                                       .longitude = -72.855,
                                       .zoneMeridian = -75,
                                       .daylightSaving = true};
    const kestramo::WallSolution solution = kestramo::SolveWall(worked, 10, 25);
    return solution.Solvable && std::fabs(solution.SecondAnswer - 11.4248) < 1e-4 ? 0 : 1;
}
