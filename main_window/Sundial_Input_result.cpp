// Calculate: the checked inputs go through the engine, and the outcome is worded in lblResult.
// Once the inputs change, the result stays as it is but shows that it answers other inputs.

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "engine/wall_solution.h"
#include "main_window/Sundial_Input.h"
#include "text/result_caption.h"

namespace {

// A result that no longer answers the inputs is drawn in this grey, still readable on the
// window's light grey.
const QColor kStaleResult(0x70, 0x70, 0x70);

}  // namespace

void Sundial_Input::ShowEot() {
    // Only a measurement that validation has passed is solved, and only once: the readings take
    // the same solution.
    if (!checked_) return;
    solution_ = alignment_calculations::SolveShadowMeasurement(checked_->reading.height,
                                                               checked_->reading.length);
    resultCaption_ = result_caption::Caption(*solution_, checked_->reading.observation.date);
    lblResult->setText(resultCaption_);
    resultInputs_ = inputState();
    showWhetherResultIsCurrent();
    emit resultShown(resultCaption_);
}

void Sundial_Input::watchInputs() {
    for (QLineEdit* box : {txtDate, txtLatitude, txtLongitude, txtTime, txtHeight, txtLength}) {
        connect(box, &QLineEdit::textChanged, this, &Sundial_Input::showWhetherResultIsCurrent);
    }
    connect(lstTimeZone, &QComboBox::currentIndexChanged, this,
            &Sundial_Input::showWhetherResultIsCurrent);
    connect(lstTimeZone, &QComboBox::editTextChanged, this,
            &Sundial_Input::showWhetherResultIsCurrent);
    for (QButtonGroup* pair : {hemisphereGroup_, clockKindGroup_}) {
        connect(pair, &QButtonGroup::buttonToggled, this,
                &Sundial_Input::showWhetherResultIsCurrent);
    }
}

QStringList Sundial_Input::inputState() const {
    QStringList state = {txtDate->text(),
                         txtLatitude->text(),
                         txtLongitude->text(),
                         txtTime->text(),
                         txtHeight->text(),
                         txtLength->text(),
                         lstTimeZone->currentText(),
                         QString::number(lstTimeZone->currentIndex())};
    for (const QRadioButton* option : {optStandardinput, optDstinput, OptWest, OptEast}) {
        state << QString::number(option->isChecked());
    }
    return state;
}

void Sundial_Input::showWhetherResultIsCurrent() {
    const bool stale = !lblResult->text().isEmpty() && inputState() != resultInputs_;
    if (stale == resultStale_) return;
    resultStale_ = stale;
    if (stale) {
        QPalette grey = lblResult->palette();
        grey.setColor(QPalette::WindowText, kStaleResult);
        lblResult->setPalette(grey);
        lblResult->setAccessibleDescription(
            QStringLiteral("The inputs have changed since this result was calculated; press "
                           "Calculate to update it"));
    } else {
        lblResult->setPalette(QPalette());
        lblResult->setAccessibleDescription(QString());
    }
}
