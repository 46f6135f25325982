#pragma once

#include <optional>
#include <span>
#include <vector>

#include "readings/series.h"

// What a plan view of the wall draws, seen from above with north up.
//
// Directions are BEARINGS: degrees clockwise from north, in [0, 360) (north 0, east 90, south
// 180, west 270). A declination d (from south, west positive) is the bearing 180 + d. Each
// direction also comes as a unit vector (x east, y north) so that a drawing needs no
// trigonometry: on a screen with y down, draw (x, -y).
namespace kestramo::readings {

struct PlanDirection {
    double bearing = 0;  // degrees clockwise from north, [0, 360)
    double east = 0;     // sin(bearing): the eastward part of the unit vector
    double north = 1;    // cos(bearing): the northward part of the unit vector
};

// The direction of a declination (degrees from south, west positive).
PlanDirection DirectionOfDeclination(double declination);

struct PlanViewReading {
    bool solved = false;                 // false: the reading has no candidates to draw
    PlanDirection sun;                   // the sun's azimuth at the reading
    PlanDirection first;                 // its first candidate normal
    PlanDirection second;                // its second candidate normal
    Candidate chosen = Candidate::None;  // the candidate the series chose (None while undecided)
    bool used = false;                   // went into the combined answer
    bool outlier = false;                // flagged as an outlier
};

struct PlanView {
    // The wall's outward normal and the wall line (the normal turned a quarter turn
    // counterclockwise; the line runs both ways). Empty while the series is undecided.
    std::optional<PlanDirection> normal;
    std::optional<PlanDirection> wallLine;
    std::vector<PlanViewReading> readings;  // one per reading, in order
};

// Pure and linear in the number of readings.
PlanView MakePlanView(std::span<const EvaluatedReading> evaluated, const SeriesResult& result);

}  // namespace kestramo::readings
