#pragma once

#include <QLocale>
#include <QString>

// The order in which a numeric date such as 9/3/2003 is read, and how the window names it.
namespace text_conversions {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order of the locale's short date format. The C locale, which names no country, reads
// month first, as the program always did.
DateOrder NumericDateOrder(const QLocale& locale = QLocale());

// The numeric date as the user is asked to type it: "mm/dd/yyyy" wherever the month comes
// first, otherwise the locale's order and separator ("dd/mm/yyyy", "dd.mm.yyyy",
// "yyyy/mm/dd").
QString NumericDatePattern(const QLocale& locale = QLocale());

}  // namespace text_conversions
