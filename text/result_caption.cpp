#include "text/result_caption.h"

#include <cmath>

namespace result_caption {
namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// An answer of 0 and above is west of south.
QString FirstSide(double answer) {
    return answer >= 0 ? QStringLiteral(" West, or ") : QStringLiteral(" East, or ");
}
QString SecondSide(double answer) {
    return answer >= 0 ? QStringLiteral(" West. ") : QStringLiteral(" East.");
}

}  // namespace

QString Caption(const alignment_calculations::WallSolution& solution, text_conversions::Serial date,
                const QLocale& locale) {
    namespace tc = text_conversions;
    // A sun at or below the horizon throws no shadow: whatever the numbers say, the clock
    // reading, AM/PM or the zone must be wrong.
    if (solution.SunAltitude <= 0) {
        return QStringLiteral(
            "The sun is below the horizon at this date, time, and location, so no wall "
            "declination can be found.  Please check the time, AM or PM, and the time zone.");
    }
    if (!solution.Solvable) {
        return QStringLiteral(
            "There is no declination for a vertical wall that corresponds to this shadow length "
            "for this date, time, and location.");
    }
    return tc::LongDateText(date, locale) + kLineBreak +
           QStringLiteral("Wall Declination is either ") +
           tc::TenthsText(std::fabs(solution.FirstAnswer), locale) + QStringLiteral(" degrees") +
           FirstSide(solution.FirstAnswer) +
           tc::TenthsText(std::fabs(solution.SecondAnswer), locale) + QStringLiteral(" degrees") +
           SecondSide(solution.SecondAnswer) + kLineBreak +
           QStringLiteral("(Zero degrees azimuth is defined as facing directly south)");
}

}  // namespace result_caption
