#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

#include "readings/reading.h"
#include "readings/tolerances.h"

// Readings as comma-separated text that any spreadsheet opens.
//
// The first line names the columns, in any order; other columns are ignored:
//   date        YYYY-MM-DD
//   time        HH:MM or HH:MM:SS, what the clock showed
//   utc_offset  hours of the zone's standard time ahead of UTC, east positive, -12 to 14
//   daylight    yes or no: the clock showed daylight-saving time
//   latitude    degrees, north positive, -90 to 90
//   longitude   degrees, east positive, -180 to 180
//   height      the square's height, > 0
//   length      the shadow's length, > 0, in the height's unit
//   excluded    (optional) yes or no: left out of the combined answer
// Written files add the answers: first, second (declinations, degrees from south, west
// positive; empty when there is none), first_uncertainty, second_uncertainty (degrees, 1 sigma),
// sun_altitude, sun_azimuth (degrees), and the tolerances the uncertainties rest on:
// clock_tolerance_s, length_tolerance_percent, height_tolerance_percent, tilt_tolerance_deg.
// Reading recomputes the answers from the inputs (the uncertainties with the line's own
// tolerances where it names them) and reports a line whose written answers differ, so that a
// hand-edited file cannot mislead: the recomputed values are what count.
//
// Numbers use a dot for the decimal point. Fields are quoted only when they hold a comma, a
// quote or a line break. Reading also accepts quoted fields, CRLF line ends, a UTF-8 byte-order
// mark, UTF-16 text with its byte-order mark, and tabs instead of commas.
namespace kestramo::readings {

// Something wrong with the file or one of its lines.
struct CsvProblem {
    int line = 0;              // line number in the file (the column names are line 1); 0: the file
    QString message;           // e.g. "line 4: latitude 95 is not between -90 and 90"
    bool lineRejected = true;  // the line gave no reading; false for answers that did not match
};

struct CsvReadResult {
    std::vector<Reading> readings;  // the good readings, in file order
    std::vector<int> lines;         // the line each reading came from
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
// `tolerances` are those with which written uncertainty columns are checked.
CsvReadResult ReadReadingsCsv(QByteArrayView bytes, const Tolerances& tolerances);

// The same from a file; a file that cannot be opened gives one problem naming it.
CsvReadResult ReadReadingsCsvFile(const QString& path, const Tolerances& tolerances);

// The readings with their answers, computed with `tolerances`, as the text of a file (UTF-8,
// LF line ends).
QByteArray WriteReadingsCsv(std::span<const Reading> readings, const Tolerances& tolerances);

// Writes the file atomically (QSaveFile): either the whole new file or the old one stays.
// Returns an empty text on success, otherwise what went wrong.
QString SaveReadingsCsv(const QString& path, std::span<const Reading> readings,
                        const Tolerances& tolerances);

}  // namespace kestramo::readings
