#pragma once

#include <optional>
#include <vector>

#include "dial/time_error.h"
#include "dial/wall_frame.h"

// The layout of a sundial on a fitted wall: its style, its hour lines, and how far off each
// hour line may read given the wall's uncertainty. Every angle in the dial plane is measured
// from the plane's downward line of steepest descent (the downward vertical on a plumb wall)
// toward the right hand of a person facing the wall, in degrees in (-180, 180]; on a wall
// facing due south the noon line is 0 and the afternoon lines are positive. The style stands
// out of the face toward the celestial pole in front of it.
namespace kestramo::dial {

struct DialRequest {
    double latitude = 0;  // the site's, degrees, north positive; clamped to [-90, 90]
    Wall wall;            // the fitted wall; its lean is clamped to [-90, 90]
    WallCovariance covariance;
};

enum class DialKind {
    Ordinary,    // the style meets the plane at its root, from which the hour lines radiate
    Polar,       // the style is parallel to the plane (style height 0): parallel hour lines
    Equatorial,  // the style stands square to the plane: the substyle shrinks to the root
};

// One line of the dial, for a whole or half hour of local apparent time.
struct HourLine {
    double hourAngle = 0;  // degrees after apparent noon, a multiple of 7.5: 12 h + hourAngle/15
    // The direction in which the line runs from the root, where the shadow falls (polar dials:
    // the style's direction, the same for every line).
    double angle = 0;
    // The line's signed distance from the foot of a nodus standing on the style one unit above
    // the plane, in that unit, positive toward angle + 90. Polar dials: the line's offset from
    // the substyle in style heights above the plane.
    double distance = 0;
    // One standard deviation of the time the dial would show wrong at this hour, minutes, from
    // the wall's covariance: the largest over the days the sun is on the face at this hour.
    double timeErrorMinutes = 0;
};

struct DialLayout {
    DialKind kind = DialKind::Ordinary;
    double styleHeight = 0;  // degrees between the style and the dial plane, 0 to 90
    // The substyle (the style's foot line, straight under it) from the root; polar dials: the
    // style's direction. Equatorial dials have none and give the noon line's angle.
    double substyleAngle = 0;
    // The hour angle (degrees, positive after apparent noon) whose line lies along the
    // substyle: that of the hour circle through the face's normal, on which a sun shining
    // square onto the face would stand. Equatorial dials give 0.
    double substyleHourAngle = 0;
    // The distance from the nodus's foot back to the root along the substyle, in nodus heights
    // (the cotangent of the style height); empty for a polar dial, which has no root.
    std::optional<double> rootDistance;
    // One line for each multiple of 7.5 degrees of hour angle in (-180, 180] (midnight is 180) at
    // which the sun is on the face on some day of the year, in increasing hour angle.
    std::vector<HourLine> hourLines;
};

// The dial for a site and a fitted wall. Non-finite latitudes or walls give an empty layout.
DialLayout LayOutDial(const DialRequest& request);

}  // namespace kestramo::dial
