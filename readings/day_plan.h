#pragma once

#include <optional>
#include <string>
#include <vector>

#include "readings/reading.h"
#include "readings/tolerances.h"

// When to take the next reading: a day sampled at regular clock times, for a wall whose
// direction is known or guessed.
namespace kestramo::readings {

// The sun, and a reading that could be taken, at one clock time.
struct PlanSample {
    double clockSeconds = 0;  // seconds after midnight on the clock (same zone and daylight
                              // flag as the reading the plan was made from)
    double sunAltitude = 0;   // degrees above the horizon
    double sunAzimuth = 0;    // degrees from due south, west positive
    bool sunOnFace = false;   // the sun lights the wall's face: |azimuth - wall| < 90 degrees
    bool highEnough = false;  // the sun is at least kMinimumAltitude high
    // The shadow a square of the plan's height would cast on the wall, same unit as that height;
    // NaN when the sun is not on the face or too low.
    double shadowLength = kNoValue;
    // The 1-sigma uncertainty (degrees) of the wall's answer from a reading then, with the
    // plan's tolerances; NaN when no reading is possible.
    double uncertainty = kNoValue;
    bool practical = false;     // a reading is possible and the shadow is at most kMaximumShadow
                                // times the square's height
    bool inBestWindow = false;  // part of the best stretch of the day
};

inline constexpr double kMinimumAltitude = 10;  // degrees; lower suns give fuzzy shadows
inline constexpr double kMaximumShadow = 4;     // shadow lengths beyond 4 heights are impractical
inline constexpr double kWindowSlack = 1.25;    // the best window's uncertainty is within 1.25
                                                // times the day's least

// The best stretch: contiguous practical samples around the least uncertainty, each within
// kWindowSlack of it.
struct BestWindow {
    double startSeconds = 0;  // clock time of its first sample, seconds after midnight
    double endSeconds = 0;    // clock time of its last sample, seconds after midnight
    double uncertainty = 0;   // degrees, the least uncertainty in it (1 sigma)
};

struct DayPlan {
    CalendarDate date;
    double wall = 0;  // the wall's declination the plan was made for, degrees from south, west +
    std::vector<PlanSample> samples;
    std::optional<BestWindow> best;  // empty when no practical reading is possible that day
};

// Samples the date, site, zone and square height of `last` every `stepMinutes` minutes of clock
// time from 00:00, for a wall facing `wall` (degrees from south, west positive). Pure.
DayPlan PlanDay(const Reading& last, double wall, const Tolerances& tolerances,
                int stepMinutes = 5);

// "HH:MM" of a clock time given in seconds after midnight (rounded to the minute).
std::string ClockText(double seconds);
// "YYYY-MM-DD".
std::string DateText(const CalendarDate& date);

}  // namespace kestramo::readings
