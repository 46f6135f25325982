// The reading form, typed as a user types it: Add Reading... by its key, a board and a
// declinometer reading in the locale's notation, each in its place by date and time and each
// undone in one step; a flagged reading edited in place with F2 and Enter, undone with one Ctrl+Z,
// the recovery file keeping both readings; and a field that cannot be read, named.

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "readings/readings_csv.h"
#include "readings_window/reading_form.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/readings_driver.h"
#include "text/text_conversions.h"

namespace ks = kestramo::series;
namespace tc = text_conversions;

namespace {

// Waits until the reading form is the active window, as a user waits to see it.
ReadingForm* WaitForForm() {
    ReadingForm* form = nullptr;
    (void)QTest::qWaitFor([&form] {
        form = qobject_cast<ReadingForm*>(QApplication::activeWindow());
        return form != nullptr;
    });
    return form;
}

bool FormGone() {
    return QTest::qWaitFor(
        [] { return !qobject_cast<ReadingForm*>(QApplication::activeWindow()); });
}

// A field reached by its access key, its text replaced.
void TypeField(Qt::Key key, const QString& text) {
    PressKey(key, Qt::AltModifier);
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeText(text);
}

// The kind chosen with the keys: its place in the list from the top.
void ChooseKind(int downs) {
    PressKey(Qt::Key_K, Qt::AltModifier);
    PressKey(Qt::Key_Home);
    for (int i = 0; i < downs; ++i) PressKey(Qt::Key_Down);
}

QStringList Times(const ReadingsList& list) {
    QStringList times;
    for (const ks::Reading& reading : list.readings()) {
        times << QString::fromStdString(ks::ClockText(ks::ClockSecondsOf(reading)));
    }
    return times;
}

// True when the recovery file holds the readings of the list and those of `away`, left out,
// and nothing else, in any order.
bool RecoveryHolds(const ReadingsList& list, const std::vector<ks::Reading>& away = {}) {
    const QStringList files = RecoveryFiles();
    if (files.size() != 1 || !list.recoveryFileIsCurrent()) return false;
    const auto read = kestramo::readings::ReadReadingsCsvFile(
        QDir(recovery_file::Folder()).filePath(files.front()), list.tolerances());
    if (read.readings.size() != list.readings().size() + away.size()) return false;
    for (std::size_t i = 0; i < read.readings.size(); ++i) {
        const ks::Reading& r = read.readings[i];
        const bool gone = std::any_of(away.begin(), away.end(),
                                      [&r](const ks::Reading& a) { return ks::SameInputs(a, r); });
        if (gone ? read.inclusion[i] != ks::Inclusion::ForcedOut : list.rowOf(r) < 0) return false;
    }
    return true;
}

}  // namespace

class ReadingFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sundial_Input> window;
    ReadingsWindow* readings = nullptr;
    ReadingsList* list = nullptr;

    void openWith(const std::vector<Observation>& typed) {
        window = OpenWindow();
        for (const Observation& reading : typed) Calculate(*window, reading);
        readings = OpenReadings(*window);
        list = window->findChild<ReadingsList*>();
    }

  private slots:
    void cleanup() {
        RestoreTestLocale();
        window.reset();
        QDir(recovery_file::Folder()).removeRecursively();
    }

    void typesABoardAndADeclinometerReading_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("boardTime");
        QTest::addColumn<QString>("tipX");
        QTest::addColumn<QString>("tipY");
        QTest::addColumn<QString>("angle");
        QTest::newRow("en_US") << "en_US"
                               << "1:00 PM"
                               << "-3.25"
                               << "4.5"
                               << "12.5";
        QTest::newRow("de_DE, decimal comma") << "de_DE"
                                              << "13:00"
                                              << "-3,25"
                                              << "4,5"
                                              << "12,5";
    }

    void typesABoardAndADeclinometerReading() {
        QFETCH(QString, locale);
        QFETCH(QString, boardTime);
        QFETCH(QString, tipX);
        QFETCH(QString, tipY);
        QFETCH(QString, angle);
        openWith({kMorning, At("15:00", "15.46"), At("16:30", "21.07")});
        QVERIFY(readings);
        QLocale::setDefault(QLocale(locale));
        const ks::Reading latest = list->reading(2);

        PressKey(Qt::Key_R, Qt::AltModifier);
        ReadingForm* form = WaitForForm();
        QVERIFY(form);
        // The date and the site of the latest reading, as the locale writes them.
        QCOMPARE(tc::ParseDateTime(form->dateEdit->text()), latest.observation.date);
        QCOMPARE(form->latitudeEdit->text(), tc::NumberText(40.655));
        ChooseKind(1);
        QVERIFY(form->tipXEdit->isVisible() && !form->lengthEdit->isVisible());
        TypeField(Qt::Key_T, boardTime);
        TypeField(Qt::Key_H, QStringLiteral("10"));
        TypeField(Qt::Key_X, tipX);
        TypeField(Qt::Key_Y, tipY);
        TypeField(Qt::Key_P, QStringLiteral("north end"));
        PressKey(Qt::Key_Return);
        QVERIFY(FormGone());
        QCOMPARE(Times(*list), QStringList({"11:00", "13:00", "15:00", "16:30"}));
        const ks::Reading& board = list->reading(1);
        QCOMPARE(board.method, ks::Method::Board);
        QCOMPARE(board.tipX, -3.25);
        QCOMPARE(board.tipY, 4.5);
        QCOMPARE(board.height, 10.0);
        QCOMPARE(board.placement, std::string("north end"));
        QCOMPARE(board.observation.latitude, latest.observation.latitude);
        QCOMPARE(board.observation.zoneMeridian, latest.observation.zoneMeridian);
        QCOMPARE(board.observation.daylightSaving, latest.observation.daylightSaving);
        QCOMPARE(CellText(readings, 1, ReadingsTableModel::Kind), QStringLiteral("board"));
        QVERIFY(CellText(readings, 1, ReadingsTableModel::Values).contains(tipX));

        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_R, Qt::AltModifier);
        QVERIFY(WaitForForm());
        ChooseKind(2);
        TypeField(Qt::Key_T, QStringLiteral("16:00"));
        TypeField(Qt::Key_G, angle);
        PressKey(Qt::Key_Return);
        QVERIFY(FormGone());
        QCOMPARE(Times(*list), QStringList({"11:00", "13:00", "15:00", "16:00", "16:30"}));
        QCOMPARE(list->reading(3).method, ks::Method::Declinometer);
        QCOMPARE(list->reading(3).angle, 12.5);
        QCOMPARE(CellText(readings, 3, ReadingsTableModel::Kind), QStringLiteral("declinometer"));

        // Each reading is one step to undo, and undo takes out that reading, not the last row.
        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Times(*list), QStringList({"11:00", "13:00", "15:00", "16:30"}));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Times(*list), QStringList({"11:00", "15:00", "16:30"}));
        QVERIFY(RecoveryHolds(*list));
    }

    // A reading typed with its clock an hour fast is set right in place: F2 or Enter on its
    // row (or a double click), the time typed again, Enter. One Ctrl+Z brings the reading as it
    // was back.
    void editsAFlaggedReadingInPlace_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");  // the shadow as the form shows it
        QTest::newRow("F2") << int(Qt::Key_F2) << "en_US"
                            << "25.0";
        QTest::newRow("Enter") << int(Qt::Key_Return) << "en_US"
                               << "25.0";
        // What was typed in en_US reads as another number in German: the number is shown.
        QTest::newRow("double click, de_DE") << 0 << "de_DE"
                                             << "25";
    }

    void editsAFlaggedReadingInPlace() {
        QFETCH(int, key);
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        openWith({At("12:00", "25.0"), At("15:00", "15.46"), At("16:30", "21.07")});
        QVERIFY(readings);
        QLocale::setDefault(QLocale(locale));
        QVERIFY2(CellText(readings, 0, ReadingsTableModel::Note).contains(QStringLiteral("hour")),
                 qPrintable(CellText(readings, 0, ReadingsTableModel::Note)));
        const ks::Reading flagged = list->reading(0);
        const std::optional<double> declination = list->series().result.declination;

        ClickInto(readings->readingsTable);
        readings->readingsTable->selectRow(0);
        if (key != 0) {
            PressKey(Qt::Key(key));
        } else {
            QTableView* table = readings->readingsTable;
            const QRect cell =
                table->visualRect(table->model()->index(0, ReadingsTableModel::Time));
            // A double click's first press, then the second, as the window system sends them.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        }
        ReadingForm* form = WaitForForm();
        QVERIFY(form);
        QCOMPARE(form->lengthEdit->text(), shown);
        TypeField(Qt::Key_T, QStringLiteral("11:00"));
        PressKey(Qt::Key_Return);
        QVERIFY(FormGone());
        QCOMPARE(Times(*list), QStringList({"11:00", "15:00", "16:30"}));
        QCOMPARE(list->reading(0).length, 25.0);
        QCOMPARE(list->reading(0).heightText, flagged.heightText);
        QVERIFY(CellText(readings, 0, ReadingsTableModel::Note).isEmpty());
        // The reading as it was typed stays on disk, left out, until the user discards it.
        QVERIFY(RecoveryHolds(*list, {flagged}));
        const ks::Reading edited = list->reading(0);

        QVERIFY(WaitUntilActive(readings));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->reading(0), flagged);
        QCOMPARE(list->series().result.declination, declination);
        QVERIFY(RecoveryHolds(*list, {edited}));
        PressKey(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Times(*list), QStringList({"11:00", "15:00", "16:30"}));
        QVERIFY(RecoveryHolds(*list, {flagged}));
    }

    // An edit changes what was retyped and nothing else: a clock noted to the millisecond and
    // a site with many digits come back as they were.
    void anEditKeepsWhatWasNotRetyped() {
        openWith({});
        QVERIFY(readings);
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const ks::Reading noted = ks::MakeReading({2003, 9, 3}, 11 * 3600 + 0.4, -5, true,
                                                  40.6551234567891234, -72.855, 10, 25);
        QVERIFY(list->add(noted));
        ClickInto(readings->readingsTable);
        readings->readingsTable->selectRow(0);
        PressKey(Qt::Key_F2);
        QVERIFY(WaitForForm());
        TypeField(Qt::Key_L, QStringLiteral("25,5"));
        PressKey(Qt::Key_Return);
        QVERIFY(FormGone());
        ks::Reading expected = noted;
        expected.length = 25.5;
        QVERIFY(ks::SameInputs(list->reading(0), expected));
    }

    // OK refuses the first field it cannot read, names it, and gives it back the focus; the
    // list is as it was.
    // With no reading yet the form starts at the present minute, not at midnight.
    void aFirstReadingStartsNow() {
        openWith({});
        QVERIFY(readings);
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        const QTime before = QTime::currentTime();
        PressKey(Qt::Key_R, Qt::AltModifier);
        ReadingForm* form = WaitForForm();
        QVERIFY(form);
        const QTime shown = QTime::fromString(form->timeEdit->text(), QStringLiteral("H:mm:ss"));
        QVERIFY2(shown.isValid(), qPrintable(form->timeEdit->text()));
        QVERIFY2(std::abs(shown.secsTo(QTime(before.hour(), before.minute()))) <= 60,
                 qPrintable(form->timeEdit->text()));
        PressKey(Qt::Key_Escape);
        QVERIFY(FormGone());
    }

    void refusesAFieldByItsName_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        const int square = 0, board = 1, declinometer = 2, bearing = 3;
        QTest::newRow("no such date") << "en_US" << square << int(Qt::Key_D) << "2/30/2003"
                                      << "Date";
        QTest::newRow("a date and a time as the date")
            << "en_US" << square << int(Qt::Key_D) << "9/3/2003 11:00"
            << "Date";
        QTest::newRow("hour 25") << "de_DE" << board << int(Qt::Key_T) << "25:00"
                                 << "Clock time";
        QTest::newRow("latitude past the pole") << "en_US" << declinometer << int(Qt::Key_A) << "91"
                                                << "Latitude";
        QTest::newRow("a decimal point in de_DE groups thousands")
            << "de_DE" << declinometer << int(Qt::Key_O) << "72.855"
            << "Longitude";
        QTest::newRow("a square of no height") << "en_US" << square << int(Qt::Key_H) << "0"
                                               << "Square's height";
        QTest::newRow("a pin of no height") << "en_US" << board << int(Qt::Key_H) << "-1"
                                            << "Pin's height";
        QTest::newRow("tip x in words") << "en_US" << board << int(Qt::Key_X) << "left"
                                        << "Tip shadow x";
        QTest::newRow("angle past half a turn")
            << "de_DE" << declinometer << int(Qt::Key_G) << "190"
            << "Angle";
        QTest::newRow("bearing of no spread") << "en_US" << bearing << int(Qt::Key_E) << "0"
                                              << "Bearing's error";
    }

    void refusesAFieldByItsName() {
        QFETCH(QString, locale);
        QFETCH(int, kind);
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        openWith({kMorning});
        QVERIFY(readings);
        QLocale::setDefault(QLocale(locale));
        PressKey(Qt::Key_R, Qt::AltModifier);
        ReadingForm* form = WaitForForm();
        QVERIFY(form);
        ChooseKind(kind);
        // Every other field of the kind holds a value that can be read.
        for (QLineEdit* box : {form->heightEdit, form->lengthEdit, form->tipXEdit, form->tipYEdit,
                               form->angleEdit, form->bearingEdit, form->bearingErrorEdit}) {
            box->setText(tc::NumberText(2));
        }
        TypeField(Qt::Key(field), typed);
        QWidget* box = QApplication::focusWidget();
        ModalAnswerer answerer;
        PressKey(Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return !answerer.seen().isEmpty(); }));
        QVERIFY2(answerer.texts().front().startsWith(named), qPrintable(answerer.texts().front()));
        // The example shows a time as the locale writes it, not midnight.
        if (named == u"Clock time") QVERIFY(answerer.texts().front().contains(u"15:35:20"));
        QVERIFY(WaitForForm() == form);
        QCOMPARE(FocusWidget(), box);
        QCOMPARE(list->size(), 1);
        PressKey(Qt::Key_Escape);
        QVERIFY(FormGone());
        QCOMPARE(list->size(), 1);
    }
};

QTEST_MAIN(ReadingFormTest)
#include "reading_form_test.moc"
