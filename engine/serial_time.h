#pragma once

#include <cmath>

// Serial date-times: the integer part counts days from 30 December 1899, the fraction is the
// time of day (0.5 is 12:00:00).
namespace kestramo {

inline constexpr double kSecondsPerDay = 86400;

// Whole calendar days in a serial date, truncated toward zero.
inline double CalendarDay(double serial) { return std::trunc(serial); }

// Time of day of a serial value, as a fraction of a day in [0, 1): the magnitude of its fraction,
// so that a clock reading that also carries a date counts by its time alone (-1.25 is
// 29 December 1899 at 06:00).
inline double TimeOfDay(double serial) { return std::fabs(serial - std::trunc(serial)); }

}  // namespace kestramo
