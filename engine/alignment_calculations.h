#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "engine/observation.h"

// The observation shared by the engine and the main window, the angle constants, and the
// sun's declination and equation of time. Every value is zero until first written and is
// never cleared between calculations.
namespace alignment_calculations {

// Serial days: day 0 is 30 December 1899 and 1 January 1900 is day 2. The calendar date is
// the integer part taken toward zero; the time of day is the magnitude of the fraction, also
// before day 0 (-1.25 is 29 December 1899 at 06:00).
using DateTime = double;

inline double Pi, DegToRad, RadToDeg;  // 4 * arctan(1); Pi / 180; 180 / Pi
inline DateTime ObsDate;               // only its calendar date counts
inline double Latitude;                // degrees, north positive
inline double Longitude;               // degrees, east positive, west negative
inline double ZoneMeridian;            // degrees, east positive: the zone's offset in hours * 15
// Clock readings in the time the user's clock shows (standard or daylight-saving time).
// Slot 0 is noon; slot 1 is the measured time.
inline std::array<DateTime, 4> ClockTime;
// Row per ClockTime slot: [0] the sun's declination in radians, north positive;
// [1] the equation of time in minutes of time, positive when the sundial runs ahead.
inline std::array<std::array<double, 2>, 4> SunTable;

// Sets Pi, DegToRad, RadToDeg and ClockTime slot 0 (noon). Running it again changes nothing.
void InitConstants();

// Computes row `slot` (0 to 3) of SunTable from ObsDate, ClockTime(slot), Longitude and the
// daylight-saving option: kestramo::SunAt over the shared state.
void SunPosition(std::int16_t slot);

// Where the engine reads the daylight-saving option: -1 selected, 0 not. The window installs
// a query of its option button; the default returns 0. An empty source restores the default.
void SetDaylightOptionSource(std::function<int()> source);

// The daylight-saving option as it stands now: -1 or 0.
int DaylightOption();

// The observation held in the shared state, with clock reading `slot` and the daylight-saving
// option as it stands now.
kestramo::Observation CurrentObservation(std::int16_t slot);

// Whole calendar days in a serial date, truncated toward zero.
double CalendarDay(DateTime value);

// Time of day of a serial value, as a fraction of a day in [0, 1): the magnitude of its
// fraction, so that a clock reading that also carries a date counts by its time alone.
double TimeOfDay(DateTime value);

}  // namespace alignment_calculations
