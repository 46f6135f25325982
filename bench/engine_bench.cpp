#include <benchmark/benchmark.h>

#include "engine/alignment_calculations.h"
#include "engine/wall_solution.h"

namespace {

namespace ac = alignment_calculations;

void SetUpObservation() {
    ac::InitConstants();
    ac::ObsDate = 37867;  // 3 September 2003
    ac::Latitude = 40.655;
    ac::Longitude = -72.855;
    ac::ZoneMeridian = -75;
    ac::ClockTime[1] = 11.0 / 24;
    ac::SetDaylightOptionSource([] { return -1; });
}

void BM_SunPosition(benchmark::State& state) {
    SetUpObservation();
    for (auto _ : state) {
        ac::SunPosition(1);
        benchmark::DoNotOptimize(ac::SunTable[1]);
    }
}
BENCHMARK(BM_SunPosition);

void BM_SolveShadowMeasurement(benchmark::State& state) {
    SetUpObservation();
    double length = 25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(length);
        auto solution = ac::SolveShadowMeasurement(10, length);
        benchmark::DoNotOptimize(solution);
    }
}
BENCHMARK(BM_SolveShadowMeasurement);

}  // namespace
