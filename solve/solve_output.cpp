#include "solve/solve_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

#include <cmath>

#include "readings/angle_text.h"
#include "readings/series_words.h"
#include "readings/wall_conventions.h"

namespace kestramo::solve {
namespace {

using series::Candidate;
using series::ReadingState;

const QLocale kC = QLocale::c();
constexpr int kDecimals = 2;

QJsonValue NumberOrNull(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QString WithUncertainty(double degrees, double sigma) {
    return angle_text::DeclinationWithUncertainty(degrees, sigma, kDecimals, kC);
}

series::Inclusion InclusionAt(const SolveInput& in, std::size_t i) {
    return i < in.inclusion.size() ? in.inclusion[i] : series::Inclusion::Automatic;
}

QJsonArray Points(const std::vector<dial::TemplatePoint>& points) {
    const auto rounded = [](double v) { return std::round(v * 1000) / 1000 + 0.0; };
    QJsonArray list;
    for (const dial::TemplatePoint& p : points) list.append(QJsonArray{rounded(p.x), rounded(p.y)});
    return list;
}

const char* HoursName(dial::TemplateHours hours) {
    switch (hours) {
        case dial::TemplateHours::Apparent:
            return "apparent";
        case dial::TemplateHours::Standard:
            return "standard";
        case dial::TemplateHours::Mean:
            return "mean";
    }
    return "apparent";
}

QJsonObject TemplateJson(const dial::DialTemplate& t) {
    QJsonArray hours;
    for (const dial::TemplateHourLine& line : t.hourLines) {
        for (const dial::TemplatePath& piece : line.pieces) {
            hours.append(QJsonObject{
                {QStringLiteral("label"),
                 QString::fromStdString(dial::ClockLabel(line.minuteOfDay))},
                {QStringLiteral("hour_angle"),
                 line.hourAngle ? QJsonValue(*line.hourAngle) : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("points"), Points(piece)}});
        }
    }
    QJsonArray dates;
    for (const dial::TemplateDateLine& line : t.dateLines) {
        for (const dial::TemplatePath& piece : line.pieces) {
            dates.append(QJsonObject{{QStringLiteral("declination"), line.declination},
                                     {QStringLiteral("points"), Points(piece)}});
        }
    }
    const dial::Gnomon& g = t.gnomon;
    return QJsonObject{
        {QStringLiteral("nodus_height"), t.request.nodusHeight},
        {QStringLiteral("style_length"), NumberOrNull(t.styleLength)},
        {QStringLiteral("hours"), QLatin1String(HoursName(t.request.hours))},
        {QStringLiteral("hour_lines"), hours},
        {QStringLiteral("date_lines"), dates},
        {QStringLiteral("gnomon"),
         QJsonObject{{QStringLiteral("points"), Points({g.root, g.foot, g.nodus})}}}};
}

}  // namespace

std::optional<QString> NoAnswerReason(const series::ReadingGeometry& geometry) {
    switch (geometry.status) {
        case series::ReadingStatus::Solved:
            return std::nullopt;
        case series::ReadingStatus::SunBelowHorizon:
            return QStringLiteral("below_horizon");
        case series::ReadingStatus::NoWallFits:
            return QStringLiteral("no_wall");
    }
    return std::nullopt;
}

QString TextReport(const SolveInput& in) {
    QStringList lines;
    const series::SeriesResult& result = in.solved.result;
    for (std::size_t i = 0; i < in.solved.geometry.size(); ++i) {
        const series::ReadingGeometry& g = in.solved.geometry[i];
        const series::ReadingVerdict& verdict = result.readings[i];
        QString line = QStringLiteral("Reading %1").arg(i + 1);
        if (i < in.lines.size()) line += QStringLiteral(", line %1").arg(in.lines[i]);
        if (series::Timed(in.readings[i].method)) {
            line +=
                QStringLiteral(" (%1 %2)")
                    .arg(QString::fromStdString(series::DateText(series::DateOf(in.readings[i]))),
                         QString::fromStdString(
                             series::ClockText(series::ClockSecondsOf(in.readings[i]),
                                               series::ClockPrecision::SecondsWhenAny)));
        }
        line += QStringLiteral(": ");
        if (in.readings[i].method != series::Method::Square) {
            line += QLatin1String(series::MethodWord(in.readings[i].method)) + u' ';
        }
        if (g.solved() && !std::isfinite(g.second)) {
            line += WithUncertainty(g.first, in.solved.answerUncertainty[i].first);
        } else if (g.solved()) {
            const series::AnswerUncertainty& u = in.solved.answerUncertainty[i];
            line += WithUncertainty(g.first, u.first) + QStringLiteral(" or ") +
                    WithUncertainty(g.second, u.second);
            if (verdict.chosen != Candidate::None) {
                line += verdict.chosen == Candidate::First ? QStringLiteral("; the first")
                                                           : QStringLiteral("; the second");
            }
        } else {
            line += QString::fromLatin1(series::StatusText(g.status));
        }
        if (verdict.used() && std::isfinite(verdict.residualSigma)) {
            line += QStringLiteral("; %1 standard deviations from the fit")
                        .arg(kC.toString(verdict.residualSigma, 'f', 1));
        }
        const QString note = series_words::Note(verdict, InclusionAt(in, i), g, in.tolerances, kC);
        if (!note.isEmpty()) line += QStringLiteral(" (") + note + u')';
        lines << line;
    }
    lines << QStringLiteral("Wall: ") + series_words::Answer(result, kC, kDecimals);
    for (const QString& more :
         {series_words::Lean(result, in.tolerances, kC), series_words::Agreement(result, kC),
          series_words::Advice(result, in.solved.geometry, in.tolerances, kC,
                               series_words::Audience::CommandLine)}) {
        if (!more.isEmpty()) lines << more;
    }
    if (result.decided()) {
        for (const auto& [label, value] :
             wall_conventions::Conventions(*result.declination, result.lean, kC)) {
            lines << label + QStringLiteral(": ") + value;
        }
    }
    if (in.dial) {
        lines << QStringLiteral(
                     "Dial: style height %1, substyle %2 from the noon line, substyle "
                     "hour angle %3")
                     .arg(angle_text::Degrees(in.dial->styleHeight, kDecimals, kC),
                          angle_text::Degrees(in.dial->substyleAngle, kDecimals, kC),
                          angle_text::Degrees(in.dial->substyleHourAngle, kDecimals, kC));
        for (const dial::HourLine& hour : in.dial->hourLines) {
            const double time = 12 + hour.hourAngle / 15;
            lines << QStringLiteral("  %1:%2  line at %3, may read %4 minutes off")
                         .arg(int(std::floor(time)), 2, 10, QLatin1Char('0'))
                         .arg(int(std::lround((time - std::floor(time)) * 60)), 2, 10,
                              QLatin1Char('0'))
                         .arg(angle_text::Degrees(hour.angle, kDecimals, kC),
                              kC.toString(hour.timeErrorMinutes, 'f', 1));
        }
        lines << wall_conventions::HowGood(*in.dial, kC);
    }
    return lines.join(u'\n') + u'\n';
}

namespace {

QString CauseWord(series::Cause cause) {
    switch (cause) {
        case series::Cause::Daylight:
            return QStringLiteral("daylight");
        case series::Cause::Lean:
            return QStringLiteral("lean");
        case series::Cause::Watch:
            return QStringLiteral("watch");
        case series::Cause::Square:
            return QStringLiteral("square");
    }
    return QString();
}

QJsonValue ExplanationJson(const std::optional<series::Explanation>& explanation) {
    if (!explanation) return QJsonValue(QJsonValue::Null);
    const series::Explanation& e = *explanation;
    QJsonObject object{{QStringLiteral("cause"), CauseWord(e.cause)},
                       {QStringLiteral("declination"), e.declination},
                       {QStringLiteral("uncertainty"), NumberOrNull(e.uncertainty)},
                       {QStringLiteral("certain"), e.decisive}};
    if (e.cause == series::Cause::Daylight || e.cause == series::Cause::Watch) {
        object.insert(QStringLiteral("date"), QString::fromStdString(series::DateText(e.date)));
    }
    return object;
}

}  // namespace

QByteArray JsonReport(const SolveInput& in) {
    const series::SeriesResult& result = in.solved.result;
    QJsonArray list;
    for (std::size_t i = 0; i < in.solved.geometry.size(); ++i) {
        const series::ReadingGeometry& g = in.solved.geometry[i];
        const series::AnswerUncertainty& u = in.solved.answerUncertainty[i];
        const series::ReadingVerdict& verdict = result.readings[i];
        const bool solved = g.solved();
        const std::optional<QString> reason = NoAnswerReason(g);
        const QString note = series_words::Note(verdict, InclusionAt(in, i), g, in.tolerances, kC);
        QJsonObject reading;
        reading.insert(QStringLiteral("line"), i < in.lines.size() ? QJsonValue(in.lines[i])
                                                                   : QJsonValue(QJsonValue::Null));
        reading.insert(QStringLiteral("method"),
                       QLatin1String(series::MethodWord(in.readings[i].method)));
        reading.insert(QStringLiteral("reason"),
                       reason ? QJsonValue(*reason) : QJsonValue(QJsonValue::Null));
        reading.insert(QStringLiteral("first"), NumberOrNull(solved ? g.first : series::kNoValue));
        reading.insert(QStringLiteral("second"),
                       NumberOrNull(solved ? g.second : series::kNoValue));
        reading.insert(QStringLiteral("first_uncertainty"), NumberOrNull(u.first));
        reading.insert(QStringLiteral("second_uncertainty"), NumberOrNull(u.second));
        reading.insert(QStringLiteral("chosen"), verdict.chosen == Candidate::None
                                                     ? QJsonValue(QJsonValue::Null)
                                                     : QJsonValue(int(verdict.chosen)));
        reading.insert(QStringLiteral("outlier"), verdict.state == ReadingState::Outlier ||
                                                      verdict.state == ReadingState::Implausible);
        reading.insert(QStringLiteral("residual_sigma"), NumberOrNull(verdict.residualSigma));
        reading.insert(QStringLiteral("note"),
                       note.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(note));
        list.append(reading);
    }
    QJsonObject combined;
    combined.insert(QStringLiteral("declination"), result.declination
                                                       ? QJsonValue(*result.declination)
                                                       : QJsonValue(QJsonValue::Null));
    combined.insert(QStringLiteral("uncertainty"), result.decided()
                                                       ? NumberOrNull(result.uncertainty)
                                                       : QJsonValue(QJsonValue::Null));
    combined.insert(QStringLiteral("decided"), result.decided());
    combined.insert(QStringLiteral("readings_used"), result.readingsUsed);
    combined.insert(QStringLiteral("lean"), NumberOrNull(result.lean));
    combined.insert(QStringLiteral("lean_uncertainty"), NumberOrNull(result.leanUncertainty));
    combined.insert(QStringLiteral("consistent"), result.consistent);
    combined.insert(QStringLiteral("chi_square"), NumberOrNull(result.chiSquare));
    combined.insert(QStringLiteral("degrees_of_freedom"), result.degreesOfFreedom);
    QJsonArray alternatives;
    for (const series::WallCandidate& wall : result.alternatives) {
        alternatives.append(
            QJsonObject{{QStringLiteral("declination"), wall.declination},
                        {QStringLiteral("uncertainty"), NumberOrNull(wall.uncertainty)}});
    }
    combined.insert(QStringLiteral("alternatives"), alternatives);
    combined.insert(QStringLiteral("explanation"), ExplanationJson(result.explanation));
    combined.insert(QStringLiteral("minutes_to_decide"), result.minutesToDecide
                                                             ? QJsonValue(*result.minutesToDecide)
                                                             : QJsonValue(QJsonValue::Null));
    QJsonObject root;
    root.insert(QStringLiteral("readings"), list);
    root.insert(QStringLiteral("combined"), combined);
    if (in.dial) {
        QJsonArray hours;
        for (const dial::HourLine& hour : in.dial->hourLines) {
            hours.append(QJsonObject{
                {QStringLiteral("hour_angle"), hour.hourAngle},
                {QStringLiteral("angle"), hour.angle},
                {QStringLiteral("time_error_minutes"), NumberOrNull(hour.timeErrorMinutes)}});
        }
        QJsonObject dial{{QStringLiteral("declination"), NumberOrNull(*result.declination)},
                         {QStringLiteral("lean"), NumberOrNull(result.lean)},
                         {QStringLiteral("style_height"), in.dial->styleHeight},
                         {QStringLiteral("substyle_angle"), in.dial->substyleAngle},
                         {QStringLiteral("substyle_hour_angle"), in.dial->substyleHourAngle},
                         {QStringLiteral("hour_lines"), hours}};
        if (in.dialTemplate)
            dial.insert(QStringLiteral("template"), TemplateJson(*in.dialTemplate));
        root.insert(QStringLiteral("dial"), dial);
    } else if (in.dialAsked) {
        root.insert(QStringLiteral("dial"), QJsonValue(QJsonValue::Null));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace kestramo::solve
