#pragma once

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "readings/circular.h"
#include "readings/reading.h"

// Readings that a known wall would give: the engine places the sun at the clock time, the wall
// turns the sun's direction into a shadow, L = H * tan(theta) with
// cos(theta) = cos(altitude) * cos(azimuth - wall).
namespace synthetic {

namespace kr = kestramo::readings;

struct Site {
    double latitude;   // degrees, north positive
    double longitude;  // degrees, east positive
    double utcOffset;  // hours of standard time, east positive
    bool daylight;
    kr::CalendarDate date;
};

inline constexpr Site kLongIsland{40.655, -72.855, -5, true, {2003, 9, 3}};
inline constexpr Site kSydneyWinter{-33.87, 151.21, 10, false, {2021, 6, 21}};
inline constexpr Site kOsloSummer{59.91, 10.75, 1, true, {2022, 6, 21}};

inline kr::Reading At(const Site& site, double clockSeconds, double height = 10,
                      double length = 10) {
    kr::Reading reading;
    reading.date = site.date;
    reading.clockSeconds = clockSeconds;
    reading.utcOffsetHours = site.utcOffset;
    reading.daylight = site.daylight;
    reading.latitude = site.latitude;
    reading.longitude = site.longitude;
    reading.height = height;
    reading.length = length;
    return reading;
}

// The reading the wall gives at that time, or nothing when the sun is off its face or low.
inline std::optional<kr::Reading> FromWall(const Site& site, double wall, double clockSeconds,
                                           double height = 10) {
    kr::Reading reading = At(site, clockSeconds, height);
    const kr::ReadingSolution sun = kr::SolveReading(reading);
    constexpr double kRad = std::numbers::pi / 180;
    const double cosTheta = std::cos(sun.sunAltitude * kRad) *
                            std::cos(kr::AngleDifference(sun.sunAzimuth, wall) * kRad);
    if (sun.sunAltitude < 15 || !(cosTheta > 0)) {
        return std::nullopt;
    }
    reading.length = height * std::tan(std::acos(std::min(cosTheta, 1.0)));
    if (!(reading.length > 0) || reading.length > 4 * height) {
        return std::nullopt;
    }
    return reading;
}

// Up to `count` readings of the wall spread over the part of the day when it can be measured.
inline std::vector<kr::Reading> DayOfReadings(const Site& site, double wall, int count) {
    std::vector<kr::Reading> possible;
    for (int minute = 0; minute < 24 * 60; minute += 5) {
        if (auto reading = FromWall(site, wall, minute * 60.0)) {
            possible.push_back(*reading);
        }
    }
    std::vector<kr::Reading> chosen;
    if (possible.empty()) {
        return chosen;
    }
    for (int k = 0; k < count; ++k) {
        const std::size_t index = count == 1 ? 0 : k * (possible.size() - 1) / (count - 1);
        chosen.push_back(possible[index]);
    }
    return chosen;
}

}  // namespace synthetic
