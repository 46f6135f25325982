// Refitting a series as readings come: 100 readings within 2 ms, 10,000 within 100 ms, the fit
// starting from the last one; and the first fit and the whole evaluation for comparison.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/angles.h"
#include "series/plan_view.h"
#include "series/series.h"
#include "synthetic.h"

namespace {

namespace ks = kestramo::series;

constexpr double kWall = 11.42;  // degrees from south, west positive

// Readings of the wall over ten days at 40.655 N, 72.855 W, with two squares, every error drawn
// from the default tolerances, one in 500 of them a blunder.
std::vector<ks::Reading> ManyReadings(int count) {
    const ks::Tolerances tolerances;
    synthetic::Surveyor surveyor(42, tolerances);
    std::vector<ks::Reading> readings;
    double watch[10];
    for (double& w : watch) w = surveyor.Normal() * tolerances.clockSeconds;
    const double squares[2] = {10 / (1 + surveyor.Normal() * 0.005),
                               12 / (1 + surveyor.Normal() * 0.005)};
    for (int day = 0; int(readings.size()) < count; day = (day + 1) % 10) {
        synthetic::Site site = synthetic::kLongIsland;
        site.date.day = 1 + day;
        for (const ks::Reading& r : surveyor.Survey(site, {kWall, 0.2}, 40, day % 2 ? 12 : 10,
                                                    watch[day], squares[day % 2])) {
            if (int(readings.size()) == count) break;
            readings.push_back(r);
            if (readings.size() % 500 == 0) readings.back().length *= 1.3;
        }
    }
    return readings;
}

struct Series {
    std::vector<ks::Reading> readings;
    std::vector<ks::ReadingGeometry> geometry;
    ks::SeriesResult previous;  // the result before the latest reading came
};

const Series& SeriesOf(int count) {
    static std::vector<std::pair<int, Series>> made;
    for (const auto& [size, series] : made) {
        if (size == count) return series;
    }
    Series series;
    series.readings = ManyReadings(count);
    for (const ks::Reading& r : series.readings) series.geometry.push_back(ks::Examine(r));
    series.previous =
        ks::CombineReadings(std::span(series.readings).first(size_t(count - 1)),
                            std::span(series.geometry).first(size_t(count - 1)), ks::Tolerances{});
    made.emplace_back(count, std::move(series));
    return made.back().second;
}

void Check(benchmark::State& state, const ks::SeriesResult& result) {
    if (!result.decided() || std::fabs(*result.declination - kWall) > 0.2) {
        state.SkipWithError("wrong wall");
    }
}

// One reading more: the fit starts from the last one, the readings worked out already.
void BM_RefitWithOneMore(benchmark::State& state) {
    const Series& series = SeriesOf(int(state.range(0)));
    for (auto _ : state) {
        const ks::SeriesResult result = ks::CombineReadings(series.readings, series.geometry,
                                                            ks::Tolerances{}, {}, &series.previous);
        benchmark::DoNotOptimize(result);
        Check(state, result);
    }
}
BENCHMARK(BM_RefitWithOneMore)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The first fit: the whole circle searched from nothing.
void BM_FirstFit(benchmark::State& state) {
    const Series& series = SeriesOf(int(state.range(0)));
    for (auto _ : state) {
        const ks::SeriesResult result =
            ks::CombineReadings(series.readings, series.geometry, ks::Tolerances{});
        benchmark::DoNotOptimize(result);
        Check(state, result);
    }
}
BENCHMARK(BM_FirstFit)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// Everything: each reading worked out through the engine, then fitted and drawn.
void BM_ExamineFitAndPlanView(benchmark::State& state) {
    const Series& series = SeriesOf(int(state.range(0)));
    for (auto _ : state) {
        const ks::SolvedSeries solved = ks::SolveSeries(series.readings, ks::Tolerances{});
        const ks::PlanView view = ks::MakePlanView(solved.geometry, solved.result);
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_ExamineFitAndPlanView)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
