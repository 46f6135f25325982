// Reading what people type into the window's fields, and writing numbers and dates back, in
// month-first (en_US) and day-first (en_GB, de_DE) locales.

#include <QLocale>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

#include "text/text_conversions.h"

namespace tc = text_conversions;

namespace {

constexpr double kSerialTolerance = 1e-9;  // days, about 0.1 ms
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// The serial of a calendar date and clock time, counted independently of the code under test.
double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    const qint64 days = QDate(1899, 12, 30).daysTo(QDate(year, month, day));
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

double Clock(int hour, int minute, int second = 0) {
    return At(1899, 12, 30, hour, minute, second);
}

const char* const kTestLocales[] = {"en_US", "en_GB", "de_DE"};

}  // namespace

class TextConversionsTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void parseDateTime_data();
    void parseDateTime();
    void serialParts_data();
    void serialParts();
    void parseNumber_data();
    void parseNumber();
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberIsLinear();
    void longDateText_data();
    void longDateText();
    void numberTexts_data();
    void numberTexts();
    void dateTimeText_data();
    void dateTimeText();
    void printedDateTimeReadsBack();
    void localeWrittenFormsReadBack_data();
    void localeWrittenFormsReadBack();
    void eachBoxReadsItsOwnKindFirst_data();
    void eachBoxReadsItsOwnKindFirst();
    void zoneNameFollowsOnlyATime();
    void defaultLocaleIsUsed();
    void randomTextNeverGivesAnUnusableValue();
};

// A NaN expectation means the text is refused.
void TextConversionsTest::parseDateTime_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("serial");

    const struct {
        const char* locale;
        const char* text;
        double serial;
    } rows[] = {
        // Month-first numeric dates, two-digit years pivoting at 30.
        {"en_US", "9/3/2003", 37867},
        {"en_US", "09/03/2003", 37867},
        {"en_US", "9-3-2003", 37867},
        {"en_US", "9.3.2003", 37867},
        {"en_US", "9 3 2003", 37867},
        {"en_US", "  9/3/2003\t", 37867},
        {"en_US", "9/3/03", 37867},
        {"en_US", "12/31/29", At(2029, 12, 31)},
        {"en_US", "1/1/30", At(1930, 1, 1)},
        {"en_US", "1/1/1900", 2},
        {"en_US", "12/30/1899", 0},
        {"en_US", "2/29/2004", At(2004, 2, 29)},
        {"en_US", "1/1/100", At(100, 1, 1)},
        {"en_US", "12/31/9999", At(9999, 12, 31)},
        {"en_US", "2003-09-03", 37867},
        // Month names, the locale's and English, any case.
        {"en_US", "September 3, 2003", 37867},
        {"en_US", "SEP 3 2003", 37867},
        {"en_US", "3 Sep 2003", 37867},
        {"en_US", "3-sept-03", 37867},
        {"en_US", "2003 Sep 3", 37867},
        {"en_US", "Wednesday, September 03, 2003", 37867},
        // Times, in 24-hour form or with a designator taking hours 1 to 12.
        {"en_US", "10:55:23", Clock(10, 55, 23)},
        {"en_US", "10:55:23 AM", Clock(10, 55, 23)},
        {"en_US", "3:35:20 PM", Clock(15, 35, 20)},
        {"en_US", "3:35:20pm", Clock(15, 35, 20)},
        {"en_US", "3:35 p.m.", Clock(15, 35)},
        {"en_US", "3:35 p", Clock(15, 35)},
        {"en_US", "3 PM", Clock(15, 0)},
        {"en_US", "12:00:00 AM", 0},
        {"en_US", "12:30 AM", Clock(0, 30)},
        {"en_US", "12:30 PM", Clock(12, 30)},
        {"en_US", "0:00", 0},
        {"en_US", "23:59:59", Clock(23, 59, 59)},
        {"en_US", "10:55:23.5", Clock(10, 55, 23) + 0.5 / 86400},
        // Date and time together; before the epoch the time still counts forward.
        {"en_US", "9/3/2003 11:00:00 AM", At(2003, 9, 3, 11)},
        {"en_US", "September 3, 2003, 3:35 PM", At(2003, 9, 3, 15, 35)},
        {"en_US", "2003-09-03T11:00:00", At(2003, 9, 3, 11)},
        {"en_US", "12/29/1899 6:00 AM", -1.25},
        // Refused: impossible dates and times, missing parts, anything else.
        {"en_US", "", kNoValue},
        {"en_US", "   ", kNoValue},
        {"en_US", "abc", kNoValue},
        {"en_US", "1,5", kNoValue},
        {"en_US", "-5", kNoValue},
        {"en_US", "10:55:23x", kNoValue},
        {"en_US", "10:55:", kNoValue},
        {"en_US", "10:55.", kNoValue},
        {"en_US", "10:55:23:01", kNoValue},
        {"en_US", "10 : 55", kNoValue},
        {"en_US", "2/30/2003", kNoValue},
        {"en_US", "2/29/2003", kNoValue},
        {"en_US", "13/1/2003", kNoValue},
        {"en_US", "2003-13-01", kNoValue},
        {"en_US", "25:00", kNoValue},
        {"en_US", "10:60", kNoValue},
        {"en_US", "10:30:60", kNoValue},
        {"en_US", "13:00 PM", kNoValue},
        {"en_US", "0:30 AM", kNoValue},
        {"en_US", "10:55 AM PM", kNoValue},
        {"en_US", "9/3", kNoValue},
        {"en_US", "Sep 3", kNoValue},
        {"en_US", "Sep 2003", kNoValue},
        {"en_US", "3 Foo 2003", kNoValue},
        {"en_US", "1/1/0099", kNoValue},
        {"en_US", "1/1/10000", kNoValue},
        {"en_US", "1/1/5", kNoValue},
        {"en_US", "9/3-2003", kNoValue},
        {"en_US", "9//3/2003", kNoValue},
        {"en_US", "9/3/2003 11", kNoValue},
        {"en_US", "9/3/2003,", kNoValue},
        {"en_US", "9/3/2003 10:55:23x", kNoValue},
        {"en_US", "11:00 9/3/2003", kNoValue},
        // Day first.
        {"en_GB", "3/9/2003", 37867},
        {"en_GB", "03/09/03", 37867},
        {"en_GB", "13/1/2003", At(2003, 1, 13)},
        {"en_GB", "3 September 2003", 37867},
        {"en_GB", "September 3, 2003", 37867},
        {"en_GB", "2003-09-03", 37867},
        {"en_GB", "10:55:23 pm", Clock(22, 55, 23)},
        {"en_GB", "3/9/2003 15:35", At(2003, 9, 3, 15, 35)},
        {"en_GB", "9/13/2003", kNoValue},
        {"en_GB", "31/9/2003", kNoValue},
        {"de_DE", "3.9.2003", 37867},
        {"de_DE", "03.09.03", 37867},
        {"de_DE", "3. September 2003", 37867},
        {"de_DE", "3. Sept. 2003", 37867},
        {"de_DE", "3. märz 2003", At(2003, 3, 3)},
        {"de_DE", "Mittwoch, 3. September 2003", 37867},
        {"de_DE", "03.09.2003.", 37867},
        {"de_DE", "2003-09-03", 37867},
        {"de_DE", "9/3/2003", At(2003, 3, 9)},
        {"de_DE", "10:55:23", Clock(10, 55, 23)},
        {"de_DE", "10:55 PM", Clock(22, 55)},
        {"de_DE", "3.9.2003 10:55", At(2003, 9, 3, 10, 55)},
        {"de_DE", "30.2.2003", kNoValue},
        {"de_DE", "9/13/2003", kNoValue},
        {"de_DE", "3. Septx 2003", kNoValue},
        // The C locale names no country and reads month first, as the window's caption asks.
        {"C", "9/3/2003", 37867},
        {"C", "3 Sep 2003", 37867},
        {"C", "13/1/2003", kNoValue},
        // Everyday forms of the locales' own.
        {"ja_JP", "2003年9月3日", 37867},
        {"ja_JP", "2003年9月3日水曜日", 37867},
        {"ja_JP", "2003/09/03", 37867},
        {"ja_JP", "午前11:00:00", Clock(11, 0)},
        {"ja_JP", "午後3:35", Clock(15, 35)},
        {"ja_JP", "11時00分", Clock(11, 0)},
        {"ja_JP", "11時", Clock(11, 0)},
        {"ja_JP", "23時04分05秒", Clock(23, 4, 5)},
        {"ja_JP", "2003年9月3日 午前11:00", At(2003, 9, 3, 11)},
        {"ja_JP", "2003年2月30日", kNoValue},
        {"ja_JP", "午前13:00", kNoValue},
        {"ja_JP", "午前11:00 PM", kNoValue},
        {"ja_JP", "11時60分", kNoValue},
        {"fr_FR", "11h00", Clock(11, 0)},
        {"fr_FR", "11 h 00", Clock(11, 0)},
        {"fr_FR", "11h", Clock(11, 0)},
        {"fr_FR", "03/09/2003", 37867},
        {"fr_FR", "mercredi 3 septembre 2003", 37867},
        {"fr_FR", "11h60", kNoValue},
        {"fr_FR", "h00", kNoValue},
        {"de_DE", "11.00", Clock(11, 0)},
        {"de_DE", "11:00 Uhr", Clock(11, 0)},
        {"de_DE", "11 Uhr", Clock(11, 0)},
        {"de_DE", "3.9.2003 11.00", At(2003, 9, 3, 11)},
        {"de_DE", "11.0", kNoValue},
        {"de_DE", "11.60", kNoValue},
        {"de_DE", "25.00", kNoValue},
        {"de_DE", "3.9", kNoValue},
        {"en_GB", "11.00am", Clock(11, 0)},
        {"en_GB", "3.35 pm", Clock(15, 35)},
        {"en_GB", "13.00pm", kNoValue},
        {"hi_IN", "11:00:00 पूर्वाह्न", Clock(11, 0)},
        {"hi_IN", "3:35 अपराह्न", Clock(15, 35)},
        {"hi_IN", "बुधवार, 3 सितंबर 2003", 37867},
        {"es_ES", "miércoles, 3 de septiembre de 2003", 37867},
        {"es_ES", "3/9/03", 37867},
        {"it_IT", "mercoledì 3 settembre 2003", 37867},
        {"ar_EG", "٣‏/٩‏/٢٠٠٣", 37867},
        {"ar_EG", "٣:٠٠ م", Clock(15, 0)},
        {"ar_EG", "الأربعاء، ٣ سبتمبر ٢٠٠٣", 37867},
        {"fa_IR", "۲۰۰۳/۹/۳", 37867},
        {"fa_IR", "۱۱:۰۰", Clock(11, 0)},
        // Any script's digits, in any locale.
        {"en_US", "９/３/２００３", 37867},
        {"en_US", "٣:٠٠ PM", Clock(15, 0)},
        {"en_US", "११:००", Clock(11, 0)},
        {"en_US", "AM 10:55", kNoValue},
        {"en_US", "10.5", kNoValue},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s %s", row.locale, row.text)
            << QString::fromLatin1(row.locale) << QString::fromUtf8(row.text) << row.serial;
    }
}

void TextConversionsTest::parseDateTime() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, serial);
    const std::optional<double> parsed = tc::ParseDateTime(text, QLocale(locale));
    if (std::isnan(serial)) {
        QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0), 'f', 9)));
        return;
    }
    QVERIFY(parsed);
    QVERIFY2(std::fabs(*parsed - serial) < kSerialTolerance,
             qPrintable(QString::number(*parsed, 'f', 9)));
}

void TextConversionsTest::serialParts_data() {
    QTest::addColumn<double>("serial");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<bool>("roundTrips");

    QTest::newRow("epoch") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0) << true;
    QTest::newRow("1 Jan 1900") << 2.0 << QDate(1900, 1, 1) << QTime(0, 0) << true;
    QTest::newRow("noon") << 37867.5 << QDate(2003, 9, 3) << QTime(12, 0) << true;
    QTest::newRow("11:00") << 37867.0 + 11.0 / 24 << QDate(2003, 9, 3) << QTime(11, 0) << true;
    QTest::newRow("before epoch") << -1.25 << QDate(1899, 12, 29) << QTime(6, 0) << true;
    QTest::newRow("half a day before") << -0.5 << QDate(1899, 12, 30) << QTime(12, 0) << false;
    QTest::newRow("nearest ms") << 0.1234567 << QDate(1899, 12, 30) << QTime(2, 57, 46, 659)
                                << false;
    QTest::newRow("kept in its day")
        << 37867.9999999999 << QDate(2003, 9, 3) << QTime(23, 59, 59, 999) << false;
}

void TextConversionsTest::serialParts() {
    QFETCH(double, serial);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(bool, roundTrips);
    QCOMPARE(tc::SerialDate(serial), date);
    QCOMPARE(tc::SerialTime(serial), time);
    if (roundTrips) QCOMPARE(tc::ToSerial(date, time), serial);
}

void TextConversionsTest::parseNumber_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const struct {
        const char* locale;
        const char* text;
        double value;
    } rows[] = {
        {"en_US", "40.655", 40.655},
        {"en_US", "40,655", 40655},
        {"en_US", "-72.855", -72.855},
        {"en_US", "+5", 5},
        {"en_US", "1e3", 1000},
        {"en_US", " 2.5 ", 2.5},
        {"en_US", "1,00", kNoValue},
        {"en_US", "nan", kNoValue},
        {"en_US", "NaN", kNoValue},
        {"en_US", "inf", kNoValue},
        {"en_US", "-Inf", kNoValue},
        {"en_US", "+INF", kNoValue},
        {"en_US", "1e400", kNoValue},
        {"en_US", "", kNoValue},
        {"en_US", "  ", kNoValue},
        {"en_US", "-", kNoValue},
        {"en_US", "0x10", kNoValue},
        {"en_US", "abc", kNoValue},
        {"en_GB", "1,000.5", 1000.5},
        {"en_GB", "2.5", 2.5},
        {"de_DE", "40,655", 40.655},
        {"de_DE", "-72,855", -72.855},
        {"de_DE", " 2,5 ", 2.5},
        {"de_DE", "1e3", 1000},
        {"de_DE", "nan", kNoValue},
        {"de_DE", "-inf", kNoValue},
        {"de_DE", "", kNoValue},
        {"de_DE", "1e400", kNoValue},
        // Any script's digits, the Arabic separators and the minus sign, in every locale.
        {"en_US", "１０", 10},
        {"en_US", "٣٫٥", 3.5},
        {"en_US", "４０.６５５", 40.655},
        {"en_US", "٤٠.٦٥٥", 40.655},
        {"en_US", "−5", -5},
        {"en_US", "٣٫٥٫٥", kNoValue},
        {"en_US", "١,٠٠", kNoValue},
        {"de_DE", "٣٫٥", 3.5},
        {"de_DE", "４０,６５５", 40.655},
        {"ar_EG", "٤٠٫٦٥٥", 40.655},
        {"ar_EG", "40٫655", 40.655},
        {"ar_EG", "؜-٣٫٥", -3.5},
        {"fa_IR", "۴۰٫۶۵۵", 40.655},
        {"fa_IR", "‎−۳٫۵", -3.5},
        {"hi_IN", "४०.६५५", 40.655},
        {"mr_IN", "४०.६५५", 40.655},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s '%s'", row.locale, row.text)
            << QString::fromLatin1(row.locale) << QString::fromUtf8(row.text) << row.value;
    }
}

void TextConversionsTest::parseNumber() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, value);
    const std::optional<double> parsed = tc::ParseNumber(text, QLocale(locale));
    if (std::isnan(value)) {
        QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0))));
    } else {
        QVERIFY(parsed);
        QCOMPARE(*parsed, value);
    }
}

void TextConversionsTest::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        QString text;
        double value;
    } rows[] = {
        {"empty", "", 0},
        {"word", "abc", 0},
        {"point", ".", 0},
        {"sign", "-", 0},
        {"two signs", "--5", 0},
        {"decimal", "40.655", 40.655},
        {"trailing text", "-72.855 W", -72.855},
        {"grouping comma", "1,000", 1},
        {"blank inside", "1 000", 1000},
        {"blank after sign", "- 5", -5},
        {"tabs and line ends", "\t1\n2\r3 .5", 123.5},
        {"plus", "+7", 7},
        {"bare fraction", ".5", 0.5},
        {"bare point", "5.", 5},
        {"second point", "1.2.3", 1.2},
        {"exponent", "2.5E-2", 0.025},
        {"spaced exponent", "1 e 2", 100},
        {"e without digits", "1e", 1},
        {"e and sign", "1e+", 1},
        {"e and word", "1ex", 1},
        {"overflow", "1e400", kInfinity},
        {"negative overflow", "-1e400", -kInfinity},
        {"huge exponent", "1e99999999999999999999", kInfinity},
        {"many digits", QString(400, u'9'), kInfinity},
        {"underflow", "1e-400", 0},
        {"small mantissa large exponent", "0.001e310", 1e307},
        {"Arabic-Indic digits", "٤٠.٦٥٥", 40.655},
        {"full-width digits", "１０", 10},
    };
    for (const auto& row : rows) QTest::newRow(row.name) << row.text << row.value;
}

void TextConversionsTest::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(tc::LeadingNumber(text), value);
}

void TextConversionsTest::leadingNumberIsLinear() {
    const QString texts[] = {
        QString(2'000'000, u'7'),
        QStringLiteral("1") + QString(2'000'000, u' ') + QStringLiteral("x"),
        QStringLiteral("1e") + QString(2'000'000, u'\t') + QStringLiteral("x"),
        QStringLiteral("0.") + QString(2'000'000, u'0') + QStringLiteral("1e2000000"),
    };
    // A scan that went back over the text would take hours here and end in the test's time
    // limit; a linear one takes milliseconds.
    const double values[] = {qInf(), 1, 1, 0.1};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        QCOMPARE(tc::LeadingNumber(texts[i]), values[i]);
    }
}

void TextConversionsTest::longDateText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("serial");
    QTest::addColumn<QString>("text");

    QTest::newRow("en_US") << "en_US" << 37867.0 << "Wednesday, September 03, 2003";
    QTest::newRow("with a time") << "en_US" << 37867.75 << "Wednesday, September 03, 2003";
    QTest::newRow("March") << "en_US" << At(2024, 3, 5) << "Tuesday, March 05, 2024";
    QTest::newRow("June") << "en_US" << At(2003, 6, 21) << "Saturday, June 21, 2003";
    QTest::newRow("before epoch") << "en_US" << -1.25 << "Friday, December 29, 1899";
    QTest::newRow("en_GB") << "en_GB" << 37867.0 << "Wednesday, September 03, 2003";
    QTest::newRow("de_DE") << "de_DE" << 37867.0 << "Mittwoch, September 03, 2003";
}

void TextConversionsTest::longDateText() {
    QFETCH(QString, locale);
    QFETCH(double, serial);
    QFETCH(QString, text);
    QCOMPARE(tc::LongDateText(serial, QLocale(locale)), text);
}

// "##0.0" for the result label, the default number text for the printed report.
void TextConversionsTest::numberTexts_data() {
    QTest::addColumn<bool>("tenths");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    constexpr bool kTenths = true;
    constexpr bool kDefault = false;
    const struct {
        bool tenths;
        const char* locale;
        double value;
        const char* text;
    } rows[] = {
        {kTenths, "en_US", 0.04, "0.0"},
        {kTenths, "en_US", 7, "7.0"},
        {kTenths, "en_US", 12.345, "12.3"},
        {kTenths, "en_US", 101.96, "102.0"},
        {kTenths, "en_US", 179.96, "180.0"},
        {kTenths, "en_US", 180, "180.0"},
        {kTenths, "en_US", 100.0686, "100.1"},
        {kTenths, "en_US", 11.4248, "11.4"},
        {kTenths, "en_US", 0, "0.0"},
        {kTenths, "en_US", 9.95, "10.0"},
        {kTenths, "en_US", 1234.5, "1234.5"},
        // Halves go away from zero as written, whatever their binary neighbours are.
        {kTenths, "en_US", 0.05, "0.1"},
        {kTenths, "en_US", 0.25, "0.3"},
        {kTenths, "en_US", 12.35, "12.4"},
        {kTenths, "en_US", 0.15, "0.2"},
        {kTenths, "en_US", -12.345, "-12.3"},
        {kTenths, "en_US", -0.04, "0.0"},
        {kTenths, "en_US", -0.05, "-0.1"},
        {kTenths, "en_GB", 35.924, "35.9"},
        {kTenths, "de_DE", 12.345, "12,3"},
        {kTenths, "de_DE", 1234.56, "1234,6"},
        {kDefault, "en_US", 40.655, "40.655"},
        {kDefault, "en_US", 40, "40"},
        {kDefault, "en_US", 72.855, "72.855"},
        {kDefault, "en_US", -0.5, "-0.5"},
        {kDefault, "en_US", 0.1 + 0.2, "0.3"},
        {kDefault, "en_US", 1.0 / 3, "0.333333333333333"},
        {kDefault, "en_US", 1234567, "1234567"},
        {kDefault, "en_US", 123456789012345, "123456789012345"},
        {kDefault, "en_US", 0, "0"},
        {kDefault, "en_US", -0.0, "0"},
        {kDefault, "en_US", 1e20, "1E+20"},
        {kDefault, "en_US", 1e15, "1E+15"},
        {kDefault, "en_US", 0.0001, "0.0001"},
        {kDefault, "en_US", 0.00001, "1E-05"},
        {kDefault, "en_GB", 40.655, "40.655"},
        {kDefault, "de_DE", 40.655, "40,655"},
        {kDefault, "de_DE", 1234567.5, "1234567,5"},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s %s %.17g", row.tenths ? "##0.0" : "default", row.locale, row.value)
            << row.tenths << QString::fromLatin1(row.locale) << row.value
            << QString::fromLatin1(row.text);
    }
}

void TextConversionsTest::numberTexts() {
    QFETCH(bool, tenths);
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    const QLocale numbers(locale);
    QCOMPARE(tenths ? tc::TenthsText(value, numbers) : tc::NumberText(value, numbers), text);
}

void TextConversionsTest::dateTimeText_data() {
    QTest::addColumn<double>("serial");
    QTest::addColumn<QString>("enUS");
    QTest::addColumn<QString>("enGB");
    QTest::addColumn<QString>("deDE");

    QTest::newRow("time alone") << Clock(10, 55, 23) << "10:55:23 AM"
                                << "10:55:23"
                                << "10:55:23";
    QTest::newRow("afternoon") << Clock(15, 35, 20) << "3:35:20 PM"
                               << "15:35:20"
                               << "15:35:20";
    QTest::newRow("midnight alone") << 0.0 << "12:00:00 AM"
                                    << "00:00:00"
                                    << "00:00:00";
    QTest::newRow("date alone") << 37867.0 << "9/3/2003"
                                << "03/09/2003"
                                << "03.09.2003";
    QTest::newRow("date and time") << At(2003, 9, 3, 11) << "9/3/2003 11:00:00 AM"
                                   << "03/09/2003 11:00:00"
                                   << "03.09.2003 11:00:00";
    QTest::newRow("before epoch") << -1.25 << "12/29/1899 6:00:00 AM"
                                  << "29/12/1899 06:00:00"
                                  << "29.12.1899 06:00:00";
}

void TextConversionsTest::dateTimeText() {
    QFETCH(double, serial);
    QFETCH(QString, enUS);
    QFETCH(QString, enGB);
    QFETCH(QString, deDE);
    QCOMPARE(tc::DateTimeText(serial, QLocale("en_US")), enUS);
    QCOMPARE(tc::DateTimeText(serial, QLocale("en_GB")), enGB);
    QCOMPARE(tc::DateTimeText(serial, QLocale("de_DE")), deDE);
}

// What the report prints and the result label shows must read back as the same value.
void TextConversionsTest::printedDateTimeReadsBack() {
    const double serials[] = {
        0,     Clock(10, 55, 23), Clock(23, 59, 59),        37867, At(2003, 9, 3, 11),
        -1.25, At(100, 1, 1, 12), At(9999, 12, 31, 0, 0, 1)};
    for (const char* name : kTestLocales) {
        const QLocale locale(name);
        for (const double serial : serials) {
            const QString printed = tc::DateTimeText(serial, locale);
            const std::optional<double> read = tc::ParseDateTime(printed, locale);
            QVERIFY2(read && std::fabs(*read - serial) < kSerialTolerance,
                     qPrintable(QStringLiteral("%1: %2").arg(name, printed)));
            const QString longDate = tc::LongDateText(serial, locale);
            const std::optional<double> date = tc::ParseDateTime(longDate, locale);
            QVERIFY2(date && tc::SerialDate(*date) == tc::SerialDate(serial),
                     qPrintable(QStringLiteral("%1: %2").arg(name, longDate)));
        }
    }
}

// Every date and time a locale writes, short and long, with and without seconds, reads back
// as what was written: dates in the date reader, times in the clock-time reader.
void TextConversionsTest::localeWrittenFormsReadBack_data() {
    QTest::addColumn<QString>("locale");
    for (const char* name :
         {"C",     "en_US", "en_GB", "de_DE", "fr_FR", "es_ES", "it_IT", "ja_JP", "hi_IN",
          "ar_EG", "fa_IR", "ko_KR", "zh_CN", "fi_FI", "da_DK", "ru_RU", "pt_BR", "nl_NL",
          "hu_HU", "tr_TR", "pl_PL", "sv_SE", "fr_CA", "bg_BG", "th_TH", "lt_LT", "bn_BD",
          "mr_IN", "ne_NP", "as_IN", "ta_IN", "el_GR", "he_IL", "uk_UA", "cs_CZ", "en_CA"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void TextConversionsTest::localeWrittenFormsReadBack() {
    QFETCH(QString, locale);
    const QLocale writer(locale);
    const auto fail = [&](const QString& written) {
        return qPrintable(QStringLiteral("%1: \"%2\"").arg(locale, written));
    };
    // Short formats write two-digit years, which read back within the century 1930-2029.
    for (QDate date(1930, 1, 1); date.year() < 2030; date = date.addDays(23)) {
        for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
            const QString written = writer.toString(date, type);
            const std::optional<double> read = tc::ParseDateTime(written, writer);
            QVERIFY2(read && tc::SerialDate(*read) == date, fail(written));
        }
    }
    for (const QDate date : {QDate(1000, 1, 1), QDate(1899, 12, 29), QDate(9999, 12, 31)}) {
        const QString written = writer.toString(date, QLocale::LongFormat);
        const std::optional<double> read = tc::ParseDateTime(written, writer);
        QVERIFY2(read && tc::SerialDate(*read) == date, fail(written));
    }
    for (int second = 0; second < 86400; second += 7 * 60 + 13) {
        const QTime time = QTime(0, 0).addSecs(second);
        const QTime minutes(time.hour(), time.minute());
        const QString shortText = writer.toString(time, QLocale::ShortFormat);
        const QString longText = writer.toString(time, QLocale::LongFormat);
        const std::optional<double> shortRead = tc::ParseClockTime(shortText, writer);
        const std::optional<double> longRead = tc::ParseClockTime(longText, writer);
        const bool shortSeconds = writer.timeFormat(QLocale::ShortFormat).contains(u's');
        QVERIFY2(shortRead && tc::SerialTime(*shortRead) == (shortSeconds ? time : minutes),
                 fail(shortText));
        QVERIFY2(longRead && tc::SerialTime(*longRead) == time, fail(longText));
    }
    for (const double value : {40.655, -72.855, 0.5, 10.0, 1234.5, 1e-3}) {
        for (const QString& written : {writer.toString(value), tc::NumberText(value, writer)}) {
            QCOMPARE(tc::ParseNumber(written, writer), std::optional<double>(value));
        }
    }
}

// A box reads what it asks for first where a text is both a date and a time.
void TextConversionsTest::eachBoxReadsItsOwnKindFirst_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("inDateBox");
    QTest::addColumn<double>("inTimeBox");

    QTest::newRow("fi_FI dotted") << "fi_FI"
                                  << "23.04.05" << At(2005, 4, 23) << Clock(23, 4, 5);
    QTest::newRow("da_DK dotted") << "da_DK"
                                  << "10.09.03" << At(2003, 9, 10) << Clock(10, 9, 3);
    QTest::newRow("de_DE date") << "de_DE"
                                << "3.9.2003" << 37867.0 << 37867.0;
    QTest::newRow("de_DE time") << "de_DE"
                                << "11.00" << Clock(11, 0) << Clock(11, 0);
    QTest::newRow("not a date, a time") << "fi_FI"
                                        << "23.59.59" << Clock(23, 59, 59) << Clock(23, 59, 59);
    QTest::newRow("date and time") << "en_US"
                                   << "9/3/2003 11:00" << At(2003, 9, 3, 11) << At(2003, 9, 3, 11);
}

void TextConversionsTest::eachBoxReadsItsOwnKindFirst() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, inDateBox);
    QFETCH(double, inTimeBox);
    const std::optional<double> date = tc::ParseDateTime(text, QLocale(locale));
    const std::optional<double> clock = tc::ParseClockTime(text, QLocale(locale));
    QVERIFY(date && clock);
    QVERIFY2(std::fabs(*date - inDateBox) < kSerialTolerance, qPrintable(QString::number(*date)));
    QVERIFY2(std::fabs(*clock - inTimeBox) < kSerialTolerance, qPrintable(QString::number(*clock)));
}

// The local zone's name that a long time format writes belongs to a time, not to a date.
void TextConversionsTest::zoneNameFollowsOnlyATime() {
    const QLocale us("en_US");
    const QString zone = us.toString(QTime(12, 0), QStringLiteral("t"));
    QCOMPARE(tc::ParseClockTime(QStringLiteral("11:00:00 AM ") + zone, us),
             std::optional<double>(Clock(11, 0)));
    QCOMPARE(tc::ParseClockTime(QStringLiteral("%1 11:00 (%1)").arg(zone), us), std::nullopt);
    QCOMPARE(tc::ParseDateTime(QStringLiteral("9/3/2003 ") + zone, us), std::nullopt);
    QCOMPARE(tc::ParseDateTime(zone, us), std::nullopt);
}

void TextConversionsTest::defaultLocaleIsUsed() {
    QLocale::setDefault(QLocale("de_DE"));
    QCOMPARE(tc::ParseNumber(QStringLiteral("40,655")), std::optional<double>(40.655));
    QCOMPARE(tc::ParseDateTime(QStringLiteral("3.9.2003")), std::optional<double>(37867));
    QCOMPARE(tc::TenthsText(12.345), QStringLiteral("12,3"));
    QCOMPARE(tc::NumberText(40.655), QStringLiteral("40,655"));
    QCOMPARE(tc::DateTimeText(37867), QStringLiteral("03.09.2003"));
    QCOMPARE(tc::LongDateText(37867), QStringLiteral("Mittwoch, September 03, 2003"));
}

// Whatever is typed, the parsers give either nothing or a value the engine can use.
void TextConversionsTest::randomTextNeverGivesAnUnusableValue() {
    // Fields and gaps; every other text alternates them, which makes dates and times likely.
    const QStringList fields = {"0",   "1",   "2",         "3",    "9",         "12",       "29",
                                "30",  "99",  "0099",      "100",  "2003",      "9999",     "10000",
                                "1e3", "Sep", "September", "Sept", "m\u00e4rz", "Mittwoch", "wed",
                                "AM",  "pm",  "P",         "nan",  "Inf",       "x",        "T"};
    const QStringList gaps = {"/",  "-",      ".",      ",",  ":", " ", "\t",
                              "\n", "\u00a0", "\u202f", ". ", "+", "e", "a.m."};
    constexpr int kTexts = 200'000;
    constexpr int kLongestText = 10;  // pieces
    QRandomGenerator random(20030903);
    const auto pick = [&random](const QStringList& list) {
        return list[random.bounded(static_cast<int>(list.size()))];
    };
    QLocale locales[std::size(kTestLocales)];
    std::transform(std::begin(kTestLocales), std::end(kTestLocales), locales,
                   [](const char* name) { return QLocale(name); });

    int datesRead = 0;
    for (int n = 0; n < kTexts; ++n) {
        QString text;
        const bool shaped = n % 2 == 0;
        const QString gap = pick(gaps);
        const int pieces = shaped ? 5 + 2 * random.bounded(3) : random.bounded(kLongestText + 1);
        for (int k = pieces; k > 0; --k) {
            if (random.bounded(shaped ? 40 : 8) == 0) {
                text += QChar(static_cast<char16_t>(random.bounded(1, 0x10000)));
            } else if (shaped) {
                // Dates repeat their separator.
                text += k % 2 != 0 ? pick(fields) : random.bounded(4) != 0 ? gap : pick(gaps);
            } else {
                text += pick(random.bounded(2) == 0 ? gaps : fields);
            }
        }
        for (const QLocale& locale : locales) {
            if (const std::optional<double> serial = tc::ParseDateTime(text, locale)) {
                const QDate date = tc::SerialDate(*serial);
                if (std::trunc(*serial) != 0) ++datesRead;
                QVERIFY2(std::isfinite(*serial) && date.isValid() && date.year() >= 100 &&
                             date.year() <= 9999 && tc::SerialTime(*serial).isValid(),
                         qPrintable(text));
            }
            if (const std::optional<double> number = tc::ParseNumber(text, locale)) {
                QVERIFY2(std::isfinite(*number), qPrintable(text));
            }
        }
        QVERIFY2(!std::isnan(tc::LeadingNumber(text)), qPrintable(text));
    }
    // The generator must keep reaching the date scanner for the check above to mean much.
    QVERIFY2(datesRead > kTexts / 400, qPrintable(QString::number(datesRead)));
}

QTEST_GUILESS_MAIN(TextConversionsTest)
#include "text_conversions_test.moc"
