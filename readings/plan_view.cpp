#include "readings/plan_view.h"

#include <cmath>
#include <numbers>

namespace kestramo::readings {
namespace {

PlanDirection DirectionOfBearing(double bearing) {
    double b = std::fmod(bearing, 360.0);
    if (b < 0) {
        b += 360;
    }
    if (b >= 360) {
        b = 0;
    }
    const double radians = b * (std::numbers::pi / 180);
    return {b, std::sin(radians), std::cos(radians)};
}

}  // namespace

PlanDirection DirectionOfDeclination(double declination) {
    return DirectionOfBearing(180 + declination);
}

PlanView MakePlanView(std::span<const EvaluatedReading> evaluated, const SeriesResult& result) {
    PlanView view;
    if (result.declination) {
        view.normal = DirectionOfDeclination(*result.declination);
        view.wallLine = DirectionOfBearing(view.normal->bearing - 90);
    }
    view.readings.reserve(evaluated.size());
    for (std::size_t i = 0; i < evaluated.size(); ++i) {
        const ReadingSolution& solution = evaluated[i].solution;
        PlanViewReading reading;
        reading.sun = DirectionOfDeclination(solution.sunAzimuth);
        reading.solved = solution.solved();
        if (reading.solved) {
            reading.first = DirectionOfDeclination(solution.first);
            reading.second = DirectionOfDeclination(solution.second);
        }
        if (i < result.readings.size()) {
            reading.chosen = result.readings[i].chosen;
            reading.used = result.readings[i].used;
            reading.outlier = result.readings[i].outlier;
        }
        view.readings.push_back(reading);
    }
    return view;
}

}  // namespace kestramo::readings
