// Drives the whole window the way a person with a keyboard could: any texts in the six text
// boxes, either, neither or one of each pair of option buttons, any entry of the time-zone
// list or none, and Yes or No to the question about a far-off zone. Calculate must then end
// in a message or in a result, the result text never shows "nan", "inf" or a minus sign, and the
// series of the readings Calculate keeps always combines to a number or to none.
//
// An input is its first line, five choices of one byte each, then one line per text box:
//   byte 0  clock kind: '0' neither, '1' standard time, '2' daylight-saving time (any byte % 3)
//   byte 1  side: '0' neither, '1' West, '2' East (any byte % 3)
//   byte 2  time-zone list entry: 'A' none, 'B' the first (GMT-11) ... 'Y' the last (any byte)
//   byte 3  answer to a Yes/No box: odd ('Y') Yes, even ('N') No
//   byte 4  locale: '0' en_US, '1' en_GB, '2' de_DE ... (fuzz_support.h's LocaleFor)
// then date, latitude, longitude, time, height and length, as UTF-8. A missing choice counts
// as a zero byte, a missing line as an empty text; lines after the sixth are ignored.

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <vector>

#include "main_window/Sundial_Input.h"
#include "readings_window/readings_list.h"
#include "tests/fuzz/fuzz_support.h"

namespace fs = fuzz_support;

namespace {

constexpr int kZoneChoices = 25;  // no entry, then the list's 24 entries
constexpr int kTextBoxes = 6;

struct Entry {
    std::array<std::uint8_t, 5> choices{};
    std::array<QString, kTextBoxes> texts;

    int clockKind() const { return choices[0] % 3; }
    int side() const { return choices[1] % 3; }
    // 'A' (65) lands on -1, so that the letters A to Y spell out the whole list.
    int zone() const { return (choices[2] + 10) % kZoneChoices - 1; }
    QMessageBox::StandardButton answer() const {
        return choices[3] % 2 ? QMessageBox::Yes : QMessageBox::No;
    }
    QLocale locale() const { return fs::LocaleFor(choices[4]); }

    QString describe() const {
        QString all = QStringLiteral("choices ") +
                      QString::fromLatin1(reinterpret_cast<const char*>(choices.data()),
                                          static_cast<qsizetype>(choices.size()));
        for (const QString& text : texts) all += QStringLiteral(" | ") + text;
        return all;
    }
};

Entry Decode(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> lines =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\n');
    Entry entry;
    const QByteArray& choices = lines[0];
    for (std::size_t k = 0; k < entry.choices.size() && k < std::size_t(choices.size()); ++k) {
        entry.choices[k] = static_cast<std::uint8_t>(choices[static_cast<qsizetype>(k)]);
    }
    for (qsizetype k = 0; k < kTextBoxes && k + 1 < lines.size(); ++k) {
        entry.texts[static_cast<std::size_t>(k)] = QString::fromUtf8(lines[k + 1]);
    }
    return entry;
}

// Presses a button of whichever message box is showing, from inside the box's own event loop:
// the requested one where the box has it (Yes or No), else its default, else its first. Runs
// on a zero-interval timer, so a box costs one turn of its event loop.
class BoxAnswerer : public QObject {
  public:
    BoxAnswerer() {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::answer);
    }

    void arm(QMessageBox::StandardButton choice) {
        choice_ = choice;
        timer_.start();
    }
    void disarm() { timer_.stop(); }

  private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        QAbstractButton* button = box->button(choice_);
        if (!button) button = box->defaultButton();
        if (!button) button = box->buttons().value(0);
        if (button) button->click();
    }

    QTimer timer_;
    QMessageBox::StandardButton choice_ = QMessageBox::Ok;
};

// An exclusive pair can only be emptied with its exclusivity lifted for the moment.
void Choose(QRadioButton* first, QRadioButton* second, int choice) {
    QButtonGroup* group = first->group();
    if (group) group->setExclusive(false);
    first->setChecked(choice == 1);
    second->setChecked(choice == 2);
    if (group) group->setExclusive(true);
}

bool HoldsMinus(const QString& text) { return text.contains(u'-') || text.contains(QChar(0x2212)); }

void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // The offscreen platform's routine warnings would cost more than the run itself.
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

Sundial_Input* window = nullptr;
BoxAnswerer* answerer = nullptr;

// The series of the kept readings must hold numbers; it is emptied now and then so that each
// input costs about the same.
void CheckAndTrimReadings(const Entry& entry) {
    constexpr int kKeptReadings = 16;
    auto* readings = window->findChild<ReadingsList*>();
    if (readings == nullptr) return;
    const auto& result = readings->series().result;
    if (result.declination && !std::isfinite(*result.declination)) {
        fs::Fail("combined declination is not a number", entry.describe(), QString());
    }
    if (readings->size() < kKeptReadings) return;
    std::vector<int> rows(std::size_t(readings->size()));
    std::iota(rows.begin(), rows.end(), 0);
    readings->remove(rows);
    readings->undoStack()->clear();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The series' recovery file goes to a data folder of the run's own.
    static QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qInstallMessageHandler(Quiet);
    // One application and one window for the whole run, as a person keeps the window open
    // between calculations; they live until the process ends.
    static int argc = 1;
    static char name[] = "fuzz_window";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    window = new Sundial_Input;
    window->show();
    answerer = new BoxAnswerer;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Entry entry = Decode(data, size);
    QLocale::setDefault(entry.locale());

    window->lblResult->clear();
    window->txtDate->setText(entry.texts[0]);
    Choose(window->optStandardinput, window->optDstinput, entry.clockKind());
    window->txtLatitude->setText(entry.texts[1]);
    window->txtLongitude->setText(entry.texts[2]);
    Choose(window->OptWest, window->OptEast, entry.side());
    window->lstTimeZone->setCurrentIndex(entry.zone());
    window->txtTime->setText(entry.texts[3]);
    window->txtHeight->setText(entry.texts[4]);
    window->txtLength->setText(entry.texts[5]);

    answerer->arm(entry.answer());
    const bool passed = window->DateCheck();
    if (passed) {
        window->ShowEot();
        // The same inputs once more through Calculate, which also keeps the reading in the
        // session's series.
        window->CmdCalculate_Click();
    }
    answerer->disarm();
    CheckAndTrimReadings(entry);

    const QString result = window->lblResult->text();
    if (passed && result.isEmpty())
        fs::Fail("no result after the check passed", entry.describe(), result);
    if (fs::HoldsNanOrInf(result) || HoldsMinus(result)) {
        fs::Fail("result text holds nan, inf or a minus sign", entry.describe(), result);
    }
    return 0;
}
