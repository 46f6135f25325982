#pragma once

#include <QStringList>

#include "tests/support/window_driver.h"

// Two measurements on the same morning site and what their printed reports say, in en_US.
namespace expected_pages {

// Solvable: two walls fit. The height is typed with a decimal that must survive as typed.
inline Observation Morning() {
    Observation morning = LongIslandMorning();
    morning.height = QStringLiteral("10.0");
    return morning;
}

inline QStringList MorningText() {
    return {
        "Kestramo",
        "Brontile LLC, www.brontile.com",
        "Latitude 40.655 North, Longitude 72.855 West, 11:00:00 AM, Daylight Savings Time",
        "Height of square = 10.0, Length of Shadow = 25.",
        "Wednesday, September 03, 2003",
        "Wall Declination is either 100.1 degrees East, or 11.4 degrees West.",
        "(Zero degrees azimuth is defined as facing directly south)",
    };
}

// The same day in the afternoon: the shadow is too short for any vertical wall.
inline Observation Afternoon() {
    Observation afternoon = Morning();
    afternoon.time = QStringLiteral("3:00:00 PM");
    afternoon.length = QStringLiteral("7");
    return afternoon;
}

inline QStringList AfternoonText() {
    return {
        "Kestramo",
        "Brontile LLC, www.brontile.com",
        "Latitude 40.655 North, Longitude 72.855 West, 3:00:00 PM, Daylight Savings Time",
        "Height of square = 10.0, Length of Shadow = 7.",
        "There is no declination for a vertical wall that corresponds to this shadow length "
        "for this date, time, and location.",
    };
}

}  // namespace expected_pages
