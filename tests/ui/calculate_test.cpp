// Calculate, from typed inputs to the text of lblResult.

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

Q_DECLARE_METATYPE(Observation)

namespace {

const QString kAzimuthNote =
    QStringLiteral("(Zero degrees azimuth is defined as facing directly south)");
const QString kNoWall = QStringLiteral(
    "There is no declination for a vertical wall that corresponds to this shadow length for "
    "this date, time, and location.");
const QString kSunDown = QStringLiteral(
    "The sun is below the horizon at this date, time, and location, so no wall declination can "
    "be found.  Please check the time, AM or PM, and the time zone.");

Observation With(Observation o, void (*change)(Observation&)) {
    change(o);
    return o;
}

}  // namespace

class CalculateTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

    QString calculate(const Observation& observation) {
        Enter(*window, observation);
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        return window->lblResult->text();
    }

  private slots:
    void init() { window = OpenWindow(); }
    void cleanup() {
        window.reset();
        RestoreTestLocale();
    }

    void writesTheResult_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Observation>("observation");
        QTest::addColumn<QString>("result");

        const Observation morning = LongIslandMorning();
        QTest::newRow("morning: east, then west with its blank")
            << "en_US" << morning
            << "Wednesday, September 03, 2003\r\nWall Declination is either 100.1 degrees East, "
               "or 11.4 degrees West. \r\n" +
                   kAzimuthNote;
        QTest::newRow("early summer morning: west, then east without a blank")
            << "en_US"
            << With(morning,
                    [](Observation& o) {
                        o.date = "6/21/2003";
                        o.time = "6:30";
                        o.length = "40";
                    })
            << "Saturday, June 21, 2003\r\nWall Declination is either 172.7 degrees West, or "
               "35.9 degrees East.\r\n" +
                   kAzimuthNote;
        QTest::newRow("shadow too short for any wall") << "en_US"
                                                       << With(morning,
                                                               [](Observation& o) {
                                                                   o.time = "3:00:00 PM";
                                                                   o.length = "7";
                                                               })
                                                       << kNoWall;
        QTest::newRow("sun below the horizon")
            << "en_US" << With(morning, [](Observation& o) { o.time = "3:00 AM"; }) << kSunDown;
        QTest::newRow("German names and decimal commas")
            << "de_DE"
            << With(morning,
                    [](Observation& o) {
                        o.date = "3.9.2003";
                        o.latitude = "40,655";
                        o.longitude = "72,855";
                        o.time = "11:00:00";
                    })
            << "Mittwoch, September 03, 2003\r\nWall Declination is either 100,1 degrees East, "
               "or 11,4 degrees West. \r\n" +
                   kAzimuthNote;
        QTest::newRow("British day-first date")
            << "en_GB" << With(morning, [](Observation& o) { o.date = "03/09/2003"; })
            << "Wednesday, September 03, 2003\r\nWall Declination is either 100.1 degrees East, "
               "or 11.4 degrees West. \r\n" +
                   kAzimuthNote;
    }

    void writesTheResult() {
        QFETCH(QString, locale);
        QFETCH(Observation, observation);
        QFETCH(QString, result);
        QLocale::setDefault(QLocale(locale));
        ModalAnswerer answerer;
        QCOMPARE(calculate(observation), result);
        QCOMPARE(answerer.texts(), QStringList());
        // A second click gives the same text, not a doubled one.
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        QCOMPARE(window->lblResult->text(), result);
    }

    void eachResultReplacesTheLastAndFailuresLeaveIt() {
        ModalAnswerer answerer;
        const Observation morning = LongIslandMorning();
        const Observation tooShort = With(morning, [](Observation& o) {
            o.time = "3:00:00 PM";
            o.length = "7";
        });

        QCOMPARE(calculate(With(morning, [](Observation& o) { o.height = "0"; })), QString());
        QCOMPARE(calculate(tooShort), kNoWall);
        const QString solved = calculate(morning);
        QVERIFY(solved.startsWith("Wednesday, September 03, 2003\r\n"));
        QCOMPARE(calculate(With(morning, [](Observation& o) { o.date = "no date"; })), solved);
        QCOMPARE(calculate(tooShort), kNoWall);
        QCOMPARE(answerer.texts(),
                 (QStringList{"Please enter positive number", "Please enter a valid date"}));
    }
};

QTEST_MAIN(CalculateTest)
#include "calculate_test.moc"
