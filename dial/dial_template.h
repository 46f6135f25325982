#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dial/dial_layout.h"

// A dial's full-size template: the plate with every line to trace, the gnomon to cut and what a
// maker needs to mount it, computed once and drawn by every file writer. Coordinates are
// millimetres in the face's plane with the origin at the style's root, x toward the right hand
// of a person facing the wall, y up the face along its line of steepest ascent.
namespace kestramo::dial {

// Which time the hour lines read.
enum class TemplateHours {
    Apparent,  // local apparent time: straight lines
    Standard,  // the zone's standard time plus the equation of time: straight lines
    Mean,      // the zone's standard time: a figure-of-eight curve for each time
};

enum class TemplateDateLines {
    None,
    Solstices,  // the solstices and the equinoxes
    Signs,      // the seven declinations at which the sun enters a sign of the zodiac
};

// A rectangle of the template: left < right, bottom < top, millimetres.
struct PlateRect {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
};

struct TemplatePoint {
    double x = 0;
    double y = 0;
};
using TemplatePath = std::vector<TemplatePoint>;

struct TemplateRequest {
    double latitude = 0;    // degrees, north positive
    double longitude = 0;   // degrees, east positive (the standard and mean lines only)
    double zoneOffset = 0;  // hours of the zone's standard time ahead of UTC, east positive
    int year = 2000;        // the year whose equation of time and declinations the curves take
    Wall wall;
    WallCovariance covariance;
    TemplateHours hours = TemplateHours::Apparent;
    TemplateDateLines dateLines = TemplateDateLines::Solstices;
    int minutes = 30;          // between the hour lines drawn: 60, 30 or 15
    double nodusHeight = 100;  // millimetres from the face to the nodus, square to the face
    // The plate's size (millimetres) and the root's place from its top-left corner
    // (millimetres right and down); empty for the default plate, which holds the root and
    // everything within three nodus heights of the nodus's foot.
    std::optional<TemplatePoint> plateSize;
    std::optional<TemplatePoint> rootFromCorner;
};

// One line the dial reads a time by, clipped to the plate: a straight line from the root, or
// for mean time the curve of the nodus's shadow through the year.
struct TemplateHourLine {
    int minuteOfDay = 0;  // the time it reads, minutes after midnight, 0 to 1439
    // The sun's apparent hour angle on a straight line, degrees, positive after apparent noon;
    // empty for a curve.
    std::optional<double> hourAngle;
    std::vector<TemplatePath> pieces;  // each a run inside the plate
    // The same line for the time read one standard deviation early and late: the dial may read
    // anywhere between them.
    std::vector<TemplatePath> earlyPieces;
    std::vector<TemplatePath> latePieces;
    double timeErrorMinutes = 0;  // that standard deviation, minutes
};

// The path of the nodus's shadow on the days the sun stands at one declination.
struct TemplateDateLine {
    double declination = 0;            // degrees, north positive
    std::vector<std::string> dates;    // the days of the year, "21 Jun"
    std::vector<TemplatePath> pieces;  // runs inside the plate, the sun up and in front
};

// The gnomon in its own plane, the plane of the style and the substyle, millimetres: x along
// the substyle from the root toward the nodus's foot, y square to the face.
struct Gnomon {
    TemplatePoint root;
    TemplatePoint foot;   // the nodus's foot on the substyle
    TemplatePoint nodus;  // nodusHeight above the foot
};

struct DialTemplate {
    DialLayout layout;  // the angles the template is drawn from
    TemplateRequest request;
    PlateRect plate;
    TemplatePoint nodusFoot;  // where the nodus stands over the face
    // The substyle from the root through the nodus's foot, clipped to the plate.
    std::vector<TemplatePath> substyle;
    std::vector<TemplateHourLine> hourLines;  // in increasing time from midnight
    std::vector<TemplateDateLine> dateLines;  // from the highest declination to the lowest
    Gnomon gnomon;
    double styleLength = 0;  // millimetres from the root to the nodus along the style
};

// The template for a site and a fitted wall. A face whose style stands parallel to it (which has
// no root) or a request that is not finite gives an empty template (no hour lines).
DialTemplate MakeDialTemplate(const TemplateRequest& request);

// "HH:MM" of a time of day in minutes after midnight, wrapped into the day.
std::string ClockLabel(int minuteOfDay);

// The solar declinations of the date lines, degrees, from the highest to the lowest.
std::vector<double> DateLineDeclinations(TemplateDateLines kind);

// A segment clipped to a rectangle; empty when no part of it lies inside.
std::optional<std::pair<TemplatePoint, TemplatePoint>> ClipSegment(TemplatePoint a, TemplatePoint b,
                                                                   const PlateRect& rect);

}  // namespace kestramo::dial
