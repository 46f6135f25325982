// A result on screen that no longer answers the fields keeps its text and place but shows, in
// grey and to screen readers, that the inputs have changed; it is current again once the
// inputs are what it was calculated from, or after the next calculation.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace {

const QString kNoWall = QStringLiteral(
    "There is no declination for a vertical wall that corresponds to this shadow length for "
    "this date, time, and location.");

QString Description(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
}

// One change a user makes: new text typed into a box, or a key pressed where the focus is.
struct Change {
    QString box;  // empty: `key` is pressed
    QString text;
    int key = 0;
    int modifiers = 0;
};

void Make(Sundial_Input& window, const Change& change) {
    if (change.box.isEmpty()) {
        PressKey(Qt::Key(change.key), Qt::KeyboardModifiers(change.modifiers));
    } else {
        TypeInto(window.findChild<QLineEdit*>(change.box), change.text);
    }
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class StaleResultTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

    // The result looks current (true) or shows it answers other inputs (false).
    bool looksCurrent() const {
        const QColor normal = window->Frame1->palette().color(QPalette::WindowText);
        const bool black = window->lblResult->palette().color(QPalette::WindowText) == normal;
        const bool described = !Description(window->lblResult).isEmpty();
        if (black == described) qWarning("grey and description disagree");
        return black && !described;
    }

  private slots:
    void init() { window = OpenWindow(); }
    void cleanup() { window.reset(); }

    void changedInputsShowTheResultIsStale_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<Change>("back");
        QTest::addColumn<QString>("message");  // what Enter after the change says
        const auto typed = [](const char* box, const char* text) {
            return Change{QLatin1String(box), QLatin1String(text)};
        };
        const auto key = [](int key, int modifiers = 0) {
            return Change{QString(), QString(), key, modifiers};
        };
        QTest::newRow("date") << typed("txtDate", "9/4/2003") << typed("txtDate", "9/3/2003")
                              << QString();
        QTest::newRow("latitude") << typed("txtLatitude", "41") << typed("txtLatitude", "40.655")
                                  << QString();
        QTest::newRow("time") << typed("txtTime", "11:05") << typed("txtTime", "11:00:00 AM")
                              << QString();
        QTest::newRow("height") << typed("txtHeight", "11") << typed("txtHeight", "10")
                                << QString();
        QTest::newRow("standard time")
            << key(Qt::Key_S, Qt::AltModifier) << key(Qt::Key_D, Qt::AltModifier) << QString();
        QTest::newRow("east") << key(Qt::Key_E, Qt::AltModifier) << key(Qt::Key_W, Qt::AltModifier)
                              << "Your longitude is more than 15 degrees form your time zone.  "
                                 "Are you sure that this information is correct?";
        QTest::newRow("refused length") << typed("txtLength", "abc") << typed("txtLength", "25")
                                        << "Please enter positive number";
        QTest::newRow("longitude far from the zone, No")
            << typed("txtLongitude", "150") << typed("txtLongitude", "72.855")
            << "Your longitude is more than 15 degrees form your time zone.  Are you sure that "
               "this information is correct?";
    }

    void changedInputsShowTheResultIsStale() {
        QFETCH(Change, change);
        QFETCH(Change, back);
        QFETCH(QString, message);
        ModalAnswerer answerer(QMessageBox::No);
        Enter(*window, LongIslandMorning());
        PressKey(Qt::Key_Return);
        const QString result = window->lblResult->text();
        const QRect place = window->lblResult->geometry();
        QVERIFY(result.contains(QStringLiteral("100.1 degrees East")));
        QVERIFY(looksCurrent());

        ClickInto(window->txtLatitude);
        Make(*window, change);
        QVERIFY(!looksCurrent());
        QVERIFY(Description(window->lblResult).contains(QStringLiteral("Calculate")));
        // Enter with the changed input: refused, declined, or a new result.
        PressKey(Qt::Key_Return);
        QCOMPARE(answerer.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) {
            QCOMPARE(window->lblResult->text(), result);
            QCOMPARE(window->lblResult->geometry(), place);
            QVERIFY(!looksCurrent());
            // The inputs it was calculated from again: it is current.
            Make(*window, back);
            QVERIFY(looksCurrent());
        } else {
            QVERIFY(window->lblResult->text() != result);
            QVERIFY(looksCurrent());
            Make(*window, back);
            QVERIFY(!looksCurrent());
        }
        answerer.clear();
        PressKey(Qt::Key_Return);
        QCOMPARE(window->lblResult->text(), result);
        QVERIFY(looksCurrent());
        QCOMPARE(answerer.texts(), QStringList());
    }

    // "No wall fits" answers its inputs as much as an angle does.
    void aSentenceWithoutAnAngleIsAResultToo() {
        ModalAnswerer answerer;
        Observation tooShort = LongIslandMorning();
        tooShort.time = QStringLiteral("3:00:00 PM");
        tooShort.length = QStringLiteral("7");
        Enter(*window, tooShort);
        PressKey(Qt::Key_Return);
        QCOMPARE(window->lblResult->text(), kNoWall);
        QVERIFY(looksCurrent());
        TypeInto(window->txtLength, QStringLiteral("8"));
        QVERIFY(!looksCurrent());
        // Choosing another zone from the list counts as much as typing.
        TypeInto(window->txtLength, QStringLiteral("7"));
        QVERIFY(looksCurrent());
        window->lstTimeZone->setCurrentIndex(7);
        QVERIFY(!looksCurrent());
        QCOMPARE(answerer.texts(), QStringList());
    }
};

QTEST_MAIN(StaleResultTest)
#include "stale_result_test.moc"
