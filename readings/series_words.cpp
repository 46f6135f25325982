#include "readings/series_words.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "readings/angle_text.h"
#include "series/blunders.h"
#include "series/leave_out.h"

namespace ks = kestramo::series;

namespace series_words {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("series_words", text); }

QString Number(double value, int decimals, const QLocale& locale) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return locale.toString(rounded == 0 ? 0.0 : rounded, 'f', decimals);
}

QString Walls(const SeriesResult& result, const QLocale& locale, int decimals, bool withLeftOut) {
    QStringList walls;
    for (const ks::WallCandidate& wall : result.alternatives) {
        QString text = angle_text::DeclinationWithUncertainty(wall.declination, wall.uncertainty,
                                                              decimals, locale);
        if (withLeftOut && !wall.leftOut.empty()) {
            text += tr(" (without %1)").arg(ReadingList(wall.leftOut));
        }
        walls << text;
    }
    if (walls.size() < 2) return walls.join(QString());
    const QString last = walls.takeLast();
    return tr("%1 or %2").arg(walls.join(QStringLiteral(", ")), last);
}

// "leans back 0.4° ± 0.3°", "overhangs 0.2° ± 0.3°", "stands plumb (± 0.3°)".
QString LeanWords(double lean, double sigma, const QLocale& locale) {
    const QString uncertainty =
        sigma > 0 ? QLatin1Char(' ') + angle_text::Uncertainty(sigma, locale) : QString();
    if (std::fabs(lean) < 0.05)
        return tr("stands plumb") +
               (sigma > 0 ? tr(" (%1)").arg(uncertainty.trimmed()) : QString());
    return (lean > 0 ? tr("leans back %1%2") : tr("overhangs %1%2"))
        .arg(angle_text::Degrees(std::fabs(lean), 1, locale), uncertainty);
}

// The slip that explains a reading left out, as a clause: "its clock looks an hour slow".
QString BlunderWords(ks::Blunder blunder, ks::Method method) {
    switch (blunder) {
        case ks::Blunder::ClockHourFast:
            return tr(
                "its clock looks an hour fast: was daylight-saving time chosen right for it?");
        case ks::Blunder::ClockHourSlow:
            return tr(
                "its clock looks an hour slow: was daylight-saving time chosen right for it?");
        case ks::Blunder::ClockHalfHourFast:
            return tr("its clock looks half an hour fast: is its time zone a half hour off?");
        case ks::Blunder::ClockHalfHourSlow:
            return tr("its clock looks half an hour slow: is its time zone a half hour off?");
        case ks::Blunder::ShadowMisread:
            switch (method) {
                case ks::Method::Declinometer:
                    return tr(
                        "no slip of the clock or the sign explains it, so the angle was "
                        "probably misread");
                case ks::Method::Bearing:
                    return tr("no slip of its origin or sense explains it: is the bearing right?");
                case ks::Method::Square:
                case ks::Method::Board:
                    break;
            }
            return tr("no slip of the clock explains it, so the shadow was probably misread");
        case ks::Blunder::AngleSignFlipped:
            return tr(
                "it fits with its sign turned: was the angle read on the wrong side of the "
                "perpendicular?");
        case ks::Blunder::BearingOfTheLine:
            return tr(
                "it fits 90\u00b0 off: is it the bearing of the wall's line rather than of "
                "the line square to the wall?");
        case ks::Blunder::BearingFromNorth:
            return tr(
                "it fits 180\u00b0 off: was the bearing counted from north rather than "
                "south?");
        case ks::Blunder::BearingEastPositive:
            return tr(
                "it fits with its sign turned: was the bearing counted east positive rather "
                "than west?");
        case ks::Blunder::BoardXReversed:
            return tr(
                "it fits with x the other way: was x measured to the left of the pin "
                "rather than the right?");
        case ks::Blunder::None:
            break;
    }
    return QString();
}

// Why a reading left out by the series went.
QString LeftOutWhy(const ReadingVerdict& verdict, const ReadingGeometry& geometry,
                   const QLocale& locale) {
    if (verdict.state == ks::ReadingState::Implausible) {
        return tr("a shadow %1 times the square's height cannot have been measured")
            .arg(locale.toString(geometry.shadowRatio, 'g', 3));
    }
    QString why = tr("it lies %1 standard deviations from what the other readings predict")
                      .arg(Number(std::fabs(verdict.residualSigma), 1, locale));
    if (std::isfinite(verdict.expectedLength)) {
        why += tr(" (a shadow of %1 where %2 was read)")
                   .arg(locale.toString(verdict.expectedLength, 'g', 4),
                        locale.toString(verdict.expectedLength + verdict.residual, 'g', 4));
    }
    const QString blunder = BlunderWords(verdict.blunder, geometry.method);
    return blunder.isEmpty() ? why : why + QStringLiteral("; ") + blunder;
}

QString CapitalFirst(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

QString TypedClockKind(const ks::Explanation& e) {
    return e.daylightWasChosen ? tr("daylight-saving time") : tr("standard time");
}

QString OtherClockKind(const ks::Explanation& e) {
    return e.daylightWasChosen ? tr("standard time") : tr("daylight-saving time");
}

// What the likeliest explanation of the readings is, and the wall they give with it put right.
QString ExplanationWords(const ks::Explanation& e, bool likeliest, const Tolerances& tolerances,
                         const QLocale& locale) {
    const QString wall =
        angle_text::DeclinationWithUncertainty(e.declination, e.uncertainty, locale);
    QString text;
    switch (e.cause) {
        case ks::Cause::Daylight:
            text = tr("The readings of %1 fit much better with %2 instead of %3: was the clock "
                      "kind chosen right for that day? With it changed they give %4.")
                       .arg(QString::fromStdString(ks::DateText(e.date)), OtherClockKind(e),
                            TypedClockKind(e), wall);
            break;
        case ks::Cause::Lean:
            text = tr("The readings fit much better with the wall's lean %1 ± %2 rather than the "
                      "%3 ± %4 stated: measure the lean and enter it. They then give %5.")
                       .arg(angle_text::Degrees(e.value, 1, locale),
                            angle_text::Degrees(e.sigma, 1, locale),
                            angle_text::Degrees(tolerances.leanDegrees, 1, locale),
                            angle_text::Degrees(tolerances.leanErrorDegrees, 1, locale), wall);
            break;
        case ks::Cause::Watch:
            text = tr("The readings fit much better with the watch %1 s %2 on %3 rather than "
                      "within the %4 s stated: set the watch, or widen its tolerance. They then "
                      "give %5.")
                       .arg(Number(std::fabs(e.value), 0, locale),
                            e.value > 0 ? tr("slow") : tr("fast"),
                            QString::fromStdString(ks::DateText(e.date)),
                            Number(tolerances.clockSeconds, 0, locale), wall);
            break;
        case ks::Cause::Square:
            text = tr("The readings fit much better with the square of height %1 %2 % %3 than "
                      "typed rather than within the %4 % stated: measure the square again. They "
                      "then give %5.")
                       .arg(locale.toString(e.height, 'g', 6),
                            Number(std::fabs(e.value) * 100, 1, locale),
                            e.value > 0 ? tr("taller") : tr("shorter"),
                            Number(tolerances.heightPercent, 1, locale), wall);
            break;
    }
    if (likeliest && !e.decisive) {
        text +=
            tr(" This is the likeliest explanation, but not a certain one: check it before "
               "you rely on the wall it gives.");
    }
    return text;
}

}  // namespace

QString Readings(int count) { return count == 1 ? tr("1 reading") : tr("%1 readings").arg(count); }

QString Minutes(int count) { return count == 1 ? tr("1 minute") : tr("%1 minutes").arg(count); }

QString ReadingList(std::span<const int> indices) {
    QStringList numbers;
    for (int index : indices) numbers << QString::number(index + 1);
    if (numbers.isEmpty()) return QString();
    if (numbers.size() == 1) return tr("reading %1").arg(numbers.front());
    const QString last = numbers.takeLast();
    return tr("readings %1 and %2").arg(numbers.join(QStringLiteral(", ")), last);
}

QString Answer(const SeriesResult& result, const QLocale& locale, int decimals) {
    switch (result.verdict) {
        case ks::Verdict::Decided:
            return angle_text::DeclinationWithUncertainty(*result.declination, result.uncertainty,
                                                          decimals, locale) +
                   QStringLiteral(", ") + Readings(result.readingsUsed);
        case ks::Verdict::NoReadings:
            return result.readings.empty()
                       ? tr("No readings yet.")
                       : tr("No reading can be used: none gives an answer, or all are left out.");
        case ks::Verdict::Undecided:
            if (result.readingsUsed == 1) {
                return tr("Not decided: one reading cannot tell its two answers apart: %1.")
                    .arg(Walls(result, locale, decimals, false));
            }
            return tr("Not decided: the sun has not moved far enough between these %1 to tell "
                      "the wall from its mirror image: %2.")
                .arg(Readings(result.readingsUsed), Walls(result, locale, decimals, false));
        case ks::Verdict::Ambiguous:
            return tr("Not decided: leaving out different readings leaves walls that the others "
                      "fit equally well: %1.")
                .arg(Walls(result, locale, decimals, true));
        case ks::Verdict::Inconsistent:
            return result.readingsUsed == 1
                       ? tr("No answer: no vertical wall fits the reading within its "
                            "tolerances.")
                       : tr("No answer: the readings disagree more than their tolerances "
                            "allow.");
        case ks::Verdict::Explained:
            return tr("Not decided: as typed the readings give %1, but a slip put right explains "
                      "them much better and gives another wall.")
                .arg(Walls(result, locale, decimals, false));
    }
    return QString();
}

QString Agreement(const SeriesResult& result, const QLocale& locale) {
    if (result.readingsUsed < 2 || result.degreesOfFreedom < 1 ||
        !std::isfinite(result.chiSquare)) {
        return QString();
    }
    const double scatter = std::sqrt(result.chiSquare / result.degreesOfFreedom);
    if (!result.consistent) {
        return tr("The readings scatter %1 times as much as their tolerances lead one to expect; "
                  "so much is left to chance less than once in a thousand series.")
            .arg(Number(scatter, 1, locale));
    }
    if (scatter <= 1.3) {
        return tr(
            "The readings agree with each other as well as their tolerances lead one to "
            "expect.");
    }
    return tr("The readings scatter %1 times as much as their tolerances lead one to expect, "
              "which chance still explains.")
        .arg(Number(scatter, 1, locale));
}

QString LeanBrief(const SeriesResult& result, const Tolerances& tolerances, const QLocale& locale) {
    if (result.verdict == ks::Verdict::NoReadings || !std::isfinite(result.lean)) return QString();
    if (!(result.leanUncertainty > 0)) {
        return tr("The wall is taken to stand as measured: it %1.")
            .arg(LeanWords(tolerances.leanDegrees, 0, locale));
    }
    return tr("The wall %1.").arg(LeanWords(result.lean, result.leanUncertainty, locale));
}

QString Lean(const SeriesResult& result, const Tolerances& tolerances, const QLocale& locale) {
    QString text = LeanBrief(result, tolerances, locale);
    // When the readings cannot tell, the lean stays where it was stated.
    if (!text.isEmpty() && result.leanUncertainty > 0 &&
        result.leanUncertainty > 0.8 * tolerances.leanErrorDegrees) {
        text += tr(" The readings tell little about the lean: it stays near the %1 stated.")
                    .arg(angle_text::Degrees(tolerances.leanDegrees, 1, locale));
    }
    return text;
}

QString ZoneText(double utcOffsetHours) {
    const int minutes = int(std::lround(std::fabs(utcOffsetHours) * 60));
    QString text = QStringLiteral("UTC") +
                   (utcOffsetHours < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) +
                   QString::number(minutes / 60);
    if (minutes % 60 != 0) text += QStringLiteral(":%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}

QString ClockName(const kestramo::series::Reading& reading) {
    return (reading.observation.daylightSaving ? tr("%1, daylight time") : tr("%1, standard time"))
        .arg(ZoneText(ks::UtcOffsetHoursOf(reading)));
}

QString Advice(const SeriesResult& result, std::span<const ReadingGeometry> geometry,
               const Tolerances& tolerances, const QLocale& locale, Audience audience) {
    QStringList lines;
    if (result.explanation)
        lines << ExplanationWords(*result.explanation, true, tolerances, locale);
    if (result.otherwise) {
        QString otherwise = ExplanationWords(*result.otherwise, false, tolerances, locale);
        if (!otherwise.isEmpty()) otherwise[0] = otherwise[0].toLower();
        lines << tr("If not, %1").arg(otherwise);
    }
    if (result.notRuledOut) {
        const ks::Explanation& e = *result.notRuledOut;
        lines << tr("The readings cannot rule out that %1 was on %2 instead of %3: they would "
                    "then give %4. Check which clock was used that day.")
                     .arg(QString::fromStdString(ks::DateText(e.date)), OtherClockKind(e),
                          TypedClockKind(e),
                          angle_text::DeclinationWithUncertainty(e.declination, e.uncertainty,
                                                                 locale));
    }
    for (std::size_t i = 0; i < result.readings.size() && i < geometry.size(); ++i) {
        const ReadingVerdict& verdict = result.readings[i];
        if (verdict.state != ks::ReadingState::Outlier &&
            verdict.state != ks::ReadingState::Implausible) {
            continue;
        }
        QString why = LeftOutWhy(verdict, geometry[i], locale);
        if (!why.endsWith(u'?')) why += u'.';
        lines << tr("Reading %1 was left out: %2").arg(int(i) + 1).arg(why) +
                     (audience == Audience::Window ? tr(" Check its box to take it back in.")
                                                   : QString());
    }
    if (result.verdict == ks::Verdict::Inconsistent && !result.explanation) {
        std::vector<int> worst;
        for (std::size_t i = 0; i < result.readings.size(); ++i) {
            if (result.readings[i].disagreesMost) worst.push_back(int(i));
        }
        if (!worst.empty()) {
            lines << CapitalFirst((worst.size() == 1 ? tr("%1 disagrees most with the others.")
                                                     : tr("%1 disagree most with the others."))
                                      .arg(ReadingList(worst)));
        }
        lines << (result.readingsUsed == 1
                      ? tr("Likely causes: a shadow misread or too short; a square not held "
                           "straight out; a clock set wrongly; or a wall that leans more than "
                           "stated.")
                      : tr("Likely causes: a clock set wrongly, or daylight-saving time chosen "
                           "wrongly for some readings; a shadow misread; a square not held "
                           "straight out; a wall that leans more than stated; or tolerances set "
                           "too tight."));
    }
    if (result.verdict == ks::Verdict::Undecided) {
        lines << (result.minutesToDecide
                      ? tr("A reading taken at least %1 after the last one will decide.")
                            .arg(Minutes(*result.minutesToDecide))
                      : tr("No reading later on the same day can decide: measure on another day, "
                           "or at another time of day."));
    }
    if (result.verdict == ks::Verdict::Ambiguous) {
        lines << tr("Check the readings left out by either choice, or take more readings.");
    }
    return lines.join(QLatin1Char('\n'));
}

QString Note(const ReadingVerdict& verdict, Inclusion inclusion, const ReadingGeometry& geometry,
             const Tolerances& tolerances, const QLocale& locale) {
    Q_UNUSED(tolerances);
    switch (verdict.state) {
        case ks::ReadingState::SunBelowHorizon:
            return QString::fromUtf8(ks::StatusText(geometry.status));
        case ks::ReadingState::LeftOutByUser:
            return tr("left out by you");
        case ks::ReadingState::Outlier:
        case ks::ReadingState::Implausible:
            return tr("left out: %1").arg(LeftOutWhy(verdict, geometry, locale));
        case ks::ReadingState::Used:
            break;
    }
    QStringList notes;
    if (inclusion == Inclusion::ForcedIn) notes << tr("kept in by you");
    if (!geometry.solved()) notes << tr("no vertical wall fits this shadow alone");
    if (verdict.disagreesMost) notes << tr("disagrees most with the others");
    return notes.join(QStringLiteral("; "));
}

QString TolerancesList(const Tolerances& t, const Tolerances* other, const QLocale& locale) {
    QStringList parts;
    for (const ks::ToleranceRow& row : ks::ToleranceTable()) {
        if (other && other->*row.value == t.*row.value) continue;
        parts << tr(row.name) + QLatin1Char(' ') + locale.toString(t.*row.value, 'g', 6) +
                     tr(row.unit);
    }
    if (!other || other->edge != t.edge) {
        parts << (t.edge == ks::ShadowEdge::Outer ? tr("the faint outer edge read")
                                                  : tr("the middle of the blur read"));
    }
    return parts.join(QStringLiteral(", "));
}

QString TolerancesText(const Tolerances& t, const QLocale& locale) {
    return tr("Tolerances, one standard deviation each: %1; the watch is shared by the readings "
              "of a day, the square's height by the readings of a square.")
        .arg(TolerancesList(t, nullptr, locale));
}

QString BestTime(const std::vector<ks::DayPlan>& plans, const kestramo::CalendarDate& today,
                 const QLocale& locale) {
    QStringList lines;
    for (const ks::DayPlan& plan : plans) {
        const QString when = plan.date == today
                                 ? tr("today")
                                 : tr("on %1").arg(QString::fromStdString(ks::DateText(plan.date)));
        QString line =
            plan.best
                ? tr("Best %1: %2 to %3, about \u00b1%4")
                      .arg(when, QString::fromStdString(ks::ClockText(plan.best->startSeconds)),
                           QString::fromStdString(ks::ClockText(plan.best->endSeconds)),
                           angle_text::Degrees(plan.best->uncertainty,
                                               plan.best->uncertainty < 0.095 ? 2 : 1, locale))
                : tr("No reading is possible %1.").arg(when);
        if (plans.size() > 1) {
            line = (lines.isEmpty() ? tr("If the wall faces %1: %2") : tr("If it faces %1: %2"))
                       .arg(angle_text::Declination(plan.wall, locale), line);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace series_words
