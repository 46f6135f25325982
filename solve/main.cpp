// kestramo-solve: the wall's declination from a readings file, or from one reading given as
// options, on the command line, and the dial's template for the fitted wall. Exit status: 0 when
// every line was read and a reading gives an answer or the series decides a wall, 1 when the file
// was read but no answer comes of it (or a template was asked for a wall not yet decided), 2 when
// the file, a line or an option could not be read or the template could not be written (then
// nothing goes to standard output).

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "dial_files/template_file.h"

#include "readings/readings_csv.h"
#include "readings/wall_conventions.h"
#include "series/series.h"
#include "solve/solve_output.h"
#include "solve/template_options.h"

namespace {

namespace kr = kestramo::readings;
namespace ks = kestramo::series;

constexpr int kAnswered = 0;
constexpr int kNoAnswer = 1;
constexpr int kNotRead = 2;

void Complain(const QString& text) { std::fputs(qPrintable(text + u'\n'), stderr); }

// The options of one reading, in the order the readings file names its columns.
const QStringList kReadingOptions = {QStringLiteral("date"),       QStringLiteral("time"),
                                     QStringLiteral("utc-offset"), QStringLiteral("daylight"),
                                     QStringLiteral("latitude"),   QStringLiteral("longitude"),
                                     QStringLiteral("height"),     QStringLiteral("length")};

// One reading from the options, written as a one-line readings file so that it is checked
// exactly as a file's line is.
kr::CsvReadResult ReadingFromOptions(const QCommandLineParser& parser) {
    QStringList header;
    QStringList values;
    for (const QString& name : kReadingOptions) {
        header << QString(name).replace(u'-', u'_');
        QString value =
            name == u"daylight" && !parser.isSet(name) ? QStringLiteral("no") : parser.value(name);
        value.replace(u'"', u'\'');
        values << u'"' + value + u'"';
    }
    const QByteArray text = (header.join(u',') + u'\n' + values.join(u',') + u'\n').toUtf8();
    kr::CsvReadResult result = kr::ReadReadingsCsv(text, {});
    for (kr::CsvProblem& problem : result.problems) {
        for (const QString& name : kReadingOptions) {
            problem.message.replace(
                QStringLiteral("line 2: %1 ").arg(QString(name).replace(u'-', u'_')),
                QStringLiteral("--%1 ").arg(name));
        }
    }
    result.lines.clear();
    return result;
}

QString Latin(const char* text) { return QLatin1String(text); }

// The option of each tolerance, with its default and range in its help.
QList<QCommandLineOption> ToleranceOptions() {
    QList<QCommandLineOption> options;
    for (const ks::ToleranceRow& row : ks::ToleranceTable()) {
        options.append({Latin(row.option),
                        QStringLiteral("%1 (%2; %3 to %4)")
                            .arg(Latin(row.help).chopped(1))
                            .arg(ks::DefaultOf(row))
                            .arg(row.low)
                            .arg(row.high),
                        Latin(row.valueName)});
    }
    return options;
}

std::optional<QString> ApplyOptions(const QCommandLineParser& parser, ks::Tolerances& tolerances) {
    for (const ks::ToleranceRow& row : ks::ToleranceTable()) {
        const QString name = Latin(row.option);
        if (!parser.isSet(name)) continue;
        bool ok = false;
        const double value = parser.value(name).toDouble(&ok);
        if (!ok || !ks::InRange(row, value)) {
            return QStringLiteral("--%1 takes a number from %2 to %3, not \"%4\"")
                .arg(name)
                .arg(row.low)
                .arg(row.high)
                .arg(parser.value(name));
        }
        tolerances.*row.value = value;
    }
    if (parser.isSet(QStringLiteral("shadow-edge"))) {
        const QString edge = parser.value(QStringLiteral("shadow-edge"));
        if (edge == u"outer") {
            tolerances.edge = ks::ShadowEdge::Outer;
        } else if (edge == u"middle") {
            tolerances.edge = ks::ShadowEdge::Middle;
        } else {
            return QStringLiteral("--shadow-edge takes outer or middle, not \"%1\"").arg(edge);
        }
    }
    return std::nullopt;
}

// The template of a decided series as the options ask for it; none while not decided.
std::optional<kestramo::dial::DialTemplate> TemplateFor(
    const ks::SolvedSeries& solved, std::span<const ks::Reading> readings,
    const solve_template::TemplateOptions& options, dial_files::TemplateSite* site) {
    std::optional<dial_files::TemplateInputs> inputs =
        dial_files::TemplateInputsFor(solved.result, readings);
    if (!inputs) return std::nullopt;
    kestramo::dial::TemplateRequest request = options.request;
    request.latitude = inputs->request.latitude;
    request.longitude = inputs->request.longitude;
    request.zoneOffset = inputs->request.zoneOffset;
    request.year = inputs->request.year;
    request.wall = inputs->request.wall;
    request.covariance = inputs->request.covariance;
    *site = inputs->site;
    site->summerTime = options.summerTime;
    return kestramo::dial::MakeDialTemplate(request);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A PDF template's text needs the fonts of a GUI application; it never shows a window.
    std::unique_ptr<QCoreApplication> application;
    if (solve_template::AsksForTemplateFile(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kestramo-solve"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRAMO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds which way a wall faces from shadow readings: the two answers of each reading\n"
        "with their uncertainties, and the one wall that fits them all, with its lean.\n"
        "Declinations are degrees from due south, west positive. Give a readings file (CSV with\n"
        "the columns date, time, utc_offset, daylight, latitude, longitude, height, length; - for\n"
        "standard input) or one reading as options. A column method (square, board,\n"
        "declinometer or bearing) takes readings of the other kinds, with the columns tip_x,\n"
        "tip_y, placement, angle, bearing and bearing_error. Tolerances are one standard\n"
        "deviation; the options override those the file names.\n"
        "Exit status: 0 an answer (a reading's or the series'), 1 none, 2 the input could not be\n"
        "read; with --dial-template, 1 also while the wall is not decided (no file written), 2\n"
        "when the file cannot be written."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.csv"),
                                 QStringLiteral("Readings file, or - for standard input."));
    parser.addOptions({
        {QStringLiteral("json"), QStringLiteral("Print one JSON object instead of text.")},
        {QStringLiteral("dial"),
         QStringLiteral("Add the dial for the fitted wall: style, hour lines, time errors.")},
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
         QStringLiteral("yes when the clock showed daylight-saving time (default no)."),
         QStringLiteral("yes|no")},
        {QStringLiteral("latitude"), QStringLiteral("Degrees, north positive."),
         QStringLiteral("degrees")},
        {QStringLiteral("longitude"), QStringLiteral("Degrees, east positive, west negative."),
         QStringLiteral("degrees")},
        {QStringLiteral("height"), QStringLiteral("The square's height (any unit)."),
         QStringLiteral("number")},
        {QStringLiteral("length"), QStringLiteral("The shadow's length (the height's unit)."),
         QStringLiteral("number")},
        {QStringLiteral("shadow-edge"),
         QStringLiteral("The edge of the shadow's blurred end measured to (outer)."),
         QStringLiteral("outer|middle")},
    });
    parser.addOptions(ToleranceOptions());
    parser.addOptions(solve_template::Options());
    const QString usage = QStringLiteral(
        "Usage: kestramo-solve [OPTIONS] FILE.csv\n"
        "       kestramo-solve [OPTIONS] --date YYYY-MM-DD --time HH:MM --utc-offset H "
        "[--daylight yes|no] --latitude D --longitude D --height N --length N\n"
        "Try kestramo-solve --help.");
    const auto refuse = [&](const QString& why) {
        Complain(QStringLiteral("kestramo-solve: ") + why);
        Complain(usage);
        return kNotRead;
    };
    if (!parser.parse(QCoreApplication::arguments())) return refuse(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kAnswered;
    }
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    const QStringList files = parser.positionalArguments();
    QStringList given, missing;
    for (const QString& name : kReadingOptions) {
        (parser.isSet(name) ? given : missing) << name;
    }
    missing.removeAll(QStringLiteral("daylight"));
    const bool fromOptions = !given.isEmpty();
    if (files.size() > 1) {
        return refuse(QStringLiteral("give one readings file, not %1").arg(files.size()));
    }
    if (files.size() == 1 && fromOptions) {
        return refuse(QStringLiteral("give either a file or the options of one reading, not both"));
    }
    if (files.isEmpty() && !fromOptions) {
        return refuse(QStringLiteral("give a readings file, or the options of one reading"));
    }
    if (fromOptions && !missing.isEmpty()) {
        QStringList named;
        for (const QString& name : missing) named << QStringLiteral("--") + name;
        return refuse(named.size() == 1 ? QStringLiteral("%1 is missing").arg(named.front())
                                        : QStringLiteral("%1 are missing").arg(named.join(u' ')));
    }
    ks::Tolerances check;
    if (const std::optional<QString> wrong = ApplyOptions(parser, check)) return refuse(*wrong);
    const auto templateOptions = solve_template::ReadOptions(parser);
    if (const QString* wrong = std::get_if<QString>(&templateOptions)) return refuse(*wrong);
    const auto& shape = std::get<solve_template::TemplateOptions>(templateOptions);

    const kr::CsvReadResult read =
        fromOptions ? ReadingFromOptions(parser) : kr::ReadReadingsCsvFile(files.front(), {});
    for (const kr::CsvProblem& problem : read.problems) Complain(problem.message);
    if (!read.allRead()) return kNotRead;

    ks::Tolerances tolerances = read.tolerances.value_or(ks::Tolerances{});
    ApplyOptions(parser, tolerances);
    const ks::SolvedSeries solved =
        ks::SolveSeries(read.readings, read.geometry, tolerances, read.inclusion);
    kestramo::solve::SolveInput input{read.readings, read.inclusion, read.lines, solved,
                                      tolerances,    std::nullopt,   false,      std::nullopt};
    input.dialAsked = parser.isSet(QStringLiteral("dial"));
    if (input.dialAsked) input.dial = wall_conventions::DialFor(solved.result, read.readings);
    dial_files::TemplateSite site;
    if (input.dialAsked || shape.file) {
        input.dialTemplate = TemplateFor(solved, read.readings, shape, &site);
    }
    if (shape.file && input.dialTemplate) {
        const std::optional<QString> failed = dial_files::WriteTemplateFile(
            *shape.file, dial_files::DrawTemplate(*input.dialTemplate, site),
            QPageSize(shape.paper));
        if (failed) {
            Complain(QStringLiteral("kestramo-solve: ") + *failed);
            return kNotRead;
        }
    }

    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("json"))) {
        out << kestramo::solve::JsonReport(input);
    } else {
        out << kestramo::solve::TextReport(input);
    }
    out.flush();
    if (shape.file && !input.dialTemplate) {
        Complain(QStringLiteral("kestramo-solve: %1 not written: the wall is not decided yet")
                     .arg(*shape.file));
        return kNoAnswer;
    }
    // A series may decide a wall that none of its readings gives alone: a low sun nearly in the
    // wall's plane, read to the outer edge, casts shadows no wall fits by themselves.
    if (solved.result.decided()) return kAnswered;
    for (const ks::ReadingGeometry& geometry : solved.geometry) {
        if (geometry.solved()) return kAnswered;
    }
    return kNoAnswer;
}
