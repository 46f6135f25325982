#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>

#include "dial/dial_layout.h"
#include "dial/dial_template.h"
#include "series/reading.h"
#include "series/series.h"

// What kestramo-solve prints: the readings' answers and the combined answer, as plain text or as
// one JSON object.
namespace kestramo::solve {

// The readings as read, with where each came from.
struct SolveInput {
    std::span<const series::Reading> readings;
    std::span<const series::Inclusion> inclusion;
    std::span<const int> lines;  // each reading's line in the file (the header is line 1); empty
                                 // for a reading given as options
    const series::SolvedSeries& solved;
    const series::Tolerances& tolerances;
    std::optional<dial::DialLayout> dial;  // with --dial, for a decided series
    bool dialAsked = false;                // --dial was given: JSON then says null for none
    std::optional<dial::DialTemplate> dialTemplate;  // with --dial, its template
};

// Plain text for people: one line per reading, then the combined answer, the lean, how well
// the readings agree and what to do next; with a dial, its layout.
QString TextReport(const SolveInput& input);

// One JSON object, compact, with a final newline:
// {"readings": [{"line", "reason", "first", "second", "first_uncertainty",
//   "second_uncertainty", "chosen", "outlier", "residual_sigma", "note"}, ...],
//  "combined": {"declination", "uncertainty", "decided", "readings_used", "lean",
//   "lean_uncertainty", "consistent", "chi_square", "degrees_of_freedom", "alternatives",
//   "explanation", "minutes_to_decide"}, and with a dial "dial": {"declination", "lean",
//   "style_height", "substyle_angle", "substyle_hour_angle", "hour_lines": [{"hour_angle", "angle",
//   "time_error_minutes"}, ...], "template": {"nodus_height", "style_length", "hours",
//   "hour_lines": [{"label", "hour_angle", "points"}, ...], "date_lines": [{"declination",
//   "points"}, ...], "gnomon": {"points"}}}} (null while the series is not decided). The
//   template's points are [x, y] millimetres from the style's root, x right, y up the face; a
//   curve in several pieces is listed once a piece.
// "explanation" is null, or what explains the readings better than they fit as typed:
// {"cause": "daylight" (a date's readings on the other clock kind), "lean", "watch" or
// "square" (far beyond its tolerance), "declination" and "uncertainty" (what the readings give
// once it is put right), "certain" (nothing else comes near it), and "date" for "daylight" and
// "watch"}.
// Declinations in degrees from south, west positive; uncertainties in degrees, 1 sigma; null
// where there is no value.
QByteArray JsonReport(const SolveInput& input);

// Whether a reading gives an answer of its own, and if not why: "below_horizon" or "no_wall".
std::optional<QString> NoAnswerReason(const series::ReadingGeometry& geometry);

}  // namespace kestramo::solve
