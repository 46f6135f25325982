// The printed report: what its lines say and in which font, and what Print does when there is
// no printer to print on.

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "main_window/Sundial_Input.h"
#include "report/paper_size.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "tests/print/expected_pages.h"
#include "tests/print/pdf_reader.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace {

// A serial date-time: whole days since 30 December 1899 and the time as a fraction of a day.
double Serial(const QDate& date, const QTime& time) {
    return QDate(1899, 12, 30).daysTo(date) + time.msecsSinceStartOfDay() / 86400000.0;
}
double Serial(const QTime& time) { return time.msecsSinceStartOfDay() / 86400000.0; }

report::Inputs MorningInputs() {
    return {.latitude = 40.655,
            .longitude = -72.855,
            .west = true,
            .clockTime = Serial(QTime(10, 55, 23)),
            .standard = true,
            .heightText = "10",
            .lengthText = "25",
            .result =
                "Wednesday, September 03, 2003\r\nWall Declination is either 100.1 degrees "
                "East, or 11.4 degrees West. \r\n(Zero degrees azimuth is defined as "
                "facing directly south)"};
}

// Lines as "face size|text", so that a mismatch names the line and what differs.
QStringList Describe(const report::Report& page) {
    QStringList described;
    for (const report::Line& line : page.lines) {
        described << QStringLiteral("%1 %2|%3").arg(line.family).arg(line.pointSize).arg(line.text);
    }
    return described;
}

// Answers the save dialog with a file name, or cancels it when the name is empty.
class SaveDialogAnswerer : public QObject {
  public:
    explicit SaveDialogAnswerer(const QString& fileName) : fileName_(fileName) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            ++shown_;
            if (fileName_.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed into the name box, as a user would: selectFile() leaves a name box that
            // already has the focus unchanged.
            if (auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                nameBox->setText(fileName_);
            } else {
                dialog->selectFile(fileName_);
            }
            static_cast<QDialog*>(dialog)->accept();  // public there, and goes through the checks
        });
        timer_.start(10);
    }
    int shown() const { return shown_; }

  private:
    QTimer timer_;
    QString fileName_;
    int shown_ = 0;
};

// Everything a user typed or chose, and the result: what Print must leave as it found it.
QStringList WindowState(const Sundial_Input& window) {
    QStringList state;
    for (const QLineEdit* box : window.findChildren<QLineEdit*>()) {
        state << box->objectName() + '=' + box->text();
    }
    for (const QRadioButton* option : window.findChildren<QRadioButton*>()) {
        state << option->objectName() + '=' + (option->isChecked() ? "on" : "off");
    }
    state << "zone=" + QString::number(window.lstTimeZone->currentIndex());
    state << "result=" + window.lblResult->text();
    return state;
}

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir scratch;
    std::unique_ptr<Sundial_Input> window;

  private slots:
    void initTestCase() {
        QVERIFY(scratch.isValid());
        // No scheduler answers here, whatever runs on this machine.
        qputenv("CUPS_SERVER", scratch.filePath("nothing-listens.sock").toLocal8Bit());
        // The widget dialog can be answered from the test on every platform.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void init() {
        window = OpenWindow();
        QVERIFY(window->isVisible());
    }
    void cleanup() { window.reset(); }

    void siteAndTimeLine_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("west");
        QTest::addColumn<double>("clockTime");
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QString>("expected");

        const double morning = Serial(QTime(10, 55, 23));
        const QDate day(2003, 9, 3);
        QTest::newRow("standard time")
            << "en_US" << 40.655 << -72.855 << true << morning << true
            << "Latitude 40.655 North, Longitude 72.855 West, 10:55:23 AM Standard Time";
        QTest::newRow("daylight time")
            << "en_US" << 40.655 << -72.855 << true << morning << false
            << "Latitude 40.655 North, Longitude 72.855 West, 10:55:23 AM, Daylight Savings Time";
        QTest::newRow("latitude 0 is north")
            << "en_US" << 0.0 << -72.855 << true << morning << true
            << "Latitude 0 North, Longitude 72.855 West, 10:55:23 AM Standard Time";
        QTest::newRow("southern latitude loses its sign")
            << "en_US" << -33.8688 << 151.2093 << false << Serial(QTime(15, 35, 20)) << false
            << "Latitude 33.8688 South, Longitude 151.2093 East, 3:35:20 PM, Daylight Savings "
               "Time";
        QTest::newRow("east option over a negative longitude")
            << "en_US" << 40.655 << -72.855 << false << morning << true
            << "Latitude 40.655 North, Longitude 72.855 East, 10:55:23 AM Standard Time";
        QTest::newRow("west option over a positive longitude")
            << "en_US" << 40.655 << 72.855 << true << morning << true
            << "Latitude 40.655 North, Longitude 72.855 West, 10:55:23 AM Standard Time";
        QTest::newRow("whole degrees")
            << "en_US" << 40.0 << -75.0 << true << morning << true
            << "Latitude 40 North, Longitude 75 West, 10:55:23 AM Standard Time";
        QTest::newRow("time entered with a date")
            << "en_US" << 40.655 << -72.855 << true << Serial(day, QTime(10, 55, 23)) << true
            << "Latitude 40.655 North, Longitude 72.855 West, 9/3/2003 10:55:23 AM Standard "
               "Time";
        QTest::newRow("a date alone")
            << "en_US" << 40.655 << -72.855 << true << Serial(day, QTime(0, 0)) << true
            << "Latitude 40.655 North, Longitude 72.855 West, 9/3/2003 Standard Time";
        QTest::newRow("midnight alone")
            << "en_US" << 40.655 << -72.855 << true << 0.0 << true
            << "Latitude 40.655 North, Longitude 72.855 West, 12:00:00 AM Standard Time";
        QTest::newRow("German notation")
            << "de_DE" << 40.655 << -72.855 << true << morning << false
            << "Latitude 40,655 North, Longitude 72,855 West, 10:55:23, Daylight Savings Time";
    }

    void siteAndTimeLine() {
        QFETCH(QString, locale);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, west);
        QFETCH(double, clockTime);
        QFETCH(bool, standard);
        QFETCH(QString, expected);
        report::Inputs inputs = MorningInputs();
        inputs.latitude = latitude;
        inputs.longitude = longitude;
        inputs.west = west;
        inputs.clockTime = clockTime;
        inputs.standard = standard;
        const report::Report page = report::Build(inputs, QLocale(locale));
        QVERIFY(page.lines.size() > 3);
        QCOMPARE(page.lines[3].text, expected);
    }

    void squareAndShadowAsTyped_data() {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing zero kept") << "6.0"
                                            << "12.50"
                                            << "Height of square = 6.0, Length of Shadow = 12.50.";
        QTest::newRow("grouping and exponent kept")
            << "1e1"
            << "2,500"
            << "Height of square = 1e1, Length of Shadow = 2,500.";
    }

    void squareAndShadowAsTyped() {
        QFETCH(QString, height);
        QFETCH(QString, length);
        QFETCH(QString, expected);
        report::Inputs inputs = MorningInputs();
        inputs.heightText = height;
        inputs.lengthText = length;
        QCOMPARE(report::Build(inputs, QLocale("en_US")).lines.value(4).text, expected);
    }

    void wholePage_data() {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("expected");
        const QStringList head = {
            "Arial 16|Kestramo",
            "Arial 16|Brontile LLC, www.brontile.com",
            "Arial 16|",
            "Arial 11|Latitude 40.655 North, Longitude 72.855 West, 10:55:23 AM Standard Time",
            "Arial 11|Height of square = 10, Length of Shadow = 25.",
            "Arial 11|",
        };
        QTest::newRow("two walls") << MorningInputs().result
                                   << head + QStringList{
                                                 "Arial 11|Wednesday, September 03, 2003",
                                                 "Arial 11|Wall Declination is either 100.1 "
                                                 "degrees East, or 11.4 degrees West. ",
                                                 "Arial 11|(Zero degrees azimuth is defined as "
                                                 "facing directly south)",
                                             };
        const QString none =
            "There is no declination for a vertical wall that corresponds to this shadow length "
            "for this date, time, and location.";
        QTest::newRow("no wall fits") << none << head + QStringList{"Arial 11|" + none};
    }

    void wholePage() {
        QFETCH(QString, result);
        QFETCH(QStringList, expected);
        report::Inputs inputs = MorningInputs();
        inputs.result = result;
        QCOMPARE(Describe(report::Build(inputs, QLocale("en_US"))), expected);
    }

    void lineWiderThanThePaperWraps() {
        report::Inputs inputs = MorningInputs();
        inputs.result = QString(
                            "The sun is below the horizon at this date, time, and location, so "
                            "no wall declination can be found. ")
                            .repeated(3);
        const report::Report page = report::Build(inputs, QLocale("en_US"));
        const QString file = scratch.filePath("wide.pdf");
        QVERIFY(report::SaveAsPdf(page, file));

        QCOMPARE(pdf_reader::Pages(file), 1);
        const QStringList read = pdf_reader::TextLines(file);
        QCOMPARE(read.join(' '), page.plainText().simplified());
        const auto withText =
            std::count_if(page.lines.begin(), page.lines.end(),
                          [](const report::Line& line) { return !line.text.isEmpty(); });
        QVERIFY(read.size() > withText);
    }

    void failedValidationPrintsNothing_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("no date") << "txtDate"
                                 << ""
                                 << "Please enter a valid date";
        QTest::newRow("height 0") << "txtHeight"
                                  << "0"
                                  << "Please enter positive number";
        QTest::newRow("no time") << "txtTime"
                                 << "later"
                                 << "Please enter a valid time (e.g. 10:55:23 or 3:35:20 PM)";
    }

    void failedValidationPrintsNothing() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ModalAnswerer answerer(QMessageBox::Ok);
        Enter(*window, expected_pages::Morning());
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        const QString result = window->lblResult->text();
        QVERIFY(!result.isEmpty());

        TypeInto(window->findChild<QLineEdit*>(box), text);
        answerer.clear();
        QTest::mouseClick(window->cmdPrint, Qt::LeftButton);
        // The complaint is all: no attempt to print, hence no word about a missing printer.
        QCOMPARE(answerer.texts(), QStringList{message});
        QCOMPARE(window->lblResult->text(), result);
    }

    void withoutPrinterOffersPdf_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("chosenName");
        QTest::addColumn<QString>("savedName");
        QTest::newRow("saved") << int(QMessageBox::Yes) << "report.pdf"
                               << "report.pdf";
        QTest::newRow("suffix added") << int(QMessageBox::Yes) << "report"
                                      << "report.pdf";
        QTest::newRow("offer declined") << int(QMessageBox::No) << "report.pdf"
                                        << "";
        QTest::newRow("save cancelled") << int(QMessageBox::Yes) << ""
                                        << "";
    }

    void withoutPrinterOffersPdf() {
        QFETCH(int, answer);
        QFETCH(QString, chosenName);
        QFETCH(QString, savedName);
        QTemporaryDir folder;
        ModalAnswerer answerer(QMessageBox::Ok);
        Enter(*window, expected_pages::Morning());
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        const QStringList before = WindowState(*window);

        answerer.clear();
        answerer.setAnswer(QMessageBox::StandardButton(answer));
        SaveDialogAnswerer saveDialog(chosenName.isEmpty() ? QString()
                                                           : folder.filePath(chosenName));
        QTest::mouseClick(window->cmdPrint, Qt::LeftButton);

        QCOMPARE(answerer.seen().size(), 1);
        const ModalAnswerer::Seen& box = answerer.seen().first();
        QCOMPARE(box.title, QStringLiteral("Kestramo"));
        QVERIFY2(box.text.startsWith("The report could not be printed. No default printer"),
                 qPrintable(box.text));
        QVERIFY(box.text.endsWith("save the report as a PDF file instead?"));
        QCOMPARE(QStringList(box.buttons).replaceInStrings("&", ""), (QStringList{"Yes", "No"}));
        QCOMPARE(saveDialog.shown(), answer == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(WindowState(*window), before);

        const QStringList written = QDir(folder.path()).entryList(QDir::Files);
        if (savedName.isEmpty()) {
            QVERIFY2(written.isEmpty(), qPrintable(written.join(' ')));
            return;
        }
        QCOMPARE(written, QStringList{savedName});
        const QString file = folder.filePath(savedName);
        QCOMPARE(pdf_reader::Pages(file), 1);
        QCOMPARE(pdf_reader::TextLines(file), expected_pages::MorningText());
        QCOMPARE(pdf_reader::Fonts(file), QStringList{"LiberationSans"});
        // The tests run in en_US.
        QCOMPARE(pdf_reader::PaperName(file), QStringLiteral("letter"));
    }

    void pdfIsOnTheLocalesPaper_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("paper");
        QTest::addColumn<QString>("paperName");  // as pdfinfo names it
        const int letter = QPageSize::Letter;
        const int a4 = QPageSize::A4;
        QTest::newRow("en_US") << "en_US" << letter << "letter";
        QTest::newRow("en_CA") << "en_CA" << letter << "letter";
        QTest::newRow("fr_CA") << "fr_CA" << letter << "letter";
        QTest::newRow("es_MX") << "es_MX" << letter << "letter";
        QTest::newRow("en_PH") << "en_PH" << letter << "letter";
        QTest::newRow("es_CL") << "es_CL" << letter << "letter";
        QTest::newRow("en_GB") << "en_GB" << a4 << "A4";
        QTest::newRow("de_DE") << "de_DE" << a4 << "A4";
        QTest::newRow("ja_JP") << "ja_JP" << a4 << "A4";
        QTest::newRow("es_ES") << "es_ES" << a4 << "A4";
        QTest::newRow("en_AU") << "en_AU" << a4 << "A4";
        QTest::newRow("C, no country") << "C" << a4 << "A4";
    }

    void pdfIsOnTheLocalesPaper() {
        QFETCH(QString, locale);
        QFETCH(int, paper);
        QFETCH(QString, paperName);
        const QLocale where = locale == u"C" ? QLocale::c() : QLocale(locale);
        QCOMPARE(int(report::PaperFor(where)), paper);
        const QString file = scratch.filePath(locale + ".pdf");
        QVERIFY(report::SaveAsPdf(report::Build(MorningInputs(), where), file, where));
        QCOMPARE(pdf_reader::PaperName(file), paperName);
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
