// The gate between what the user typed and the engine: each input is checked in a fixed
// order, the first bad one is reported, and each good one is stored as soon as it passes.

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

#include "engine/alignment_calculations.h"
#include "main_window/Sundial_Input.h"
#include "main_window/window_texts.h"
#include "text/text_conversions.h"

namespace ac = alignment_calculations;
namespace tc = text_conversions;

namespace {

constexpr double kLatitudeBound = 90;    // degrees
constexpr double kLongitudeBound = 180;  // degrees
// Farther than this from the zone's meridian, the site is probably on another clock.
constexpr double kZoneTolerance = 15;  // degrees
constexpr double kDegreesPerHour = 15;
// The examples the messages give, written as the user's locale writes numbers.
constexpr double kLatitudeExample = 40.655;   // degrees
constexpr double kLongitudeExample = 72.855;  // degrees

// How far the site is from its zone's meridian. A zone past the date line has its meridian
// beyond 180 degrees, and the same meridian a turn back too: GMT+13's 195 degrees east are
// 165 degrees west, where Tonga lies. GMT+12 and GMT-12 keep 180 degrees as it stands.
double DegreesFromZone(double longitude, double meridian) {
    double distance = std::fabs(longitude - meridian);
    if (std::fabs(meridian) > 180) {
        distance =
            std::min(distance, std::fabs(longitude - meridian + std::copysign(360.0, meridian)));
    }
    return distance;
}

// A coordinate passes when it is a number in the locale's notation whose magnitude is within
// the bound, read both as the number at the start of the text and as the whole number: "1,000"
// starts with 1 but means 1000 where the comma groups thousands.
std::optional<double> CoordinateWithin(const QString& text, double bound) {
    const std::optional<double> value = tc::ParseNumber(text);
    if (!value || !(std::fabs(tc::LeadingNumber(text)) <= bound) || std::fabs(*value) > bound) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> PositiveNumber(const QString& text) {
    const std::optional<double> value = tc::ParseNumber(text);
    if (!value || !(*value > 0)) return std::nullopt;
    return value;
}

}  // namespace

bool Sundial_Input::DateCheck() {
    checked_.reset();
    solution_.reset();
    const std::optional<double> date = tc::ParseDateTime(txtDate->text());
    if (!date) {
        showMessage(QStringLiteral("Please enter a valid date"), QMessageBox::Ok);
        focusAndHighlight(txtDate);
        return false;
    }
    ac::ObsDate = *date;

    if (optStandardinput->isChecked() == optDstinput->isChecked()) {
        showMessage(QStringLiteral("Are clock readings Standard Time, or Daylight Savings?"),
                    QMessageBox::Ok);
        return false;
    }

    const std::optional<double> latitude = CoordinateWithin(txtLatitude->text(), kLatitudeBound);
    if (!latitude) {
        showMessage(QStringLiteral("Please enter latitude in degrees from -90 to 90, e.g. ") +
                        tc::NumberText(kLatitudeExample),
                    QMessageBox::Ok);
        focusAndHighlight(txtLatitude);
        return false;
    }
    ac::Latitude = *latitude;

    const std::optional<double> longitude = CoordinateWithin(txtLongitude->text(), kLongitudeBound);
    if (!longitude) {
        showMessage(QStringLiteral("Please enter  longitude in degrees from 0 to 180, e.g. ") +
                        tc::NumberText(kLongitudeExample),
                    QMessageBox::Ok);
        focusAndHighlight(txtLongitude);
        return false;
    }
    // The sign typed is ignored: the east/west choice alone decides it.
    ac::Longitude = std::fabs(*longitude);

    if (OptEast->isChecked() == OptWest->isChecked()) {
        showMessage(QStringLiteral("Please select whether you are East or West of Greewich"),
                    QMessageBox::Ok);
        return false;
    }
    if (OptWest->isChecked()) {
        ac::Longitude = -ac::Longitude;
    }

    const int zone = lstTimeZone->currentIndex();
    if (zone == -1) {
        showMessage(QStringLiteral("Please select your time zone"), QMessageBox::Ok);
        lstTimeZone->setFocus();
        lstTimeZone->lineEdit()->selectAll();
        return false;
    }
    ac::ZoneMeridian = window_texts::ZoneOffsetHours(zone) * kDegreesPerHour;

    if (DegreesFromZone(ac::Longitude, ac::ZoneMeridian) > kZoneTolerance) {
        const int answer = showMessage(
            QStringLiteral("Your longitude is more than 15 degrees form your time zone.  Are "
                           "you sure that this information is correct?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            focusAndHighlight(txtLongitude);
            return false;
        }
    }

    const std::optional<double> clockTime = tc::ParseClockTime(txtTime->text());
    if (!clockTime) {
        showMessage(QStringLiteral("Please enter a valid time (e.g. 10:55:23 or 3:35:20 PM)"),
                    QMessageBox::Ok);
        focusAndHighlight(txtTime);
        return false;
    }

    double lengths[2] = {};
    for (int index = 0; QLineEdit * box : {txtHeight, txtLength}) {
        const std::optional<double> value = PositiveNumber(box->text());
        if (!value) {
            showMessage(QStringLiteral("Please enter positive number"), QMessageBox::Ok);
            focusAndHighlight(box);
            return false;
        }
        lengths[index++] = *value;
    }

    ac::ClockTime[1] = *clockTime;
    // The measurement, once: the observation as stored, the square and the shadow.
    kestramo::series::Reading reading;
    reading.observation = ac::CurrentObservation(1);
    reading.height = lengths[0];
    reading.length = lengths[1];
    reading.heightText = txtHeight->text().toStdString();
    reading.lengthText = txtLength->text().toStdString();
    checked_ = CheckedInputs{std::move(reading), OptWest->isChecked()};
    return true;
}

void Sundial_Input::focusAndHighlight(QLineEdit* box) {
    box->setFocus();
    highlight();
}

void Sundial_Input::highlight() {
    // Right after a message box the application may have no focus widget until this window is
    // active again; the window's own focus widget is the one that was just given the focus.
    if (auto* box = qobject_cast<QLineEdit*>(focusWidget())) {
        box->setSelection(0, box->text().size());
    }
}
