#include <benchmark/benchmark.h>

#include "engine/shadow_solution.h"
#include "engine/sun_ephemeris.h"

namespace {

// The worked measurement: 3 September 2003, 11:00 daylight time, 40.655 N 72.855 W, GMT-5.
constexpr kestramo::Observation kWorkedCase{
    .date = 37867,
    .clockTime = 11.0 / 24,
    .latitude = 40.655,
    .longitude = -72.855,
    .zoneMeridian = -75,
    .daylightSaving = true,
};

void BM_SunAt(benchmark::State& state) {
    kestramo::Observation observation = kWorkedCase;
    for (auto _ : state) {
        benchmark::DoNotOptimize(observation);
        benchmark::DoNotOptimize(kestramo::SunAt(observation));
    }
}
BENCHMARK(BM_SunAt);

void BM_SolveWall(benchmark::State& state) {
    kestramo::Observation observation = kWorkedCase;
    double length = 25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(observation);
        benchmark::DoNotOptimize(length);
        benchmark::DoNotOptimize(kestramo::SolveWall(observation, 10, length));
    }
}
BENCHMARK(BM_SolveWall);

}  // namespace
