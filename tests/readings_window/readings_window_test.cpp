// The readings window: every calculation is kept once, readings can be left out and deleted
// with undo, the worked series gives one answer in every convention with its dial, files that
// are not right are told about, an earlier session's readings are offered back, and the page
// printed holds what the window says.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

#include "engine/angles.h"
#include "readings/series_words.h"
#include "readings_window/copyable_fields.h"
#include "readings_window/dial_panel.h"
#include "readings_window/picture_widgets.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/readings_window.h"
#include "readings_window/recovery_file.h"
#include "series/day_plan.h"
#include "series/series.h"
#include "tests/print/pdf_reader.h"
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

// The worked readings read to the middle of the blur on a wall taken as plumb: 11.4 W.
void DecideOnTheWorkedWall(ReadingsWindow* readings) {
    readings->edgeBox->setCurrentIndex(1);
    readings->findChild<QDoubleSpinBox*>(QStringLiteral("leanTolerance"))->setValue(0);
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
        readings->pictureTabs->setCurrentWidget(readings->dialPanel);
        SaveShot(readings, QStringLiteral("readings_window_dial.png"));
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

    // The page a newcomer reads: the answer, the lean, the tolerances, the wall in the
    // conventions of dial programs and the dial with its hour lines as a table, all on the one
    // page.
    void printsTheSeriesToPdf() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        DecideOnTheWorkedWall(readings);
        QTemporaryDir folder;
        const QString shots = qEnvironmentVariable("KESTRAMO_SCREENSHOT_DIR");
        const QString path = QDir(shots.isEmpty() ? folder.path() : shots)
                                 .filePath(QStringLiteral("readings_printout.pdf"));
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        QVERIFY(readings->printTo(pdf));
        QCOMPARE(pdf_reader::Pages(path), 1);
        const QString text = pdf_reader::TextLines(path).join(QLatin1Char(' '));
        for (const QString& expected :
             {QStringLiteral("11.4\u00b0 W \u00b1"), QStringLiteral("3 readings"),
              QStringLiteral("The wall is taken to stand as measured"),
              QStringLiteral("Tolerances, one standard deviation each"),
              QStringLiteral("Declination from south, east positive: -11.4\u00b0"),
              QStringLiteral("Azimuth of the wall's normal, from north through east: 191.4\u00b0"),
              QStringLiteral("A dial laid out for this wall reads within"),
              QStringLiteral("Style height above the face: 48.0\u00b0"),
              QStringLiteral("Time Hour angle Line at \u00b1 minutes"),
              QStringLiteral("12:00 0.0\u00b0 0.0\u00b0 \u00b10."),
              QStringLiteral("the way its face looks"), QStringLiteral("the best stretch"),
              QStringLiteral("Clock time (UTC\u22125, daylight time)")}) {
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
        }
    }

    // Once decided, the answer in the five conventions of dial programs, each copied with
    // Ctrl+C once Tab has reached it; while undecided, none, and the dial waits.
    void conventionsAreShownAndCopied() {
        auto window = OpenWindow();
        Calculate(*window, kMorning);
        ReadingsWindow* readings = OpenReadings(*window);
        QVERIFY(!readings->conventionsBox->isVisible());
        QVERIFY2(readings->dialPanel->howGoodLabel->text().startsWith(
                     QStringLiteral("The dial waits for a decided wall")),
                 qPrintable(readings->dialPanel->howGoodLabel->text()));
        QVERIFY(!readings->dialPanel->hourLinesTable->isVisibleTo(readings));

        Calculate(*window, At("15:00", "15.46"));
        Calculate(*window, At("16:30", "21.07"));
        DecideOnTheWorkedWall(readings);
        QVERIFY(readings->conventionsBox->isVisible());
        readings->activateWindow();
        const QStringList values = {"11.4\u00b0", "-11.4\u00b0", "191.4\u00b0", "90.0\u00b0",
                                    "0.0\u00b0"};
        QCOMPARE(readings->conventions->rows(), int(values.size()));
        QVERIFY(WaitUntilActive(readings));
        // Tab leads from the readings table to the first box, not round the table's cells.
        readings->readingsTable->setFocus(Qt::TabFocusReason);
        for (int tab = 0; tab < 40 && FocusWidget() != readings->conventions->value(0); ++tab) {
            PressKey(Qt::Key_Tab);
        }
        for (int row = 0; row < int(values.size()); ++row) {
            QLineEdit* box = readings->conventions->value(row);
            QCOMPARE(box->text(), values[row]);
            QVERIFY(!box->accessibleName().isEmpty());
            QApplication::clipboard()->clear();
            if (row > 0) PressKey(Qt::Key_Tab);
            QCOMPARE(FocusWidget(), box);
            // The plain number, as a spreadsheet or a dial program takes it.
            PressKey(Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), values[row].chopped(1));
        }
    }

    // The worked wall's dial: a line for every whole and half hour the sun reaches the face,
    // each at the angle the closed formula of a vertical declining dial gives; the rows copy
    // as a spreadsheet takes them; Alt+I shows the dial.
    // Every access key names one control among those in sight, on each page of the pictures and
    // of the dial: a letter shared by two makes Alt+letter move between them instead of acting.
    void accessKeysAreUniqueOnEveryPage() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        DecideOnTheWorkedWall(readings);
        const auto keysInSight = [&] {
            std::map<QChar, QStringList> keys;
            const auto note = [&](const QString& text) {
                static const QRegularExpression mnemonic(QStringLiteral("(?<!&)&([^&])"));
                const QRegularExpressionMatch match = mnemonic.match(text);
                if (match.hasMatch()) keys[match.captured(1).at(0).toLower()] << text;
            };
            for (QAbstractButton* button : readings->findChildren<QAbstractButton*>()) {
                if (button->isVisibleTo(readings)) note(button->text());
            }
            for (QLabel* label : readings->findChildren<QLabel*>()) {
                if (label->isVisibleTo(readings) && label->buddy()) note(label->text());
            }
            for (QTabWidget* tabs : readings->findChildren<QTabWidget*>()) {
                if (!tabs->isVisibleTo(readings)) continue;
                for (int i = 0; i < tabs->count(); ++i) note(tabs->tabText(i));
            }
            QStringList shared;
            for (const auto& [key, texts] : keys) {
                if (texts.size() > 1) shared << texts.join(QStringLiteral(" / "));
            }
            return shared.join(QStringLiteral("; "));
        };
        for (QTabWidget* tabs : readings->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                for (QTabWidget* inner : readings->findChildren<QTabWidget*>()) {
                    for (int k = 0; k < inner->count(); ++k) {
                        inner->setCurrentIndex(k);
                        const QString shared = keysInSight();
                        QVERIFY2(shared.isEmpty(), qPrintable(shared));
                    }
                }
            }
        }
    }

    void theWorkedWallsDialIsListed() {
        auto window = OpenWindow();
        CalculateWorkedSeries(*window);
        ReadingsWindow* readings = OpenReadings(*window);
        DecideOnTheWorkedWall(readings);
        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_I, Qt::AltModifier);
        QCOMPARE(readings->pictureTabs->currentWidget(), readings->dialPanel);
        QTableWidget* table = readings->dialPanel->hourLinesTable;
        QVERIFY(table->isVisible());
        QVERIFY2(readings->dialPanel->howGoodLabel->text().startsWith(
                     QStringLiteral("A dial laid out for this wall reads within \u00b1")),
                 qPrintable(readings->dialPanel->howGoodLabel->text()));
        // On the plumb wall 11.4 W at 40.655 N the sun reaches the face from 6:30 to 18:00: at
        // 18:30 it is either down or already behind the wall's plane, which runs 11.4 north of
        // west, and so it is at 6:00 on the east side.
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("6:30"));
        QCOMPARE(table->item(table->rowCount() - 1, 0)->text(), QStringLiteral("18:00"));
        QCOMPARE(table->rowCount(), 24);
        const double phi = 40.655 * kestramo::kDegToRad;
        const double d = 11.42 * kestramo::kDegToRad;
        for (int row = 0; row < table->rowCount(); ++row) {
            const double h =
                table->item(row, 1)->text().chopped(1).toDouble() * kestramo::kDegToRad;
            const double expected =
                std::atan2(std::cos(phi) * std::sin(h),
                           std::cos(h) * std::cos(d) + std::sin(phi) * std::sin(d) * std::sin(h)) *
                kestramo::kRadToDeg;
            const double shown = table->item(row, 2)->text().chopped(1).toDouble();
            // The fitted wall is 11.4 W to within its tenth of a degree.
            QVERIFY2(std::fabs(shown - expected) < 0.2,
                     qPrintable(table->item(row, 0)->text() + QStringLiteral(": ") +
                                QString::number(shown) + QStringLiteral(" against ") +
                                QString::number(expected)));
            QVERIFY(table->item(row, 3)->text().startsWith(QStringLiteral("\u00b1")));
        }
        QCOMPARE(readings->dialPanel->quantities->value(0)->text(), QStringLiteral("48.0\u00b0"));
        table->setFocus();
        table->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
        PressKey(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("6:30\t-82.5\t-90.0\n7:00\t-75.0\t-80.0"));
    }

    // What the window says in every state a series can be in: no statistician's words, no
    // "1 minutes", and pictures and new controls named for screen readers.
    void wordsAreASundialMakers_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("no readings") << 0;
        QTest::newRow("one reading") << 1;
        QTest::newRow("decided") << 2;
        QTest::newRow("a reading left out") << 3;
    }

    void wordsAreASundialMakers() {
        QFETCH(int, state);
        auto window = OpenWindow();
        if (state >= 1) Calculate(*window, kMorning);
        if (state >= 2) {
            Calculate(*window, At("15:00", "15.46"));
            Calculate(*window, At("16:30", "21.07"));
        }
        if (state == 3) Calculate(*window, At("15:30", "30"));
        ReadingsWindow* readings = OpenReadings(*window);
        QStringList texts;
        for (const QLabel* label : readings->findChildren<QLabel*>()) texts << label->text();
        for (const QWidget* widget : readings->findChildren<QWidget*>()) {
            texts << widget->toolTip() << widget->accessibleName()
                  << widget->accessibleDescription();
        }
        for (const QGroupBox* box : readings->findChildren<QGroupBox*>()) texts << box->title();
        const QAbstractItemModel* model = readings->readingsTable->model();
        for (int column = 0; column < model->columnCount(); ++column) {
            texts << model->headerData(column, Qt::Horizontal).toString()
                  << model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
            for (int row = 0; row < model->rowCount(); ++row) {
                texts << model->index(row, column).data().toString()
                      << model->index(row, column).data(Qt::ToolTipRole).toString();
            }
        }
        static const QRegularExpression kJargon(
            QStringLiteral("\u03c3|\u03c7|Birge|sigma|chi\\^?2|\\b1 (minutes|readings|lines)\\b|"
                           "0\\.0 times"),
            QRegularExpression::CaseInsensitiveOption);
        for (const QString& text : texts) {
            QVERIFY2(!text.contains(kJargon), qPrintable(text));
        }
        for (const QWidget* picture :
             {static_cast<QWidget*>(readings->planView), static_cast<QWidget*>(readings->dayPlot),
              static_cast<QWidget*>(readings->dialPanel->dialFace),
              static_cast<QWidget*>(readings->pictureTabs)}) {
            QVERIFY2(!picture->accessibleName().isEmpty(), qPrintable(picture->objectName()));
        }
        if (state >= 1) QVERIFY(!readings->planView->accessibleDescription().isEmpty());
    }
};

QTEST_MAIN(ReadingsWindowTest)
#include "readings_window_test.moc"
