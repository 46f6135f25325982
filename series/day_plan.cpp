#include "series/day_plan.h"

#include <algorithm>
#include <cmath>

#include "engine/serial_time.h"

namespace kestramo::series {

DaySky SkyOfDay(const Reading& latest, int stepMinutes) {
    DaySky sky;
    sky.latest = latest;
    sky.stepMinutes = std::max(1, stepMinutes);
    for (int minute = 0; minute < 24 * 60; minute += sky.stepMinutes) {
        Reading then = latest;
        then.observation.clockTime = minute * 60.0 / kSecondsPerDay;
        sky.sun.push_back(Examine(then));
    }
    return sky;
}

bool SameDay(const DaySky& sky, const Reading& latest) {
    const Observation& a = sky.latest.observation;
    const Observation& b = latest.observation;
    return std::trunc(a.date) == std::trunc(b.date) && a.latitude == b.latitude &&
           a.longitude == b.longitude && a.zoneMeridian == b.zoneMeridian &&
           a.daylightSaving == b.daylightSaving;
}

DayPlan PlanDay(const Reading& latest, const WallFit& fit, int date, int square,
                const Tolerances& tolerances, int stepMinutes) {
    return PlanDay(SkyOfDay(latest, stepMinutes), latest, fit, date, square, tolerances);
}

DayPlan PlanDay(const DaySky& sky, const Reading& latest, const WallFit& fit, int date, int square,
                const Tolerances& tolerances) {
    const Tolerances t = Admissible(tolerances);
    DayPlan plan;
    plan.date = DateOf(latest);
    plan.wall = fit.declination;
    plan.uncertainty = fit.declinationSigma;
    plan.longestShadow = t.longestShadow;
    const std::array<double, 16> block = NextReadingBlock(fit, date, square, t);
    for (std::size_t k = 0; k < sky.sun.size(); ++k) {
        const NextReading next = LookAhead(sky.sun[k], double(k) * sky.stepMinutes * 60.0,
                                           latest.height, fit, date, block, t);
        PlanSample sample;
        sample.clockSeconds = next.clockSeconds;
        sample.sunAltitude = next.geometry.sunAltitude;
        sample.sunAzimuth = next.geometry.sunAzimuth;
        sample.sunOnFace = next.sunOnFace;
        sample.highEnough = next.highEnough;
        const bool lit = next.sunOnFace && next.highEnough;
        sample.shadowHeights = lit ? next.shadowLength / latest.height : std::nan("");
        sample.tooLong = lit && !next.practical;
        sample.practical = next.practical;
        sample.uncertainty = lit ? next.declinationSigmaAfter : std::nan("");
        plan.samples.push_back(sample);
    }

    const auto reduction = [&](const PlanSample& s) {
        return plan.uncertainty * plan.uncertainty - s.uncertainty * s.uncertainty;
    };
    std::size_t bestIndex = plan.samples.size();
    for (std::size_t i = 0; i < plan.samples.size(); ++i) {
        if (plan.samples[i].practical && std::isfinite(plan.samples[i].uncertainty) &&
            (bestIndex == plan.samples.size() ||
             plan.samples[i].uncertainty < plan.samples[bestIndex].uncertainty)) {
            bestIndex = i;
        }
    }
    if (bestIndex == plan.samples.size()) return plan;
    const double most = reduction(plan.samples[bestIndex]);
    const auto fits = [&](std::size_t i) {
        return plan.samples[i].practical && std::isfinite(plan.samples[i].uncertainty) &&
               reduction(plan.samples[i]) >= kWindowShare * most;
    };
    std::size_t first = bestIndex;
    while (first > 0 && fits(first - 1)) --first;
    std::size_t last = bestIndex;
    while (last + 1 < plan.samples.size() && fits(last + 1)) ++last;
    for (std::size_t i = first; i <= last; ++i) plan.samples[i].inBestWindow = true;
    plan.best = BestWindow{plan.samples[first].clockSeconds, plan.samples[last].clockSeconds,
                           plan.samples[bestIndex].uncertainty};
    return plan;
}

}  // namespace kestramo::series
