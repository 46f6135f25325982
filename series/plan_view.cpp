#include "series/plan_view.h"

#include <cmath>

#include "engine/angles.h"

namespace kestramo::series {

PlanDirection DirectionOfBearing(double bearing) {
    double b = std::fmod(bearing, 360.0);
    if (b < 0) b += 360;
    if (b >= 360) b = 0;
    return {b, std::sin(b * kDegToRad), std::cos(b * kDegToRad)};
}

PlanDirection DirectionOfDeclination(double declination) {
    return DirectionOfBearing(180 + declination);
}

PlanView MakePlanView(std::span<const ReadingGeometry> geometry, const SeriesResult& result) {
    PlanView view;
    if (result.declination) {
        view.normal = DirectionOfDeclination(*result.declination);
        view.wallLine = DirectionOfBearing(view.normal->bearing - 90);
    }
    for (const WallCandidate& candidate : result.alternatives) {
        view.alternatives.push_back(DirectionOfDeclination(candidate.declination));
    }
    view.readings.reserve(geometry.size());
    for (std::size_t i = 0; i < geometry.size(); ++i) {
        PlanViewReading reading;
        reading.sun = DirectionOfDeclination(geometry[i].sunAzimuth);
        reading.solved = geometry[i].solved();
        reading.method = geometry[i].method;
        if (reading.solved) {
            reading.first = DirectionOfDeclination(geometry[i].first);
            reading.second = std::isfinite(geometry[i].second)
                                 ? DirectionOfDeclination(geometry[i].second)
                                 : reading.first;
        }
        if (geometry[i].method == Method::Bearing) {
            reading.sun = reading.first;
            reading.spread = geometry[i].bearingError;
        }
        if (i < result.readings.size()) {
            reading.chosen = result.readings[i].chosen;
            reading.state = result.readings[i].state;
        }
        view.readings.push_back(reading);
    }
    return view;
}

}  // namespace kestramo::series
