#include "readings_window/reading_form.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimeZone>
#include <QVBoxLayout>

#include <cmath>

#include "product/product.h"
#include "readings/series_words.h"
#include "readings_window/picture_widgets.h"
#include "readings_window/reading_kinds.h"
#include "text/text_conversions.h"

namespace ks = kestramo::series;
namespace tc = text_conversions;
using kestramo::series::Method;

namespace {

// A time of day as the fraction of a day a serial date's clock part is.
double DayFraction(const QTime& time) { return time.msecsSinceStartOfDay() / 86400000.0; }

constexpr double kDegreesPerHour = 15;
// The zones' standard offsets, hours ahead of UTC, that clocks keep somewhere.
constexpr double kZoneHours[] = {
    -12, -11, -10, -9.5, -9,   -8, -7,  -6, -5, -4,   -3.5, -3,  -2, -1,   0,  1,  2,     3,  3.5,
    4,   4.5, 5,   5.5,  5.75, 6,  6.5, 7,  8,  8.75, 9,    9.5, 10, 10.5, 11, 12, 12.75, 13, 14};
// The examples the messages give, written as the user's locale writes numbers and dates.
constexpr double kLengthExample = 12.5;
constexpr double kLatitudeExample = 40.655;
constexpr double kLongitudeExample = -72.855;
constexpr double kAngleExample = -23.5;
constexpr double kBearingErrorExample = 2;

// A label's words without its access key's ampersand and its colon: the field's name.
QString FieldName(const QLabel* label) {
    QString name = label ? label->text() : QString();
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

// A length as the user typed it, when it reads as the same number in this locale: a file's
// "12.5" is 125 in German, and an edit must not change what nobody touched.
}  // namespace

ReadingForm::ReadingForm(Purpose purpose, const std::optional<Reading>& start, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("readingForm"));
    setWindowTitle(purpose == Purpose::Add ? tr("Add Reading") : tr("Edit Reading"));
    createFields();
    fill(purpose, start);
    showKind();
    connect(kindBox, &QComboBox::currentIndexChanged, this, &ReadingForm::showKind);
}

void ReadingForm::createFields() {
    const auto line = [this](const char* name, const QString& accessible) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(accessible);
        return box;
    };
    kindBox = new QComboBox(this);
    kindBox->setObjectName(QStringLiteral("kindBox"));
    kindBox->setAccessibleName(tr("Kind of reading"));
    for (const ReadingKind& kind : ReadingKinds()) {
        kindBox->addItem(KindCaption(kind), int(kind.method));
    }
    kindPicture = new PictureWidget(QStringLiteral("kindPicture"), tr("How the reading is taken"),
                                    QSize(260, 184), this);
    kindPicture->setMinimumSize(240, 170);
    howTakenLabel = new QLabel(this);
    howTakenLabel->setObjectName(QStringLiteral("howTakenLabel"));
    howTakenLabel->setWordWrap(true);

    dateEdit = line("dateEdit", tr("Date"));
    timeEdit = line("timeEdit", tr("Clock time"));
    zoneBox = new QComboBox(this);
    zoneBox->setObjectName(QStringLiteral("zoneBox"));
    zoneBox->setAccessibleName(tr("Time zone"));
    for (double hours : kZoneHours) zoneBox->addItem(series_words::ZoneText(hours), hours);
    clockBox = new QComboBox(this);
    clockBox->setObjectName(QStringLiteral("clockBox"));
    clockBox->setAccessibleName(tr("Clock kind"));
    clockBox->addItems({tr("Standard time"), tr("Daylight-saving time")});
    latitudeEdit = line("latitudeEdit", tr("Latitude in degrees, north positive"));
    longitudeEdit = line("longitudeEdit", tr("Longitude in degrees, east positive"));
    heightEdit = line("heightEdit", tr("Height"));
    lengthEdit = line("lengthEdit", tr("Shadow length"));
    tipXEdit = line("tipXEdit", tr("Tip shadow x, right of the pin's foot"));
    tipYEdit = line("tipYEdit", tr("Tip shadow y, up the face from the pin's foot"));
    placementEdit = line("placementEdit", tr("Placement of the board"));
    // Readings with the same placement share the board's level and its pin's tilt.
    placementEdit->setPlaceholderText(tr("optional, e.g. north end"));
    angleEdit = line("angleEdit", tr("Shadow angle in degrees, right positive"));
    bearingEdit = line("bearingEdit", tr("Bearing in degrees from south, west positive"));
    bearingErrorEdit = line("bearingErrorEdit", tr("Bearing's standard deviation in degrees"));

    form_ = new QFormLayout;
    form_->addRow(tr("&Kind:"), kindBox);
    form_->addRow(tr("&Date:"), dateEdit);
    form_->addRow(tr("Clock &time:"), timeEdit);
    form_->addRow(tr("&Zone:"), zoneBox);
    form_->addRow(tr("&Clock kind:"), clockBox);
    form_->addRow(tr("L&atitude (\u00b0, north +):"), latitudeEdit);
    form_->addRow(tr("L&ongitude (\u00b0, east +):"), longitudeEdit);
    heightLabel_ = new QLabel(this);
    heightLabel_->setBuddy(heightEdit);
    form_->addRow(heightLabel_, heightEdit);
    form_->addRow(tr("Shadow &length:"), lengthEdit);
    form_->addRow(tr("Tip shadow &x (right +):"), tipXEdit);
    form_->addRow(tr("Tip shadow &y (up +):"), tipYEdit);
    form_->addRow(tr("&Placement:"), placementEdit);
    form_->addRow(tr("An&gle (\u00b0, right +):"), angleEdit);
    form_->addRow(tr("&Bearing (\u00b0 from south, west +):"), bearingEdit);
    form_->addRow(tr("Bearing's &error (\u00b0, 1\u03c3):"), bearingErrorEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("formButtons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ReadingForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReadingForm::reject);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(kindPicture, 1);
    pictureColumn->addWidget(howTakenLabel);
    auto* columns = new QHBoxLayout;
    columns->addLayout(form_, 3);
    columns->addLayout(pictureColumn, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    howTakenLabel->setMinimumWidth(240);
}

void ReadingForm::fill(Purpose purpose, const std::optional<Reading>& start) {
    kestramo::Observation observation;
    if (start) {
        observation = start->observation;
    } else {
        const QDateTime now = QDateTime::currentDateTime();
        observation.date = std::floor(tc::ToSerial(now.date()));
        observation.clockTime = DayFraction(QTime(now.time().hour(), now.time().minute()));
        // The zone's standard time, and whether its clocks are on summer time now.
        const QTimeZone zone = QTimeZone::systemTimeZone();
        observation.zoneMeridian = zone.standardTimeOffset(now) / 3600.0 * kDegreesPerHour;
        observation.daylightSaving = zone.isDaylightTime(now);
    }
    dateEdit->setText(tc::DateTimeText(std::floor(observation.date)));
    timeEdit->setText(tc::DateTimeText(observation.clockTime - std::floor(observation.clockTime)));
    // The text rounds to the second; a clock noted to the millisecond stays so unless retyped.
    startTime_ = {timeEdit->text(), observation.clockTime};
    const double hours = observation.zoneMeridian / kDegreesPerHour;
    int zone = zoneBox->findData(hours);
    if (zone < 0) {
        zoneBox->addItem(series_words::ZoneText(hours), hours);
        zone = zoneBox->count() - 1;
    }
    zoneBox->setCurrentIndex(zone);
    clockBox->setCurrentIndex(observation.daylightSaving ? 1 : 0);
    if (start) {
        fillNumber(latitudeEdit, tc::NumberText(observation.latitude), observation.latitude);
        fillNumber(longitudeEdit, tc::NumberText(observation.longitude), observation.longitude);
        kindBox->setCurrentIndex(kindBox->findData(int(start->method)));
    }
    if (purpose == Purpose::Add || !start) return;
    const Reading& r = *start;
    switch (r.method) {
        case Method::Square:
            fillNumber(heightEdit, tc::TypedNumberText(r.heightText, r.height), r.height);
            fillNumber(lengthEdit, tc::TypedNumberText(r.lengthText, r.length), r.length);
            break;
        case Method::Board:
            fillNumber(heightEdit, tc::TypedNumberText(r.heightText, r.height), r.height);
            fillNumber(tipXEdit, tc::NumberText(r.tipX), r.tipX);
            fillNumber(tipYEdit, tc::NumberText(r.tipY), r.tipY);
            placementEdit->setText(QString::fromStdString(r.placement));
            break;
        case Method::Declinometer:
            fillNumber(angleEdit, tc::NumberText(r.angle), r.angle);
            break;
        case Method::Bearing:
            fillNumber(bearingEdit, tc::NumberText(r.bearing), r.bearing);
            fillNumber(bearingErrorEdit, tc::NumberText(r.bearingError), r.bearingError);
            break;
    }
}

void ReadingForm::fillNumber(QLineEdit* box, const QString& text, double value) {
    box->setText(text);
    shown_[box] = {text, value};
}

ReadingForm::Method ReadingForm::method() const { return Method(kindBox->currentData().toInt()); }

void ReadingForm::showKind() {
    const Method kind = method();
    const bool timed = kind != Method::Bearing;
    for (QWidget* box : {static_cast<QWidget*>(timeEdit), static_cast<QWidget*>(zoneBox),
                         static_cast<QWidget*>(clockBox)}) {
        form_->setRowVisible(box, timed);
    }
    form_->setRowVisible(heightEdit, kind == Method::Square || kind == Method::Board);
    heightLabel_->setText(kind == Method::Board ? tr("Pin's &height:") : tr("Square's &height:"));
    form_->setRowVisible(lengthEdit, kind == Method::Square);
    for (QLineEdit* box : {tipXEdit, tipYEdit, placementEdit}) {
        form_->setRowVisible(box, kind == Method::Board);
    }
    form_->setRowVisible(angleEdit, kind == Method::Declinometer);
    form_->setRowVisible(bearingEdit, kind == Method::Bearing);
    form_->setRowVisible(bearingErrorEdit, kind == Method::Bearing);
    const ReadingKind& look = KindOf(kind);
    kindPicture->setPaint(
        [&look](QPainter& painter, const QRectF& area) { PaintHowTaken(painter, area, look); });
    kindPicture->setAccessibleDescription(HowTakenText(look));
    howTakenLabel->setText(HowTakenText(look));
}

void ReadingForm::accept() {
    if (read()) QDialog::accept();
}

bool ReadingForm::refuse(QLineEdit* box, const QString& requirement) {
    QMessageBox::warning(
        this, QLatin1String(product::kName),
        tr("%1: %2").arg(FieldName(qobject_cast<QLabel*>(form_->labelForField(box))), requirement));
    // Under an X server without a window manager nothing else makes the form active again.
    activateWindow();
    box->setFocus();
    box->selectAll();
    return false;
}

bool ReadingForm::read() {
    const Method kind = method();
    // A number as it was filled in stays exactly so: its text may round it.
    const auto number = [this](const QLineEdit* box) -> std::optional<double> {
        const auto shown = shown_.find(box);
        if (shown != shown_.end() && shown->second.first == box->text()) {
            return shown->second.second;
        }
        return tc::ParseNumber(box->text());
    };
    const auto positive = tr("please type a number greater than 0, such as %1.");
    const auto within = tr("please type a number of degrees from %1 to %2, such as %3.");
    Reading reading;
    reading.method = kind;
    kestramo::Observation& o = reading.observation;

    const std::optional<double> date = tc::ParseDateTime(dateEdit->text());
    if (!date || *date < 1 || *date != std::floor(*date)) {
        return refuse(dateEdit, tr("please type a date as you write one, such as %1.")
                                    .arg(tc::DateTimeText(tc::ToSerial(QDate(2003, 9, 3)))));
    }
    o.date = *date;
    const std::optional<double> time = tc::ParseClockTime(timeEdit->text());
    const bool timeOnly = time && *time >= 0 && *time < 1;
    if (kind != Method::Bearing && !timeOnly) {
        return refuse(timeEdit, tr("please type a time of day, such as %1.")
                                    .arg(tc::DateTimeText(DayFraction(QTime(15, 35, 20)))));
    }
    // A bearing's clock counts for nothing but its place in the list.
    o.clockTime = timeOnly ? *time : 0;
    if (timeEdit->text() == startTime_.first) o.clockTime = startTime_.second;
    o.zoneMeridian = zoneBox->currentData().toDouble() * kDegreesPerHour;
    o.daylightSaving = clockBox->currentIndex() == 1;

    const std::optional<double> latitude = number(latitudeEdit);
    if (!latitude || std::fabs(*latitude) > 90) {
        return refuse(latitudeEdit, within.arg(tc::NumberText(-90), tc::NumberText(90),
                                               tc::NumberText(kLatitudeExample)));
    }
    o.latitude = *latitude;
    const std::optional<double> longitude = number(longitudeEdit);
    if (!longitude || std::fabs(*longitude) > 180) {
        return refuse(longitudeEdit, within.arg(tc::NumberText(-180), tc::NumberText(180),
                                                tc::NumberText(kLongitudeExample)));
    }
    o.longitude = *longitude;

    if (kind == Method::Square || kind == Method::Board) {
        const std::optional<double> height = number(heightEdit);
        if (!height || *height <= 0) {
            return refuse(heightEdit, positive.arg(tc::NumberText(kLengthExample)));
        }
        reading.height = *height;
        reading.heightText = heightEdit->text().trimmed().toStdString();
    }
    if (kind == Method::Square) {
        const std::optional<double> length = number(lengthEdit);
        if (!length || *length <= 0) {
            return refuse(lengthEdit, positive.arg(tc::NumberText(kLengthExample)));
        }
        reading.length = *length;
        reading.lengthText = lengthEdit->text().trimmed().toStdString();
    }
    if (kind == Method::Board) {
        for (auto [box, value] : {std::pair{tipXEdit, &reading.tipX}, {tipYEdit, &reading.tipY}}) {
            const std::optional<double> read = number(box);
            if (!read) {
                return refuse(box, tr("please type a number, negative to the left or down, "
                                      "such as %1.")
                                       .arg(tc::NumberText(-kLengthExample)));
            }
            *value = *read;
        }
        reading.placement = placementEdit->text().trimmed().toStdString();
    }
    if (kind == Method::Declinometer || kind == Method::Bearing) {
        QLineEdit* box = kind == Method::Declinometer ? angleEdit : bearingEdit;
        const std::optional<double> degrees = number(box);
        if (!degrees || std::fabs(*degrees) > 180) {
            return refuse(box, within.arg(tc::NumberText(-180), tc::NumberText(180),
                                          tc::NumberText(kAngleExample)));
        }
        // Half a turn either way is the same direction; the list keeps (-180, 180].
        (kind == Method::Declinometer ? reading.angle : reading.bearing) =
            *degrees == -180 ? 180 : *degrees;
    }
    if (kind == Method::Bearing) {
        const std::optional<double> error = number(bearingErrorEdit);
        if (!error || *error <= 0) {
            return refuse(bearingErrorEdit, positive.arg(tc::NumberText(kBearingErrorExample)));
        }
        reading.bearingError = *error;
    }
    reading_ = reading;
    return true;
}
