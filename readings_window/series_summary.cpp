#include "readings_window/series_summary.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

#include "readings_window/angle_text.h"

namespace rd = kestramo::readings;

namespace series_summary {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("series_summary", text); }

QString ReadingsCount(int count) {
    return count == 1 ? tr("1 reading") : tr("%1 readings").arg(count);
}

QString BothCandidates(const rd::SeriesResult& result, const QLocale& locale) {
    if (result.candidates.size() < 2) {
        if (result.candidates.empty()) return QString();
        return angle_text::DeclinationWithUncertainty(result.candidates[0].declination,
                                                      result.candidates[0].uncertainty, locale);
    }
    return tr("%1 or %2")
        .arg(angle_text::DeclinationWithUncertainty(result.candidates[0].declination,
                                                    result.candidates[0].uncertainty, locale),
             angle_text::DeclinationWithUncertainty(result.candidates[1].declination,
                                                    result.candidates[1].uncertainty, locale));
}

}  // namespace

QString Answer(const rd::SeriesResult& result, const QLocale& locale) {
    switch (result.decision) {
        case rd::Decision::Decided:
            return angle_text::DeclinationWithUncertainty(*result.declination, result.uncertainty,
                                                          locale) +
                   QStringLiteral(", ") + ReadingsCount(result.readingsUsed);
        case rd::Decision::NoReadings:
            return tr("No reading can be used yet: every Calculate in the main window adds one.");
        case rd::Decision::OneReading:
            return tr("Not decided: one reading cannot tell its two answers apart, %1.")
                .arg(BothCandidates(result, locale));
        case rd::Decision::SunTooClose:
            return tr("Not decided: the sun has not moved far enough between these %1 to tell "
                      "the wall from its mirror image, %2.")
                .arg(ReadingsCount(result.readingsUsed), BothCandidates(result, locale));
    }
    return QString();
}

QString Agreement(const rd::SeriesResult& result, const QLocale& locale) {
    if (result.readingsUsed < 2 || !std::isfinite(result.birgeRatio)) return QString();
    const QString ratio = locale.toString(result.birgeRatio, 'f', 1);
    if (result.birgeRatio <= 1.5) {
        return tr("The readings agree as well as the tolerances lead one to expect (scatter %1 "
                  "times the expected).")
            .arg(ratio);
    }
    return tr("The readings scatter %1 times more than the tolerances lead one to expect: the "
              "uncertainty is widened by as much. Check the tolerances, or look for a reading "
              "taken wrongly.")
        .arg(ratio);
}

QString Advice(const rd::SeriesResult& result, const QLocale& locale) {
    Q_UNUSED(locale);
    QStringList lines;
    QStringList outliers;
    for (size_t index = 0; index < result.readings.size(); ++index) {
        if (result.readings[index].outlier) outliers << QString::number(index + 1);
    }
    if (outliers.size() == 1) {
        lines << tr("Reading %1 lies more than three standard deviations from the others and is "
                    "left out; check its box to take it back in.")
                     .arg(outliers[0]);
    } else if (!outliers.isEmpty()) {
        lines << tr("Readings %1 lie more than three standard deviations from the others and are "
                    "left out; check their boxes to take them back in.")
                     .arg(outliers.join(QStringLiteral(", ")));
    }
    if (!result.decided && result.decision != rd::Decision::NoReadings) {
        if (result.minutesToDecide) {
            lines << tr("A reading taken at least %1 minutes after the last one will decide.")
                         .arg(*result.minutesToDecide);
        } else {
            lines << tr(
                "No reading later on the same day can decide: measure on another day, or "
                "at another time of day.");
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString BestTime(const std::vector<rd::DayPlan>& plans, const rd::CalendarDate& today,
                 const QLocale& locale) {
    QStringList lines;
    for (const rd::DayPlan& plan : plans) {
        const QString when = plan.date == today
                                 ? tr("today")
                                 : tr("on %1").arg(QString::fromStdString(rd::DateText(plan.date)));
        QString line =
            plan.best
                ? tr("Best %1: %2 to %3, about \u00b1%4")
                      .arg(when, QString::fromStdString(rd::ClockText(plan.best->startSeconds)),
                           QString::fromStdString(rd::ClockText(plan.best->endSeconds)),
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

}  // namespace series_summary
