// The readings window: every calculation is kept once, readings can be left out and deleted
// with undo, the worked series gives one answer, files that are not right are told about, and
// an earlier session's readings are offered back.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "readings/series_words.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/readings_window.h"
#include "readings_window/recovery_file.h"
#include "series/day_plan.h"
#include "series/series.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/readings_driver.h"

namespace {

// With KESTRAMO_SCREENSHOT_DIR set, keeps a picture of the window in that folder, to look at.
void SaveShot(ReadingsWindow* readings, const QString& name) {
    const QString folder = qEnvironmentVariable("KESTRAMO_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    readings->resize(1100, 760);
    QTest::qWait(50);
    if (!readings->grab().save(QDir(folder).filePath(name)))
        qWarning("cannot save %s", qPrintable(name));
}

}  // namespace

class ReadingsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(recovery_file::Folder()).removeRecursively();
        RestoreTestLocale();
    }

    void everyCalculationIsKeptOnce() {
        auto window = OpenWindow();
        Calculate(*window, kMorning);
        Calculate(*window, kMorning);  // the same inputs again add nothing
        Calculate(*window, At("15:00", "15.46"));
        ReadingsWindow* readings = OpenReadings(*window);
        QVERIFY(readings && readings->isVisible());
        QCOMPARE(readings->readingsTable->model()->rowCount(), 2);
        QCOMPARE(CellText(readings, 0, ReadingsTableModel::Date), QStringLiteral("2003-09-03"));
        QCOMPARE(CellText(readings, 0, ReadingsTableModel::Time), QStringLiteral("11:00:00"));
        QCOMPARE(CellText(readings, 0, ReadingsTableModel::Longitude),
                 QStringLiteral("72.855\u00b0 W"));
        QCOMPARE(CellText(readings, 1, ReadingsTableModel::Length), QStringLiteral("15.46"));
        QVERIFY(CellText(readings, 0, ReadingsTableModel::FirstAnswer).startsWith("100.1\u00b0 E"));
        QVERIFY(CellText(readings, 0, ReadingsTableModel::SecondAnswer).startsWith("11.4\u00b0 W"));

        // A failed validation keeps nothing; a reading added while the window is open shows.
        ModalAnswerer answerer;
        TypeInto(window->txtHeight, QStringLiteral("-1"));
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        QCOMPARE(readings->readingsTable->model()->rowCount(), 2);
        Calculate(*window, At("16:30", "21.07"));
        QCOMPARE(readings->readingsTable->model()->rowCount(), 3);
        QVERIFY(answerer.seen().size() == 1);
    }

    void workedSeriesGivesOneAnswer() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        // Read to the faint outer edge, as the window takes them, the worked shadows give a
        // wall a little farther west; they were read to the middle of the blur on a plumb wall.
        QVERIFY2(readings->answerLabel->text().startsWith(QStringLiteral("11.5\u00b0 W \u00b1 ")),
                 qPrintable(readings->answerLabel->text()));
        readings->edgeBox->setCurrentIndex(1);
        readings->findChild<QDoubleSpinBox*>(QStringLiteral("leanTolerance"))->setValue(0);
        QVERIFY2(readings->answerLabel->text().startsWith(QStringLiteral("11.4\u00b0 W \u00b1 ")),
                 qPrintable(readings->answerLabel->text()));
        QVERIFY2(readings->leanLabel->text().contains(QStringLiteral("plumb")),
                 qPrintable(readings->leanLabel->text()));
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 3 readings")));
        // The mirrors are rejected: the chosen answer of the morning reading is the second.
        QCOMPARE(CellText(readings, 0, ReadingsTableModel::Chosen), QStringLiteral("second"));
        QVERIFY2(readings->bestTimeLabel->text().startsWith(QStringLiteral("Best on 2003-09-03: ")),
                 qPrintable(readings->bestTimeLabel->text()));
        SaveShot(readings, QStringLiteral("readings_window.png"));
    }

    void oneReadingSaysWhenToMeasureNext() {
        auto window = OpenWindow();
        Calculate(*window, kMorning);
        ReadingsWindow* readings = OpenReadings(*window);
        QVERIFY2(
            readings->answerLabel->text().startsWith(QStringLiteral("Not decided: one reading")),
            qPrintable(readings->answerLabel->text()));
        QVERIFY2(
            readings->adviceLabel->text().contains(QStringLiteral("minutes after the last one")),
            qPrintable(readings->adviceLabel->text()));
        SaveShot(readings, QStringLiteral("readings_window_undecided.png"));
    }

    void leaveOutDeleteAndUndo() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        QAbstractItemModel* model = readings->readingsTable->model();
        const QModelIndex firstUse = model->index(0, ReadingsTableModel::Use);
        QCOMPARE(firstUse.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

        QVERIFY(model->setData(firstUse, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(model->index(0, ReadingsTableModel::Use).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Unchecked));
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 2 readings")));

        readings->readingsTable->selectRow(1);
        QTest::mouseClick(readings->cmdDelete, Qt::LeftButton);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(CellText(readings, 1, ReadingsTableModel::Time), QStringLiteral("16:30:00"));

        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_Z, Qt::ControlModifier);  // the deletion
        QCOMPARE(model->rowCount(), 3);
        QTest::mouseClick(readings->cmdUndo, Qt::LeftButton);  // leaving the first out
        QCOMPARE(model->index(0, ReadingsTableModel::Use).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Checked));
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 3 readings")));
        QTest::mouseClick(readings->cmdRedo, Qt::LeftButton);
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 2 readings")));
    }

    // Without a mouse: Tab into the table, Space leaves the current reading out and keeps the
    // cursor on it, Delete removes it and leaves the cursor in place, Ctrl+Z brings both back.
    void readingsFromTheKeyboard() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        QVERIFY(WaitUntilActive(readings));
        QTableView* table = readings->readingsTable;
        table->setFocus();
        PressKey(Qt::Key_Down);
        const int row = table->currentIndex().row();
        QVERIFY(row >= 0);

        PressKey(Qt::Key_Space);
        QCOMPARE(
            table->model()->index(row, ReadingsTableModel::Use).data(Qt::CheckStateRole).toInt(),
            int(Qt::Unchecked));
        QCOMPARE(table->currentIndex().row(), row);
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 2 readings")));

        PressKey(Qt::Key_Delete);
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(table->currentIndex().row(), std::min(row, 1));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table->model()->rowCount(), 3);
        QVERIFY(readings->answerLabel->text().endsWith(QStringLiteral(", 3 readings")));
    }

    // The best time to measure, in the user's locale and with "today" on the day itself.
    void bestTimeIsWordedInTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("start");
        QTest::newRow("en_US, another day") << "en_US" << false << "Best on 2003-09-03: ";
        QTest::newRow("en_US, that day") << "en_US" << true << "Best today: ";
        QTest::newRow("de_DE, decimal comma") << "de_DE" << false << "Best on 2003-09-03: ";
    }

    void bestTimeIsWordedInTheLocale() {
        QFETCH(QString, locale);
        QFETCH(bool, today);
        QFETCH(QString, start);
        namespace ks = kestramo::series;
        const kestramo::CalendarDate date{2003, 9, 3};
        const std::vector<ks::Reading> morning = {
            ks::MakeReading(date, 11 * 3600, -5, true, 40.655, -72.855, 10, 25)};
        const ks::SeriesResult series = ks::SolveSeries(morning, {}).result;
        ks::WallFit wall = series.fits.front();
        wall.declination = 11.42;
        const std::vector<ks::DayPlan> plans = {
            ks::PlanDay(morning[0], wall, series.latestDate, series.latestSquare, {})};
        const kestramo::CalendarDate day = today ? date : kestramo::CalendarDate{2026, 1, 1};
        const QString text = series_words::BestTime(plans, day, QLocale(locale));
        QVERIFY2(text.startsWith(start), qPrintable(text));
        const QChar separator = QLocale(locale).decimalPoint().at(0);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral(", about \u00b1\\d%1\\d\u00b0$")
                                                      .arg(QRegularExpression::escape(separator)))),
                 qPrintable(text));

        // Two candidate walls while undecided, and a wall the sun never reaches well.
        wall.declination = 180;
        const QString both = series_words::BestTime(
            {plans[0], ks::PlanDay(morning[0], wall, series.latestDate, series.latestSquare, {})},
            day, QLocale(locale));
        const QStringList lines = both.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("If the wall faces 11")), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(QStringLiteral("If it faces 180")) &&
                     lines[1].contains(QStringLiteral("No reading is possible")),
                 qPrintable(lines[1]));
    }

    void savedSeriesOpensAgain() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("wall.csv"));
        {
            auto window = OpenWindow();
            CalculateWorkedSeries(*window);
            QVERIFY(OpenReadings(*window)->saveFile(path));
        }
        // Everything was saved: the session's recovery file went with it, and nothing is
        // offered.
        QCOMPARE(QDir(recovery_file::Folder()).entryList(QDir::Files), QStringList());
        auto window = OpenWindow();
        ModalAnswerer answerer;
        ReadingsWindow* readings = OpenReadings(*window);
        QVERIFY(readings->openFile(path));
        QCOMPARE(readings->readingsTable->model()->rowCount(), 3);
        QVERIFY2(readings->answerLabel->text().startsWith(QStringLiteral("11.5\u00b0 W")),
                 qPrintable(readings->answerLabel->text()));
        QCOMPARE(readings->statusLabel->text(), QStringLiteral("wall.csv: 3 readings added."));
        QVERIFY(readings->windowTitle().endsWith(QStringLiteral(" \u2013 wall.csv")));
        QCOMPARE(answerer.seen().size(), 0);
    }

    void malformedFileKeepsGoodLinesAndTellsWhich() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("notes.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "date,time,utc_offset,daylight,latitude,longitude,height,length\n"
            "2003-09-03,11:00,-5,yes,40.655,-72.855,10,25\n"
            "2003-09-03,15:00,-5,yes,95,-72.855,10,15.46\n"
            "2003-02-30,16:30,-5,yes,40.655,-72.855,10,21.07\n");
        file.close();

        auto window = OpenWindow();
        Calculate(*window, At("16:30", "21.07"));
        ReadingsWindow* readings = OpenReadings(*window);
        ModalAnswerer answerer;
        QVERIFY(readings->openFile(path));
        QCOMPARE(readings->readingsTable->model()->rowCount(), 2);  // nothing already there lost
        QCOMPARE(answerer.seen().size(), 1);
        const QString message = answerer.seen()[0].text;
        QVERIFY2(message.contains(QStringLiteral("line 3")) &&
                     message.contains(QStringLiteral("line 4")),
                 qPrintable(message));

        // A file that is not ours at all.
        QFile other(folder.filePath(QStringLiteral("other.csv")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("\x89PNG\r\n\x1a\n\0\0\0junk", 15);
        other.close();
        answerer.clear();
        QVERIFY(!readings->openFile(other.fileName()));
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(readings->readingsTable->model()->rowCount(), 2);
    }

    // An earlier session's readings are added, discarded, or kept for later (Esc and closing
    // the question too); only Discard deletes its file, and Add once this session's file holds
    // them.
    void earlierSessionIsOfferedBack_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("kept");  // the earlier session's file is still there
        QTest::newRow("added") << int(QMessageBox::Yes) << 3 << false;
        QTest::newRow("discarded") << int(QMessageBox::Discard) << 1 << false;
        QTest::newRow("later") << int(QMessageBox::Cancel) << 1 << true;
    }

    void earlierSessionIsOfferedBack() {
        QFETCH(int, answer);
        QFETCH(int, rows);
        QFETCH(bool, kept);
        {
            auto window = OpenWindow();
            Calculate(*window, kMorning);
            Calculate(*window, At("15:00", "15.46"));
        }
        // Ended normally, but with readings in no saved file: they stay.
        const QStringList earlier = RecoveryFiles();
        QCOMPARE(earlier.size(), 1);
        auto window = OpenWindow();
        Calculate(*window, At("16:30", "21.07"));
        ModalAnswerer answerer{QMessageBox::StandardButton(answer)};
        ReadingsWindow* readings = OpenReadings(*window);
        QTRY_COMPARE(answerer.seen().size(), 1);
        const ModalAnswerer::Seen& question = answerer.seen()[0];
        QVERIFY2(question.text.contains(QStringLiteral("left 2 readings")) &&
                     question.text.contains(QStringLiteral("Add them to this session's list")),
                 qPrintable(question.text));
        QStringList buttons = question.buttons;
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Add to This List", "Ask Later", "Discard"}));
        QCOMPARE(question.defaultButton, QStringLiteral("Add to This List"));
        QCOMPARE(readings->readingsTable->model()->rowCount(), rows);
        QCOMPARE(RecoveryFiles().contains(earlier[0]), kept);
        // Adding is undone like any other change.
        if (rows == 3) {
            readings->cmdUndo->click();
            QCOMPARE(readings->readingsTable->model()->rowCount(), 1);
        }
    }

    void printsTheSeriesToPdf() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("series.pdf"));
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        QVERIFY(readings->printTo(pdf));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 qsizetype(1));
    }
};

QTEST_MAIN(ReadingsWindowTest)
#include "readings_window_test.moc"
