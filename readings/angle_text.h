#pragma once

#include <QLocale>
#include <QString>

// Angles as the readings window, its printout and the command line write them, with the
// locale's decimal separator (the command line passes the C locale).
namespace angle_text {

// A declination (degrees from south, west positive) as "11.4° W" or "100.1° E"; 0 is west, as
// in the main window's answers. NaN gives "–".
QString Declination(double degrees, const QLocale& locale = QLocale());
QString Declination(double degrees, int decimals, const QLocale& locale);
// A declination with its uncertainty: "11.4° W ± 0.2°".
QString DeclinationWithUncertainty(double degrees, double uncertainty,
                                   const QLocale& locale = QLocale());
QString DeclinationWithUncertainty(double degrees, double uncertainty, int decimals,
                                   const QLocale& locale);
// Plain degrees to `decimals` places: "48.7°".
QString Degrees(double degrees, int decimals = 1, const QLocale& locale = QLocale());
// An uncertainty: "± 0.2°", or "± ∞" when it has no bound. Below 0.095 it keeps a second digit
// so that it does not read as zero.
QString Uncertainty(double degrees, const QLocale& locale = QLocale());
QString Uncertainty(double degrees, int decimals, const QLocale& locale);

}  // namespace angle_text
