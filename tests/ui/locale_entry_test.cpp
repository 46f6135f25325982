// The worked example typed the way each locale writes it, through the real window: the date
// caption, the date, the clock time and the numbers, Enter and Calculate.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/window_driver.h"

Q_DECLARE_METATYPE(Observation)

namespace {

// The caption's place, as designed in twips.
const QRect kCaptionPlace(88, 16, 113, 25);

// The worked answer with the locale's decimal separator: 100.1 E or 11.4 W.
QString WorkedAnswer(const QLocale& locale) {
    return QStringLiteral("%1 degrees East, or %2 degrees West")
        .arg(locale.toString(100.1, 'f', 1), locale.toString(11.4, 'f', 1));
}

}  // namespace

class LocaleEntryTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Sundial_Input> window;

    void openIn(const QString& locale) {
        QLocale::setDefault(locale == u"C" ? QLocale::c() : QLocale(locale));
        window = OpenWindow();
    }

  private slots:
    void cleanup() {
        window.reset();
        RestoreTestLocale();
    }

    void workedExampleAsEachLocaleWritesIt_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<Observation>("observation");

        // Daylight-saving time, west of Greenwich, GMT-5 (index 6), H 10, L 25.
        const auto worked = [](const char* date, const char* latitude, const char* longitude,
                               const char* time, const char* height = "10",
                               const char* length = "25") {
            return Observation{QString::fromUtf8(date),
                               2,
                               QString::fromUtf8(latitude),
                               QString::fromUtf8(longitude),
                               1,
                               6,
                               QString::fromUtf8(time),
                               QString::fromUtf8(height),
                               QString::fromUtf8(length)};
        };
        QTest::newRow("en_US") << "en_US"
                               << "Date(mm/dd/yyyy)"
                               << worked("9/3/2003", "40.655", "72.855", "11:00:00 AM");
        QTest::newRow("C") << "C"
                           << "Date(mm/dd/yyyy)" << worked("9/3/2003", "40.655", "72.855", "11:00");
        QTest::newRow("en_GB") << "en_GB"
                               << "Date(dd/mm/yyyy)"
                               << worked("03/09/2003", "40.655", "72.855", "11.00am");
        QTest::newRow("de_DE") << "de_DE"
                               << "Date(dd.mm.yyyy)"
                               << worked("3.9.2003", "40,655", "72,855", "11.00");
        QTest::newRow("de_DE Uhr")
            << "de_DE"
            << "Date(dd.mm.yyyy)" << worked("03.09.2003", "40,655", "72,855", "11:00 Uhr");
        QTest::newRow("fr_FR") << "fr_FR"
                               << "Date(dd/mm/yyyy)"
                               << worked("03/09/2003", "40,655", "72,855", "11h00");
        QTest::newRow("es_ES") << "es_ES"
                               << "Date(dd/mm/yyyy)"
                               << worked("3/9/2003", "40,655", "72,855", "11:00");
        QTest::newRow("it_IT") << "it_IT"
                               << "Date(dd/mm/yyyy)"
                               << worked("03/09/2003", "40,655", "72,855", "11:00");
        QTest::newRow("ja_JP") << "ja_JP"
                               << "Date(yyyy/mm/dd)"
                               << worked("2003年9月3日", "４０.６５５", "72.855", "午前11:00:00",
                                         "１０", "２５");
        QTest::newRow("hi_IN") << "hi_IN"
                               << "Date(dd/mm/yyyy)"
                               << worked("3/9/2003", "40.655", "72.855", "11:00:00 पूर्वाह्न");
        QTest::newRow("ar_EG") << "ar_EG"
                               << "Date(dd/mm/yyyy)"
                               << worked("٣‏/٩‏/٢٠٠٣", "٤٠٫٦٥٥", "٧٢٫٨٥٥", "١١:٠٠ ص",
                                         "١٠", "٢٥");
        QTest::newRow("fa_IR") << "fa_IR"
                               << "Date(yyyy/mm/dd)"
                               << worked("۲۰۰۳/۹/۳", "۴۰٫۶۵۵", "۷۲٫۸۵۵", "۱۱:۰۰", "۱۰", "۲۵");
    }

    void workedExampleAsEachLocaleWritesIt() {
        QFETCH(QString, locale);
        QFETCH(QString, caption);
        QFETCH(Observation, observation);
        openIn(locale);
        QCOMPARE(window->lblDate->text(), caption);
        QCOMPARE(window->txtDate->accessibleName(), caption);

        ModalAnswerer answerer;
        Enter(*window, observation);
        ClickInto(window->txtLength);
        PressKey(Qt::Key_Return);
        const QString answer = WorkedAnswer(QLocale());
        QVERIFY2(window->lblResult->text().contains(answer),
                 qPrintable(window->lblResult->text() + " / " + answerer.texts().join(" | ")));
        window->lblResult->clear();
        QTest::mouseClick(window->CmdCalculate, Qt::LeftButton);
        QVERIFY(window->lblResult->text().contains(answer));
        QCOMPARE(answerer.texts(), QStringList());
    }

    void dateCaptionFitsItsLabel_data() {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "C", "en_GB", "de_DE", "ja_JP", "ko_KR", "hu_HU", "nl_NL",
                                 "bg_BG", "ar_EG", "fa_IR", "sv_SE"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }

    void dateCaptionFitsItsLabel() {
        QFETCH(QString, locale);
        openIn(locale);
        QLabel* caption = window->lblDate;
        QCOMPARE(caption->geometry(), kCaptionPlace);
        QVERIFY2(caption->heightForWidth(caption->width()) <= caption->height(),
                 qPrintable(caption->text()));
        QVERIFY(caption->text().startsWith(QStringLiteral("Date(")));
    }

    void messagesGiveExamplesTheLocaleReads_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("latitudeExample");
        QTest::addColumn<QString>("longitudeExample");
        QTest::newRow("en_US") << "en_US"
                               << "40.655"
                               << "72.855";
        QTest::newRow("de_DE") << "de_DE"
                               << "40,655"
                               << "72,855";
        QTest::newRow("fr_FR") << "fr_FR"
                               << "40,655"
                               << "72,855";
        QTest::newRow("ar_EG") << "ar_EG"
                               << "٤٠٫٦٥٥"
                               << "٧٢٫٨٥٥";
    }

    // Typing a message's own example gets past that message.
    void messagesGiveExamplesTheLocaleReads() {
        QFETCH(QString, locale);
        QFETCH(QString, latitudeExample);
        QFETCH(QString, longitudeExample);
        openIn(locale);
        Observation o = LongIslandMorning();
        o.date = QLocale().toString(QDate(2003, 9, 3), QLocale::ShortFormat);
        o.time = QStringLiteral("11:00");
        o.latitude = QStringLiteral("north");
        Enter(*window, o);
        ModalAnswerer answerer;
        QVERIFY(!window->DateCheck());
        QCOMPARE(answerer.texts(),
                 QStringList{"Please enter latitude in degrees from -90 to 90, e.g. " +
                             latitudeExample});
        TypeInto(window->txtLatitude, latitudeExample);
        TypeInto(window->txtLongitude, QStringLiteral("east"));
        answerer.clear();
        QVERIFY(!window->DateCheck());
        QCOMPARE(answerer.texts(),
                 QStringList{"Please enter  longitude in degrees from 0 to 180, e.g. " +
                             longitudeExample});
        TypeInto(window->txtLongitude, longitudeExample);
        answerer.clear();
        QVERIFY(window->DateCheck());
        QCOMPARE(answerer.texts(), QStringList());
    }
};

QTEST_MAIN(LocaleEntryTest)
#include "locale_entry_test.moc"
