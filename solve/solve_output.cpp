#include "solve/solve_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

#include "readings/day_plan.h"

namespace kestramo::solve {
namespace {

using readings::Candidate;

QJsonValue NumberOrNull(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

// "11.42° W", "100.07° E", "0.00°"
QString Declination(double degrees) {
    const QString number = QString::number(std::fabs(degrees), 'f', 2);
    if (degrees > 0) {
        return number + QStringLiteral("\u00b0 W");
    }
    if (degrees < 0) {
        return number + QStringLiteral("\u00b0 E");
    }
    return number + QStringLiteral("\u00b0");
}

QString WithUncertainty(double degrees, double sigma) {
    return Declination(degrees) + QStringLiteral(" \u00b1 ") + QString::number(sigma, 'f', 2) +
           QStringLiteral("\u00b0");
}

}  // namespace

QString TextReport(std::span<const readings::Reading> readings,
                   const readings::SolvedSeries& series) {
    QStringList lines;
    const readings::SeriesResult& result = series.result;
    for (std::size_t i = 0; i < series.evaluated.size(); ++i) {
        const readings::EvaluatedReading& e = series.evaluated[i];
        const readings::ReadingVerdict& verdict = result.readings[i];
        QString line =
            QStringLiteral("Reading %1 (%2 %3): ")
                .arg(i + 1)
                .arg(QString::fromStdString(readings::DateText(readings[i].date)),
                     QString::fromStdString(readings::ClockText(readings[i].clockSeconds)));
        if (!e.solution.solved()) {
            line += QString::fromLatin1(readings::StatusText(e.solution.status));
        } else {
            line += WithUncertainty(e.solution.first, e.uncertainty.first) +
                    QStringLiteral(" or ") +
                    WithUncertainty(e.solution.second, e.uncertainty.second);
            if (verdict.chosen != Candidate::None) {
                line += verdict.chosen == Candidate::First ? QStringLiteral("; the first")
                                                           : QStringLiteral("; the second");
            }
            if (readings[i].excluded) {
                line += QStringLiteral(" (excluded)");
            } else if (verdict.outlier) {
                line += QStringLiteral(" (outlier, %1 sigma, left out)")
                            .arg(QString::number(verdict.residualSigma, 'f', 1));
            }
        }
        lines << line;
    }
    switch (result.decision) {
        case readings::Decision::Decided:
            lines << QStringLiteral("Combined: %1 from %2 readings (Birge ratio %3)")
                         .arg(WithUncertainty(*result.declination, result.uncertainty))
                         .arg(result.readingsUsed)
                         .arg(QString::number(result.birgeRatio, 'f', 2));
            break;
        case readings::Decision::NoReadings:
            lines << QStringLiteral("Combined: no usable reading");
            break;
        case readings::Decision::OneReading:
        case readings::Decision::SunTooClose: {
            lines << QStringLiteral("Undecided: the wall faces %1 or %2")
                         .arg(WithUncertainty(result.candidates[0].declination,
                                              result.candidates[0].uncertainty),
                              WithUncertainty(result.candidates[1].declination,
                                              result.candidates[1].uncertainty));
            lines << (result.minutesToDecide
                          ? QStringLiteral("Another reading %1 minutes or more after the last "
                                           "one will decide.")
                                .arg(*result.minutesToDecide)
                          : QStringLiteral("No reading later that day will decide."));
            break;
        }
    }
    return lines.join(u'\n') + u'\n';
}

QByteArray JsonReport(const readings::SolvedSeries& series) {
    const readings::SeriesResult& result = series.result;
    QJsonArray list;
    for (std::size_t i = 0; i < series.evaluated.size(); ++i) {
        const readings::EvaluatedReading& e = series.evaluated[i];
        const readings::ReadingVerdict& verdict = result.readings[i];
        const bool solved = e.solution.solved();
        QJsonObject reading;
        reading.insert(QStringLiteral("first"),
                       solved ? NumberOrNull(e.solution.first) : QJsonValue(QJsonValue::Null));
        reading.insert(QStringLiteral("second"),
                       solved ? NumberOrNull(e.solution.second) : QJsonValue(QJsonValue::Null));
        reading.insert(QStringLiteral("first_uncertainty"), NumberOrNull(e.uncertainty.first));
        reading.insert(QStringLiteral("second_uncertainty"), NumberOrNull(e.uncertainty.second));
        reading.insert(QStringLiteral("chosen"),
                       verdict.chosen == Candidate::None
                           ? QJsonValue(QJsonValue::Null)
                           : QJsonValue(static_cast<int>(verdict.chosen)));
        reading.insert(QStringLiteral("outlier"), verdict.outlier);
        list.append(reading);
    }
    QJsonObject combined;
    combined.insert(QStringLiteral("declination"), result.declination
                                                       ? QJsonValue(*result.declination)
                                                       : QJsonValue(QJsonValue::Null));
    combined.insert(QStringLiteral("uncertainty"), result.decided ? NumberOrNull(result.uncertainty)
                                                                  : QJsonValue(QJsonValue::Null));
    combined.insert(QStringLiteral("decided"), result.decided);
    combined.insert(QStringLiteral("readings_used"), result.readingsUsed);
    QJsonObject root;
    root.insert(QStringLiteral("readings"), list);
    root.insert(QStringLiteral("combined"), combined);
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace kestramo::solve
