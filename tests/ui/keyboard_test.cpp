// The window without a mouse: every field and both option pairs from the keyboard, and Enter
// from every field of the Tab cycle and from the time-zone box, however its entry was chosen.
// Every key goes to the widget that has the focus, as a keyboard's do.

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace {

const QString kWorkedAnswer = QStringLiteral("100.1 degrees East, or 11.4 degrees West");
// The worked measurement on Atlantic time, and with a 12-unit square on Eastern time.
const QString kAtlanticAnswer = QStringLiteral("122.0 degrees East, or 0.3 degrees West");
const QString kTallerSquareAnswer = QStringLiteral("93.3 degrees East, or 4.7 degrees West");
const QString kEastern = QStringLiteral("GMT-5hrs   US Eastern Time, Montreal, New York");
const QString kAtlantic = QStringLiteral("GMT-4hrs   Atlantic, Nova Scotia");

QWidget* Focus() { return QApplication::focusWidget(); }

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

  private slots:
    // Nothing listens on this socket, so that Print fails at once whatever runs here.
    void initTestCase() { qputenv("CUPS_SERVER", "/nonexistent/kestramo-no-cups.sock"); }
    void init() { window = OpenWindow(); }
    void cleanup() { window.reset(); }

    void everyFieldAndOptionFromTheKeyboard() {
        ModalAnswerer answerer;
        QCOMPARE(Focus(), window->txtDate);
        TypeText("9/3/2003");
        PressKey(Qt::Key_D, Qt::AltModifier);  // daylight-saving time
        PressKey(Qt::Key_Tab);
        TypeText("GMT-5");
        PressKey(Qt::Key_Tab);
        QCOMPARE(Focus(), window->txtLatitude);
        TypeText("40.655");
        PressKey(Qt::Key_Tab);
        TypeText("72.855");
        PressKey(Qt::Key_W, Qt::AltModifier);               // west of Greenwich
        for (int i = 0; i < 4; ++i) PressKey(Qt::Key_Tab);  // past Calculate, Quit and Print
        QCOMPARE(Focus(), window->txtHeight);
        TypeText("10");
        PressKey(Qt::Key_Tab);
        TypeText("25");
        PressKey(Qt::Key_Tab);
        QCOMPARE(Focus(), window->txtTime);
        TypeText("11:00");
        PressKey(Qt::Key_Return);

        QCOMPARE(answerer.texts(), QStringList());
        QVERIFY(window->optDstinput->isChecked());
        QVERIFY(window->OptWest->isChecked());
        QCOMPARE(window->lstTimeZone->currentIndex(), 6);
        QVERIFY2(window->lblResult->text().contains(kWorkedAnswer),
                 qPrintable(window->lblResult->text()));
    }

    // Enter from each stop of the Tab cycle presses the default button from a box, and the
    // focused button itself from a button.
    void enterFromEveryStopOfTheTabCycle_data() {
        QTest::addColumn<int>("tabs");  // from the date box
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("pressed");
        const char* const stops[][2] = {
            {"txtDate", "CmdCalculate"},      {"lstTimeZone", "CmdCalculate"},
            {"txtLatitude", "CmdCalculate"},  {"txtLongitude", "CmdCalculate"},
            {"CmdCalculate", "CmdCalculate"}, {"CmdQuit", "CmdQuit"},
            {"cmdPrint", "cmdPrint"},         {"txtHeight", "CmdCalculate"},
            {"txtLength", "CmdCalculate"},    {"txtTime", "CmdCalculate"},
            {"cmdMethod", "cmdMethod"},
        };
        for (int tabs = 0; const auto& [stop, pressed] : stops) {
            QTest::newRow(stop) << tabs++ << stop << pressed;
        }
    }

    void enterFromEveryStopOfTheTabCycle() {
        QFETCH(int, tabs);
        QFETCH(QString, stop);
        QFETCH(QString, pressed);
        // No printer: Print offers a PDF file instead, which is declined.
        ModalAnswerer answerer(QMessageBox::No);
        Enter(*window, LongIslandMorning());
        ClickInto(window->txtDate);
        for (int i = 0; i < tabs; ++i) PressKey(Qt::Key_Tab);
        QCOMPARE(Focus(), window->findChild<QWidget*>(stop));

        QList<std::pair<QString, std::shared_ptr<QSignalSpy>>> clicks;
        for (const char* name : {"CmdCalculate", "CmdQuit", "cmdPrint", "cmdMethod"}) {
            auto* button = window->findChild<QPushButton*>(name);
            clicks.append({name, std::make_shared<QSignalSpy>(button, &QPushButton::clicked)});
        }
        if (pressed == u"CmdQuit") {
            // Quit ends the program's event loop: Enter is pressed inside one.
            QTimer::singleShot(0, [] { PressKey(Qt::Key_Return); });
            QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // should it hang
            QCOMPARE(QCoreApplication::exec(), 0);
        } else {
            PressKey(Qt::Key_Return);
        }
        for (const auto& [name, spy] : clicks) {
            QTRY_COMPARE_WITH_TIMEOUT(spy->count(), name == pressed ? 1 : 0, 200);
        }
        if (pressed == u"CmdCalculate" || pressed == u"cmdPrint") {
            QVERIFY2(window->lblResult->text().contains(kWorkedAnswer),
                     qPrintable(window->lblResult->text()));
        }
    }

    // Enter in the time-zone box takes the entry the box shows and calculates at once, however
    // the entry got there: typed and completed in place, typed again, chosen with the arrow
    // keys, or typed after the box was refused.
    void enterInTheZoneBoxCalculatesAtOnce_data() {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("typed");  // empty: one step down the list with the arrow key
        QTest::addColumn<bool>("refusedFirst");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("answer");
        QTest::newRow("another zone typed") << "10"
                                            << "GMT-4" << false << kAtlantic << kAtlanticAnswer;
        QTest::newRow("the same zone typed again, new height")
            << "12"
            << "GMT-5" << false << kEastern << kTallerSquareAnswer;
        QTest::newRow("another zone by the arrow key")
            << "10" << QString() << false << kAtlantic << kAtlanticAnswer;
        QTest::newRow("typed after the box was refused")
            << "10"
            << "GMT-4" << true << kAtlantic << kAtlanticAnswer;
    }

    void enterInTheZoneBoxCalculatesAtOnce() {
        QFETCH(QString, height);
        QFETCH(QString, typed);
        QFETCH(bool, refusedFirst);
        QFETCH(QString, entry);
        QFETCH(QString, answer);
        ModalAnswerer answerer;
        Enter(*window, LongIslandMorning());
        PressKey(Qt::Key_Return);
        QVERIFY(window->lblResult->text().contains(kWorkedAnswer));
        TypeInto(window->txtHeight, height);

        QComboBox* zone = window->lstTimeZone;
        QLineEdit* zoneText = zone->lineEdit();
        ClickInto(zoneText);
        QCOMPARE(Focus(), zone);
        if (refusedFirst) {
            PressKey(Qt::Key_A, Qt::ControlModifier);
            TypeText("XYZ");
            PressKey(Qt::Key_Return);
            QCOMPARE(answerer.texts(), QStringList{"Please select your time zone"});
            answerer.clear();
            // Back in the box, its text selected, the window active: typing replaces it.
            QTRY_VERIFY(window->isActiveWindow());
            QCOMPARE(Focus(), zone);
            QCOMPARE(zoneText->selectedText(), QStringLiteral("XYZ"));
        } else {
            PressKey(Qt::Key_A, Qt::ControlModifier);
        }
        if (typed.isEmpty()) {
            PressKey(Qt::Key_Down);
        } else {
            TypeText(typed);
            // Qt completes the entry in place, the completed part highlighted.
            QCOMPARE(zoneText->text(), entry);
            QCOMPARE(zoneText->selectedText(), entry.mid(typed.size()));
        }

        QSignalSpy calculate(window->CmdCalculate, &QPushButton::clicked);
        PressKey(Qt::Key_Return);
        QCOMPARE(calculate.count(), 1);
        QCOMPARE(zone->currentText(), entry);
        QCOMPARE(zone->currentIndex(), zone->findText(entry));
        QVERIFY2(window->lblResult->text().contains(answer), qPrintable(window->lblResult->text()));
        QCOMPARE(answerer.texts(), QStringList());
    }

    void optionKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("other");  // the other option of its pair
        QTest::newRow("Alt+S standard time") << int(Qt::Key_S) << "optStandardinput"
                                             << "optDstinput";
        QTest::newRow("Alt+D daylight time") << int(Qt::Key_D) << "optDstinput"
                                             << "optStandardinput";
        QTest::newRow("Alt+W west") << int(Qt::Key_W) << "OptWest"
                                    << "OptEast";
        QTest::newRow("Alt+E east") << int(Qt::Key_E) << "OptEast"
                                    << "OptWest";
    }

    // Each key checks its option from any text box, leaves the focus and the typed text where
    // they are, and is shown and announced.
    void optionKeys() {
        QFETCH(int, key);
        QFETCH(QString, option);
        QFETCH(QString, other);
        auto* chosen = window->findChild<QRadioButton*>(option);
        auto* partner = window->findChild<QRadioButton*>(other);
        const QString caption = chosen->text();
        partner->click();
        for (QLineEdit* box : {window->txtDate, window->txtLongitude, window->txtTime}) {
            TypeInto(box, "12");
            PressKey(Qt::Key(key), Qt::AltModifier);
            QVERIFY(chosen->isChecked());
            QVERIFY(!partner->isChecked());
            QCOMPARE(Focus(), box);
            QCOMPARE(box->text(), QStringLiteral("12"));
            partner->click();
        }
        const QKeySequence accessKey(Qt::AltModifier | Qt::Key(key));
        const QString keyText = accessKey.toString(QKeySequence::NativeText);
        QCOMPARE(chosen->text(), caption);
        QVERIFY(!caption.contains(u'&'));
        QCOMPARE(chosen->shortcut(), accessKey);
        QVERIFY(caption.contains(QChar(key), Qt::CaseInsensitive));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(chosen);
        QCOMPARE(accessible->text(QAccessible::Description), keyText);
        QCOMPARE(accessible->text(QAccessible::Name), caption);
        QCOMPARE(chosen->focusPolicy() & Qt::TabFocus, 0);
    }

    // No two commands or options share a key.
    void accessKeysAreDistinct() {
        QList<QKeySequence> keys;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            // A caption's ampersand gives its button the same kind of shortcut.
            if (!button->shortcut().isEmpty()) keys << button->shortcut();
        }
        QCOMPARE(keys.size(), 7);  // Print, Quit, Readings and the four options
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QCOMPARE(keys.count(keys[i]), 1);
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
