// DateCheck, driven through the real window: each input is checked in its order, the first
// bad one is reported in a box, and each good one is stored as soon as it passes.

#include <QTest>

#include <cmath>
#include <memory>

#include "engine/alignment_calculations.h"
#include "main_window/Sundial_Input.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

namespace ac = alignment_calculations;

Q_DECLARE_METATYPE(Observation)

namespace {

constexpr double kUntouched = 12345;  // what the observation holds before the check runs

const QString kDateMessage = QStringLiteral("Please enter a valid date");
const QString kClockMessage =
    QStringLiteral("Are clock readings Standard Time, or Daylight Savings?");
const QString kLatitudeMessage =
    QStringLiteral("Please enter latitude in degrees from -90 to 90, e.g. 40.655");
// Where the decimal separator is a comma, the example is written with it.
const QString kLatitudeMessageDecimalComma =
    QStringLiteral("Please enter latitude in degrees from -90 to 90, e.g. 40,655");
const QString kLongitudeMessage =
    QStringLiteral("Please enter  longitude in degrees from 0 to 180, e.g. 72.855");
const QString kSideMessage =
    QStringLiteral("Please select whether you are East or West of Greewich");
const QString kZoneMessage = QStringLiteral("Please select your time zone");
const QString kQuestion = QStringLiteral(
    "Your longitude is more than 15 degrees form your time zone.  Are you sure that this "
    "information is correct?");
const QString kTimeMessage =
    QStringLiteral("Please enter a valid time (e.g. 10:55:23 or 3:35:20 PM)");
const QString kPositiveMessage = QStringLiteral("Please enter positive number");

// What the observation state holds after the check; kUntouched where it must be left alone.
struct Stored {
    double date, latitude, longitude, meridian, clock;
};

}  // namespace

Q_DECLARE_METATYPE(Stored)

class ValidationTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

  private slots:
    void init() { window = OpenWindow(); }
    void cleanup() {
        window.reset();
        RestoreTestLocale();
    }

    void checksInOrderAndStoresWhatPassed_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Observation>("observation");
        QTest::addColumn<int>("answer");  // to the longitude question
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("focus");  // empty: the focus stays in txtHeight
        QTest::addColumn<Stored>("stored");

        const Observation good = LongIslandMorning();
        const double date = 37867, west = -72.855, eastern = -75, eleven = 11.0 / 24;
        const double u = kUntouched;
        auto row = [&](const char* name, Observation o, bool valid, QStringList messages,
                       QString focus, Stored stored, int answer = QMessageBox::No,
                       const char* locale = "en_US") {
            QTest::newRow(name) << locale << o << answer << valid << messages << focus << stored;
        };
        auto with = [&](auto change) {
            Observation o = good;
            change(o);
            return o;
        };

        row("all good", good, true, {}, "", {date, 40.655, west, eastern, eleven});
        row("empty date", with([](auto& o) { o.date = ""; }), false, {kDateMessage}, "txtDate",
            {u, u, u, u, u});
        row("impossible date", with([](auto& o) { o.date = "2/30/2003"; }), false, {kDateMessage},
            "txtDate", {u, u, u, u, u});
        row("no clock kind", with([](auto& o) { o.clockKind = 0; }), false, {kClockMessage}, "",
            {date, u, u, u, u});
        row("standard time", with([](auto& o) { o.clockKind = 1; }), true, {}, "",
            {date, 40.655, west, eastern, eleven});
        row("latitude 90", with([](auto& o) { o.latitude = "90"; }), true, {}, "",
            {date, 90, west, eastern, eleven});
        row("latitude -90", with([](auto& o) { o.latitude = "-90"; }), true, {}, "",
            {date, -90, west, eastern, eleven});
        row("latitude 90.5", with([](auto& o) { o.latitude = "90.5"; }), false, {kLatitudeMessage},
            "txtLatitude", {date, u, u, u, u});
        row("latitude empty", with([](auto& o) { o.latitude = ""; }), false, {kLatitudeMessage},
            "txtLatitude", {date, u, u, u, u});
        row("latitude 1,000 reads as 1 but is 1000", with([](auto& o) { o.latitude = "1,000"; }),
            false, {kLatitudeMessage}, "txtLatitude", {date, u, u, u, u});
        row("latitude 1e999", with([](auto& o) { o.latitude = "1e999"; }), false,
            {kLatitudeMessage}, "txtLatitude", {date, u, u, u, u});
        row("longitude 180", with([](auto& o) { o.longitude = "180"; }), false, {kQuestion},
            "txtLongitude", {date, 40.655, -180, eastern, u});
        row("longitude 180.01", with([](auto& o) { o.longitude = "180.01"; }), false,
            {kLongitudeMessage}, "txtLongitude", {date, 40.655, u, u, u});
        row("longitude sign ignored, west", with([](auto& o) { o.longitude = "-72.855"; }), true,
            {}, "", {date, 40.655, west, eastern, eleven});
        row("longitude sign ignored, east", with([](auto& o) {
                o.longitude = "-72.855";
                o.side = 2;
                o.zone = 16;
            }),
            true, {}, "", {date, 40.655, 72.855, 75, eleven});
        row("no side", with([](auto& o) { o.side = 0; }), false, {kSideMessage}, "",
            {date, 40.655, 72.855, u, u});
        row("no zone", with([](auto& o) { o.zone = -1; }), false, {kZoneMessage}, "lstTimeZone",
            {date, 40.655, west, u, u});
        row("74 west asks nothing", with([](auto& o) { o.longitude = "74"; }), true, {}, "",
            {date, 40.655, -74, eastern, eleven});
        row("90 west is exactly 15 away", with([](auto& o) { o.longitude = "90"; }), true, {}, "",
            {date, 40.655, -90, eastern, eleven});
        row("90.5 west, answered no", with([](auto& o) { o.longitude = "90.5"; }), false,
            {kQuestion}, "txtLongitude", {date, 40.655, -90.5, eastern, u});
        row("90.5 west, answered yes", with([](auto& o) { o.longitude = "90.5"; }), true,
            {kQuestion}, "", {date, 40.655, -90.5, eastern, eleven}, QMessageBox::Yes);
        row("179 west in GMT+12 is 359 away", with([](auto& o) {
                o.longitude = "179";
                o.zone = 23;
            }),
            false, {kQuestion}, "txtLongitude", {date, 40.655, -179, 180, u});
        row("time 25:00", with([](auto& o) { o.time = "25:00"; }), false, {kTimeMessage}, "txtTime",
            {date, 40.655, west, eastern, u});
        row("time with a date", with([](auto& o) { o.time = "9/3/2003 11:00"; }), true, {}, "",
            {date, 40.655, west, eastern, date + eleven});
        row("height 0", with([](auto& o) { o.height = "0"; }), false, {kPositiveMessage},
            "txtHeight", {date, 40.655, west, eastern, u});
        row("height -2", with([](auto& o) { o.height = "-2"; }), false, {kPositiveMessage},
            "txtHeight", {date, 40.655, west, eastern, u});
        row("height abc", with([](auto& o) { o.height = "abc"; }), false, {kPositiveMessage},
            "txtHeight", {date, 40.655, west, eastern, u});
        row("height 2.5", with([](auto& o) { o.height = "2.5"; }), true, {}, "",
            {date, 40.655, west, eastern, eleven});
        row("length empty", with([](auto& o) { o.length = ""; }), false, {kPositiveMessage},
            "txtLength", {date, 40.655, west, eastern, u});
        row("length nan", with([](auto& o) { o.length = "nan"; }), false, {kPositiveMessage},
            "txtLength", {date, 40.655, west, eastern, u});
        row("German commas", with([](auto& o) {
                o.date = "3.9.2003";
                o.latitude = "40,655";
                o.longitude = "72,855";
                o.time = "11:00:00";
            }),
            true, {}, "", {date, 40.655, west, eastern, eleven}, QMessageBox::No, "de_DE");
        row("German 90,5 reads as 90 but is 90.5", with([](auto& o) {
                o.date = "3.9.2003";
                o.latitude = "90,5";
            }),
            false, {kLatitudeMessageDecimalComma}, "txtLatitude", {date, u, u, u, u},
            QMessageBox::No, "de_DE");

        // Zones that are not whole hours, and those past the date line, at a site of each.
        struct Zone {
            const char* name;
            int index;
            const char* longitude;
            int side;
            double meridian;
        };
        const Zone zones[] = {
            {"GMT-12, Baker Island", 24, "176.5", 1, -180},
            {"GMT-9:30, Marquesas", 25, "139.5", 1, -142.5},
            {"GMT-3:30, St. John's", 26, "52.7", 1, -52.5},
            {"GMT+3:30, Tehran", 27, "51.4", 2, 52.5},
            {"GMT+4:30, Kabul", 28, "69.2", 2, 67.5},
            {"GMT+5:30, Delhi", 29, "77.2", 2, 82.5},
            {"GMT+5:45, Kathmandu", 30, "85.3", 2, 86.25},
            {"GMT+6:30, Yangon", 31, "96.2", 2, 97.5},
            {"GMT+9:30, Adelaide", 32, "138.6", 2, 142.5},
            {"GMT+10:30, Lord Howe", 33, "159.1", 2, 157.5},
            {"GMT+12:45, Chatham, west of the date line", 34, "176.5", 1, 191.25},
            {"GMT+13, Tonga, west of the date line", 35, "175.2", 1, 195},
            {"GMT+14, Kiritimati, west of the date line", 36, "157.4", 1, 210},
        };
        for (const Zone& zone : zones) {
            const double longitude = (zone.side == 1 ? -1 : 1) * QString(zone.longitude).toDouble();
            row(zone.name, with([&](auto& o) {
                    o.zone = zone.index;
                    o.longitude = zone.longitude;
                    o.side = zone.side;
                }),
                true, {}, "", {date, 40.655, longitude, zone.meridian, eleven});
        }
        row("GMT+5:45 seen from New York", with([](auto& o) { o.zone = 30; }), false, {kQuestion},
            "txtLongitude", {date, 40.655, west, 86.25, u});
        row("GMT+13 at 175.2 east is 19.8 away", with([](auto& o) {
                o.zone = 35;
                o.longitude = "175.2";
                o.side = 2;
            }),
            false, {kQuestion}, "txtLongitude", {date, 40.655, 175.2, 195, u});
    }

    void checksInOrderAndStoresWhatPassed() {
        QFETCH(QString, locale);
        QFETCH(Observation, observation);
        QFETCH(int, answer);
        QFETCH(bool, valid);
        QFETCH(QStringList, messages);
        QFETCH(QString, focus);
        QFETCH(Stored, stored);

        QLocale::setDefault(QLocale(locale));
        Enter(*window, observation);
        window->txtHeight->setFocus();
        ac::ObsDate = ac::Latitude = ac::Longitude = ac::ZoneMeridian = ac::ClockTime[1] =
            kUntouched;

        ModalAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
        QCOMPARE(window->DateCheck(), valid);
        QCOMPARE(answerer.texts(), messages);
        for (const ModalAnswerer::Seen& box : answerer.seen()) {
            QCOMPARE(box.title, QStringLiteral("Kestramo"));
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            if (box.text == kQuestion) {
                QCOMPARE(box.buttons, (QStringList{"Yes", "No"}));
                QCOMPARE(box.defaultButton, QStringLiteral("No"));
            } else {
                QCOMPARE(box.buttons, QStringList{"OK"});
            }
        }

        QWidget* focused = window->focusWidget();
        if (focused && focused->parentWidget() == window->lstTimeZone) {
            focused = window->lstTimeZone;
        }
        QCOMPARE(focused->objectName(), focus.isEmpty() ? QStringLiteral("txtHeight") : focus);
        if (auto* box = qobject_cast<QLineEdit*>(focused); box && !focus.isEmpty()) {
            QCOMPARE(box->selectedText(), box->text());
        }

        QCOMPARE(ac::ObsDate, stored.date);
        QCOMPARE(ac::Latitude, stored.latitude);
        QCOMPARE(ac::Longitude, stored.longitude);
        QCOMPARE(ac::ZoneMeridian, stored.meridian);
        QVERIFY2(std::fabs(ac::ClockTime[1] - stored.clock) < 1e-9,
                 qPrintable(QString::number(ac::ClockTime[1], 'g', 17)));
    }
};

QTEST_MAIN(ValidationTest)
#include "validation_test.moc"
