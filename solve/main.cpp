// kestramo-solve: the wall's declination from a readings file, or from one reading given as
// options, on the command line.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <vector>

#include "readings/readings_csv.h"
#include "readings/series.h"
#include "solve/solve_output.h"

namespace {

namespace kr = kestramo::readings;

constexpr int kAllRead = 0;
constexpr int kNotAllRead = 2;  // the file, a line or an option could not be read

void Complain(const QString& text) { std::fputs(qPrintable(text + u'\n'), stderr); }

// One reading from the options, written as a one-line readings file so that it is checked
// exactly as a file's line is.
kr::CsvReadResult ReadingFromOptions(const QCommandLineParser& parser,
                                     const kr::Tolerances& tolerances) {
    const QStringList names = {QStringLiteral("date"),       QStringLiteral("time"),
                               QStringLiteral("utc-offset"), QStringLiteral("daylight"),
                               QStringLiteral("latitude"),   QStringLiteral("longitude"),
                               QStringLiteral("height"),     QStringLiteral("length")};
    QStringList header;
    QStringList values;
    for (const QString& name : names) {
        header << QString(name).replace(u'-', u'_');
        QString value = parser.value(name);
        value.replace(u'"', u'\'');
        values << u'"' + value + u'"';
    }
    const QByteArray text = (header.join(u',') + u'\n' + values.join(u',') + u'\n').toUtf8();
    kr::CsvReadResult result = kr::ReadReadingsCsv(text, tolerances);
    for (kr::CsvProblem& problem : result.problems) {
        problem.message.replace(QStringLiteral("line 2: "), QStringLiteral("option "));
    }
    return result;
}

std::optional<double> Tolerance(const QCommandLineParser& parser, const QString& name,
                                double fallback) {
    if (!parser.isSet(name)) {
        return fallback;
    }
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !(value >= 0) || !(value < 1e6)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestramo-solve"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds which way a vertical wall faces from shadow readings: the two answers of each\n"
        "reading with their uncertainties, and the combined answer. Declinations are degrees\n"
        "from due south, west positive. Give a readings file (CSV with the columns date, time,\n"
        "utc_offset, daylight, latitude, longitude, height, length) or one reading as options."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.csv"),
                                 QStringLiteral("Readings file (omit when using the options)."));
    parser.addOptions({
        {QStringLiteral("json"), QStringLiteral("Print one JSON object instead of text.")},
        {QStringLiteral("date"), QStringLiteral("Date of the reading, YYYY-MM-DD."),
         QStringLiteral("date")},
        {QStringLiteral("time"),
         QStringLiteral("What the clock showed, HH:MM or HH:MM:SS (24-hour)."),
         QStringLiteral("time")},
        {QStringLiteral("utc-offset"),
         QStringLiteral("Hours of the zone's standard time ahead of UTC, east positive "
                        "(-5 for New York, 5.5 for India)."),
         QStringLiteral("hours")},
        {QStringLiteral("daylight"),
         QStringLiteral("yes when the clock showed daylight-saving time, else no."),
         QStringLiteral("yes|no"), QStringLiteral("no")},
        {QStringLiteral("latitude"), QStringLiteral("Degrees, north positive."),
         QStringLiteral("degrees")},
        {QStringLiteral("longitude"), QStringLiteral("Degrees, east positive, west negative."),
         QStringLiteral("degrees")},
        {QStringLiteral("height"), QStringLiteral("The square's height (any unit)."),
         QStringLiteral("number")},
        {QStringLiteral("length"), QStringLiteral("The shadow's length (the height's unit)."),
         QStringLiteral("number")},
        {QStringLiteral("clock-error"), QStringLiteral("Clock error, seconds, 1 sigma (10)."),
         QStringLiteral("seconds")},
        {QStringLiteral("length-error"),
         QStringLiteral("Shadow length error, percent, 1 sigma (1)."), QStringLiteral("percent")},
        {QStringLiteral("height-error"),
         QStringLiteral("Square height error, percent, 1 sigma (0.5)."), QStringLiteral("percent")},
        {QStringLiteral("tilt-error"),
         QStringLiteral("Square's tilt from perpendicular, degrees, 1 sigma (0.5)."),
         QStringLiteral("degrees")},
    });
    const QString usage = QStringLiteral(
        "Usage: kestramo-solve [--json] FILE.csv\n"
        "       kestramo-solve [--json] --date YYYY-MM-DD --time HH:MM --utc-offset H "
        "[--daylight yes|no] --latitude D --longitude D --height N --length N\n"
        "Try kestramo-solve --help.");
    if (!parser.parse(QCoreApplication::arguments())) {
        Complain(parser.errorText());
        Complain(usage);
        return kNotAllRead;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kAllRead;
    }

    kr::Tolerances tolerances;
    const auto clock = Tolerance(parser, QStringLiteral("clock-error"), tolerances.clockSeconds);
    const auto length = Tolerance(parser, QStringLiteral("length-error"), tolerances.lengthPercent);
    const auto height = Tolerance(parser, QStringLiteral("height-error"), tolerances.heightPercent);
    const auto tilt = Tolerance(parser, QStringLiteral("tilt-error"), tolerances.tiltDegrees);
    if (!clock || !length || !height || !tilt) {
        Complain(QStringLiteral("The error options take a number of 0 or more."));
        Complain(usage);
        return kNotAllRead;
    }
    tolerances = {*clock, *length, *height, *tilt};

    const QStringList files = parser.positionalArguments();
    const bool fromOptions = parser.isSet(QStringLiteral("date"));
    if (files.size() > 1 || (files.size() == 1) == fromOptions) {
        Complain(usage);
        return kNotAllRead;
    }
    const kr::CsvReadResult read = fromOptions ? ReadingFromOptions(parser, tolerances)
                                               : kr::ReadReadingsCsvFile(files.front(), tolerances);
    for (const kr::CsvProblem& problem : read.problems) {
        Complain(problem.message);
    }
    if (read.notReadingsFile) {
        return kNotAllRead;
    }

    const kr::SolvedSeries series = kr::SolveSeries(read.readings, tolerances);
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("json"))) {
        out << kestramo::solve::JsonReport(series);
    } else {
        out << kestramo::solve::TextReport(read.readings, series);
    }
    out.flush();
    return read.allRead() ? kAllRead : kNotAllRead;
}
