#include "readings/readings_csv.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

#include <cstdio>

#include "readings/csv_fields.h"
#include "readings/series_words.h"

namespace kestramo::readings {
namespace {

using series::Method;

const QStringList kRequired = {
    QStringLiteral("date"),     QStringLiteral("time"),     QStringLiteral("utc_offset"),
    QStringLiteral("daylight"), QStringLiteral("latitude"), QStringLiteral("longitude"),
    QStringLiteral("height"),   QStringLiteral("length"),
};

// A file that says how each reading was taken needs only the site; each line the columns of its
// kind. Without the column every line is a square's and needs all of kRequired.
const QString kMethod = QStringLiteral("method");
const QStringList kSite = {QStringLiteral("latitude"), QStringLiteral("longitude")};
// The values of the kinds other than the square, in the order written after the answers.
const QString kTipX = QStringLiteral("tip_x");
const QString kTipY = QStringLiteral("tip_y");
const QString kPlacement = QStringLiteral("placement");
const QString kAngle = QStringLiteral("angle");
const QString kBearing = QStringLiteral("bearing");
const QString kBearingError = QStringLiteral("bearing_error");
const QStringList kKindColumns = {kMethod, kTipX,    kTipY,        kPlacement,
                                  kAngle,  kBearing, kBearingError};

const QString kExcluded = QStringLiteral("excluded");
const QString kKeptIn = QStringLiteral("kept_in");
// The answers a written file adds to each line, in their order.
constexpr const char* kAnswerColumns[] = {
    "first", "second", "first_uncertainty", "second_uncertainty", "sun_altitude", "sun_azimuth",
};

const QString kEdgeColumn = QStringLiteral("shadow_edge");
// What the series made of the readings, written with it and never read back.
constexpr const char* kSeriesColumns[] = {
    "series_state",     "residual",         "residual_sigma", "series_note",           "verdict",
    "wall_declination", "wall_uncertainty", "wall_lean",      "wall_lean_uncertainty",
};

// Every column the reader knows, in the order the writer writes them.
QStringList KnownColumns(CsvContent content = CsvContent::WithSeries) {
    QStringList names = kRequired;
    names << kExcluded << kKeptIn;
    for (const char* name : kAnswerColumns) {
        names << QLatin1String(name);
    }
    names << kKindColumns;
    for (const series::ToleranceRow& row : series::ToleranceTable()) {
        names << QLatin1String(row.column);
    }
    names << kEdgeColumn;
    if (content == CsvContent::WithSeries) {
        for (const char* name : kSeriesColumns) names << QLatin1String(name);
    }
    return names;
}

QString EdgeText(series::ShadowEdge edge) {
    return edge == series::ShadowEdge::Outer ? QStringLiteral("outer") : QStringLiteral("middle");
}

QString StateText(series::ReadingState state) {
    switch (state) {
        case series::ReadingState::Used:
            return QStringLiteral("used");
        case series::ReadingState::LeftOutByUser:
            return QStringLiteral("left out by you");
        case series::ReadingState::Outlier:
            return QStringLiteral("left out by the series");
        case series::ReadingState::Implausible:
            return QStringLiteral("implausible");
        case series::ReadingState::SunBelowHorizon:
            return QStringLiteral("sun below the horizon");
    }
    return QString();
}

QString VerdictText(series::Verdict verdict) {
    switch (verdict) {
        case series::Verdict::NoReadings:
            return QStringLiteral("no readings");
        case series::Verdict::Decided:
            return QStringLiteral("decided");
        case series::Verdict::Undecided:
            return QStringLiteral("undecided");
        case series::Verdict::Ambiguous:
            return QStringLiteral("ambiguous");
        case series::Verdict::Inconsistent:
            return QStringLiteral("inconsistent");
        case series::Verdict::Explained:
            return QStringLiteral("explained");
    }
    return QString();
}

// Written answers may differ from the recomputed ones by the rounding of the file's four
// decimals and no more; uncertainties by one percent.
constexpr double kAnswerSlack = 1e-3;       // degrees
constexpr double kUncertaintySlack = 0.01;  // fraction
constexpr int kDecimals = 4;                // decimals of the written answers
// Any finite length is a reading: the window keeps what it accepts, and the series judges it.
constexpr double kLargest = std::numeric_limits<double>::max();

QString Number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

QString Fixed(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', kDecimals) : QString();
}

// A number as the file writes it: a decimal point, or a decimal comma in a file whose fields a
// semicolon separates, as spreadsheets write CSV where the comma is the decimal sign.
std::optional<double> ParseNumber(const QString& text, bool decimalComma = false) {
    QString plain = text.trimmed();
    if (decimalComma && !plain.contains(u'.') && plain.count(u',') == 1) plain.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseYesNo(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == u"yes") {
        return true;
    }
    if (word == u"no") {
        return false;
    }
    return std::nullopt;
}

std::optional<kestramo::CalendarDate> ParseDate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const kestramo::CalendarDate date{match.captured(1).toInt(), match.captured(2).toInt(),
                                      match.captured(3).toInt()};
    return kestramo::IsValidDate(date) ? std::optional(date) : std::nullopt;
}

std::optional<double> ParseTime(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.hasCaptured(3) ? match.captured(3).toInt() : 0;
    if (hours > 23 || minutes > 59 || seconds > 59) {
        return std::nullopt;
    }
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

QString Shown(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.size() > 40 ? trimmed.left(40) + QStringLiteral("...") : trimmed;
}

// Reads one record into a reading, or says what is wrong with it.
class LineReader {
  public:
    LineReader(const QHash<QString, qsizetype>& columns, const csv::Record& record,
               bool decimalComma)
        : columns_(columns), record_(record), decimalComma_(decimalComma) {}

    QString error;  // empty while all is well

    bool has(const QString& name) const { return columns_.contains(name); }

    QString field(const QString& name) const {
        const qsizetype index = columns_.value(name, -1);
        return index >= 0 && index < record_.fields.size() ? record_.fields[index] : QString();
    }

    double number(const QString& name, double low, double high, bool openLow = false) {
        if (!error.isEmpty()) {
            return 0;
        }
        const QString text = field(name);
        const std::optional<double> value = parse(text);
        if (!value) {
            fail(QStringLiteral("%1 \"%2\" is not a number").arg(name, Shown(text)));
            return 0;
        }
        if (openLow ? !(*value > low) : !(*value >= low)) {
            fail(openLow ? QStringLiteral("%1 %2 is not greater than %3")
                               .arg(name, Shown(text), Number(low))
                         : QStringLiteral("%1 %2 is not between %3 and %4")
                               .arg(name, Shown(text), Number(low), Number(high)));
            return 0;
        }
        if (*value > high) {
            fail(openLow ? QStringLiteral("%1 %2 is too large").arg(name, Shown(text))
                         : QStringLiteral("%1 %2 is not between %3 and %4")
                               .arg(name, Shown(text), Number(low), Number(high)));
            return 0;
        }
        return *value;
    }

    bool yesNo(const QString& name, bool optional) {
        if (!error.isEmpty()) {
            return false;
        }
        const QString text = field(name);
        if (optional && text.trimmed().isEmpty()) {
            return false;
        }
        const std::optional<bool> value = ParseYesNo(text);
        if (!value) {
            fail(QStringLiteral("%1 \"%2\" is neither yes nor no").arg(name, Shown(text)));
            return false;
        }
        return *value;
    }

    std::optional<double> parse(const QString& text) const {
        return ParseNumber(text, decimalComma_);
    }

    void fail(const QString& what) {
        if (error.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(record_.line).arg(what);
        }
    }

  private:
    const QHash<QString, qsizetype>& columns_;
    const csv::Record& record_;
    bool decimalComma_;
};

// A reading and the user's say over it.
struct ReadLineResult {
    Reading reading;
    Inclusion inclusion = Inclusion::Automatic;
};

// How the line's reading was taken; a square for an empty cell or no column.
std::optional<Method> MethodOf(LineReader& in) {
    const QString text = in.field(kMethod).trimmed();
    const std::optional<Method> method = series::MethodOfWord(text.toLower().toStdString());
    if (!method) {
        in.fail(QStringLiteral("method \"%1\" is not square, board, declinometer or bearing")
                    .arg(Shown(text)));
    }
    return method;
}

// The moment of a reading: needed by every kind but a bearing, which may leave it empty.
struct Moment {
    kestramo::CalendarDate date{2000, 1, 1};
    double clock = 0;
    double offset = 0;
    bool daylight = false;
};

Moment MomentOf(LineReader& in, bool optional) {
    Moment moment;
    const QString dateText = in.field(QStringLiteral("date"));
    const QString timeText = in.field(QStringLiteral("time"));
    const auto empty = [&](const char* name) {
        return optional && in.field(QLatin1String(name)).trimmed().isEmpty();
    };
    if (!empty("date")) {
        if (const auto parsed = ParseDate(dateText)) {
            moment.date = *parsed;
        } else {
            in.fail(QStringLiteral("date \"%1\" is not a calendar date YYYY-MM-DD")
                        .arg(Shown(dateText)));
        }
    }
    if (!empty("time")) {
        if (const auto time = ParseTime(timeText)) {
            moment.clock = *time;
        } else {
            in.fail(QStringLiteral("time \"%1\" is not a clock time HH:MM or HH:MM:SS")
                        .arg(Shown(timeText)));
        }
    }
    if (!empty("utc_offset")) moment.offset = in.number(QStringLiteral("utc_offset"), -12, 14);
    moment.daylight = in.yesNo(QStringLiteral("daylight"), optional);
    return moment;
}

// The kind's own values into `reading`.
void KindValuesOf(LineReader& in, Reading& reading) {
    switch (reading.method) {
        case Method::Square:
            reading.height = in.number(QStringLiteral("height"), 0, kLargest, true);
            reading.length = in.number(QStringLiteral("length"), 0, kLargest, true);
            reading.heightText = in.field(QStringLiteral("height")).trimmed().toStdString();
            reading.lengthText = in.field(QStringLiteral("length")).trimmed().toStdString();
            return;
        case Method::Board:
            reading.height = in.number(QStringLiteral("height"), 0, kLargest, true);
            reading.tipX = in.number(kTipX, -kLargest, kLargest);
            reading.tipY = in.number(kTipY, -kLargest, kLargest);
            reading.placement = in.field(kPlacement).trimmed().toStdString();
            reading.heightText = in.field(QStringLiteral("height")).trimmed().toStdString();
            return;
        case Method::Declinometer:
            reading.angle = in.number(kAngle, -180, 180);
            return;
        case Method::Bearing:
            reading.bearing = in.number(kBearing, -360, 360);
            reading.bearingError = in.number(kBearingError, 0, 180, true);
            return;
    }
}

std::optional<ReadLineResult> ReadLine(LineReader& in) {
    const std::optional<Method> method = MethodOf(in);
    const bool timed = method && series::Timed(*method);
    const Moment moment = MomentOf(in, !timed);
    const double latitude = in.number(QStringLiteral("latitude"), -90, 90);
    const double longitude = in.number(QStringLiteral("longitude"), -180, 180);
    ReadLineResult line;
    line.reading = series::MakeReading(moment.date, moment.clock, moment.offset, moment.daylight,
                                       latitude, longitude, 1, 1);
    line.reading.method = method.value_or(Method::Square);
    KindValuesOf(in, line.reading);
    const bool excluded = in.yesNo(kExcluded, true);
    const bool keptIn = in.yesNo(kKeptIn, true);
    if (!in.error.isEmpty()) {
        return std::nullopt;
    }
    line.inclusion = excluded ? Inclusion::ForcedOut
                     : keptIn ? Inclusion::ForcedIn
                              : Inclusion::Automatic;
    return line;
}

// The tolerances a line's uncertainty columns were written with, where the line names them;
// `fallback` for any it does not. A value outside its range fails the line: a tolerance is never
// brought into range behind the user's back.
Tolerances TolerancesOf(LineReader& in, const Tolerances& fallback) {
    Tolerances tolerances = fallback;
    for (const series::ToleranceRow& row : series::ToleranceTable()) {
        const QString name = QLatin1String(row.column);
        if (!in.has(name) || in.field(name).trimmed().isEmpty()) continue;
        tolerances.*row.value = in.number(name, row.low, row.high);
    }
    if (in.has(kEdgeColumn)) {
        const QString edge = in.field(kEdgeColumn).trimmed().toLower();
        if (edge == u"outer") {
            tolerances.edge = series::ShadowEdge::Outer;
        } else if (edge == u"middle") {
            tolerances.edge = series::ShadowEdge::Middle;
        } else if (!edge.isEmpty()) {
            in.fail(QStringLiteral("%1 \"%2\" is neither outer nor middle")
                        .arg(kEdgeColumn, Shown(edge)));
        }
    }
    return tolerances;
}

// What is wrong with a record that has more fields than line 1 has columns: a field would be
// read under the wrong column. Empty fields at its end are harmless, as some spreadsheets write
// them. In a comma-separated file the likely cause is a decimal comma, "30,54" for 30.54.
std::optional<QString> ExtraFields(const csv::Record& record, qsizetype columns,
                                   bool decimalComma) {
    const QStringList& fields = record.fields;
    qsizetype used = fields.size();
    while (used > columns && fields[used - 1].trimmed().isEmpty()) --used;
    if (used <= columns) return std::nullopt;
    QString text =
        QStringLiteral("line %1: has %2 fields, more than the %3 columns named on line 1")
            .arg(record.line)
            .arg(used)
            .arg(columns);
    if (!decimalComma) {
        text += QStringLiteral(
            "; a decimal comma in a comma-separated file? Write numbers with a decimal point "
            "(30.54, not 30,54)");
    }
    return text;
}

// Compares the answer columns the line carries with the recomputed answers.
QStringList Mismatches(const LineReader& in, const series::ReadingGeometry& g,
                       const series::AnswerUncertainty& u) {
    QStringList found;
    const auto check = [&](const QString& name, double recomputed, bool relative) {
        if (!in.has(name)) {
            return;
        }
        const QString text = in.field(name).trimmed();
        if (text.isEmpty() && !std::isfinite(recomputed)) {
            return;
        }
        const std::optional<double> written = in.parse(text);
        const double slack = relative && std::isfinite(recomputed)
                                 ? std::max(kAnswerSlack, kUncertaintySlack * std::fabs(recomputed))
                                 : kAnswerSlack;
        if (!written || !std::isfinite(recomputed) || std::fabs(*written - recomputed) > slack) {
            found << QStringLiteral("%1 is %2 in the file but %3 recomputed")
                         .arg(name, text.isEmpty() ? QStringLiteral("empty") : Shown(text),
                              std::isfinite(recomputed) ? Fixed(recomputed)
                                                        : QStringLiteral("none"));
        }
    };
    const bool solved = g.solved();
    const double none = series::kNoValue;
    const bool timed = series::Timed(g.method);
    // In the order of kAnswerColumns; the uncertainties are compared relatively.
    const std::tuple<double, bool> answers[] = {
        {solved ? g.first : none, false},      {solved ? g.second : none, false},
        {solved ? u.first : none, true},       {solved ? u.second : none, true},
        {timed ? g.sunAltitude : none, false}, {timed ? g.sunAzimuth : none, false},
    };
    static_assert(std::size(answers) == std::size(kAnswerColumns));
    for (std::size_t i = 0; i < std::size(answers); ++i) {
        const auto& [value, relative] = answers[i];
        check(QLatin1String(kAnswerColumns[i]), value, relative);
    }
    return found;
}

}  // namespace

bool CsvReadResult::allRead() const {
    if (notReadingsFile) {
        return false;
    }
    for (const CsvProblem& problem : problems) {
        if (problem.lineRejected) {
            return false;
        }
    }
    return true;
}

CsvReadResult ReadReadingsCsv(QByteArrayView bytes, const Tolerances& tolerances) {
    CsvReadResult result;
    const auto notOurs = [&](const QString& why) {
        result.notReadingsFile = true;
        result.problems.push_back(
            {0, QStringLiteral("This is not a readings file: %1").arg(why), true});
        return result;
    };
    const std::optional<QString> text = csv::DecodeText(bytes);
    if (!text) {
        return notOurs(QStringLiteral("it holds binary data, not text."));
    }
    const std::vector<csv::Record> records = csv::SplitRecords(*text);
    const bool decimalComma = csv::Separator(*text) == u';';
    if (records.empty()) {
        return notOurs(QStringLiteral("it is empty."));
    }
    QHash<QString, qsizetype> columns;
    const QStringList& names = records.front().fields;
    const QStringList known = KnownColumns();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = names[i].trimmed().toLower();
        if (!columns.contains(name)) {
            columns.insert(name, i);
        }
        if (!name.isEmpty() && !known.contains(name) &&
            !result.unknownColumns.contains(name, Qt::CaseInsensitive)) {
            result.unknownColumns << names[i].trimmed();
        }
    }
    QStringList missing;
    const QStringList& required = columns.contains(kMethod) ? kSite : kRequired;
    for (const QString& name : required) {
        if (!columns.contains(name)) {
            missing << name;
        }
    }
    if (!missing.isEmpty()) {
        return notOurs(QStringLiteral("its first line lacks the column%1 %2.")
                           .arg(missing.size() > 1 ? QStringLiteral("s") : QString(),
                                missing.join(QStringLiteral(", "))));
    }
    qsizetype needed = 0;
    for (const QString& name : required) {
        needed = std::max(needed, columns.value(name) + 1);
    }
    const bool namesTolerances =
        columns.contains(kEdgeColumn) ||
        std::any_of(series::ToleranceTable().begin(), series::ToleranceTable().end(),
                    [&](const series::ToleranceRow& row) {
                        return columns.contains(QLatin1String(row.column));
                    });
    for (std::size_t r = 1; r < records.size(); ++r) {
        const csv::Record& record = records[r];
        LineReader in(columns, record, decimalComma);
        if (const std::optional<QString> extra = ExtraFields(record, names.size(), decimalComma)) {
            result.problems.push_back({record.line, *extra, true});
            continue;
        }
        if (record.fields.size() < needed) {
            result.problems.push_back(
                {record.line,
                 QStringLiteral("line %1: has %2 fields, too few for the columns named on line 1")
                     .arg(record.line)
                     .arg(record.fields.size()),
                 true});
            continue;
        }
        const std::optional<ReadLineResult> line = ReadLine(in);
        const Tolerances lineTolerances = TolerancesOf(in, tolerances);
        if (!line || !in.error.isEmpty()) {
            result.problems.push_back({record.line, in.error, true});
            continue;
        }
        if (namesTolerances && !result.tolerances) {
            result.tolerances = lineTolerances;
        }
        const series::ReadingGeometry geometry = series::Examine(line->reading);
        const QStringList mismatches =
            Mismatches(in, geometry, series::SingleReadingUncertainty(geometry, lineTolerances));
        if (!mismatches.isEmpty()) {
            result.problems.push_back({record.line,
                                       QStringLiteral("line %1: %2; the recomputed values count")
                                           .arg(record.line)
                                           .arg(mismatches.join(QStringLiteral("; "))),
                                       false});
        }
        result.readings.push_back(line->reading);
        result.inclusion.push_back(line->inclusion);
        result.geometry.push_back(geometry);
        result.lines.push_back(record.line);
    }
    return result;
}

CsvReadResult ReadReadingsCsvFile(const QString& path, const Tolerances& tolerances) {
    QFile file;
    const bool opened = path == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                     : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        CsvReadResult result;
        result.notReadingsFile = true;
        result.problems.push_back(
            {0, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()), true});
        return result;
    }
    return ReadReadingsCsv(file.readAll(), tolerances);
}

QByteArray CsvHeader(CsvContent content) {
    return (KnownColumns(content).join(u',') + u'\n').toUtf8();
}

QByteArray CsvLine(const Reading& reading, Inclusion inclusion, const series::ReadingGeometry& g,
                   const series::AnswerUncertainty& u, const Tolerances& tolerances,
                   const series::SeriesResult* series, std::size_t index) {
    const auto yesNo = [](bool value) {
        return value ? QStringLiteral("yes") : QStringLiteral("no");
    };
    const bool solved = g.solved();
    const kestramo::Observation& o = reading.observation;
    const bool timed = series::Timed(reading.method);
    const auto kind = [&](Method method, const QString& text) {
        return reading.method == method ? text : QString();
    };
    const bool pin = reading.method == Method::Board;
    QStringList fields = {
        timed ? QString::fromStdString(series::DateText(series::DateOf(reading))) : QString(),
        timed ? QString::fromStdString(series::ClockText(series::ClockSecondsOf(reading),
                                                         series::ClockPrecision::SecondsWhenAny))
              : QString(),
        timed ? Number(series::UtcOffsetHoursOf(reading)) : QString(),
        timed ? yesNo(o.daylightSaving) : QString(),
        Number(o.latitude),
        Number(o.longitude),
        reading.method == Method::Square || pin ? Number(reading.height) : QString(),
        kind(Method::Square, Number(reading.length)),
        yesNo(inclusion == Inclusion::ForcedOut),
        yesNo(inclusion == Inclusion::ForcedIn),
        solved ? Fixed(g.first) : QString(),
        solved ? Fixed(g.second) : QString(),
        solved ? Fixed(u.first) : QString(),
        solved ? Fixed(u.second) : QString(),
        timed ? Fixed(g.sunAltitude) : QString(),
        timed ? Fixed(g.sunAzimuth) : QString(),
        QLatin1String(series::MethodWord(reading.method)),
        kind(Method::Board, Number(reading.tipX)),
        kind(Method::Board, Number(reading.tipY)),
        kind(Method::Board, QString::fromStdString(reading.placement)),
        kind(Method::Declinometer, Number(reading.angle)),
        kind(Method::Bearing, Number(reading.bearing)),
        kind(Method::Bearing, Number(reading.bearingError)),
    };
    for (const series::ToleranceRow& row : series::ToleranceTable()) {
        fields << Number(tolerances.*row.value);
    }
    fields << EdgeText(tolerances.edge);
    if (series && index < series->readings.size()) {
        const series::ReadingVerdict& v = series->readings[index];
        const QLocale c = QLocale::c();
        fields << StateText(v.state) << Fixed(v.residual) << Fixed(v.residualSigma)
               << series_words::Note(v, inclusion, g, tolerances, c) << VerdictText(series->verdict)
               << (series->declination ? Fixed(*series->declination) : QString())
               << (series->declination ? Fixed(series->uncertainty) : QString())
               << Fixed(series->lean) << Fixed(series->leanUncertainty);
    }
    QStringList quoted;
    for (const QString& field : fields) {
        quoted << csv::Quoted(field);
    }
    return (quoted.join(u',') + u'\n').toUtf8();
}

QByteArray WriteReadingsCsv(std::span<const Reading> readings, std::span<const Inclusion> inclusion,
                            const series::SolvedSeries& solved, const Tolerances& tolerances,
                            CsvContent content) {
    QByteArray text = CsvHeader(content);
    const series::SeriesResult* result =
        content == CsvContent::WithSeries ? &solved.result : nullptr;
    for (std::size_t i = 0; i < readings.size() && i < solved.geometry.size(); ++i) {
        text += CsvLine(readings[i], i < inclusion.size() ? inclusion[i] : Inclusion::Automatic,
                        solved.geometry[i], solved.answerUncertainty[i], tolerances, result, i);
    }
    return text;
}

QString SaveReadingsCsv(const QString& path, std::span<const Reading> readings,
                        std::span<const Inclusion> inclusion, const series::SolvedSeries& solved,
                        const Tolerances& tolerances, CsvContent content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    }
    const QByteArray bytes = WriteReadingsCsv(readings, inclusion, solved, tolerances, content);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return QStringLiteral("Cannot save %1: %2").arg(path, file.errorString());
    }
    return QString();
}

}  // namespace kestramo::readings
