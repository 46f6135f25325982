#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>
#include <string>

// What a person types into the window, turned into numbers and dates, and numbers and dates
// turned back into text, the way the user's locale writes them. Serial date-times are the
// engine's: day 0 is 30 December 1899, the fraction is the time of day, and a time alone has
// integer part 0.
namespace text_conversions {

using Serial = double;

// Date test and date conversion: a date, a time, or a date followed by a time, written the
// way people write them in `locale`: "9/3/2003" (en_US) or "3.9.2003" (de_DE), "2003-09-03",
// "September 3, 2003", "10:55:23", "3:35:20 PM", "9/3/2003 11:00:00 AM" (date_time_scanner.cpp
// lists the accepted forms). Years lie in 100-9999; two-digit years 00-29 are 2000-2029, 30-99 are
// 1930-1999. nullopt when the whole text, surrounding blanks aside, is not one.
std::optional<Serial> ParseDateTime(const QString& text, const QLocale& locale = QLocale());

// The same forms, for a box that asks for a clock time: where a text reads both as a date and
// as a time ("23.04.05", as Finnish and Danish write times), it is the time.
std::optional<Serial> ParseClockTime(const QString& text, const QLocale& locale = QLocale());

// Numeric test and number conversion: a finite number in the locale's notation, as
// QLocale::toDouble reads it, written in the digits of any script (ASCII, full-width,
// Arabic-Indic, Devanagari...) and with the Arabic decimal and thousands separators, full-width
// marks and the minus sign U+2212 taken as the locale's own; "nan", "inf" and numbers too
// large for a double are refused.
std::optional<double> ParseNumber(const QString& text, const QLocale& locale = QLocale());

// The number at the start of the text, whatever the locale: sign, digits (of any script), a
// period as the decimal point and an exponent, with blanks, tabs and line feeds skipped
// anywhere. 0 when the text does not start with a number; +-infinity when the number is too
// large for a double.
double LeadingNumber(const QString& text);

// Between serials and calendar values. The date is the integer part taken toward zero and the
// time of day the magnitude of the fraction, rounded to the nearest millisecond but never past
// 23:59:59.999. Invalid values for a non-finite serial or one beyond any calendar year.
QDate SerialDate(Serial serial);
QTime SerialTime(Serial serial);
Serial ToSerial(const QDate& date, const QTime& time = QTime(0, 0));

// "dddd, mmmm dd, yyyy": Wednesday, September 03, 2003, with the locale's names.
QString LongDateText(Serial serial, const QLocale& locale = QLocale());

// "##0.0": the nearest tenth, one digit after the locale's decimal separator, no grouping.
// Halves go away from zero as the value's shortest decimal text reads (0.25 gives 0.3, 12.35
// gives 12.4); a negative value keeps its minus unless it rounds to 0.0.
QString TenthsText(double value, const QLocale& locale = QLocale());

// A double as the locale writes it by default: up to 15 significant digits, no trailing
// zeros, no grouping (40.655, 40, 40,655 in German); an exponent from 1E+15 up and below
// 1E-04.
QString NumberText(double value, const QLocale& locale = QLocale());

// A number as it was typed, when the locale reads that text back as the same value (a height
// typed "25.0" keeps its zero); otherwise as the locale writes it, so that "15.46" read from a
// file shows as "15,46" in German rather than as what a German reads as 1546.
QString TypedNumberText(const std::optional<std::string>& typed, double value,
                        const QLocale& locale = QLocale());

// A serial as the locale writes a date-time by default: the time alone (long time format,
// without a zone) when the date part is 0, the short date with a four-digit year alone at
// midnight, otherwise the short date, a blank and the time. No-break spaces come out as plain
// blanks: "10:55:23 AM", "9/3/2003", "9/3/2003 11:00:00 AM" in en_US.
QString DateTimeText(Serial serial, const QLocale& locale = QLocale());

}  // namespace text_conversions
