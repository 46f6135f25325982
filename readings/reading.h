#pragma once

#include <limits>
#include <optional>
#include <string>

#include "engine/observation.h"

// One shadow measurement as the user took it, and what the engine makes of it alone.
namespace kestramo::readings {

// Marks a number that has no value (an answer of an unsolved reading, say).
inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// A date of the proleptic Gregorian calendar.
struct CalendarDate {
    int year = 2000;  // e.g. 2003
    int month = 1;    // 1 to 12
    int day = 1;      // 1 to the month's length

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// True when the date exists (month 1 to 12, day within that month, leap years counted) and the
// year lies in 1 to 9999.
bool IsValidDate(const CalendarDate& date);

// One reading: a square of height `height` held straight out from a sunlit wall threw a shadow
// of length `length` on it, at the clock time `clockSeconds` of `date`, at the site and in the
// time zone given.
struct Reading {
    CalendarDate date;
    double clockSeconds = 43200;  // seconds after midnight that the clock showed, [0, 86400)
    double utcOffsetHours = 0;    // hours of the zone's STANDARD time ahead of UTC, east positive,
                                  // -12 to +14; fractions such as 5.5, 5.75, -3.5 allowed
    bool daylight = false;        // the clock showed daylight-saving time (one hour ahead)
    double latitude = 0;          // degrees, north positive, -90 to 90
    double longitude = 0;         // degrees, east positive, west negative, -180 to 180
    double height = 1;            // the square's height, > 0, any unit (the same as `length`)
    double length = 1;            // the shadow's length on the wall, > 0, unit of `height`
    std::optional<std::string> heightText;  // the height as the user typed it, when known
    std::optional<std::string> lengthText;  // the length as the user typed it, when known
    bool excluded = false;                  // the user left this reading out of the combined answer

    friend bool operator==(const Reading&, const Reading&) = default;
};

// True when two readings were taken with the same numbers: date, clock time, zone, daylight
// flag, site, height and length. Typed texts and the excluded flag do not count, so the same
// inputs calculated again add nothing to a series.
bool SameInputs(const Reading& a, const Reading& b);

// What the engine needs to place the sun for this reading: the zone's meridian is the standard
// offset times 15 degrees.
kestramo::Observation ObservationOf(const Reading& reading);

// The same reading's clock time moved by `seconds` (either sign), kept within the same day's
// [0, 86400): the ephemeris changes too little in a day for the date to matter.
Reading ShiftedClock(const Reading& reading, double seconds);

enum class ReadingStatus {
    Solved,           // two walls fit; both answers are set
    NoWallFits,       // the shadow is too short for any vertical wall with the sun that high
    SunBelowHorizon,  // the sun was at or below the horizon at that time
};

// The engine's result for one reading on its own. Angles in degrees; declinations are the
// azimuth of the wall's outward normal from due south, west positive, in [-180, 180].
struct ReadingSolution {
    ReadingStatus status = ReadingStatus::NoWallFits;
    double first = 0;        // sun's azimuth less the offset; meaningful only when Solved
    double second = 0;       // sun's azimuth plus the offset; meaningful only when Solved
    double sunAltitude = 0;  // degrees above the horizon (negative below)
    double sunAzimuth = 0;   // degrees from due south, west positive

    bool solved() const { return status == ReadingStatus::Solved; }
};

// Solves one reading through the engine. Never throws; any finite inputs give a result.
ReadingSolution SolveReading(const Reading& reading);

// Words for the status, e.g. "no vertical wall fits this shadow".
const char* StatusText(ReadingStatus status);

}  // namespace kestramo::readings
