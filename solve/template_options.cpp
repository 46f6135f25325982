#include "solve/template_options.h"

#include <QStringList>

#include <cmath>
#include <cstring>

#include "dial_files/template_file.h"
#include "dial_files/template_sheets.h"

namespace solve_template {
namespace {

namespace kd = kestramo::dial;

constexpr double kLargestPlate = 10000;  // millimetres

// Two positive numbers joined by `separator`: "600x400", "250,20".
std::optional<kd::TemplatePoint> Pair(const QString& text, QChar separator, bool positive) {
    const QStringList parts = text.toLower().split(separator);
    if (parts.size() != 2) return std::nullopt;
    bool okX = false, okY = false;
    const double x = parts[0].trimmed().toDouble(&okX);
    const double y = parts[1].trimmed().toDouble(&okY);
    const auto fits = [&](double v) {
        return std::isfinite(v) && std::fabs(v) <= kLargestPlate && (!positive || v > 0);
    };
    if (!okX || !okY || !fits(x) || !fits(y)) return std::nullopt;
    return kd::TemplatePoint{x, y};
}

}  // namespace

QList<QCommandLineOption> Options() {
    return {
        {QStringLiteral("dial-template"),
         QStringLiteral("Write the dial's full-size template for the fitted wall to FILE: .svg, "
                        ".dxf or .pdf (tiled sheets)."),
         QStringLiteral("FILE")},
        {QStringLiteral("hours"),
         QStringLiteral("The time the template's lines read: apparent (local apparent time), "
                        "standard (the zone's, plus the equation of time) or mean (the zone's, "
                        "curves through the year) (apparent)."),
         QStringLiteral("apparent|standard|mean")},
        {QStringLiteral("date-lines"),
         QStringLiteral("The template's date lines: none, solstices (and the equinoxes) or signs "
                        "(of the zodiac) (solstices)."),
         QStringLiteral("none|solstices|signs")},
        {QStringLiteral("minutes"), QStringLiteral("Minutes between the lines drawn (30)."),
         QStringLiteral("60|30|15")},
        {QStringLiteral("nodus-height"),
         QStringLiteral("Millimetres from the face to the nodus, square to the face (100)."),
         QStringLiteral("mm")},
        {QStringLiteral("plate"),
         QStringLiteral("The plate's width and height in millimetres, e.g. 600x400 (room for the "
                        "root and three nodus heights around the nodus's foot)."),
         QStringLiteral("WxH")},
        {QStringLiteral("root"),
         QStringLiteral("Millimetres from the plate's top-left corner to the style's root, right "
                        "and down, e.g. 300,20 (with --plate)."),
         QStringLiteral("X,Y")},
        {QStringLiteral("paper"),
         QStringLiteral("The PDF's paper: A4, A3, Letter or Legal (the locale's)."),
         QStringLiteral("A4|A3|Letter|Legal")},
        {QStringLiteral("summer-time"),
         QStringLiteral("Label each line of the template with its daylight-saving hour too.")},
    };
}

std::variant<TemplateOptions, QString> ReadOptions(const QCommandLineParser& parser) {
    TemplateOptions options;
    options.paper = dial_files::DefaultPaper();
    const auto given = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };
    if (given("dial-template")) {
        options.file = value("dial-template");
        if (!dial_files::FormatOf(*options.file)) {
            return QStringLiteral("%1: a template is written as .svg, .dxf or .pdf")
                .arg(*options.file);
        }
    }
    if (given("hours")) {
        const QString hours = value("hours");
        if (hours == u"apparent") {
            options.request.hours = kd::TemplateHours::Apparent;
        } else if (hours == u"standard") {
            options.request.hours = kd::TemplateHours::Standard;
        } else if (hours == u"mean") {
            options.request.hours = kd::TemplateHours::Mean;
        } else {
            return QStringLiteral("--hours takes apparent, standard or mean, not \"%1\"")
                .arg(hours);
        }
    }
    if (given("date-lines")) {
        const QString lines = value("date-lines");
        if (lines == u"none") {
            options.request.dateLines = kd::TemplateDateLines::None;
        } else if (lines == u"solstices") {
            options.request.dateLines = kd::TemplateDateLines::Solstices;
        } else if (lines == u"signs") {
            options.request.dateLines = kd::TemplateDateLines::Signs;
        } else {
            return QStringLiteral("--date-lines takes none, solstices or signs, not \"%1\"")
                .arg(lines);
        }
    }
    if (given("minutes")) {
        const QString minutes = value("minutes");
        if (minutes != u"60" && minutes != u"30" && minutes != u"15") {
            return QStringLiteral("--minutes takes 60, 30 or 15, not \"%1\"").arg(minutes);
        }
        options.request.minutes = minutes.toInt();
    }
    if (given("nodus-height")) {
        bool ok = false;
        const double height = value("nodus-height").toDouble(&ok);
        if (!ok || !(height >= 1) || !(height <= 2000)) {
            return QStringLiteral("--nodus-height takes millimetres from 1 to 2000, not \"%1\"")
                .arg(value("nodus-height"));
        }
        options.request.nodusHeight = height;
    }
    if (given("plate")) {
        options.request.plateSize = Pair(value("plate"), u'x', true);
        if (!options.request.plateSize) {
            return QStringLiteral(
                       "--plate takes the width and height in millimetres, as 600x400, not "
                       "\"%1\"")
                .arg(value("plate"));
        }
    }
    if (given("root")) {
        if (!given("plate")) return QStringLiteral("--root needs --plate");
        options.request.rootFromCorner = Pair(value("root"), u',', false);
        if (!options.request.rootFromCorner) {
            return QStringLiteral(
                       "--root takes millimetres right and down from the plate's "
                       "top-left corner, as 300,20, not \"%1\"")
                .arg(value("root"));
        }
    }
    if (given("paper")) {
        const std::optional<QPageSize::PageSizeId> paper = dial_files::PaperNamed(value("paper"));
        if (!paper) {
            return QStringLiteral("--paper takes A4, A3, Letter or Legal, not \"%1\"")
                .arg(value("paper"));
        }
        options.paper = *paper;
    }
    options.summerTime = given("summer-time");
    return options;
}

bool AsksForTemplateFile(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dial-template", 15) == 0) return true;
    }
    return false;
}

}  // namespace solve_template
