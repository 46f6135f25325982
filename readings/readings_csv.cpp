#include "readings/readings_csv.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

#include "readings/csv_fields.h"
#include "readings/day_plan.h"

namespace kestramo::readings {
namespace {

const QStringList kRequired = {
    QStringLiteral("date"),     QStringLiteral("time"),     QStringLiteral("utc_offset"),
    QStringLiteral("daylight"), QStringLiteral("latitude"), QStringLiteral("longitude"),
    QStringLiteral("height"),   QStringLiteral("length"),
};

const QString kExcluded = QStringLiteral("excluded");
// The answers a written file adds to each line, in their order.
constexpr const char* kAnswerColumns[] = {
    "first", "second", "first_uncertainty", "second_uncertainty", "sun_altitude", "sun_azimuth",
};

// The tolerances a written file names on each line, each with its column.
struct ToleranceColumn {
    const char* name;
    double Tolerances::*value;
};
constexpr ToleranceColumn kToleranceColumns[] = {
    {"clock_tolerance_s", &Tolerances::clockSeconds},
    {"length_tolerance_percent", &Tolerances::lengthPercent},
    {"height_tolerance_percent", &Tolerances::heightPercent},
    {"tilt_tolerance_deg", &Tolerances::tiltDegrees},
};

// Every column the reader knows, in the order the writer writes them.
QStringList KnownColumns() {
    QStringList names = kRequired;
    names << kExcluded;
    for (const char* name : kAnswerColumns) {
        names << QLatin1String(name);
    }
    for (const ToleranceColumn& column : kToleranceColumns) {
        names << QLatin1String(column.name);
    }
    return names;
}

// Written answers may differ from the recomputed ones by the rounding of the file's four
// decimals and no more; uncertainties by one percent.
constexpr double kAnswerSlack = 1e-3;       // degrees
constexpr double kUncertaintySlack = 0.01;  // fraction
constexpr int kDecimals = 4;                // decimals of the written answers

QString Number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

QString Fixed(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', kDecimals) : QString();
}

std::optional<double> ParseNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
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

std::optional<CalendarDate> ParseDate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const CalendarDate date{match.captured(1).toInt(), match.captured(2).toInt(),
                            match.captured(3).toInt()};
    return IsValidDate(date) ? std::optional(date) : std::nullopt;
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

QString TimeText(double clockSeconds) {
    const long seconds = std::lround(clockSeconds) % 86400;
    const QString hhmm = QStringLiteral("%1:%2")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
    return seconds % 60 == 0
               ? hhmm
               : hhmm + QStringLiteral(":%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString Shown(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.size() > 40 ? trimmed.left(40) + QStringLiteral("...") : trimmed;
}

// Reads one record into a reading, or says what is wrong with it.
class LineReader {
  public:
    LineReader(const QHash<QString, qsizetype>& columns, const csv::Record& record)
        : columns_(columns), record_(record) {}

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
        const std::optional<double> value = ParseNumber(text);
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

    void fail(const QString& what) {
        if (error.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(record_.line).arg(what);
        }
    }

  private:
    const QHash<QString, qsizetype>& columns_;
    const csv::Record& record_;
};

std::optional<Reading> ReadLine(LineReader& in) {
    Reading reading;
    const QString dateText = in.field(QStringLiteral("date"));
    if (const auto date = ParseDate(dateText)) {
        reading.date = *date;
    } else {
        in.fail(
            QStringLiteral("date \"%1\" is not a calendar date YYYY-MM-DD").arg(Shown(dateText)));
    }
    const QString timeText = in.field(QStringLiteral("time"));
    if (const auto time = ParseTime(timeText)) {
        reading.clockSeconds = *time;
    } else {
        in.fail(QStringLiteral("time \"%1\" is not a clock time HH:MM or HH:MM:SS")
                    .arg(Shown(timeText)));
    }
    reading.utcOffsetHours = in.number(QStringLiteral("utc_offset"), -12, 14);
    reading.daylight = in.yesNo(QStringLiteral("daylight"), false);
    reading.latitude = in.number(QStringLiteral("latitude"), -90, 90);
    reading.longitude = in.number(QStringLiteral("longitude"), -180, 180);
    reading.height = in.number(QStringLiteral("height"), 0, 1e12, true);
    reading.length = in.number(QStringLiteral("length"), 0, 1e12, true);
    reading.excluded = in.yesNo(kExcluded, true);
    if (!in.error.isEmpty()) {
        return std::nullopt;
    }
    reading.heightText = in.field(QStringLiteral("height")).trimmed().toStdString();
    reading.lengthText = in.field(QStringLiteral("length")).trimmed().toStdString();
    return reading;
}

// The tolerances a line's uncertainty columns were written with, where the line names them;
// `fallback` for any it does not.
Tolerances TolerancesOf(const LineReader& in, const Tolerances& fallback) {
    Tolerances tolerances = fallback;
    for (const ToleranceColumn& column : kToleranceColumns) {
        const QString name = QLatin1String(column.name);
        if (!in.has(name)) {
            continue;
        }
        const std::optional<double> written = ParseNumber(in.field(name).trimmed());
        if (written && *written >= 0) {
            tolerances.*column.value = *written;
        }
    }
    return tolerances;
}

// Compares the answer columns the line carries with the recomputed answers.
QStringList Mismatches(const LineReader& in, const EvaluatedReading& e) {
    QStringList found;
    const auto check = [&](const QString& name, double recomputed, bool relative) {
        if (!in.has(name)) {
            return;
        }
        const QString text = in.field(name).trimmed();
        if (text.isEmpty() && !std::isfinite(recomputed)) {
            return;
        }
        const std::optional<double> written = ParseNumber(text);
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
    const bool solved = e.solution.solved();
    const double none = kNoValue;
    // In the order of kAnswerColumns; the uncertainties are compared relatively.
    const std::tuple<double, bool> answers[] = {
        {solved ? e.solution.first : none, false},
        {solved ? e.solution.second : none, false},
        {solved ? e.uncertainty.first : none, true},
        {solved ? e.uncertainty.second : none, true},
        {e.solution.sunAltitude, false},
        {e.solution.sunAzimuth, false},
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
    for (const QString& name : kRequired) {
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
    for (const QString& name : kRequired) {
        needed = std::max(needed, columns.value(name) + 1);
    }
    const bool namesTolerances =
        std::any_of(std::begin(kToleranceColumns), std::end(kToleranceColumns),
                    [&](const ToleranceColumn& column) {
                        return columns.contains(QLatin1String(column.name));
                    });
    for (std::size_t r = 1; r < records.size(); ++r) {
        const csv::Record& record = records[r];
        LineReader in(columns, record);
        if (record.fields.size() < needed) {
            result.problems.push_back(
                {record.line,
                 QStringLiteral("line %1: has %2 fields, too few for the columns named on line 1")
                     .arg(record.line)
                     .arg(record.fields.size()),
                 true});
            continue;
        }
        const std::optional<Reading> reading = ReadLine(in);
        if (!reading) {
            result.problems.push_back({record.line, in.error, true});
            continue;
        }
        const Tolerances lineTolerances = TolerancesOf(in, tolerances);
        if (namesTolerances && !result.tolerances) {
            result.tolerances = lineTolerances;
        }
        const QStringList mismatches = Mismatches(in, EvaluateReading(*reading, lineTolerances));
        if (!mismatches.isEmpty()) {
            result.problems.push_back({record.line,
                                       QStringLiteral("line %1: %2; the recomputed values count")
                                           .arg(record.line)
                                           .arg(mismatches.join(QStringLiteral("; "))),
                                       false});
        }
        result.readings.push_back(*reading);
        result.lines.push_back(record.line);
    }
    return result;
}

CsvReadResult ReadReadingsCsvFile(const QString& path, const Tolerances& tolerances) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CsvReadResult result;
        result.notReadingsFile = true;
        result.problems.push_back(
            {0, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()), true});
        return result;
    }
    return ReadReadingsCsv(file.readAll(), tolerances);
}

QByteArray WriteReadingsCsv(std::span<const Reading> readings, const Tolerances& tolerances) {
    QString text = KnownColumns().join(u',') + u'\n';
    const auto yesNo = [](bool value) {
        return value ? QStringLiteral("yes") : QStringLiteral("no");
    };
    for (const Reading& reading : readings) {
        const EvaluatedReading e = EvaluateReading(reading, tolerances);
        const bool solved = e.solution.solved();
        QStringList fields = {
            QString::fromStdString(DateText(reading.date)),
            TimeText(reading.clockSeconds),
            Number(reading.utcOffsetHours),
            yesNo(reading.daylight),
            Number(reading.latitude),
            Number(reading.longitude),
            Number(reading.height),
            Number(reading.length),
            yesNo(reading.excluded),
            solved ? Fixed(e.solution.first) : QString(),
            solved ? Fixed(e.solution.second) : QString(),
            solved ? Fixed(e.uncertainty.first) : QString(),
            solved ? Fixed(e.uncertainty.second) : QString(),
            Fixed(e.solution.sunAltitude),
            Fixed(e.solution.sunAzimuth),
        };
        for (const ToleranceColumn& column : kToleranceColumns) {
            fields << Number(tolerances.*column.value);
        }
        QStringList quoted;
        for (const QString& field : fields) {
            quoted << csv::Quoted(field);
        }
        text += quoted.join(u',') + u'\n';
    }
    return text.toUtf8();
}

QString SaveReadingsCsv(const QString& path, std::span<const Reading> readings,
                        const Tolerances& tolerances) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    }
    const QByteArray bytes = WriteReadingsCsv(readings, tolerances);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return QStringLiteral("Cannot save %1: %2").arg(path, file.errorString());
    }
    return QString();
}

}  // namespace kestramo::readings
