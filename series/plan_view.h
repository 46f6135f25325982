#pragma once

#include <optional>
#include <span>
#include <vector>

#include "series/series.h"

// What a plan view of the wall draws, seen from above with north up.
//
// Directions are BEARINGS: degrees clockwise from north, in [0, 360) (north 0, east 90, south
// 180, west 270). A declination d (from south, west positive) is the bearing 180 + d. Each
// direction also comes as a unit vector (x east, y north) so that a drawing needs no
// trigonometry: on a screen with y down, draw (x, -y).
namespace kestramo::series {

struct PlanDirection {
    double bearing = 0;  // degrees clockwise from north, [0, 360)
    double east = 0;     // sin(bearing): the eastward part of the unit vector
    double north = 1;    // cos(bearing): the northward part of the unit vector
};

// The direction of a declination (degrees from south, west positive), and of a bearing.
PlanDirection DirectionOfDeclination(double declination);
PlanDirection DirectionOfBearing(double bearing);

struct PlanViewReading {
    bool solved = false;             // false: the reading has no answers to draw
    PlanDirection sun;               // the sun's azimuth at the reading
    PlanDirection first;             // its first answer's normal
    PlanDirection second;            // its second answer's normal; the first's again for
                                     // a kind with one answer
    Method method = Method::Square;  // how it was taken: each kind marked its own way
    // A bearing's spread, degrees either side of its normal (one standard deviation); 0 for the
    // other kinds. A bearing has no sun: `sun` is its normal.
    double spread = 0;
    Candidate chosen = Candidate::None;  // the answer nearer the wall, once decided
    ReadingState state = ReadingState::Used;
};

struct PlanView {
    // The wall's outward normal and the wall line (the normal turned a quarter turn
    // counterclockwise; the line runs both ways), once decided.
    std::optional<PlanDirection> normal;
    std::optional<PlanDirection> wallLine;
    // While not decided: the normal of every wall still open, the best first.
    std::vector<PlanDirection> alternatives;
    std::vector<PlanViewReading> readings;  // one per reading, in order
};

// Pure and linear in the number of readings.
PlanView MakePlanView(std::span<const ReadingGeometry> geometry, const SeriesResult& result);

}  // namespace kestramo::series
