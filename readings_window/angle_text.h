#pragma once

#include <QLocale>
#include <QString>

// Angles as the readings window and its printout write them, with the locale's decimal
// separator.
namespace angle_text {

// A declination (degrees from south, west positive) as "11.4° W" or "100.1° E"; 0 is west, as
// in the main window's answers. NaN gives "–".
QString Declination(double degrees, const QLocale& locale = QLocale());
// A declination with its uncertainty: "11.4° W ± 0.2°".
QString DeclinationWithUncertainty(double degrees, double uncertainty,
                                   const QLocale& locale = QLocale());
// Plain degrees to `decimals` places: "48.7°".
QString Degrees(double degrees, int decimals = 1, const QLocale& locale = QLocale());
// An uncertainty: "± 0.2°", or "± ∞" when it has no bound.
QString Uncertainty(double degrees, const QLocale& locale = QLocale());

}  // namespace angle_text
