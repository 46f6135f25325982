#include "readings/day_plan.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "readings/circular.h"

namespace kestramo::readings {
namespace {

constexpr double kRadians = std::numbers::pi / 180;

// The uncertainty of the answer nearest `wall` of a reading that the wall itself would give:
// the shadow follows from cos(theta) = cos(altitude) * cos(azimuth - wall), L = H * tan(theta).
void ForwardModel(const Reading& base, double wall, const Tolerances& tolerances,
                  PlanSample& sample) {
    const double cosTheta = std::cos(sample.sunAltitude * kRadians) *
                            std::cos(AngleDifference(sample.sunAzimuth, wall) * kRadians);
    if (!(cosTheta > 0)) {
        return;
    }
    const double theta = std::acos(std::min(cosTheta, 1.0));
    sample.shadowLength = base.height * std::tan(theta);
    Reading reading = base;
    reading.clockSeconds = sample.clockSeconds;
    reading.length = sample.shadowLength;
    if (!(reading.length > 0)) {
        return;
    }
    const ReadingSolution solution = SolveReading(reading);
    if (!solution.solved()) {
        return;
    }
    const AnswerUncertainty sigma = PropagateUncertainty(reading, solution, tolerances);
    const bool second = std::fabs(AngleDifference(solution.second, wall)) <
                        std::fabs(AngleDifference(solution.first, wall));
    sample.uncertainty = second ? sigma.second : sigma.first;
    sample.practical =
        std::isfinite(sample.uncertainty) && sample.shadowLength <= kMaximumShadow * base.height;
}

}  // namespace

std::string ClockText(double seconds) {
    const long minutes = std::lround(seconds / 60) % (24 * 60);
    char text[8];
    std::snprintf(text, sizeof text, "%02ld:%02ld", minutes / 60, minutes % 60);
    return text;
}

std::string DateText(const CalendarDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return text;
}

DayPlan PlanDay(const Reading& last, double wall, const Tolerances& tolerances, int stepMinutes) {
    DayPlan plan;
    plan.date = last.date;
    plan.wall = WrapHalfTurn(wall);
    const int step = std::max(1, stepMinutes);
    for (int minute = 0; minute < 24 * 60; minute += step) {
        PlanSample sample;
        sample.clockSeconds = minute * 60.0;
        Reading reading = last;
        reading.clockSeconds = sample.clockSeconds;
        const ReadingSolution sun = SolveReading(reading);
        sample.sunAltitude = sun.sunAltitude;
        sample.sunAzimuth = sun.sunAzimuth;
        sample.sunOnFace = std::fabs(AngleDifference(sun.sunAzimuth, plan.wall)) < 90;
        sample.highEnough = sun.sunAltitude >= kMinimumAltitude;
        if (sample.sunOnFace && sample.highEnough) {
            ForwardModel(last, plan.wall, tolerances, sample);
        }
        plan.samples.push_back(sample);
    }

    std::size_t bestIndex = plan.samples.size();
    for (std::size_t i = 0; i < plan.samples.size(); ++i) {
        if (plan.samples[i].practical &&
            (bestIndex == plan.samples.size() ||
             plan.samples[i].uncertainty < plan.samples[bestIndex].uncertainty)) {
            bestIndex = i;
        }
    }
    if (bestIndex == plan.samples.size()) {
        return plan;
    }
    const double least = plan.samples[bestIndex].uncertainty;
    const auto fits = [&](std::size_t i) {
        return plan.samples[i].practical && plan.samples[i].uncertainty <= kWindowSlack * least;
    };
    std::size_t first = bestIndex;
    while (first > 0 && fits(first - 1)) {
        --first;
    }
    std::size_t lastIndex = bestIndex;
    while (lastIndex + 1 < plan.samples.size() && fits(lastIndex + 1)) {
        ++lastIndex;
    }
    for (std::size_t i = first; i <= lastIndex; ++i) {
        plan.samples[i].inBestWindow = true;
    }
    plan.best =
        BestWindow{plan.samples[first].clockSeconds, plan.samples[lastIndex].clockSeconds, least};
    return plan;
}

}  // namespace kestramo::readings
