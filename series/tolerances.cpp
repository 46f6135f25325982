#include "series/tolerances.h"

#include <algorithm>
#include <cmath>

namespace kestramo::series {
namespace {

// The ranges are what a person may mean: a watch more than an hour off is a clock set wrongly,
// not a tolerance, and a square more than 20 degrees off perpendicular is not held "straight
// out".
constexpr ToleranceRow kRows[] = {
    {&Tolerances::clockSeconds, "clock_tolerance_s", "clock-error", "clockTolerance", 0, 3600, 1,
     " s", "seconds", "&Clock, one watch a day:", "Clock tolerance in seconds",
     "How far the watch may be off true time; the readings of one date share the watch.", "clock",
     "The watch's offset, seconds, shared by the readings of one date."},
    {&Tolerances::timingSeconds, "timing_tolerance_s", "timing-error", "timingTolerance", 0, 600, 1,
     " s", "seconds", "&Noting the time:", "Timing tolerance in seconds",
     "Between seeing the shadow settle and reading the watch, each reading on its own.",
     "noting the time", "Noting each reading's time, seconds."},
    {&Tolerances::lengthPercent, "length_tolerance_percent", "length-error", "lengthTolerance", 0,
     50, 0.1, " %", "percent", "S&hadow length, the tape:", "Shadow length tolerance in percent",
     "Measuring the shadow's length, in percent of it, each reading.", "shadow length",
     "Measuring each shadow's length, percent of it."},
    {&Tolerances::blurFraction, "blur_tolerance_fraction", "blur-error", "blurTolerance", 0, 2,
     0.05, " of the blur", "fraction",
     "&Blurred end:", "Blurred end tolerance as a share of the blur",
     "The sun's disc blurs the shadow's end over half a degree; how well you read the edge, as a "
     "share of the blur's width.",
     "blurred end", "Reading the blurred end, fraction of the blur's width."},
    {&Tolerances::heightPercent, "height_tolerance_percent", "height-error", "heightTolerance", 0,
     50, 0.1, " %", "percent",
     "Square h&eight, one per square:", "Square height tolerance in percent",
     "The square's height, in percent; the readings with the same typed height share it, a "
     "board's pin apart from the squares.",
     "square height",
     "The square's or a board pin's height, percent, shared by the readings of one typed "
     "height."},
    {&Tolerances::tiltDegrees, "tilt_tolerance_deg", "tilt-error", "tiltTolerance", 0, 20, 0.1,
     "\u00b0", "degrees", "Square &tilt:", "Square tilt tolerance in degrees",
     "How far the square, or a board's pin, may be off perpendicular, each reading.", "square tilt",
     "The square's or a board pin's tilt from perpendicular, degrees, each reading (a pin's in "
     "each of two directions)."},
    {&Tolerances::leanDegrees, "lean_deg", "lean", "leanMeasured", -45, 45, 0.1, "\u00b0",
     "degrees", "Wall's &lean as measured:", "The wall's lean in degrees",
     "Degrees from vertical: positive when the face leans back toward the sky, negative when it "
     "overhangs; 0 for a wall that looks plumb.",
     "the wall's lean",
     "The wall's lean as measured, degrees from vertical, positive when the face leans back, "
     "negative when it overhangs."},
    {&Tolerances::leanErrorDegrees, "lean_tolerance_deg", "lean-error", "leanTolerance", 0, 20, 0.1,
     "\u00b0", "degrees", "Lean &accuracy:", "Lean tolerance in degrees",
     "How far the real lean may be from the lean measured; 0.5\u00b0 is what \u201clooks "
     "plumb\u201d means.",
     "lean accuracy", "How far the real lean may be from that, degrees."},
    {&Tolerances::longestShadow, "longest_shadow_heights", "longest-shadow", "longestShadow", 1, 50,
     0.5, " heights", "heights",
     "Longest shadow I can measure:", "Longest shadow in square heights",
     "The plan offers no reading with a longer shadow; a reading ten times longer is taken for a "
     "slip of the hand.",
     "longest shadow", "The longest shadow you can measure, in square heights."},
    // The other ways of measuring a wall: a board with a pin square to it, and a level
    // declinometer board; the board's pin shares the square's height and tilt tolerances.
    {&Tolerances::tipPercent, "tip_tolerance_percent", "tip-error", "tipTolerance", 0, 50, 0.1,
     " %", "percent", "Board's tip shadow:", "Board tip shadow tolerance in percent",
     "Marking the shadow of the board pin's tip, each coordinate, in percent of the pin's "
     "height, each reading.",
     "tip shadow", "A board's tip shadow, each coordinate, percent of the pin's height."},
    {&Tolerances::levelDegrees, "level_tolerance_deg", "level-error", "levelTolerance", 0, 20, 0.1,
     "\u00b0", "degrees", "Board's level:", "Board level tolerance in degrees",
     "How far the board's edge may be off level; the readings of one placement share it.",
     "board level", "A board's edge off level, degrees, shared by one placement's readings."},
    {&Tolerances::angleDegrees, "angle_tolerance_deg", "angle-error", "angleTolerance", 0, 20, 0.1,
     "\u00b0", "degrees", "Declinometer angle:", "Declinometer angle tolerance in degrees",
     "Reading the declinometer's shadow angle, its pin plumb, each reading.", "declinometer angle",
     "A declinometer's angle, degrees, each reading."},
};

}  // namespace

std::span<const ToleranceRow> ToleranceTable() { return kRows; }

const ToleranceRow* ToleranceByColumn(std::string_view column) {
    for (const ToleranceRow& row : kRows) {
        if (column == row.column) return &row;
    }
    return nullptr;
}

const ToleranceRow* ToleranceByOption(std::string_view option) {
    for (const ToleranceRow& row : kRows) {
        if (option == row.option) return &row;
    }
    return nullptr;
}

double DefaultOf(const ToleranceRow& row) { return Tolerances{}.*row.value; }

bool InRange(const ToleranceRow& row, double value) {
    return value >= row.low && value <= row.high;
}

Tolerances Admissible(const Tolerances& t) {
    Tolerances a = t;
    for (const ToleranceRow& row : kRows) {
        double& value = a.*row.value;
        value = std::isfinite(value) ? std::clamp(value, row.low, row.high) : DefaultOf(row);
    }
    return a;
}

}  // namespace kestramo::series
