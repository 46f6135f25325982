// Text typed into the window becomes numbers and serial date-times here, and numbers and
// date-times become text the way the user's locale writes them. Dates and times are read by
// the scanner in date_time_scanner.cpp.

#include "text/text_conversions.h"

#include "text/date_time_scanner.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace text_conversions {
namespace {

constexpr qint64 kMsPerDay = 86'400'000;  // milliseconds
// Well beyond the years any date text can give; keeps day counts far from integer overflow.
constexpr double kLargestSerial = 1e7;  // days

QDate SerialEpoch() { return QDate(1899, 12, 30); }

// ---------------------------------------------------------------------------------------------
// Formats.

// The locale's long time format without its time zone: Qt 6.4's short format drops the
// seconds and its long one ends in " t" ("h:mm:ss AP t" in en_US, "H:mm:ss (t)" in fa_IR).
QString TimeFormatOf(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString stripped;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u't') stripped += c;
    }
    stripped.remove(QStringLiteral("()"));
    return stripped.simplified();
}

// The locale's short date format with the year in four digits: "M/d/yyyy" in en_US.
QString DateFormatOf(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString widened;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u'y') {
            widened += c;
            ++i;
            continue;
        }
        while (i < format.size() && format[i] == u'y') ++i;
        widened += QStringLiteral("yyyy");
    }
    return widened;
}

// ICU-style data puts no-break spaces before AM/PM; printed and copied text wants plain ones.
QString WithPlainSpaces(QString text) {
    text.replace(QChar(0x202F), u' ');
    text.replace(QChar(0x00A0), u' ');
    return text;
}

QLocale WithoutGrouping(const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions((locale.numberOptions() | QLocale::OmitGroupSeparator) &
                           ~QLocale::IncludeTrailingZeroesAfterDot);
    return plain;
}

bool IsSkippedBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Any script's decimal digit: ASCII, full-width, Arabic-Indic, Devanagari...
bool IsDigit(QChar c) { return c.isDigit(); }

char AsciiDigit(QChar c) { return static_cast<char>('0' + c.digitValue()); }

// The text in the notation QLocale::toDouble reads for `locale`: every digit in ASCII,
// full-width marks as their ASCII twins, the Arabic decimal and thousands separators and the
// minus sign U+2212 as the locale's own, invisible direction marks left out.
QString InLocaleNotation(const QString& text, const QLocale& locale) {
    constexpr char16_t kFirstFullWidth = 0xFF01;
    constexpr char16_t kLastFullWidth = 0xFF5E;
    constexpr char16_t kFullWidthOffset = 0xFEE0;
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c.isDigit()) {
            plain += QLatin1Char(AsciiDigit(c));
        } else if (c == u'\u066B') {
            plain += locale.decimalPoint();
        } else if (c == u'\u066C') {
            plain += locale.groupSeparator();
        } else if (c == u'\u2212') {
            plain += u'-';
        } else if (c.unicode() >= kFirstFullWidth && c.unicode() <= kLastFullWidth) {
            plain += QChar(static_cast<char16_t>(c.unicode() - kFullWidthOffset));
        } else if (c.category() != QChar::Other_Format) {
            plain += c;
        }
    }
    return plain;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::optional<Serial> ParseDateTime(const QString& text, const QLocale& locale) {
    return ScanDateTime(text, locale, Reading::DateFirst);
}

std::optional<Serial> ParseClockTime(const QString& text, const QLocale& locale) {
    return ScanDateTime(text, locale, Reading::TimeFirst);
}

std::optional<double> ParseNumber(const QString& text, const QLocale& locale) {
    bool ok = false;
    // Qt 6.4 does not read back some locales' own negative numbers ("؜-٣٫٥" in ar_EG), nor
    // digits of another script than the locale's; in ASCII digits every locale reads them.
    const double value = locale.toDouble(InLocaleNotation(text, locale), &ok);
    // QLocale reads "nan" and "inf" as numbers; nobody means them in a field of this window.
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

double LeadingNumber(const QString& text) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < size && IsSkippedBlank(text[i])) ++i;
    };
    std::string number;  // the digits read, with '.' and "e", in from_chars syntax
    const auto readDigits = [&] {
        qsizetype count = 0;
        for (skipBlanks(); i < size && IsDigit(text[i]); ++i, skipBlanks(), ++count) {
            number += AsciiDigit(text[i]);
        }
        return count;
    };

    skipBlanks();
    bool negative = false;
    if (i < size && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const qsizetype integerDigits = readDigits();
    qsizetype fractionDigits = 0;
    if (i < size && text[i] == u'.') {
        ++i;
        number += '.';
        fractionDigits = readDigits();
    }
    if (integerDigits + fractionDigits == 0) return 0;

    // An exponent needs digits; "1e" and "1e+" end the number before the e.
    long long exponent = 0;
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype mark = i++;
        skipBlanks();
        bool negativeExponent = false;
        if (i < size && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i++] == u'-';
            skipBlanks();
        }
        if (i < size && IsDigit(text[i])) {
            for (; i < size && IsDigit(text[i]); ++i, skipBlanks()) {
                exponent = std::min(exponent * 10 + text[i].digitValue(), 1'000'000'000LL);
            }
            if (negativeExponent) exponent = -exponent;
        } else {
            i = mark;
        }
    }
    number += 'e';
    number += std::to_string(exponent);

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: which one follows from where the first
        // significant digit stands, counted in powers of ten from the decimal point.
        const std::size_t first = number.find_first_of("123456789");
        if (first == std::string::npos) return 0;
        const std::size_t point = std::min(number.find('.'), number.find('e'));
        const long long order = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
        value = order + exponent > 0 ? HUGE_VAL : 0.0;
    } else if (error != std::errc()) {
        return 0;
    }
    if (value == 0) return 0;
    return negative ? -value : value;
}

QDate SerialDate(Serial serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > kLargestSerial) return {};
    return SerialEpoch().addDays(static_cast<qint64>(std::trunc(serial)));
}

QTime SerialTime(Serial serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > kLargestSerial) return {};
    const double fraction = std::fabs(serial - std::trunc(serial));
    // A fraction a hair below 1 would round to 24:00; it stays on its own day instead.
    const qint64 ms = std::min(std::llround(fraction * kMsPerDay), kMsPerDay - 1);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

Serial ToSerial(const QDate& date, const QTime& time) {
    if (!date.isValid()) return 0;
    const auto days = static_cast<double>(SerialEpoch().daysTo(date));
    const double fraction =
        time.isValid() ? static_cast<double>(time.msecsSinceStartOfDay()) / kMsPerDay : 0.0;
    // Before the epoch the time of day still counts forward: -1.25 is 29 Dec 1899, 06:00.
    return days < 0 ? days - fraction : days + fraction;
}

QString LongDateText(Serial serial, const QLocale& locale) {
    const QDate date = SerialDate(serial);
    if (!date.isValid()) return {};
    return locale.toString(date, QStringLiteral("dddd, MMMM dd, yyyy"));
}

QString TenthsText(double value, const QLocale& locale) {
    if (!std::isfinite(value)) return locale.toString(value);
    // Round the shortest decimal text of the value, half away from zero, so that 0.25 and
    // 12.35 go up as they read, whatever binary neighbour they landed on.
    char shortest[400];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, std::fabs(value),
                                       std::chars_format::fixed);
    if (written.ec != std::errc()) return WithoutGrouping(locale).toString(value, 'f', 1);
    const std::string text(shortest, written.ptr);
    const std::size_t point = text.find('.');
    std::string tenths = text.substr(0, point);  // the integer digits, then the tenths digit
    bool roundUp = false;
    if (point == std::string::npos) {
        tenths += '0';
    } else {
        tenths += text[point + 1];
        roundUp = point + 2 < text.size() && text[point + 2] >= '5';
    }
    for (auto digit = tenths.rbegin(); roundUp && digit != tenths.rend(); ++digit) {
        roundUp = *digit == '9';
        *digit = roundUp ? '0' : static_cast<char>(*digit + 1);
    }
    if (roundUp) tenths.insert(tenths.begin(), '1');
    tenths.insert(tenths.end() - 1, '.');

    double rounded = 0;
    std::from_chars(tenths.data(), tenths.data() + tenths.size(), rounded);
    // A value that rounds to zero prints without a sign.
    if (value < 0 && rounded != 0) rounded = -rounded;
    return WithoutGrouping(locale).toString(rounded, 'f', 1);
}

QString NumberText(double value, const QLocale& locale) {
    constexpr int kSignificantDigits = 15;
    return WithoutGrouping(locale).toString(value == 0 ? 0.0 : value, 'g', kSignificantDigits);
}

QString TypedNumberText(const std::optional<std::string>& typed, double value,
                        const QLocale& locale) {
    if (typed) {
        const QString text = QString::fromStdString(*typed).trimmed();
        if (ParseNumber(text, locale) == value) return text;
    }
    return NumberText(value, locale);
}

QString DateTimeText(Serial serial, const QLocale& locale) {
    const QDate date = SerialDate(serial);
    const QTime time = SerialTime(serial);
    if (!date.isValid()) return {};
    const QString timeText = locale.toString(time, TimeFormatOf(locale));
    if (std::trunc(serial) == 0) return WithPlainSpaces(timeText);
    const QString dateText = locale.toString(date, DateFormatOf(locale));
    if (time.msecsSinceStartOfDay() == 0) return WithPlainSpaces(dateText);
    return WithPlainSpaces(dateText + u' ' + timeText);
}

}  // namespace text_conversions
