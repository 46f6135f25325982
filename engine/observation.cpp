#include "engine/observation.h"

#include <cmath>

namespace kestramo {

SerialDay SerialDayOf(int year, int month, int day) {
    // Days from the civil date, proleptic Gregorian (H. Hinnant's algorithm), then moved from
    // 1 January 1970 to the serial day count.
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    constexpr long kSerialOf1970 = 25569;
    return static_cast<double>(era * 146097 + dayOfEra - 719468 + kSerialOf1970);
}

SerialDay SerialDayOf(const CalendarDate& date) {
    return SerialDayOf(date.year, date.month, date.day);
}

CalendarDate CalendarDateOf(SerialDay serial) {
    // The inverse of the day count above (H. Hinnant's civil_from_days).
    constexpr long kSerialOf1970 = 25569;
    const long days = static_cast<long>(std::trunc(serial)) - kSerialOf1970 + 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

bool IsValidDate(const CalendarDate& date) {
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
    const int length = date.month == 2 && leap ? 29 : kDays[date.month - 1];
    return date.day >= 1 && date.day <= length;
}

}  // namespace kestramo
