// The window without a mouse: every field and both option pairs from the keyboard, and Enter
// from the time-zone box while the box shows an entry it completed.

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
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace {

const QString kWorkedAnswer = QStringLiteral("100.1 degrees East, or 11.4 degrees West");
const QString kEastern = QStringLiteral("GMT-5hrs   US Eastern Time, Montreal, New York");

QWidget* Focus() { return QApplication::focusWidget(); }

void Type(const QString& text) { QTest::keyClicks(Focus(), text); }

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(Focus(), key, modifiers);
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

  private slots:
    void init() { window = OpenWindow(); }
    void cleanup() { window.reset(); }

    void everyFieldAndOptionFromTheKeyboard() {
        ModalAnswerer answerer;
        QCOMPARE(Focus(), window->txtDate);
        Type("9/3/2003");
        Press(Qt::Key_D, Qt::AltModifier);  // daylight-saving time
        Press(Qt::Key_Tab);
        Type("GMT-5");
        Press(Qt::Key_Tab);
        QCOMPARE(Focus(), window->txtLatitude);
        Type("40.655");
        Press(Qt::Key_Tab);
        Type("72.855");
        Press(Qt::Key_W, Qt::AltModifier);               // west of Greenwich
        for (int i = 0; i < 4; ++i) Press(Qt::Key_Tab);  // past Calculate, Quit and Print
        QCOMPARE(Focus(), window->txtHeight);
        Type("10");
        Press(Qt::Key_Tab);
        Type("25");
        Press(Qt::Key_Tab);
        QCOMPARE(Focus(), window->txtTime);
        Type("11:00");
        Press(Qt::Key_Return);

        QCOMPARE(answerer.texts(), QStringList());
        QVERIFY(window->optDstinput->isChecked());
        QVERIFY(window->OptWest->isChecked());
        QCOMPARE(window->lstTimeZone->currentIndex(), 6);
        QVERIFY2(window->lblResult->text().contains(kWorkedAnswer),
                 qPrintable(window->lblResult->text()));
    }

    // Calculate, change the height, type the zone again and press Enter in its box: the new
    // answer comes at once, with the completed entry chosen.
    void enterInTheZoneBoxCalculatesWithTheCompletedEntry() {
        ModalAnswerer answerer;
        Enter(*window, LongIslandMorning());
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        const QString first = window->lblResult->text();
        QVERIFY(first.contains(kWorkedAnswer));

        TypeInto(window->txtHeight, "12");
        QLineEdit* zoneBox = window->lstTimeZone->lineEdit();
        zoneBox->setFocus();
        zoneBox->selectAll();
        QTest::keyClicks(zoneBox, "GMT-5");
        // Qt completes the entry in place, the completed part highlighted.
        QCOMPARE(zoneBox->text(), kEastern);
        QCOMPARE(zoneBox->selectedText(), kEastern.mid(5));

        QSignalSpy calculate(window->CmdCalculate, &QPushButton::clicked);
        QTest::keyClick(zoneBox, Qt::Key_Return);
        QCOMPARE(calculate.count(), 1);
        QCOMPARE(window->lstTimeZone->currentIndex(), 6);
        QCOMPARE(zoneBox->text(), kEastern);
        const QString second = window->lblResult->text();
        QVERIFY(second != first);
        QCOMPARE(answerer.texts(), QStringList());
        // The same answer as a click gives.
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        QCOMPARE(window->lblResult->text(), second);
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
            box->setFocus();
            QTest::keyClick(box, Qt::Key(key), Qt::AltModifier);
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
