// The main window as a user meets it: what it shows at start-up, where the keyboard goes,
// and how the two views switch.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "engine/Trig_Functions.h"
#include "engine/alignment_calculations.h"
#include "main_window/Sundial_Input.h"
#include "main_window/link_label.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

class SundialWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

    template <typename T>
    T* control(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }

    // The data-entry view, or the method view: which controls a user can see.
    void expectView(bool method) {
        for (const char* name : {"Frame1", "CmdCalculate", "cmdPrint", "lblbrowser", "Image2",
                                 "lblBrontile", "lblText"}) {
            QVERIFY2(control<QWidget>(name)->isVisible() != method, name);
        }
        for (const char* name : {"imgMethod", "lblMethod"}) {
            QVERIFY2(control<QWidget>(name)->isVisible() == method, name);
        }
        for (const char* name : {"lblTitle", "cmdMethod", "lblSubscript", "CmdQuit"}) {
            QVERIFY2(control<QWidget>(name)->isVisible(), name);
        }
    }

  private slots:
    void init() {
        window = OpenWindow();
        QVERIFY(window->isActiveWindow());
    }
    void cleanup() { window.reset(); }

    void everyControlIsThereByName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const char* const controls[][2] = {
            {"cmdMethod", "QPushButton"},
            {"cmdPrint", "QPushButton"},
            {"CmdCalculate", "QPushButton"},
            {"CmdQuit", "QPushButton"},
            {"Frame1", "QFrame"},
            {"lblTitle", "QLabel"},
            {"lblbrowser", "QLabel"},
            {"lblText", "QLabel"},
            {"lblSubscript", "QLabel"},
            {"Image2", "QLabel"},
            {"lblBrontile", "QLabel"},
            {"imgMethod", "QLabel"},
            {"lblMethod", "QLabel"},
            {"txtDate", "QLineEdit"},
            {"lblDate", "QLabel"},
            {"Frame2", "QFrame"},
            {"lstTimeZone", "QComboBox"},
            {"lblLatitude", "QLabel"},
            {"lblLongitude", "QLabel"},
            {"lblResult", "QLabel"},
            {"OptWest", "QRadioButton"},
            {"txtLatitude", "QLineEdit"},
            {"txtLongitude", "QLineEdit"},
            {"OptEast", "QRadioButton"},
            {"lblNorthsouth", "QLabel"},
            {"lblHeight", "QLabel"},
            {"lblLength", "QLabel"},
            {"lblTime", "QLabel"},
            {"txtHeight", "QLineEdit"},
            {"txtLength", "QLineEdit"},
            {"txtTime", "QLineEdit"},
            {"optStandardinput", "QRadioButton"},
            {"optDstinput", "QRadioButton"},
        };
        for (const auto& c : controls) QTest::newRow(c[0]) << c[0] << c[1];
    }

    void everyControlIsThereByName() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QObject* found = window->findChild<QObject*>(name);
        QVERIFY(found);
        QVERIFY(found->inherits(className.toLatin1()));
    }

    void startsEmptyWithTheListUnchosen() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Kestramo"));
        QVERIFY(!window->windowIcon().isNull());
        QVERIFY(window->width() >= 805 && window->height() >= 556);
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (box->parent() == window->lstTimeZone) continue;
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        }
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
            QVERIFY2(!option->isChecked(), qPrintable(option->objectName()));
            QCOMPARE(option->focusPolicy() & Qt::TabFocus, 0);
        }
        QCOMPARE(window->lblResult->text(), QString());
        QCOMPARE(window->lstTimeZone->currentIndex(), -1);
        QCOMPARE(window->lstTimeZone->currentText(), QStringLiteral("Select Time Zone"));
        QCOMPARE(window->cmdMethod->text(), QStringLiteral("Show Measuring Method"));
        QCOMPARE(QApplication::focusWidget(), window->txtDate);
        QVERIFY(window->CmdCalculate->isDefault());
        expectView(false);
    }

    void typingInTheListChoosesByText() {
        QComboBox* list = window->lstTimeZone;
        list->setCurrentIndex(6);
        TypeInto(list->lineEdit(), "Mars");
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->currentText(), QStringLiteral("Mars"));
        TypeInto(list->lineEdit(), "GMT+12");
        QCOMPARE(list->currentIndex(), 23);
        QCOMPARE(list->currentText(), QStringLiteral("GMT+12"));
        TypeInto(list->lineEdit(), "GMT+5:45hrs  Nepal");
        QCOMPARE(list->currentIndex(), 30);
    }

    void timeZoneListKeepsItsEntriesAsWritten() {
        const QStringList expected = {
            "GMT-11hrs  Midway, Samoa",
            "GMT-10hrs  Hawaii",
            "GMT-9hrs   Alaska",
            "GMT-8hrs   US Pacific Time, Seattle, Los Angeles",
            "GMT-7hrs   US Mountain Time, Denver, Phoenix",
            "GMT-6hrs   US Central Time, Chicago, New Orleans",
            "GMT-5hrs   US Eastern Time, Montreal, New York",
            "GMT-4hrs   Atlantic, Nova Scotia",
            "GMT-3hrs   Greenland",
            "GMT-2hrs  ",
            "GMT-1hrs  ",
            "GMT 0hrs   Western European Time, Greenwich",
            "GMT+1hrs   Middle European Time",
            "GMT+2hrs   Eastern European Time",
            "GMT+3hrs   Moscow",
            "GMT+4hrs   Gorki",
            "GMT+5hrs   ",
            "GMT+6hrs",
            "GMT+7hrs",
            "GMT+8hrs   China",
            "GMT+9hrs   Japan, Korea",
            "GMT+10hrs",
            "GMT+11",
            "GMT+12",
        };
        QStringList entries;
        for (int i = 0; i < window->lstTimeZone->count(); ++i) {
            entries << window->lstTimeZone->itemText(i);
        }
        // Zones added later follow these 24, which keep their places.
        QCOMPARE(entries.mid(0, expected.size()), expected);
        QCOMPARE(entries.mid(expected.size()),
                 (QStringList{
                     "GMT-12hrs  Baker Island, Howland Island",
                     "GMT-9:30hrs  Marquesas Islands",
                     "GMT-3:30hrs  Newfoundland",
                     "GMT+3:30hrs  Iran",
                     "GMT+4:30hrs  Afghanistan",
                     "GMT+5:30hrs  India, Sri Lanka",
                     "GMT+5:45hrs  Nepal",
                     "GMT+6:30hrs  Myanmar",
                     "GMT+9:30hrs  Central Australia, Adelaide, Darwin",
                     "GMT+10:30hrs  Lord Howe Island",
                     "GMT+12:45hrs  Chatham Islands",
                     "GMT+13hrs  Tonga, Samoa",
                     "GMT+14hrs  Line Islands, Kiribati",
                 }));
    }

    void instructionsReadAsWritten() {
        const QString expected = QStringLiteral(
            "This program helps you measure the declination of a vertical wall.  Enter the date, "
            "your longitude, latitude, time zone, and select daylight savings or standard time.  "
            "Enter the time of your measurement (see above left), the height of the square IN "
            "ANY UNITS, and the length of the shadow IN THE SAME UNITS.\r\n\r\n"
            "Every measurement will display two possible answers, of which only one is correct.  "
            "Usually the correct one is obvious based on which way the wall grossly faces.  A "
            "second measurement done at a differnt time or date will also confirm which answer "
            "is correct.\r\n\r\n"
            "Your watch must be set accurately to use this method.  Click on the internet link "
            "below to set your watch to an atomic standard.");
        QCOMPARE(window->lblText->text(), expected);
        // The label grows to hold the whole text, and nothing of it is clipped.
        QVERIFY(window->lblText->height() >=
                window->lblText->heightForWidth(window->lblText->width()));
    }

    void tabVisitsTheFieldsAndButtonsInTheirOrder() {
        const QList<QWidget*> expected = {
            window->lstTimeZone, window->txtLatitude, window->txtLongitude, window->CmdCalculate,
            window->CmdQuit,     window->cmdPrint,    window->txtHeight,    window->txtLength,
            window->txtTime,     window->cmdMethod,   window->txtDate};
        QList<QWidget*> visited;
        for (int i = 0; i < expected.size(); ++i) {
            PressKey(Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            // The editable list takes the focus in its line edit.
            visited << (focus && focus->parentWidget() == window->lstTimeZone ? window->lstTimeZone
                                                                              : focus);
        }
        QCOMPARE(visited, expected);
    }

    void enterPressesCalculateFromEveryTextBox_data() {
        QTest::addColumn<QString>("box");
        for (const char* name :
             {"txtDate", "txtLatitude", "txtLongitude", "txtHeight", "txtLength", "txtTime"}) {
            QTest::newRow(name) << name;
        }
    }

    void enterPressesCalculateFromEveryTextBox() {
        QFETCH(QString, box);
        ModalAnswerer answerer;
        QSignalSpy calculate(window->CmdCalculate, &QPushButton::clicked);
        ClickInto(window->findChild<QLineEdit*>(box));
        PressKey(Qt::Key_Return);
        QCOMPARE(calculate.count(), 1);
        // Validation answered: the empty date is the first complaint.
        QCOMPARE(answerer.texts(), QStringList{"Please enter a valid date"});
    }

    void enterInTheTimeZoneBoxPressesCalculate() {
        ModalAnswerer answerer;
        QSignalSpy calculate(window->CmdCalculate, &QPushButton::clicked);
        ClickInto(window->lstTimeZone->lineEdit());
        PressKey(Qt::Key_Return);
        QCOMPARE(calculate.count(), 1);
        QCOMPARE(window->lstTimeZone->currentIndex(), -1);
    }

    void enterOnAnotherButtonPressesThatButton() {
        QSignalSpy calculate(window->CmdCalculate, &QPushButton::clicked);
        QSignalSpy method(window->cmdMethod, &QPushButton::clicked);
        window->cmdMethod->setFocus();
        PressKey(Qt::Key_Return);
        QCOMPARE(method.count(), 1);
        QCOMPARE(calculate.count(), 0);
    }

    void keysReachTheirButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("button");
        QTest::newRow("Esc from a text box") << int(Qt::Key_Escape) << 0 << "CmdQuit";
        QTest::newRow("Alt+Q") << int(Qt::Key_Q) << int(Qt::AltModifier) << "CmdQuit";
        QTest::newRow("Alt+P") << int(Qt::Key_P) << int(Qt::AltModifier) << "cmdPrint";
    }

    void keysReachTheirButtons() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, button);
        ModalAnswerer answerer;
        QSignalSpy clicked(window->findChild<QPushButton*>(button), &QPushButton::clicked);
        ClickInto(window->txtLatitude);
        PressKey(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // An access key animates the button's press before it clicks.
        QTRY_COMPARE(clicked.count(), 1);
    }

    void quitClosesTheWindowAndEndsTheProgram() {
        QTimer::singleShot(0, window->CmdQuit, &QPushButton::click);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // should it hang
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window->isVisible());
    }

    void closingTheLastWindowEndsTheProgram() {
        QTimer::singleShot(0, window.get(), &QWidget::close);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // should it hang
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window->isVisible());
    }

    void methodButtonSwitchesViewsAndKeepsTheInputs() {
        const QString method = QStringLiteral(
            "You will need a carpenter's square, and the sun must be shining on the wall.  Hold "
            "the square straight out (perpendicular) from the wall, and rotate it until its "
            "shadow is narrow and in line with the square.  Measure the length of this shadow, "
            "and record the height of the square.  The shadow's border will be a bit "
            "fuzzy--measuring all the way to the faint edge of the border will improve "
            "accuracy.\r\n\r\n"
            "The shadow length changes over the course of the day.  This method is most accurate "
            "when the shadow is measured at a time near its maximum length.");
        TypeInto(window->txtDate, "9/3/2003");
        window->OptWest->setChecked(true);
        window->lblResult->setText(QStringLiteral("an earlier result"));

        const QStringList captions = {"Enter Data", "Show Measurement Method", "Enter Data",
                                      "Show Measurement Method"};
        for (int click = 0; click < captions.size(); ++click) {
            QTest::mouseClick(window->cmdMethod, Qt::LeftButton);
            const bool methodView = click % 2 == 0;
            QCOMPARE(window->cmdMethod->text(), captions[click]);
            expectView(methodView);
            if (methodView) QCOMPARE(window->lblMethod->text(), method);
        }
        QCOMPARE(window->txtDate->text(), QStringLiteral("9/3/2003"));
        QVERIFY(window->OptWest->isChecked());
        QCOMPARE(window->lblResult->text(), QStringLiteral("an earlier result"));
    }

    void engineReportsRangeErrorsInABox() {
        ModalAnswerer answerer;
        QCOMPARE(Trig_Functions::ArcSin(-2), 0.0);
        QCOMPARE(Trig_Functions::ArcCos(1.5), 0.0);
        QCOMPARE(answerer.texts(),
                 (QStringList{"Input out of ArcSine range", "Input out of ArcCos range"}));
        for (const ModalAnswerer::Seen& box : answerer.seen()) {
            QCOMPARE(box.title, QStringLiteral("Kestramo"));
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.buttons, QStringList{"OK"});
        }
    }

    void engineReadsTheDaylightOptionWhenItRuns() {
        QCOMPARE(alignment_calculations::DaylightOption(), 0);
        window->optDstinput->click();
        QCOMPARE(alignment_calculations::DaylightOption(), -1);
        window->optStandardinput->click();
        QCOMPARE(alignment_calculations::DaylightOption(), 0);
    }

    void theTwoOptionGroupsAreIndependent() {
        window->OptWest->click();
        window->optDstinput->click();
        QVERIFY(window->OptWest->isChecked());
        window->OptEast->click();
        QVERIFY(!window->OptWest->isChecked());
        QVERIFY(window->optDstinput->isChecked());
    }

    void picturesAreShownAtTheirSizes() {
        QTest::mouseClick(window->cmdMethod, Qt::LeftButton);
        QCOMPARE(window->imgMethod->pixmap().size(), QSize(387, 500));
        QCOMPARE(window->imgMethod->size(), QSize(387, 500));
        QCOMPARE(window->Image2->pixmap().size(), QSize(524, 68));
        QVERIFY(window->Image2->hasScaledContents());
        QCOMPARE(window->Image2->size(), QSize(407, 65));
    }

    void onlyTheLinksShowTheHand() {
        // Text boxes keep their own I-beam; no label, button or option sets a pointer.
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QAbstractButton*>(widget)) continue;
            const bool link = widget == window->lblbrowser || widget == window->lblBrontile;
            QCOMPARE(widget->testAttribute(Qt::WA_SetCursor), link);
            if (link) QCOMPARE(widget->cursor().shape(), Qt::BitmapCursor);
        }
    }
};

QTEST_MAIN(SundialWindowTest)
#include "sundial_window_test.moc"
