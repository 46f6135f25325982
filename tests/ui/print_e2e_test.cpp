// Print on a real printing system: the window's Print button sends its report through CUPS to
// a PDF queue, and what arrives is read back. Runs under tests/print/run_print_e2e.sh, which
// provides the scheduler and the queue.

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "main_window/Sundial_Input.h"
#include "tests/print/expected_pages.h"
#include "tests/print/pdf_reader.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace {

constexpr int kJobTimeout = 60000;  // milliseconds for the spooler to deliver both jobs

QString Lpstat(const QStringList& arguments) {
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), arguments);
    lpstat.waitForFinished(10000);
    return QString::fromLocal8Bit(lpstat.readAllStandardOutput()).trimmed();
}

}  // namespace

class PrintE2eTest : public QObject {
    Q_OBJECT

  private:
    QDir out;

    // The PDFs the queue has written, in the order of their jobs.
    QStringList printed() const {
        QStringList files = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        QCollator numeric;
        numeric.setNumericMode(true);
        std::sort(files.begin(), files.end(), numeric);
        return files;
    }

  private slots:
    void initTestCase() {
        const QString folder = qEnvironmentVariable("KESTRAMO_PDF_OUT");
        if (folder.isEmpty()) QSKIP("needs the PDF queue of tests/print/run_print_e2e.sh");
        out.setPath(folder);
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("KestramoPDF"));
        QVERIFY(printed().isEmpty());
    }

    void eachClickIsOneJobOfOnePage() {
        const auto opened = OpenWindow();
        Sundial_Input& window = *opened;
        ModalAnswerer answerer(QMessageBox::Ok);

        Observation unfinished = expected_pages::Morning();
        unfinished.height = QStringLiteral("0");
        Enter(window, unfinished);
        QTest::mouseClick(window.cmdPrint, Qt::LeftButton);
        QCOMPARE(answerer.texts(), QStringList{"Please enter positive number"});

        Enter(window, expected_pages::Morning());
        QTest::mouseClick(window.cmdPrint, Qt::LeftButton);
        Enter(window, expected_pages::Afternoon());
        QTest::mouseClick(window.cmdPrint, Qt::LeftButton);
        // Printing went through, so nothing more was said.
        QCOMPARE(answerer.seen().size(), 1);

        QElapsedTimer waited;
        waited.start();
        while (!(printed().size() >= 2 && Lpstat({QStringLiteral("-o")}).isEmpty()) &&
               waited.elapsed() < kJobTimeout) {
            QTest::qWait(200);
        }
        QCOMPARE(printed().size(), 2);
        // The refused click never reached the spooler: it knows of two jobs only.
        QCOMPARE(Lpstat({QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o")})
                     .split(QLatin1Char('\n'))
                     .size(),
                 2);

        const QList<QStringList> expected = {expected_pages::MorningText(),
                                             expected_pages::AfternoonText()};
        for (int job = 0; job < 2; ++job) {
            const QString file = out.filePath(printed()[job]);
            QVERIFY2(printed()[job].startsWith(QStringLiteral("Kestramo")),
                     qPrintable(printed()[job]));
            QCOMPARE(pdf_reader::Pages(file), 1);
            // A line too wide for the paper wraps; the words and their order stay.
            QCOMPARE(pdf_reader::TextLines(file).join(' '), expected[job].join(' '));
            QCOMPARE(pdf_reader::Fonts(file).filter(QStringLiteral("LiberationSans")),
                     pdf_reader::Fonts(file));
            QVERIFY(!pdf_reader::Fonts(file).isEmpty());
        }
    }
};

QTEST_MAIN(PrintE2eTest)
#include "print_e2e_test.moc"
