#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

// What a person types into the window, turned into numbers and dates, and numbers and dates
// turned back into text, the way the user's locale writes them. Serial date-times are the
// engine's: day 0 is 30 December 1899, the fraction is the time of day, and a time alone has
// integer part 0.
namespace text_conversions {

using Serial = double;

// Date test and date conversion: a date, a time, or a date followed by a time, written the
// way people write them in `locale` (see the .cpp for the accepted forms). nullopt when the
// whole text is not one.
std::optional<Serial> ParseDateTime(const QString& text, const QLocale& locale = QLocale());

// Numeric test and number conversion: a finite number in the locale's notation.
std::optional<double> ParseNumber(const QString& text, const QLocale& locale = QLocale());

// The number at the start of the text, whatever the locale: sign, digits, a period as the
// decimal point and an exponent, with blanks, tabs and line feeds skipped anywhere. 0 when the
// text does not start with a number; +-infinity when the number is too large for a double.
double LeadingNumber(const QString& text);

// Between serials and calendar values. The date is the integer part taken toward zero and the
// time of day the magnitude of the fraction, rounded to the nearest millisecond.
QDate SerialDate(Serial serial);
QTime SerialTime(Serial serial);
Serial ToSerial(const QDate& date, const QTime& time = QTime(0, 0));

// "dddd, mmmm dd, yyyy": Wednesday, September 03, 2003, with the locale's names.
QString LongDateText(Serial serial, const QLocale& locale = QLocale());

// "##0.0": the nearest tenth, one digit after the locale's decimal separator, no grouping.
QString TenthsText(double value, const QLocale& locale = QLocale());

// A double as the locale writes it by default: up to 15 significant digits, no trailing
// zeros, no grouping (40.655, 40, 40,655 in German).
QString NumberText(double value, const QLocale& locale = QLocale());

// A serial as the locale writes a date-time by default: the time alone (long time format,
// without a zone) when the date part is 0, the short date with a four-digit year alone at
// midnight, otherwise the short date, a blank and the time.
QString DateTimeText(Serial serial, const QLocale& locale = QLocale());

}  // namespace text_conversions
