#pragma once

#include <limits>
#include <optional>
#include <string>

#include "engine/observation.h"

// One shadow measurement as the user took it.
namespace kestramo::series {

// Marks a number that has no value (an answer of an unsolved reading, say).
inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// A square of height `height` held straight out from a sunlit wall threw a shadow of length
// `length` on it, at the moment and the site that `observation` gives.
struct Reading {
    Observation observation;  // date, clock reading, site, zone and clock kind
    double height = 1;        // the square's height, > 0, any unit (the same as `length`)
    double length = 1;        // the shadow's length on the wall, > 0, unit of `height`
    std::optional<std::string> heightText;  // the height as the user typed it, when known
    std::optional<std::string> lengthText;  // the length as the user typed it, when known

    friend bool operator==(const Reading&, const Reading&) = default;
};

// The reading's calendar date, its clock time in seconds after midnight [0, 86400), and the
// hours of its zone's standard time ahead of UTC (east positive).
CalendarDate DateOf(const Reading& reading);
double ClockSecondsOf(const Reading& reading);
double UtcOffsetHoursOf(const Reading& reading);

// A reading from its parts: the clock time in seconds after midnight, the zone's standard
// offset in hours ahead of UTC.
Reading MakeReading(const CalendarDate& date, double clockSeconds, double utcOffsetHours,
                    bool daylight, double latitude, double longitude, double height, double length);

// True when two readings were taken with the same numbers: date, clock time to the millisecond,
// zone, clock kind, site, height and length. Typed texts do not count, so the same inputs
// calculated again add nothing to a series.
bool SameInputs(const Reading& a, const Reading& b);

// The same reading with its clock moved by `seconds` (either sign), kept within the same day's
// [0, 86400): the ephemeris changes too little in a day for the date to matter.
Reading ShiftedClock(const Reading& reading, double seconds);

// "HH:MM" (rounded to the minute), or "HH:MM:SS" (rounded to the second), of a clock time in
// seconds after midnight; `SecondsWhenAny` writes the seconds only when they are not zero.
enum class ClockPrecision { Minutes, Seconds, SecondsWhenAny };
std::string ClockText(double seconds, ClockPrecision precision = ClockPrecision::Minutes);
// "YYYY-MM-DD".
std::string DateText(const CalendarDate& date);

}  // namespace kestramo::series
