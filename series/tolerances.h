#pragma once

#include <optional>
#include <span>
#include <string_view>

// How good the user's measurements are, and how the shadow was read: everything the fit of a
// series needs besides the readings themselves. Every tolerance is one standard deviation; a
// zero tolerance leaves that source out.
namespace kestramo::series {

// Which part of the shadow's blurred end the user measured to. The sun is a disc, so a square's
// tip casts an end that fades from H tan(theta - r) to H tan(theta + r), r the sun's radius.
enum class ShadowEdge {
    Outer,   // the faint outer edge, as the measuring method instructs
    Middle,  // the middle of the blur, where the sun's centre puts the end
};

struct Tolerances {
    // The watch's offset from true time, seconds; one watch serves every reading of a date, so
    // the readings of one date share it. A watch set from a time service keeps to 10 s.
    double clockSeconds = 10;
    // Noting each reading's time: the moment between seeing the shadow settle and reading the
    // watch, seconds, each reading on its own.
    double timingSeconds = 5;
    // Measuring the shadow's length with a tape, percent of the length, each reading.
    double lengthPercent = 0.5;
    // Reading the blurred end, as a fraction of the blur's width, each reading.
    double blurFraction = 0.25;
    // The square's height, percent; the readings with the same typed height share one square
    // and so one error.
    double heightPercent = 0.5;
    // The square held "straight out" by eye, degrees off perpendicular, each reading: tilted
    // toward the shadow by t, the square throws H sin t + L cos t instead of L.
    double tiltDegrees = 0.5;
    // The wall's lean from vertical as the user measured it, degrees: positive when the face
    // leans back toward the sky, negative when it overhangs.
    double leanDegrees = 0;
    // How far the real lean may be from that, degrees: 0.5 is what "looks plumb" means.
    double leanErrorDegrees = 0.5;
    ShadowEdge edge = ShadowEdge::Outer;
    // The longest shadow the user can measure, in square heights: the day plan offers no
    // reading with a longer one, and a reading far beyond it is taken for a slip of the hand.
    double longestShadow = 4;
    // A board's tip shadow, each coordinate, percent of the pin's height, each reading.
    double tipPercent = 0.5;
    // A board's edge off level, degrees, shared by the readings of one placement.
    double levelDegrees = 0.3;
    // A declinometer's angle, degrees, each reading (its pin plumb within it).
    double angleDegrees = 0.3;

    friend bool operator==(const Tolerances&, const Tolerances&) = default;
};

// One tolerance, everything the window, the readings file and the command line say of it. Each
// number of `Tolerances` has one row; a kind of reading with tolerances of its own adds rows.
struct ToleranceRow {
    double Tolerances::*value;
    const char* column;      // the readings file's column, e.g. "clock_tolerance_s"
    const char* option;      // the command line's option, without its dashes: "clock-error"
    const char* objectName;  // the window's box: "clockTolerance"
    double low;              // the range the value must lie in, in the unit, both ends included
    double high;
    double step;            // of the window box's arrows
    const char* unit;       // after the number, with the space it takes: " s", " %", "\u00b0"
    const char* valueName;  // the option's value in its help: "seconds"
    const char* label;      // beside the window's box, with its access key where one is free
    const char* accessibleName;
    const char* toolTip;  // what it is, in a sentence
    const char* name;     // in a sentence: "clock"
    const char* help;     // the option's help, without the default
};

std::span<const ToleranceRow> ToleranceTable();

// The row of a file column or an option; null for none.
const ToleranceRow* ToleranceByColumn(std::string_view column);
const ToleranceRow* ToleranceByOption(std::string_view option);

// The tolerance's value by default, from `Tolerances{}`.
double DefaultOf(const ToleranceRow& row);

// Whether `value` may stand for this tolerance: within the row's range, both ends included;
// NaN and infinities never.
bool InRange(const ToleranceRow& row, double value);

// The tolerances with every value brought into its row's range (NaN to its default): for
// callers that hold numbers no person typed. What people type is refused outside the range, by
// the window, the readings file and the command line alike.
Tolerances Admissible(const Tolerances& tolerances);

}  // namespace kestramo::series
