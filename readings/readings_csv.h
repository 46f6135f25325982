#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

#include "series/reading.h"
#include "series/series.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"

// Readings as comma-separated text that any spreadsheet opens.
//
// The first line names the columns, in any order:
//   date        YYYY-MM-DD
//   time        HH:MM or HH:MM:SS, what the clock showed
//   utc_offset  hours of the zone's standard time ahead of UTC, east positive, -12 to 14
//   daylight    yes or no: the clock showed daylight-saving time
//   latitude    degrees, north positive, -90 to 90
//   longitude   degrees, east positive, -180 to 180
//   height      the square's height, > 0
//   length      the shadow's length, > 0, in the height's unit
//   excluded    (optional) yes or no: left out by the user
//   kept_in     (optional) yes or no: taken in by the user whatever the series says
// Written files add each reading's own answers: first, second (declinations, degrees from
// south, west positive; empty when there is none), first_uncertainty, second_uncertainty
// (degrees, 1 sigma), sun_altitude, sun_azimuth (degrees); the tolerances they rest on:
// clock_tolerance_s (the watch, one per date), timing_tolerance_s, length_tolerance_percent,
// blur_tolerance_fraction, height_tolerance_percent (one per square), tilt_tolerance_deg,
// lean_deg, lean_tolerance_deg, shadow_edge (outer or middle), longest_shadow_heights; and,
// when saved with the series, what the series made of each reading (series_state, residual in the
// length's unit, residual_sigma, series_note) and of them all (verdict, wall_declination,
// wall_uncertainty, wall_lean, wall_lean_uncertainty), the same on every line.
// Reading recomputes the answers from the inputs (the uncertainties with the line's own
// tolerances where it names them) and reports a line whose written answers differ, so that a
// hand-edited file cannot mislead: the recomputed values are what count. Other columns are
// named and left out.
//
// Numbers use a dot for the decimal point. Fields are quoted only when they hold a comma, a
// quote or a line break. Reading also accepts quoted fields, CRLF line ends, a UTF-8 byte-order
// mark, UTF-16 text with its byte-order mark, and tabs instead of commas.
namespace kestramo::readings {

using series::Inclusion;
using series::Reading;
using series::Tolerances;

// Something wrong with the file or one of its lines.
struct CsvProblem {
    int line = 0;              // line number in the file (the column names are line 1); 0: the file
    QString message;           // e.g. "line 4: latitude 95 is not between -90 and 90"
    bool lineRejected = true;  // the line gave no reading; false for answers that did not match
};

struct CsvReadResult {
    std::vector<Reading> readings;     // the good readings, in file order
    std::vector<Inclusion> inclusion;  // the user's say over each, from excluded and kept_in
    std::vector<series::ReadingGeometry> geometry;  // each worked out, once
    std::vector<int> lines;                         // the line each reading came from
    std::vector<CsvProblem> problems;
    bool notReadingsFile = false;  // the file is not ours; `problems` holds one message
    QStringList unknownColumns;    // names on line 1 that the reader does not know, left out
    // The tolerances the file's first reading names, each one it does not name taken from the
    // reader's; none when the file names no tolerance.
    std::optional<Tolerances> tolerances;

    // True when the file was ours and every line with data gave a reading.
    bool allRead() const;
};

// Parses readings from the bytes of a file. Any input is safe: nothing throws or crashes.
// `tolerances` are those with which written uncertainty columns are checked where the file
// names none.
CsvReadResult ReadReadingsCsv(QByteArrayView bytes, const Tolerances& tolerances);

// The same from a file; a file that cannot be opened gives one problem naming it. The path "-"
// reads standard input.
CsvReadResult ReadReadingsCsvFile(const QString& path, const Tolerances& tolerances);

// What a written file holds: the readings with their own answers and tolerances (a recovery
// file, which grows a line at a time), or also what the series made of them.
enum class CsvContent { Readings, WithSeries };

// The column names, a line with its end.
QByteArray CsvHeader(CsvContent content);
// One reading's line with its end, from its answers already worked out; `series` (for
// WithSeries) holds the series' result and `index` is the reading's place in it.
QByteArray CsvLine(const Reading& reading, Inclusion inclusion,
                   const series::ReadingGeometry& geometry,
                   const series::AnswerUncertainty& uncertainty, const Tolerances& tolerances,
                   const series::SeriesResult* series = nullptr, std::size_t index = 0);

// The whole file (UTF-8, LF line ends) from a solved series.
QByteArray WriteReadingsCsv(std::span<const Reading> readings, std::span<const Inclusion> inclusion,
                            const series::SolvedSeries& solved, const Tolerances& tolerances,
                            CsvContent content);

// Writes the file atomically (QSaveFile): either the whole new file or the old one stays.
// Returns an empty text on success, otherwise what went wrong.
QString SaveReadingsCsv(const QString& path, std::span<const Reading> readings,
                        std::span<const Inclusion> inclusion, const series::SolvedSeries& solved,
                        const Tolerances& tolerances, CsvContent content);

}  // namespace kestramo::readings
