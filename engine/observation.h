#pragma once

#include <compare>

// One shadow measurement's circumstances, everything the sun and the wall depend on apart from
// the square and its shadow. A plain value: solving one observation never touches another.
namespace kestramo {

// Serial days count whole days from 30 December 1899: 1 January 1900 is day 2.
using SerialDay = double;

struct Observation {
    SerialDay date = 0;    // calendar date of the measurement; any fraction is ignored
    double clockTime = 0;  // what the clock showed, as a fraction of a day in [0, 1): 0.5 is 12:00
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive, west negative
    double zoneMeridian =
        0;  // degrees, east positive: the zone's standard-time offset in hours * 15
    bool daylightSaving =
        false;  // the clock shows daylight-saving time, one hour ahead of standard

    friend bool operator==(const Observation&, const Observation&) = default;
};

// A date of the proleptic Gregorian calendar.
struct CalendarDate {
    int year = 2000;  // e.g. 2003
    int month = 1;    // 1 to 12
    int day = 1;      // 1 to the month's length

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// Serial day of a date of the proleptic Gregorian calendar (month 1 to 12, day 1 to 31).
SerialDay SerialDayOf(int year, int month, int day);
SerialDay SerialDayOf(const CalendarDate& date);

// The calendar date of a serial day; any fraction is ignored, as the engine ignores it.
CalendarDate CalendarDateOf(SerialDay serial);

// True when the date exists (month 1 to 12, day within that month, leap years counted) and the
// year lies in 1 to 9999.
bool IsValidDate(const CalendarDate& date);

}  // namespace kestramo
