#pragma once

#include <QByteArray>
#include <QString>

#include <span>

#include "readings/reading.h"
#include "readings/series.h"

// What kestramo-solve prints: the readings' answers and the combined answer, as plain text or as
// one JSON object.
namespace kestramo::solve {

// Plain text for people: one line per reading, then the combined answer or the two candidates.
QString TextReport(std::span<const readings::Reading> readings,
                   const readings::SolvedSeries& series);

// One JSON object, compact, with a final newline:
// {"readings": [{"first", "second", "first_uncertainty", "second_uncertainty", "chosen",
//   "outlier"}, ...], "combined": {"declination", "uncertainty", "decided", "readings_used"}}.
// Declinations in degrees from south, west positive; uncertainties in degrees, 1 sigma; null
// where there is no value.
QByteArray JsonReport(const readings::SolvedSeries& series);

}  // namespace kestramo::solve
