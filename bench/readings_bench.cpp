// Combining 10,000 readings of one wall and drawing the plan view must stay well under 10 ms.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "readings/circular.h"
#include "readings/plan_view.h"
#include "readings/series.h"

namespace {

namespace kr = kestramo::readings;

constexpr double kWall = 11.42;  // degrees from south, west positive
constexpr int kCount = 10000;

// Readings of the wall over a week of afternoons and mornings at 40.655 N, 72.855 W, their
// shadows 1 % noisy, a few of them badly wrong.
std::vector<kr::Reading> ManyReadings() {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> clock(9 * 3600, 18 * 3600);
    std::normal_distribution<double> noise(0, 0.01);
    std::vector<kr::Reading> readings;
    while (static_cast<int>(readings.size()) < kCount) {
        kr::Reading r;
        r.date = {2003, 9, 1 + static_cast<int>(readings.size() % 7)};
        r.clockSeconds = std::floor(clock(random));
        r.utcOffsetHours = -5;
        r.daylight = true;
        r.latitude = 40.655;
        r.longitude = -72.855;
        r.height = 10;
        const kr::ReadingSolution sun = kr::SolveReading(r);
        constexpr double kRad = std::numbers::pi / 180;
        const double cosTheta = std::cos(sun.sunAltitude * kRad) *
                                std::cos(kr::AngleDifference(sun.sunAzimuth, kWall) * kRad);
        if (sun.sunAltitude < 10 || cosTheta < 0.25) {
            continue;
        }
        r.length = r.height * std::tan(std::acos(cosTheta)) * (1 + noise(random));
        if (readings.size() % 500 == 0) {
            r.length *= 1.3;
        }
        readings.push_back(r);
    }
    return readings;
}

const std::vector<kr::Reading>& Readings() {
    static const std::vector<kr::Reading> readings = ManyReadings();
    return readings;
}

const std::vector<kr::EvaluatedReading>& Evaluated() {
    static const std::vector<kr::EvaluatedReading> evaluated = [] {
        std::vector<kr::EvaluatedReading> e;
        for (const kr::Reading& r : Readings()) {
            e.push_back(kr::EvaluateReading(r, kr::Tolerances{}));
        }
        return e;
    }();
    return evaluated;
}

// The readings' own solutions and uncertainties are computed once, outside the timed loop.
void BM_CombineAndPlanView(benchmark::State& state) {
    const auto& readings = Readings();
    const auto& evaluated = Evaluated();
    for (auto _ : state) {
        const kr::SeriesResult result = kr::CombineReadings(readings, evaluated);
        const kr::PlanView view = kr::MakePlanView(evaluated, result);
        benchmark::DoNotOptimize(view);
        if (!result.decided || std::fabs(*result.declination - kWall) > 0.1) {
            state.SkipWithError("wrong wall");
        }
    }
}
BENCHMARK(BM_CombineAndPlanView)->Unit(benchmark::kMillisecond);

// Everything: each reading solved and its uncertainty propagated, then combined and drawn.
void BM_EvaluateCombineAndPlanView(benchmark::State& state) {
    const auto& readings = Readings();
    for (auto _ : state) {
        const kr::SolvedSeries solved = kr::SolveSeries(readings, kr::Tolerances{});
        const kr::PlanView view = kr::MakePlanView(solved.evaluated, solved.result);
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_EvaluateCombineAndPlanView)->Unit(benchmark::kMillisecond);

}  // namespace
