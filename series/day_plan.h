#pragma once

#include <optional>
#include <vector>

#include "series/next_reading.h"

// When to take the next reading: the day of the latest reading sampled at regular clock times,
// for a fitted wall.
namespace kestramo::series {

struct PlanSample {
    double clockSeconds = 0;  // seconds after midnight on the clock (the latest reading's zone and
                              // clock kind)
    double sunAltitude = 0;   // degrees above the horizon
    double sunAzimuth = 0;    // degrees from due south, west positive
    bool sunOnFace = false;   // the sun lights the wall's face
    bool highEnough = false;  // the sun is at least kMinimumAltitude high
    // The shadow the square would cast then, to the edge the user reads, in square heights;
    // NaN when the sun is not on the face or too low.
    double shadowHeights = 0;
    bool tooLong = false;  // on the face and high enough, but longer than the user can measure
    // The wall's declination uncertainty (1 sigma, degrees) with one more reading then; NaN
    // when no reading is possible.
    double uncertainty = 0;
    bool practical = false;     // a reading is possible and its shadow can be measured
    bool inBestWindow = false;  // part of the best stretch of the day
};

// The best stretch: contiguous practical samples around the one that most reduces the wall's
// uncertainty, each bringing at least kWindowShare of that reduction.
inline constexpr double kWindowShare = 0.8;
struct BestWindow {
    double startSeconds = 0;  // clock time of its first sample, seconds after midnight
    double endSeconds = 0;    // clock time of its last sample, seconds after midnight
    double uncertainty = 0;   // degrees: the wall's least uncertainty with a reading in it
};

struct DayPlan {
    CalendarDate date;
    double wall = 0;           // the declination the plan was made for, degrees from south, west +
    double uncertainty = 0;    // degrees: the wall's uncertainty now, before another reading
    double longestShadow = 4;  // square heights: the longest shadow the plan offers
    std::vector<PlanSample> samples;
    std::optional<BestWindow> best;  // empty when no practical reading is possible that day
};

// The sun through the day of `latest` (its date, site, zone and clock kind), every `stepMinutes`
// minutes of clock time from 00:00: what a plan samples, the same for every wall, so that a
// window can keep it while only the fit changes.
struct DaySky {
    Reading latest;
    int stepMinutes = 5;
    std::vector<ReadingGeometry> sun;  // one per sample
};
DaySky SkyOfDay(const Reading& latest, int stepMinutes = 5);
// True when `sky` is the day of `latest` (the same date, site, zone and clock kind).
bool SameDay(const DaySky& sky, const Reading& latest);

// Samples the day of `latest` every `stepMinutes` minutes of clock time from 00:00, for the wall
// `fit` (fitted with `latest` among its readings, `date` and `square` its groups).
DayPlan PlanDay(const Reading& latest, const WallFit& fit, int date, int square,
                const Tolerances& tolerances, int stepMinutes = 5);
// The same over a day's sky worked out already; `latest` gives the square's height.
DayPlan PlanDay(const DaySky& sky, const Reading& latest, const WallFit& fit, int date, int square,
                const Tolerances& tolerances);

}  // namespace kestramo::series
