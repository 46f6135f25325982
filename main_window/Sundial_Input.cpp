#include "main_window/Sundial_Input.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "engine/Trig_Functions.h"
#include "engine/alignment_calculations.h"
#include "main_window/link_label.h"
#include "main_window/pictures.h"
#include "main_window/printed_results.h"
#include "main_window/window_texts.h"

static void InitKestramoResources() { Q_INIT_RESOURCE(kestramo_resources); }

Sundial_Input::Sundial_Input(QWidget* parent) : QDialog(parent, Qt::Window) {
    InitKestramoResources();
    createControls();
    placeControls();
    setTabOrder();

    // The engine reads the clock kind from the option button when it runs, and reports an
    // angle out of range through a box the user acknowledges.
    alignment_calculations::SetDaylightOptionSource(
        [this] { return optDstinput->isChecked() ? -1 : 0; });
    Trig_Functions::SetRangeErrorHandler([this](const std::string& message) {
        QMessageBox box(QMessageBox::Critical, window_texts::kCaption,
                        QString::fromStdString(message), QMessageBox::Ok, this);
        box.exec();
        comeBack();
    });

    Form_Load();
    watchInputs();
    PrintResultsWhenAsked(this);
    txtDate->setFocus();
}

Sundial_Input::~Sundial_Input() {
    alignment_calculations::SetDaylightOptionSource({});
    Trig_Functions::SetRangeErrorHandler({});
}

void Sundial_Input::Form_Load() {
    alignment_calculations::InitConstants();
    lblText->setText(window_texts::Instructions());
    lblText->setFixedHeight(lblText->heightForWidth(lblText->width()));
    const QStringList& zones = window_texts::TimeZones();
    for (int index = 0; index < zones.size(); ++index) {
        lstTimeZone->insertItem(index, zones[index]);
    }
    lstTimeZone->setCurrentIndex(-1);
    lstTimeZone->setEditText(QStringLiteral("Select Time Zone"));
    alignment_calculations::InitConstants();
    OptWest->setFocusPolicy(Qt::ClickFocus);
    // The list has the focus whenever its line edit has: keys reach the list first, which
    // hands them on to the line edit.
    lstTimeZone->installEventFilter(this);
}

void Sundial_Input::keyPressEvent(QKeyEvent* event) {
    // Esc presses the cancel button from anywhere; a plain dialog would only close itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CmdQuit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Sundial_Input::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the time-zone box: the box's inline completion would take the key to accept
    // the entry it completed, and the window would never see it. The completed entry is
    // chosen and Calculate pressed, once.
    if (watched == lstTimeZone && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            chooseTypedZone();
            CmdCalculate->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Sundial_Input::chooseTypedZone() {
    QLineEdit* box = lstTimeZone->lineEdit();
    const QString text = box->text();
    const int entry = lstTimeZone->findText(text, Qt::MatchExactly);
    if (entry != lstTimeZone->currentIndex()) {
        lstTimeZone->setCurrentIndex(entry);
        box->setText(text);
    }
    box->deselect();
    box->end(false);
}

int Sundial_Input::showMessage(const QString& text, int buttons, int defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, window_texts::kCaption, text,
                    static_cast<QMessageBox::StandardButtons>(buttons), this);
    if (defaultButton != 0) {
        box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
    }
    const int answer = box.exec();
    comeBack();
    return answer;
}

void Sundial_Input::comeBack() { activateWindow(); }

void Sundial_Input::CmdCalculate_Click() { calculate(); }

bool Sundial_Input::calculate() {
    if (!DateCheck()) return false;
    ShowEot();
    recordReading();
    return true;
}

void Sundial_Input::cmdMethod_Click() {
    if (cmdMethod->text() == QLatin1String("Enter Data")) {
        cmdMethod->setText(QStringLiteral("Show Measurement Method"));
        imgMethod->hide();
        lblMethod->hide();
        for (QWidget* control :
             std::initializer_list<QWidget*>{Frame1, CmdCalculate, CmdQuit, cmdPrint, cmdReadings,
                                             lblbrowser, Image2, lblBrontile, lblText}) {
            control->show();
        }
        return;
    }
    lblMethod->show();
    lblMethod->setText(window_texts::MeasuringMethod());
    cmdMethod->setText(QStringLiteral("Enter Data"));
    if (imgMethod->pixmap().isNull()) {
        imgMethod->setPixmap(LoadPicture(QStringLiteral(":/images/method.jpg"), "jpeg"));
    }
    imgMethod->show();
    for (QWidget* control :
         std::initializer_list<QWidget*>{Frame1, CmdCalculate, cmdPrint, cmdReadings, lblbrowser,
                                         Image2, lblBrontile, lblText}) {
        control->hide();
    }
}

void Sundial_Input::CmdQuit_Click() {
    close();
    closeBrowser();
    QCoreApplication::exit(0);
}
