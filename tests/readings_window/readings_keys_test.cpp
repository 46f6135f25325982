// The readings window from the keyboard: one undo history whatever has the focus, tolerance
// changes on it, Esc and Ctrl+W close the window, and after every dialog the window's keys
// still work. It opens at a size that fits a 1024 x 768 screen.

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtTest>

#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "tests/support/file_dialog_answerer.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/readings_driver.h"

namespace {

// Room for a window on a 1024 x 768 screen, less its frame and a panel.
constexpr QSize kSmallScreenRoom(1000, 690);

QString UseState(ReadingsWindow* readings, int row) {
    const int state = readings->readingsTable->model()
                          ->index(row, ReadingsTableModel::Use)
                          .data(Qt::CheckStateRole)
                          .toInt();
    return state == Qt::Checked ? QStringLiteral("used") : QStringLiteral("out");
}

}  // namespace

class ReadingsKeysTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;
    ReadingsWindow* readings = nullptr;

    ReadingsList* list() const { return window->findChild<ReadingsList*>(); }
    QDoubleSpinBox* clockBox() const { return readings->toleranceBoxes.front(); }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void init() {
        QDir(recovery_file::Folder()).removeRecursively();
        window = OpenWindow();
        CalculateWorkedSeries(*window);
        readings = OpenReadings(*window);
        QVERIFY(readings);
    }

    void cleanup() {
        readings = nullptr;
        window.reset();
    }

    // A reading left out and a tolerance changed, both from the keyboard, are undone and
    // redone in turn with the same keys wherever the focus is, a tolerance box included.
    void undoWorksOnOneHistoryWhateverHasTheFocus_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("table") << "readingsTable";
        QTest::newRow("tolerance box") << "clockTolerance";
        QTest::newRow("Open button") << "cmdOpen";
    }

    void undoWorksOnOneHistoryWhateverHasTheFocus() {
        QFETCH(QString, focus);
        ClickInto(readings->readingsTable);
        PressKey(Qt::Key_Home);
        PressKey(Qt::Key_Space);
        QCOMPARE(UseState(readings, 0), QStringLiteral("out"));
        ClickInto(clockBox());
        PressKey(Qt::Key_A, Qt::ControlModifier);
        TypeText(QStringLiteral("60"));
        PressKey(Qt::Key_Return);
        QCOMPARE(list()->tolerances().clockSeconds, 60.0);

        readings->findChild<QWidget*>(focus)->setFocus(Qt::TabFocusReason);
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list()->tolerances().clockSeconds, 10.0);
        QCOMPARE(clockBox()->value(), 10.0);
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(UseState(readings, 0), QStringLiteral("used"));
        PressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(UseState(readings, 0), QStringLiteral("out"));
        PressKey(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(list()->tolerances().clockSeconds, 60.0);
        QCOMPARE(clockBox()->value(), 60.0);
        // Following the history changed nothing of it.
        QCOMPARE(list()->undoStack()->index(), list()->undoStack()->count());
    }

    void escAndCtrlWCloseTheWindow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Esc in the table") << int(Qt::Key_Escape) << 0 << "readingsTable";
        QTest::newRow("Esc in a tolerance box") << int(Qt::Key_Escape) << 0 << "tiltTolerance";
        QTest::newRow("Ctrl+W in the table")
            << int(Qt::Key_W) << int(Qt::ControlModifier) << "readingsTable";
        QTest::newRow("Ctrl+W in a tolerance box")
            << int(Qt::Key_W) << int(Qt::ControlModifier) << "lengthTolerance";
    }

    void escAndCtrlWCloseTheWindow() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, focus);
        readings->findChild<QWidget*>(focus)->setFocus(Qt::TabFocusReason);
        PressKey(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!readings->isVisible());
        // The main window takes the keys again, and Alt+R brings the readings back.
        QVERIFY(WaitUntilActive(window.get()));
        QCOMPARE(OpenReadings(*window), readings);
        QCOMPARE(readings->readingsTable->model()->rowCount(), 3);
    }

    // After a message and after a file dialog the window is active: Alt+O opens, the access
    // key of a tolerance reaches its box, the table takes its keys.
    void keysStillWorkAfterEveryDialog() {
        ModalAnswerer boxes;
        FileDialogAnswerer dialogs;
        QTemporaryDir folder;
        const QString junk = folder.filePath(QStringLiteral("junk.csv"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Dear diary,\nthe sun shone.\n");
        file.close();
        QVERIFY(!readings->openFile(junk));
        QCOMPARE(boxes.seen().size(), 1);
        QVERIFY(WaitUntilActive(readings));

        PressKey(Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(dialogs.seen().size(), 1);
        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(FocusWidget(), readings->findChild<QDoubleSpinBox*>("tiltTolerance"));
        ClickInto(readings->readingsTable);
        PressKey(Qt::Key_End);
        PressKey(Qt::Key_Delete);
        QCOMPARE(readings->readingsTable->model()->rowCount(), 2);
    }

    // Everything is within the room a 1024 x 768 screen gives, the table scrolling if need be.
    void fitsASmallScreen() {
        QVERIFY2(
            readings->width() <= kSmallScreenRoom.width() &&
                readings->height() <= kSmallScreenRoom.height(),
            qPrintable(QStringLiteral("%1 x %2").arg(readings->width()).arg(readings->height())));
        const QSize least = readings->minimumSizeHint();
        QVERIFY2(least.width() <= kSmallScreenRoom.width() &&
                     least.height() <= kSmallScreenRoom.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
        readings->resize(kSmallScreenRoom);
        QTest::qWait(20);
        for (QWidget* control : readings->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->parentWidget() != readings) continue;
            const QRect place(control->mapTo(readings, QPoint()), control->size());
            QVERIFY2(readings->rect().contains(place), qPrintable(control->objectName()));
        }
    }

    // A note too long for its column shows whole as the cell's tooltip.
    void longNotesShowAsTooltips() {
        Observation tooShort = kMorning;
        tooShort.time = QStringLiteral("3:00:00 PM");
        tooShort.length = QStringLiteral("7");
        Calculate(*window, tooShort);
        // It goes after the 15:00 reading taken before it, at the same time.
        const QModelIndex note =
            readings->readingsTable->model()->index(2, ReadingsTableModel::Note);
        QVERIFY(!note.data().toString().isEmpty());
        QCOMPARE(note.data(Qt::ToolTipRole).toString(), note.data().toString());
    }
};

QTEST_MAIN(ReadingsKeysTest)
#include "readings_keys_test.moc"
