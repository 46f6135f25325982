#include "engine/observation.h"

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

}  // namespace kestramo
