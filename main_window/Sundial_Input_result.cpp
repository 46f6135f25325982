// The result of a calculation lives only as the text of lblResult.

#include <QLabel>
#include <QLineEdit>

#include <cmath>

#include "engine/wall_solution.h"
#include "main_window/Sundial_Input.h"
#include "main_window/text_conversions.h"

namespace tc = text_conversions;

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Wording of the side of an answer: 0 and above is west of south.
QString FirstSide(double answer) {
    return answer >= 0 ? QStringLiteral(" West, or ") : QStringLiteral(" East, or ");
}
QString SecondSide(double answer) {
    return answer >= 0 ? QStringLiteral(" West. ") : QStringLiteral(" East.");
}

}  // namespace

void Sundial_Input::ShowEot() {
    // Validation has passed, so both texts are numbers greater than zero.
    const double height = tc::ParseNumber(txtHeight->text()).value_or(1);
    const double length = tc::ParseNumber(txtLength->text()).value_or(1);
    const alignment_calculations::WallSolution solution =
        alignment_calculations::SolveShadowMeasurement(height, length);

    // A sun at or below the horizon throws no shadow: whatever the numbers say, the clock
    // reading, AM/PM or the zone must be wrong.
    if (solution.SunAltitude <= 0) {
        lblResult->setText(
            QStringLiteral("The sun is below the horizon at this date, time, and location, so no "
                           "wall declination can be found.  Please check the time, AM or PM, "
                           "and the time zone."));
        return;
    }
    if (!solution.Solvable) {
        lblResult->setText(
            QStringLiteral("There is no declination for a vertical wall that corresponds to this "
                           "shadow length for this date, time, and location."));
        return;
    }

    const double date = tc::ParseDateTime(txtDate->text()).value_or(0);
    lblResult->setText(tc::LongDateText(date) + kLineBreak);
    lblResult->setText(lblResult->text() + QStringLiteral("Wall Declination is either ") +
                       tc::TenthsText(std::fabs(solution.FirstAnswer)) +
                       QStringLiteral(" degrees"));
    lblResult->setText(lblResult->text() + FirstSide(solution.FirstAnswer));
    lblResult->setText(lblResult->text() + tc::TenthsText(std::fabs(solution.SecondAnswer)) +
                       QStringLiteral(" degrees"));
    lblResult->setText(lblResult->text() + SecondSide(solution.SecondAnswer));
    lblResult->setText(lblResult->text() + kLineBreak +
                       QStringLiteral("(Zero degrees azimuth is defined as facing directly south)"));
}
