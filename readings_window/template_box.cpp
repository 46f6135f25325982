#include "readings_window/template_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "dial_files/drawing_painter.h"
#include "readings_window/picture_widgets.h"

namespace kd = kestramo::dial;

namespace {

constexpr int kAutomatic = -1;       // a root box's value when the plate places the root itself
constexpr int kLargestPlate = 5000;  // millimetres

QSpinBox* MillimetreBox(QWidget* parent, const char* name, const QString& accessible, int low,
                        int high, int value, const QString& special = QString()) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessible);
    box->setRange(low, high);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" mm"));
    box->setSpecialValueText(special);
    return box;
}

QComboBox* Choices(QWidget* parent, const char* name,
                   std::initializer_list<std::pair<QString, int>> items, int current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const auto& [text, value] : items) box->addItem(text, value);
    box->setCurrentIndex(box->findData(current));
    // The list shows the whole text; the box itself stays narrow enough for a small screen.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

// The plate's drawing scaled to fit the preview, the whole of it in sight.
void PaintPreview(QPainter& painter, const QRectF& area, const dial_files::Drawing& plate) {
    const kd::PlateRect& b = plate.bounds;
    if (!(b.Width() > 0) || !(b.Height() > 0)) return;
    const double scale = std::min(area.width() / b.Width(), area.height() / b.Height());
    painter.save();
    painter.translate(area.left() + (area.width() - scale * b.Width()) / 2,
                      area.top() + (area.height() - scale * b.Height()) / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    dial_files::MillimetrePainter out(painter, scale, 9 * PixelScale(painter), PixelScale(painter));
    dial_files::PaintDrawing(out, plate, b, {0, 0});
    painter.restore();
}

}  // namespace

TemplateBox::TemplateBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("templateBox"));
    hoursBox =
        Choices(this, "templateHours",
                {{tr("Local apparent time"), int(kd::TemplateHours::Apparent)},
                 {tr("Standard time plus the equation of time"), int(kd::TemplateHours::Standard)},
                 {tr("Standard time (curves through the year)"), int(kd::TemplateHours::Mean)}},
                int(kd::TemplateHours::Apparent));
    dateLinesBox = Choices(this, "templateDateLines",
                           {{tr("None"), int(kd::TemplateDateLines::None)},
                            {tr("Solstices and equinoxes"), int(kd::TemplateDateLines::Solstices)},
                            {tr("Signs of the zodiac"), int(kd::TemplateDateLines::Signs)}},
                           int(kd::TemplateDateLines::Solstices));
    minutesBox =
        Choices(this, "templateMinutes",
                {{tr("60 minutes"), 60}, {tr("30 minutes"), 30}, {tr("15 minutes"), 15}}, 30);
    nodusBox =
        MillimetreBox(this, "templateNodus", tr("Nodus height in millimetres"), 10, 2000, 100);
    plateWidthBox = MillimetreBox(this, "templatePlateWidth", tr("Plate width in millimetres"), 0,
                                  kLargestPlate, 0, tr("automatic"));
    plateHeightBox = MillimetreBox(this, "templatePlateHeight", tr("Plate height in millimetres"),
                                   0, kLargestPlate, 0, tr("automatic"));
    rootXBox = MillimetreBox(this, "templateRootX",
                             tr("Root's distance from the plate's left edge in millimetres"),
                             kAutomatic, kLargestPlate, kAutomatic, tr("middle"));
    rootYBox = MillimetreBox(this, "templateRootY",
                             tr("Root's distance below the plate's top edge in millimetres"),
                             kAutomatic, kLargestPlate, kAutomatic, tr("middle"));
    summerTimeBox = new QCheckBox(tr("Label daylight-saving hours too"), this);
    summerTimeBox->setObjectName(QStringLiteral("templateSummerTime"));
    preview = new PictureWidget(QStringLiteral("templatePreview"), tr("Preview of the template"),
                                QSize(260, 220), this);
    preview->setMinimumSize(120, 120);
    cmdSaveTemplate = new QPushButton(tr("Sa&ve Template..."), this);
    cmdSaveTemplate->setObjectName(QStringLiteral("cmdSaveTemplate"));
    cmdSaveTemplate->setToolTip(
        tr("Save the template as SVG, DXF or PDF, by the file's extension"));
    cmdPrintTemplate = new QPushButton(tr("Print Te&mplate..."), this);
    cmdPrintTemplate->setObjectName(QStringLiteral("cmdPrintTemplate"));
    cmdPrintTemplate->setToolTip(tr("Print the template at full size on sheets that tile"));

    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    const auto row = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(tr("Time &kept:"), hoursBox);
    row(tr("Date lines drawn:"), dateLinesBox);
    row(tr("Lines ever&y:"), minutesBox);
    row(tr("Nodus hei&ght:"), nodusBox);
    row(tr("Plate si&ze, width:"), plateWidthBox);
    row(tr("Plate height:"), plateHeightBox);
    row(tr("Root, from the left edge:"), rootXBox);
    row(tr("Root, down from the top:"), rootYBox);
    form->addRow(QString(), summerTimeBox);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveTemplate);
    buttons->addWidget(cmdPrintTemplate);
    buttons->addStretch();
    auto* controls = new QVBoxLayout;
    controls->addLayout(form);
    controls->addLayout(buttons);
    controls->addStretch();
    setLayout(controls);  // the preview goes where its holder puts it

    for (QComboBox* box : {hoursBox, dateLinesBox, minutesBox}) {
        connect(box, &QComboBox::currentIndexChanged, this, &TemplateBox::changed);
    }
    for (QSpinBox* box : {nodusBox, plateWidthBox, plateHeightBox, rootXBox, rootYBox}) {
        connect(box, &QSpinBox::valueChanged, this, &TemplateBox::changed);
    }
    connect(summerTimeBox, &QCheckBox::toggled, this, &TemplateBox::changed);
    connect(cmdSaveTemplate, &QPushButton::clicked, this, &TemplateBox::saveAsked);
    connect(cmdPrintTemplate, &QPushButton::clicked, this, &TemplateBox::printAsked);
    setInputs(std::nullopt);
}

void TemplateBox::setInputs(const std::optional<dial_files::TemplateInputs>& inputs) {
    inputs_ = inputs;
    setEnabled(inputs_.has_value());
    changed();
}

const std::optional<dial_files::TemplateDrawing>& TemplateBox::drawing() {
    if (stale_) redraw();
    return drawing_;
}

void TemplateBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) redraw();
}

void TemplateBox::changed() {
    const bool plateGiven = plateWidthBox->value() > 0 && plateHeightBox->value() > 0;
    rootXBox->setEnabled(plateGiven);
    rootYBox->setEnabled(plateGiven);
    stale_ = true;
    if (isVisible()) redraw();
}

void TemplateBox::redraw() {
    stale_ = false;
    const bool plateGiven = plateWidthBox->value() > 0 && plateHeightBox->value() > 0;
    if (!inputs_) {
        drawing_.reset();
        preview->setPaint({});
        return;
    }
    kd::TemplateRequest request = inputs_->request;
    request.hours = kd::TemplateHours(hoursBox->currentData().toInt());
    request.dateLines = kd::TemplateDateLines(dateLinesBox->currentData().toInt());
    request.minutes = minutesBox->currentData().toInt();
    request.nodusHeight = nodusBox->value();
    if (plateGiven) {
        request.plateSize =
            kd::TemplatePoint{double(plateWidthBox->value()), double(plateHeightBox->value())};
        if (rootXBox->value() != kAutomatic && rootYBox->value() != kAutomatic) {
            request.rootFromCorner =
                kd::TemplatePoint{double(rootXBox->value()), double(rootYBox->value())};
        }
    }
    dial_files::TemplateSite site = inputs_->site;
    site.summerTime = summerTimeBox->isChecked();
    drawing_ = dial_files::DrawTemplate(kd::MakeDialTemplate(request), site);
    preview->setPaint([plate = drawing_->plate](QPainter& painter, const QRectF& area) {
        PaintPreview(painter, area, plate);
    });
}
