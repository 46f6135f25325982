// Readings files in the window: opening one always says what it did, a spreadsheet's text
// files are read, a file's tolerances are taken or offered, and the name of the file saved or
// opened shows in the title; the Open dialog starts where the last file was.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "readings_window/dial_panel.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/template_box.h"
#include "tests/support/file_dialog_answerer.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/readings_driver.h"

namespace {

const QByteArray kHeader = "date,time,utc_offset,daylight,latitude,longitude,height,length";
// The worked series as a file writes it, and a reading of the next morning.
const QByteArray kMorningLine = "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25";
const QByteArray kAfternoonLine = "2003-09-03,15:00,-5,yes,40.655,-72.855,10,15.46";
const QByteArray kNextDayLine = "2003-09-04,11:00,-5,yes,40.655,-72.855,10,25.2";
// Tolerances other than the window's: clock 900 s (past what its box once took), shadow 3 %, height
// 2 %, tilt 2 degrees.
const QByteArray kWideHeader = kHeader +
                               ",clock_tolerance_s,length_tolerance_percent,"
                               "height_tolerance_percent,tilt_tolerance_deg";
const QByteArray kWide = ",900,3,2,2";

QByteArray Lines(std::initializer_list<QByteArray> lines) {
    QByteArray text;
    for (const QByteArray& line : lines) text += line + '\n';
    return text;
}

// A spreadsheet's "Unicode text": UTF-16, little end first, with its mark, tabs between.
QByteArray UnicodeText(const QByteArray& text) {
    const QByteArray tabbed = QByteArray(text).replace(',', '\t');
    QByteArray bytes("\xFF\xFE");
    for (const char c : tabbed) bytes.append(c).append('\0');
    return bytes;
}

}  // namespace

class ReadingsFilesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;
    ReadingsWindow* readings = nullptr;
    QTemporaryDir folder;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qWarning("cannot write %s", qPrintable(path));
        }
        return path;
    }

    void open(int readingsFirst) {
        window = OpenWindow();
        for (const Observation& reading : {kMorning, At("15:00", "15.46")}) {
            if (readingsFirst-- > 0) Calculate(*window, reading);
        }
        readings = OpenReadings(*window);
    }

    ReadingsList* list() const { return window->findChild<ReadingsList*>(); }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }
    void init() { QDir(recovery_file::Folder()).removeRecursively(); }
    void cleanup() {
        readings = nullptr;
        window.reset();
    }

    // A file writes its numbers with a point; in German the table shows them with the comma a
    // German reads, not "15.46", which there means 1546.
    void aFilesNumbersShowInTheLocalesNotation() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        open(0);
        QVERIFY(readings->openFile(
            write(QStringLiteral("two.csv"), Lines({kHeader, kMorningLine, kAfternoonLine}))));
        const QAbstractItemModel* model = readings->readingsTable->model();
        const QString shown = model->index(1, ReadingsTableModel::Length).data().toString();
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        QCOMPARE(shown, QStringLiteral("15,46"));
    }

    void openingSaysWhatItDid_data() {
        QTest::addColumn<int>("readingsFirst");  // of the worked morning and afternoon
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("status");
        QTest::newRow("some new, some known")
            << 2 << Lines({kHeader, kMorningLine, kAfternoonLine, kNextDayLine}) << 3
            << "notes.csv: 1 reading added, 2 were already in the list.";
        QTest::newRow("all known") << 1 << Lines({kHeader, kMorningLine}) << 1
                                   << "notes.csv: no reading added, it was already in the list.";
        QTest::newRow("only the column names")
            << 1 << Lines({kHeader}) << 1 << "notes.csv has no readings.";
        QTest::newRow("unknown columns")
            << 0
            << Lines({kHeader + ",note,Weather", kMorningLine + ",by the door,sunny",
                      kNextDayLine + ",,hazy"})
            << 2
            << "notes.csv: 2 readings added. Columns it has that Kestramo does not know were "
               "left out: note, Weather.";
        QTest::newRow("a spreadsheet's Unicode text")
            << 0 << UnicodeText(Lines({kHeader, kMorningLine, kAfternoonLine})) << 2
            << "notes.csv: 2 readings added.";
    }

    void openingSaysWhatItDid() {
        QFETCH(int, readingsFirst);
        QFETCH(QByteArray, file);
        QFETCH(int, rows);
        QFETCH(QString, status);
        open(readingsFirst);
        ModalAnswerer boxes;
        QVERIFY(readings->openFile(write(QStringLiteral("notes.csv"), file)));
        QCOMPARE(readings->readingsTable->model()->rowCount(), rows);
        QCOMPARE(readings->statusLabel->text(), status);
        QCOMPARE(boxes.texts(), QStringList());
        QVERIFY(readings->windowTitle().endsWith(QStringLiteral(" \u2013 notes.csv")));
    }

    // An empty list takes the file's tolerances; a list with other tolerances asks, and one
    // step undoes the readings and the tolerances together.
    void aFilesTolerancesAreTakenOrOffered_data() {
        QTest::addColumn<int>("readingsFirst");
        QTest::addColumn<int>("answer");  // 0: no question
        QTest::addColumn<double>("clock");
        QTest::newRow("empty list") << 0 << 0 << 900.0;
        QTest::newRow("the file's chosen") << 1 << int(QMessageBox::Yes) << 900.0;
        QTest::newRow("the list's kept") << 1 << int(QMessageBox::No) << 10.0;
    }

    void aFilesTolerancesAreTakenOrOffered() {
        QFETCH(int, readingsFirst);
        QFETCH(int, answer);
        QFETCH(double, clock);
        open(readingsFirst);
        ModalAnswerer boxes{answer ? QMessageBox::StandardButton(answer) : QMessageBox::Ok};
        const QString path =
            write(QStringLiteral("wide.csv"),
                  Lines({kWideHeader, kAfternoonLine + kWide, kNextDayLine + kWide}));
        QVERIFY(readings->openFile(path));
        QCOMPARE(boxes.seen().size(), answer ? 1 : 0);
        if (answer) {
            const QString question = boxes.seen()[0].text;
            QVERIFY2(question.contains(QStringLiteral("other tolerances (clock 900 s, shadow "
                                                      "length 3 %, square height 2 %, square "
                                                      "tilt 2\u00b0)")) &&
                         question.contains(QStringLiteral("(clock 10 s,")),
                     qPrintable(question));
            QCOMPARE(boxes.seen()[0].defaultButton, QStringLiteral("No"));
        }
        QCOMPARE(list()->tolerances().clockSeconds, clock);
        QCOMPARE(readings->toleranceBoxes.front()->value(), clock);
        QCOMPARE(readings->readingsTable->model()->rowCount(), readingsFirst + 2);

        readings->cmdUndo->click();
        QCOMPARE(list()->tolerances().clockSeconds, 10.0);
        QCOMPARE(readings->readingsTable->model()->rowCount(), readingsFirst);
    }

    // Save shows the file's name; Open then starts in its folder with no name typed, and
    // before anything was saved in the documents folder (or the home folder without one).
    void titleAndOpenDialogFollowTheLastFile() {
        open(2);
        FileDialogAnswerer dialogs;
        PressKey(Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(dialogs.seen().size(), 1);
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(dialogs.seen()[0].folder, QDir(documents).exists() ? documents : QDir::homePath());
        QCOMPARE(dialogs.seen()[0].name, QString());

        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("site")));
        const QString path = folder.filePath(QStringLiteral("site/south wall.csv"));
        QVERIFY(readings->saveFile(path));
        QVERIFY(readings->windowTitle().endsWith(QStringLiteral(" \u2013 south wall.csv")));
        QVERIFY(readings->statusLabel->text().contains(QStringLiteral("south wall.csv")));
        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(dialogs.seen().size(), 2);
        QCOMPARE(dialogs.seen()[1].folder, QFileInfo(path).absolutePath());
        QCOMPARE(dialogs.seen()[1].name, QString());
    }

    // The Dial tab's template page (Alt+I, Alt+F) saves the template by Alt+V, in the format
    // of the name chosen: here mean time's curves as a DXF drawing.
    void templateIsSavedByItsKeys() {
        window = OpenWindow();
        CalculateWorkedSeries(*window);
        readings = OpenReadings(*window);
        PressKey(Qt::Key_I, Qt::AltModifier);
        PressKey(Qt::Key_F, Qt::AltModifier);
        TemplateBox* box = readings->dialPanel->templateBox;
        QTRY_VERIFY(box->isVisible());
        QVERIFY(box->isEnabled());
        box->hoursBox->setCurrentIndex(box->hoursBox->findData(2));
        const QString path = folder.filePath(QStringLiteral("south wall template.dxf"));
        FileDialogAnswerer dialogs(path);
        PressKey(Qt::Key_V, Qt::AltModifier);
        // Mean time's curves take a moment on a busy machine.
        QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(path),
                                  qPrintable(QStringLiteral("the dialogs seen: %1; the status: %2")
                                                 .arg(dialogs.seen().size())
                                                 .arg(readings->statusLabel->text())),
                                  30000);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray dxf = file.readAll();
        QVERIFY(dxf.contains("AC1009"));
        QVERIFY(dxf.contains("POLYLINE\n  8\nHOURS"));
        QVERIFY(readings->statusLabel->text().contains(QStringLiteral("south wall template.dxf")));
    }
};

QTEST_MAIN(ReadingsFilesTest)
#include "readings_files_test.moc"
