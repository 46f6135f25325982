#include "readings/wall_conventions.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

#include "dial/dial_summary.h"
#include "engine/angles.h"
#include "readings/angle_text.h"

namespace ks = kestramo::series;
namespace kd = kestramo::dial;

namespace wall_conventions {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("wall_conventions", text); }

QString Hour(int hour) { return QStringLiteral("%1:00").arg(hour % 24); }

}  // namespace

std::vector<std::pair<QString, QString>> Conventions(double declination, double lean,
                                                     const QLocale& locale) {
    const auto degrees = [&](double value) { return angle_text::Degrees(value, 1, locale); };
    double azimuth = std::fmod(180 + declination, 360.0);
    if (azimuth < 0) azimuth += 360;
    return {
        {tr("Declination from south, west positive"), degrees(declination)},
        {tr("Declination from south, east positive"),
         degrees(kestramo::WrapHalfTurn(-declination))},
        {tr("Azimuth of the wall's normal, from north through east"), degrees(azimuth)},
        {tr("Inclination of the face (90\u00b0 = vertical)"), degrees(90 - lean)},
        {tr("Reclination from vertical (leaning back positive)"), degrees(lean)},
    };
}

double DialLatitude(const ks::SeriesResult& result, std::span<const ks::Reading> readings) {
    if (result.latest < 0 || std::size_t(result.latest) >= readings.size()) return std::nan("");
    return readings[std::size_t(result.latest)].observation.latitude;
}

QString DialWaits(const ks::SeriesResult& result) {
    switch (result.verdict) {
        case ks::Verdict::NoReadings:
            return tr("The dial waits for a decided wall: no reading gives an answer yet.");
        case ks::Verdict::Undecided:
        case ks::Verdict::Ambiguous:
            return tr(
                "The dial waits for a decided wall: the readings still allow more than one "
                "wall.");
        case ks::Verdict::Inconsistent:
            return tr(
                "The dial waits for a decided wall: the readings disagree with each "
                "other.");
        case ks::Verdict::Explained:
            return tr(
                "The dial waits for a decided wall: check the slip named that explains the "
                "readings.");
        case ks::Verdict::Decided:
            break;
    }
    return QString();
}

std::optional<kd::DialRequest> DialRequestFor(const ks::SeriesResult& result,
                                              std::span<const ks::Reading> readings) {
    if (!result.decided()) return std::nullopt;
    const double latitude = DialLatitude(result, readings);
    if (!std::isfinite(latitude)) return std::nullopt;
    kd::DialRequest request;
    request.latitude = latitude;
    request.wall = {*result.declination, result.lean};
    request.covariance = {result.uncertainty * result.uncertainty,
                          result.leanUncertainty * result.leanUncertainty,
                          result.correlation * result.uncertainty * result.leanUncertainty};
    return request;
}

std::optional<kd::DialLayout> DialFor(const ks::SeriesResult& result,
                                      std::span<const ks::Reading> readings) {
    const std::optional<kd::DialRequest> request = DialRequestFor(result, readings);
    if (!request) return std::nullopt;
    return kd::LayOutDial(*request);
}

QString ApparentTime(double hourAngle) {
    const int minutes = int(std::lround(hourAngle * 4)) + 12 * 60;  // 4 minutes a degree
    const int wrapped = ((minutes % (24 * 60)) + 24 * 60) % (24 * 60);
    return QStringLiteral("%1:%2").arg(wrapped / 60).arg(wrapped % 60, 2, 10, QLatin1Char('0'));
}

std::vector<std::pair<QString, QString>> DialQuantities(const kd::DialLayout& layout,
                                                        const QLocale& locale) {
    const auto degrees = [&](double value) { return angle_text::Degrees(value, 1, locale); };
    std::vector<std::pair<QString, QString>> rows = {
        {tr("Style height above the face"), degrees(layout.styleHeight)},
    };
    switch (layout.kind) {
        case kd::DialKind::Polar:
            rows.push_back(
                {tr("Style parallel to the face, along"), degrees(layout.substyleAngle)});
            break;
        case kd::DialKind::Equatorial:
            rows.push_back(
                {tr("Style square to the face; noon line at"), degrees(layout.substyleAngle)});
            break;
        case kd::DialKind::Ordinary:
            rows.push_back({tr("Substyle angle"), degrees(layout.substyleAngle)});
            break;
    }
    rows.push_back({tr("Substyle hour angle, %1 local apparent time")
                        .arg(ApparentTime(layout.substyleHourAngle)),
                    degrees(layout.substyleHourAngle)});
    return rows;
}

QString AnglesMeasured(const kd::DialLayout& layout, const QLocale& locale) {
    QString text =
        tr("Angles on the face are measured at the style's root from the line straight down the "
           "face (the noon line of a plumb wall), positive to the right as you face the wall.");
    for (const kd::HourLine& line : layout.hourLines) {
        if (line.hourAngle == 0 && std::fabs(line.angle) >= 0.05) {
            text += tr(" On this leaning face the noon line lies at %1.")
                        .arg(angle_text::Degrees(line.angle, 1, locale));
        }
    }
    return text;
}

QString HowGood(const kd::DialLayout& layout, const QLocale& locale) {
    QStringList clauses;
    for (const kd::ReadingStretch& stretch : kd::ReadingStretches(layout)) {
        const double worst = stretch.worstMinutes;
        const QString number = locale.toString(worst, 'f', worst < 0.95 ? 1 : 0);
        const QString minutes = number == locale.toString(1) ? tr("\u00b1%1 minute").arg(number)
                                                             : tr("\u00b1%1 minutes").arg(number);
        clauses << (stretch.lastHour - stretch.firstHour >= 24
                        ? tr("within %1 at every hour").arg(minutes)
                        : tr("within %1 from %2 to %3")
                              .arg(minutes, Hour(stretch.firstHour), Hour(stretch.lastHour)));
    }
    if (clauses.isEmpty()) return tr("The sun never reaches this wall at a whole hour.");
    return tr("A dial laid out for this wall reads %1 (local apparent time).")
        .arg(clauses.join(tr(", and ")));
}

}  // namespace wall_conventions
