#include "readings/decision_time.h"

#include <cmath>

#include "readings/circular.h"

namespace kestramo::readings {

std::optional<int> MinutesToDecide(const Reading& last, std::span<const SunSighting> sightings,
                                   double newUncertainty, std::array<double, 2> walls,
                                   double separation) {
    if (sightings.empty()) {
        return std::nullopt;
    }
    // Sun azimuths relative to the last reading's keep their order within a day: only the
    // earliest and latest sightings can be the farthest from a later sun.
    const double origin = sightings.back().sunAzimuth;
    const SunSighting* low = &sightings.front();
    const SunSighting* high = &sightings.front();
    for (const SunSighting& s : sightings) {
        const double d = AngleDifference(s.sunAzimuth, origin);
        low = d < AngleDifference(low->sunAzimuth, origin) ? &s : low;
        high = d > AngleDifference(high->sunAzimuth, origin) ? &s : high;
    }
    const int firstMinute = static_cast<int>(std::floor(last.clockSeconds / 60)) + 1;
    for (int minute = firstMinute; minute < 24 * 60; ++minute) {
        Reading later = last;
        later.clockSeconds = minute * 60.0;
        const ReadingSolution sun = SolveReading(later);
        if (!(sun.sunAltitude > 0)) {
            continue;
        }
        const bool onAFace = std::fabs(AngleDifference(sun.sunAzimuth, walls[0])) < 90 ||
                             std::fabs(AngleDifference(sun.sunAzimuth, walls[1])) < 90;
        if (!onAFace) {
            continue;
        }
        for (const SunSighting* s : {low, high}) {
            const double apart = 2 * std::fabs(AngleDifference(sun.sunAzimuth, s->sunAzimuth));
            if (apart > separation * std::hypot(newUncertainty, s->mirrorUncertainty)) {
                return minute - last.clockSeconds / 60 > 0
                           ? std::optional<int>(
                                 static_cast<int>(std::ceil(minute - last.clockSeconds / 60)))
                           : std::nullopt;
            }
        }
    }
    return std::nullopt;
}

}  // namespace kestramo::readings
