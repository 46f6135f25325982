#include "readings/reading.h"

#include <cmath>

#include "engine/shadow_solution.h"

namespace kestramo::readings {
namespace {

constexpr double kSecondsPerDay = 86400;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDate(const CalendarDate& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

bool SameInputs(const Reading& a, const Reading& b) {
    return a.date == b.date && a.clockSeconds == b.clockSeconds &&
           a.utcOffsetHours == b.utcOffsetHours && a.daylight == b.daylight &&
           a.latitude == b.latitude && a.longitude == b.longitude && a.height == b.height &&
           a.length == b.length;
}

kestramo::Observation ObservationOf(const Reading& reading) {
    return kestramo::Observation{
        .date = kestramo::SerialDayOf(reading.date.year, reading.date.month, reading.date.day),
        .clockTime = reading.clockSeconds / kSecondsPerDay,
        .latitude = reading.latitude,
        .longitude = reading.longitude,
        .zoneMeridian = reading.utcOffsetHours * 15,
        .daylightSaving = reading.daylight,
    };
}

Reading ShiftedClock(const Reading& reading, double seconds) {
    Reading shifted = reading;
    double clock = std::fmod(reading.clockSeconds + seconds, kSecondsPerDay);
    if (clock < 0) {
        clock += kSecondsPerDay;
    }
    shifted.clockSeconds = clock >= kSecondsPerDay ? 0 : clock;
    return shifted;
}

ReadingSolution SolveReading(const Reading& reading) {
    const kestramo::WallSolution wall =
        kestramo::SolveWall(ObservationOf(reading), reading.height, reading.length);
    ReadingSolution solution;
    solution.sunAltitude = wall.SunAltitude;
    solution.sunAzimuth = wall.SunAzimuth;
    if (!(wall.SunAltitude > 0)) {
        solution.status = ReadingStatus::SunBelowHorizon;
    } else if (!wall.Solvable) {
        solution.status = ReadingStatus::NoWallFits;
    } else {
        solution.status = ReadingStatus::Solved;
        solution.first = wall.FirstAnswer;
        solution.second = wall.SecondAnswer;
    }
    return solution;
}

const char* StatusText(ReadingStatus status) {
    switch (status) {
        case ReadingStatus::Solved:
            return "solved";
        case ReadingStatus::NoWallFits:
            return "no vertical wall fits this shadow";
        case ReadingStatus::SunBelowHorizon:
            return "the sun was below the horizon";
    }
    return "unknown";
}

}  // namespace kestramo::readings
