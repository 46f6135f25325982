#include "readings_window/angle_text.h"

#include <cmath>

namespace angle_text {

QString Declination(double degrees, const QLocale& locale) {
    if (!std::isfinite(degrees)) return QStringLiteral("\u2013");
    const QString side = degrees >= 0 ? QStringLiteral(" W") : QStringLiteral(" E");
    return Degrees(std::fabs(degrees), 1, locale) + side;
}

QString DeclinationWithUncertainty(double degrees, double uncertainty, const QLocale& locale) {
    return Declination(degrees, locale) + QLatin1Char(' ') + Uncertainty(uncertainty, locale);
}

QString Degrees(double degrees, int decimals, const QLocale& locale) {
    if (!std::isfinite(degrees)) return QStringLiteral("\u2013");
    return locale.toString(degrees, 'f', decimals) + QStringLiteral("\u00b0");
}

QString Uncertainty(double degrees, const QLocale& locale) {
    if (std::isnan(degrees)) return QString();
    if (std::isinf(degrees)) return QStringLiteral("\u00b1 \u221e");
    // Small uncertainties keep a second digit so that they do not read as zero.
    return QStringLiteral("\u00b1 ") + Degrees(degrees, degrees < 0.095 ? 2 : 1, locale);
}

}  // namespace angle_text
