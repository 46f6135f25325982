// Refitting a series as readings come: 100 readings within 2 ms, 10,000 within 100 ms, the fit
// starting from the last one, 10,000 of every kind within 30 ms; and the first fit and the whole
// evaluation for comparison.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/angles.h"
#include "series/plan_view.h"
#include "series/series.h"
#include "synthetic_kinds.h"

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

// The same wall read every way: squares, boards and declinometers in turn over ten days and a
// bearing, every error drawn from the default tolerances, one in 500 of them a blunder.
std::vector<ks::Reading> MixedReadings(int count) {
    const ks::Tolerances tolerances;
    synthetic::KindSurveyor surveyor(42, tolerances);
    std::vector<ks::Reading> readings = {surveyor.Bearing(synthetic::kLongIsland, {kWall, 0.2}, 2)};
    const ks::Method cycle[] = {ks::Method::Square, ks::Method::Board, ks::Method::Declinometer};
    std::vector<ks::Method> kinds;
    for (int i = 0; i < 40; ++i) kinds.push_back(cycle[i % 3]);
    for (int day = 0; int(readings.size()) < count; day = (day + 1) % 10) {
        synthetic::Site site = synthetic::kLongIsland;
        site.date.day = 1 + day;
        for (ks::Reading& r : surveyor.Survey(site, {kWall, 0.2}, kinds, 1, true)) {
            if (int(readings.size()) == count) break;
            if (readings.size() % 500 == 0) {
                r.length *= 1.3;
                r.tipX *= 1.3;
                r.angle += 5;
            }
            readings.push_back(r);
        }
    }
    return readings;
}

struct Series {
    std::vector<ks::Reading> readings;
    std::vector<ks::ReadingGeometry> geometry;
    ks::SeriesResult previous;  // the result before the latest reading came
};

// `count` readings; a negative count: that many of every kind.
const Series& SeriesOf(int key) {
    static std::vector<std::pair<int, Series>> made;
    for (const auto& [size, series] : made) {
        if (size == key) return series;
    }
    Series series;
    const int count = std::abs(key);
    series.readings = key < 0 ? MixedReadings(count) : ManyReadings(count);
    for (const ks::Reading& r : series.readings) series.geometry.push_back(ks::Examine(r));
    series.previous =
        ks::CombineReadings(std::span(series.readings).first(size_t(count - 1)),
                            std::span(series.geometry).first(size_t(count - 1)), ks::Tolerances{});
    made.emplace_back(key, std::move(series));
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
// The same with every kind of reading: the argument's negative.
BENCHMARK(BM_RefitWithOneMore)->Arg(-1000)->Arg(-10000)->Unit(benchmark::kMillisecond);

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
