#pragma once

#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "engine/observation.h"

// One shadow measurement as the user took it.
namespace kestramo::series {

// Marks a number that has no value (an answer of an unsolved reading, say).
inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// How a reading was taken: each way sundial makers measure a wall.
enum class Method {
    // A square of height `height` held straight out from the sunlit wall threw a shadow of
    // length `length` on it.
    Square,
    // A board laid flat on the wall, its lower edge level, with a pin of height `height` square
    // to it: the shadow of the pin's tip fell `tipX` to the right of the pin's foot (as a person
    // facing the wall sees it) and `tipY` up the face, in the pin's unit.
    Board,
    // A level board held square to the wall with a plumb pin or line on it: the pin's shadow
    // fell toward the wall `angle` degrees from the perpendicular to the wall, positive to the
    // right as one faces the wall.
    Declinometer,
    // The wall's declination found by other means (a compass with the variation applied, a map,
    // a surveyor's instrument): `bearing` degrees from south, west positive, with its own one
    // standard deviation `bearingError`, degrees. Its time, zone and clock kind mean nothing.
    Bearing,
};

// One reading of the wall at the moment and the site that `observation` gives. The numbers a
// method does not use stay 0.
struct Reading {
    Observation observation;  // date, clock reading, site, zone and clock kind
    Method method = Method::Square;
    double height = 1;  // the square's or the board pin's height, > 0, any unit
    double length = 1;  // the square's shadow on the wall, > 0, unit of `height`
    double tipX = 0;    // the board's tip shadow, right of the pin's foot, unit of `height`
    double tipY = 0;    // the board's tip shadow, up the face from the pin's foot
    // The board readings with the same placement were taken with the board left where it was:
    // they share its level and its pin's tilt. Empty: a placement of its own.
    std::string placement;
    double angle = 0;                       // the declinometer's angle, degrees, (-180, 180]
    double bearing = 0;                     // degrees from south, west positive
    double bearingError = 0;                // degrees, one standard deviation, > 0
    std::optional<std::string> heightText;  // the height as the user typed it, when known
    std::optional<std::string> lengthText;  // the length as the user typed it, when known

    friend bool operator==(const Reading&, const Reading&) = default;
};

// The method's word in a readings file and in the command line's JSON: "square", "board",
// "declinometer", "bearing"; and back, none for another word. An empty word is a square.
const char* MethodWord(Method method);
std::optional<Method> MethodOfWord(std::string_view word);

// How many measurements a reading of this kind holds: two for a board (x and y), one otherwise.
int RowsOf(Method method);
// Whether the kind's reading depends on the moment it was taken: all but a bearing.
bool Timed(Method method);

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
// zone, clock kind (none of these for two bearings), site, method and its values. Typed texts do
// not count, so the same inputs calculated again add nothing to a series.
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
