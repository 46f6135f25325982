#include "readings/angle_text.h"

#include <cmath>

namespace angle_text {

QString Declination(double degrees, const QLocale& locale) {
    return Declination(degrees, 1, locale);
}

QString Declination(double degrees, int decimals, const QLocale& locale) {
    if (!std::isfinite(degrees)) return QStringLiteral("\u2013");
    const QString side = degrees >= 0 ? QStringLiteral(" W") : QStringLiteral(" E");
    return Degrees(std::fabs(degrees), decimals, locale) + side;
}

QString DeclinationWithUncertainty(double degrees, double uncertainty, const QLocale& locale) {
    return DeclinationWithUncertainty(degrees, uncertainty, 1, locale);
}

QString DeclinationWithUncertainty(double degrees, double uncertainty, int decimals,
                                   const QLocale& locale) {
    return Declination(degrees, decimals, locale) + QLatin1Char(' ') +
           Uncertainty(uncertainty, decimals, locale);
}

QString Degrees(double degrees, int decimals, const QLocale& locale) {
    if (!std::isfinite(degrees)) return QStringLiteral("\u2013");
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(degrees * scale) / scale;
    // No minus sign on a value that rounds to zero.
    return locale.toString(rounded == 0 ? 0.0 : rounded, 'f', decimals) + QStringLiteral("\u00b0");
}

QString Uncertainty(double degrees, const QLocale& locale) {
    return Uncertainty(degrees, 1, locale);
}

QString Uncertainty(double degrees, int decimals, const QLocale& locale) {
    if (std::isnan(degrees)) return QString();
    if (std::isinf(degrees)) return QStringLiteral("\u00b1 \u221e");
    const int digits = degrees < 0.95 * std::pow(10.0, -decimals) ? decimals + 1 : decimals;
    return QStringLiteral("\u00b1 ") + Degrees(degrees, digits, locale);
}

}  // namespace angle_text
