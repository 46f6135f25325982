#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "engine/angles.h"
#include "series/reading.h"
#include "series/series.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"

// Readings that a known wall would give. The engine places the sun at the true time; the wall
// (declination and lean) gives the angle theta between the sun's rays and its normal; a square
// of height H casts its shadow's blurred end from H tan(theta - r) to H tan(theta + r).
namespace synthetic {

namespace ks = kestramo::series;
using kestramo::CalendarDate;

struct Site {
    double latitude;   // degrees, north positive
    double longitude;  // degrees, east positive
    double utcOffset;  // hours of standard time, east positive
    bool daylight;
    CalendarDate date;
};

inline constexpr Site kLongIsland{40.655, -72.855, -5, true, {2003, 9, 3}};
inline constexpr Site kSydneyWinter{-33.87, 151.21, 10, false, {2021, 6, 21}};
inline constexpr Site kOsloSummer{59.91, 10.75, 1, true, {2022, 6, 21}};

inline ks::Reading At(const Site& site, double clockSeconds, double height = 10,
                      double length = 10) {
    return ks::MakeReading(site.date, clockSeconds, site.utcOffset, site.daylight, site.latitude,
                           site.longitude, height, length);
}

struct Wall {
    double declination;  // degrees from south, west positive
    double lean = 0;     // degrees, positive leaning back
};

// The angle between the sun's rays and the wall's normal at that clock time (a true clock).
inline double ThetaAt(const Site& site, const Wall& wall, double clockSeconds) {
    const ks::ReadingGeometry sun = ks::Examine(At(site, clockSeconds));
    if (!(sun.sunAltitude > 0)) return 180;
    return ks::PredictAngle(sun, wall.declination, wall.lean).theta;
}

// The reading the wall gives at that time to the edge read, with no error; nothing when the sun
// is off its face or lower than 15 degrees, or the shadow longer than 4 heights.
inline std::optional<ks::Reading> FromWall(const Site& site, const Wall& wall, double clockSeconds,
                                           double height = 10,
                                           ks::ShadowEdge edge = ks::ShadowEdge::Middle) {
    ks::Reading reading = At(site, clockSeconds, height);
    if (ks::Examine(reading).sunAltitude < 15) return std::nullopt;
    reading.length = ks::PredictedLength(height, ThetaAt(site, wall, clockSeconds), edge);
    if (!(reading.length > 0) || reading.length > 4 * height) return std::nullopt;
    return reading;
}

// Up to `count` error-free readings of the wall spread over the part of the day when it can be
// measured.
inline std::vector<ks::Reading> DayOfReadings(const Site& site, const Wall& wall, int count) {
    std::vector<ks::Reading> possible;
    for (int minute = 0; minute < 24 * 60; minute += 5) {
        if (auto reading = FromWall(site, wall, minute * 60.0)) possible.push_back(*reading);
    }
    std::vector<ks::Reading> chosen;
    if (possible.empty()) return chosen;
    for (int k = 0; k < count; ++k) {
        const std::size_t index = count == 1 ? 0 : k * (possible.size() - 1) / (count - 1);
        chosen.push_back(possible[index]);
    }
    return chosen;
}

// Readings of a wall as a user takes them, every error drawn from the tolerances: one watch
// offset for the series (its date) and one height error for its square, and for each reading
// the moment of noting the time, the edge of the blur, the tape and the square's tilt.
class Surveyor {
  public:
    Surveyor(std::uint64_t seed, const ks::Tolerances& tolerances)
        : random_(seed), tolerances_(ks::Admissible(tolerances)) {}

    double Normal() { return normal_(random_); }
    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    std::mt19937_64& Random() { return random_; }

    // A site in either hemisphere, at latitudes 25 to 60, on a random day of 2020 to 2025.
    Site AnySite() {
        Site site;
        site.latitude = (Uniform(0, 1) < 0.5 ? -1 : 1) * Uniform(25, 60);
        site.longitude = Uniform(-180, 180);
        site.utcOffset = std::round(site.longitude / 15);
        site.daylight = Uniform(0, 1) < 0.5;
        site.date = {2020 + int(Uniform(0, 6)), 1 + int(Uniform(0, 12)), 1 + int(Uniform(0, 28))};
        return site;
    }

    // `count` readings at distinct random times when the sun is on the face, at least 12
    // degrees high, and the shadow no longer than 4 heights; empty when the day has too few.
    std::vector<ks::Reading> Survey(const Site& site, const Wall& wall, int count,
                                    double height = 10) {
        const double watch = Normal() * tolerances_.clockSeconds;
        const double trueHeight = height / (1 + Normal() * tolerances_.heightPercent / 100);
        return Survey(site, wall, count, height, watch, trueHeight);
    }

    // The same with the watch `watch` seconds slow and the square truly `trueHeight` high, for
    // series of many days with one watch a day and one square.
    std::vector<ks::Reading> Survey(const Site& site, const Wall& wall, int count, double height,
                                    double watch, double trueHeight) {
        std::vector<ks::Reading> readings;
        for (double time : Moments(site, wall, count))
            readings.push_back(Take(site, wall, time, watch, height, trueHeight));
        return readings;
    }

    // `count` distinct random true times, in order, when the sun is on the face, at least 12
    // degrees high, and the shadow no longer than 4 heights; empty when the day has too few.
    std::vector<double> Moments(const Site& site, const Wall& wall, int count) {
        std::vector<double> possible;
        for (int minute = 0; minute < 24 * 60; minute += 2) {
            const double theta = ThetaAt(site, wall, minute * 60.0);
            const ks::ReadingGeometry sun = ks::Examine(At(site, minute * 60.0));
            if (sun.sunAltitude < 12 || !(theta < 85) ||
                std::tan((theta + ks::kSunRadius) * kestramo::kDegToRad) > 4) {
                continue;
            }
            possible.push_back(minute * 60.0);
        }
        if (int(possible.size()) < count) return {};
        std::shuffle(possible.begin(), possible.end(), random_);
        possible.resize(size_t(count));
        std::sort(possible.begin(), possible.end());
        return possible;
    }

    // One reading at the true time `time` with the watch `watch` seconds slow.
    ks::Reading Take(const Site& site, const Wall& wall, double time, double watch, double height,
                     double trueHeight) {
        const ks::Tolerances& t = tolerances_;
        const double edge = t.edge == ks::ShadowEdge::Outer ? ks::kSunRadius : 0;
        const double read =
            ThetaAt(site, wall, time) + edge + Normal() * t.blurFraction * 2 * ks::kSunRadius;
        double length = trueHeight * std::tan(read * kestramo::kDegToRad) *
                        (1 + Normal() * t.lengthPercent / 100);
        const double tilt = Normal() * t.tiltDegrees * kestramo::kDegToRad;
        length = trueHeight * std::sin(tilt) + length * std::cos(tilt);
        const double noted = std::clamp(time - watch + Normal() * t.timingSeconds, 0.0, 86399.0);
        return At(site, noted, height, std::max(length, 1e-3));
    }

  private:
    std::mt19937_64 random_;
    std::normal_distribution<double> normal_{0, 1};
    ks::Tolerances tolerances_;
};

// How often series' stated uncertainties hold the walls they were drawn from.
struct Coverage {
    int decided = 0;
    int withinOne = 0;  // decided, the truth within 1 sigma
    int withinTwo = 0;  // decided, within 2 sigma
    int wrong = 0;      // decided, off by more than 4 sigma and 2 degrees: another wall
    int leanFitted = 0;
    int leanWithinTwo = 0;

    // One series' result against its wall; its lean counts when `leanCounts` and fitted.
    void Count(const ks::SeriesResult& r, const Wall& wall, bool leanCounts = true) {
        if (leanCounts && r.leanUncertainty > 0) {
            ++leanFitted;
            leanWithinTwo += std::fabs(r.lean - wall.lean) < 2 * r.leanUncertainty ? 1 : 0;
        }
        if (!r.decided()) return;
        ++decided;
        const double off = std::fabs(kestramo::AngleDifference(*r.declination, wall.declination));
        withinOne += off < r.uncertainty ? 1 : 0;
        withinTwo += off < 2 * r.uncertainty ? 1 : 0;
        wrong += off > 4 * r.uncertainty && off > 2 ? 1 : 0;
    }
};

}  // namespace synthetic
