// leak_run: one session of the calculator as a user has it, for a leak checker to watch. It
// starts the window the way the program does, types the first worked observation, calculates,
// prints with no printing service (which offers the report as a PDF file: it accepts and saves
// one), adds two more readings, leaves one out and takes it back, saves and opens the readings
// and prints them to a PDF file, and quits with the Quit button.
//
// No test framework is linked, so that whatever the checker finds at exit belongs to the
// program and its libraries. Exit status: 0 when every step did what a user would see, 1 when a
// step went wrong (said on the standard error), 2 when the run did not end in time.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "main_window/Sundial_Input.h"
#include "readings_window/readings_window.h"

namespace {

constexpr int kPollInterval = 20;     // milliseconds between looks for a modal box
constexpr int kRunTimeout = 150'000;  // milliseconds; valgrind needs about 10 s for the run

int failures = 0;

void Fail(const char* step, const QString& detail = {}) {
    std::fprintf(stderr, "leak_run: %s %s\n", step, qPrintable(detail));
    ++failures;
}

// Key presses and releases for each character, as typing delivers them.
void Type(QLineEdit* box, const QString& text) {
    box->clear();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(box, &release);
    }
    if (box->text() != text) Fail("typing", box->objectName() + QLatin1String(": ") + box->text());
}

// Answers what Print asks when there is no printer: yes to the PDF offer, then the file name.
class PrintAnswerer : public QObject {
  public:
    explicit PrintAnswerer(const QString& fileName) : fileName_(fileName) {
        connect(&timer_, &QTimer::timeout, this, &PrintAnswerer::poll);
        timer_.start(kPollInterval);
    }
    int offers() const { return offers_; }
    int saveDialogs() const { return saveDialogs_; }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++offers_;
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            if (!yes) Fail("unexpected message:", box->text());
            (yes ? yes : box->buttons().value(0))->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            ++saveDialogs_;
            // The whole path typed into the name box, as a user would: selectFile() leaves the
            // box alone once it has the focus, and the dialog then saves under its own name.
            auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!nameBox) {
                Fail("print: the save dialog has no name box");
                dialog->reject();
                return;
            }
            nameBox->setText(fileName_);
            // Public in QDialog; QFileDialog's own accept() checks the name like a user's OK.
            static_cast<QDialog*>(dialog)->accept();
        }
    }

    QTimer timer_;
    QString fileName_;
    int offers_ = 0;
    int saveDialogs_ = 0;
};

void WorkThroughReadings(Sundial_Input& window, const QDir& scratch) {
    for (const auto& [time, length] : {std::pair{"3:00:00 PM", "15.46"}, {"4:30:00 PM", "21.07"}}) {
        Type(window.txtTime, QLatin1String(time));
        Type(window.txtLength, QLatin1String(length));
        window.CmdCalculate->click();
    }
    window.cmdReadings->click();
    auto* readings = window.findChild<ReadingsWindow*>();
    if (!readings) return Fail("readings: no window");
    QAbstractItemModel* table = readings->readingsTable->model();
    if (table->rowCount() != 3) Fail("readings:", QString::number(table->rowCount()));
    table->setData(table->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    readings->cmdUndo->click();
    const QString csv = scratch.filePath(QStringLiteral("readings.csv"));
    if (!readings->saveFile(csv) || !readings->openFile(csv)) Fail("readings: save and open");
    // The worked shadows were read to the middle of the blur.
    readings->edgeBox->setCurrentIndex(1);
    if (!readings->answerLabel->text().startsWith(QStringLiteral("11.4\u00b0 W"))) {
        Fail("readings:", readings->answerLabel->text());
    }
    QPdfWriter pdf(scratch.filePath(QStringLiteral("readings.pdf")));
    if (!readings->printTo(pdf)) Fail("readings: print to PDF");
    readings->close();
}

void CalculatePrintAndQuit(Sundial_Input& window, const QString& pdfFile) {
    Type(window.txtDate, QStringLiteral("9/3/2003"));
    window.optDstinput->click();
    Type(window.txtLatitude, QStringLiteral("40.655"));
    Type(window.txtLongitude, QStringLiteral("72.855"));
    window.OptWest->click();
    window.lstTimeZone->setCurrentIndex(6);
    Type(window.txtTime, QStringLiteral("11:00:00 AM"));
    Type(window.txtHeight, QStringLiteral("10"));
    Type(window.txtLength, QStringLiteral("25"));

    window.CmdCalculate->click();
    if (!window.lblResult->text().contains(QLatin1String("Wall Declination is"))) {
        Fail("calculate:", window.lblResult->text());
    }

    {
        PrintAnswerer answerer(pdfFile);
        window.cmdPrint->click();
        if (answerer.offers() != 1 || answerer.saveDialogs() != 1) {
            Fail("print:", QStringLiteral("%1 offer(s), %2 save dialog(s)")
                               .arg(answerer.offers())
                               .arg(answerer.saveDialogs()));
        }
    }
    QFile pdf(pdfFile);
    if (!pdf.open(QIODevice::ReadOnly) || !pdf.read(5).startsWith("%PDF-")) {
        Fail("print: no PDF in", pdfFile);
    }

    WorkThroughReadings(window, QFileInfo(pdfFile).dir());
    window.CmdQuit->click();
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) return 1;
    // Nothing listens on this socket, so printing fails quickly whatever runs on the machine.
    qputenv("CUPS_SERVER", scratch.filePath(QStringLiteral("no-cups.sock")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The readings' recovery file goes to a data folder of this run's own.
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestramo"));
    Sundial_Input window;
    window.show();

    const QString pdfFile = scratch.filePath(QStringLiteral("report.pdf"));
    QTimer::singleShot(0, &window, [&] { CalculatePrintAndQuit(window, pdfFile); });
    bool timedOut = false;
    QTimer::singleShot(kRunTimeout, &app, [&] {
        timedOut = true;
        QApplication::exit(2);
    });

    const int status = QApplication::exec();
    if (timedOut) {
        std::fputs("leak_run: the run did not end in time\n", stderr);
        return 2;
    }
    if (status != 0) Fail("quit: event loop ended with", QString::number(status));
    return failures == 0 ? 0 : 1;
}
