// Text typed into the window becomes numbers and serial date-times here, and numbers and
// date-times become text the way the user's locale writes them.
//
// Dates and times are read by a small scanner rather than by QLocale::toDate: Qt 6.4 reads
// "9/3/03" as 1903 and "9/3/2003" not at all in en_US, and its formats are all-or-nothing. The
// scanner splits the text into numbers, words, separator marks and blanks and accepts:
//   date            three fields separated by / - . , or blanks, optionally after a weekday
//                   name: all numbers in the locale's day/month/year order (a first field of
//                   three or four digits means year-month-day, as in 2003-09-03), or one
//                   month name (the locale's or English, full or abbreviated, any case) with
//                   the day and the year around it: "September 3, 2003", "3 Sep 2003",
//                   "3. September 2003", "2003 Sep 3". A trailing period is allowed.
//   time            H:M or H:M:S (optionally with a decimal fraction of a second), in 24-hour
//                   form, or with an AM/PM designator (the locale's, AM/PM, A/P, any case,
//                   periods and blanks ignored: "a.m."), when the hour runs from 1 to 12; an
//                   hour with a designator alone ("3 PM") is a time too.
//   date and time   the date, then blanks and/or a comma (or an ISO "T"), then the time.
// Two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999; years must lie in 100-9999.
// A year-less date, a designator before the time and any other character are refused, so
// that what is accepted stays predictable.

#include "main_window/text_conversions.h"

#include <QChar>
#include <QHash>
#include <QSet>
#include <QStringView>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace text_conversions {
namespace {

constexpr qint64 kMsPerDay = 86'400'000;  // milliseconds
constexpr int kEarliestYear = 100;
constexpr int kLatestYear = 9999;
// Well beyond the years any date text can give; keeps day counts far from integer overflow.
constexpr double kLargestSerial = 1e7;  // days

QDate SerialEpoch() { return QDate(1899, 12, 30); }

// ---------------------------------------------------------------------------------------------
// What the scanner knows about a locale.

// Where the day, the month and the year stand among a date's three fields.
struct FieldOrder {
    int day, month, year;
};
constexpr FieldOrder kMonthDayYear{1, 0, 2};
constexpr FieldOrder kDayMonthYear{0, 1, 2};
constexpr FieldOrder kYearMonthDay{2, 1, 0};

// Case-folded, without periods and blanks: "Sept." and "sept" meet, "a. m." and "AM" too.
QString Squeezed(const QString& text) {
    QString squeezed;
    for (const QChar c : text.toCaseFolded()) {
        if (c != u'.' && !c.isSpace()) squeezed += c;
    }
    return squeezed;
}

struct Vocabulary {
    QHash<QString, int> months;  // squeezed names to month numbers 1-12
    QSet<QString> weekdays;      // squeezed names
    QSet<QString> amDesignators;
    QSet<QString> pmDesignators;
    FieldOrder order = kMonthDayYear;
};

// The order of day, month and year in the locale's short date format ("M/d/yy" in en_US,
// "dd.MM.yy" in de_DE, "yyyy/MM/dd" in ja_JP); quoted literals do not count.
FieldOrder OrderOf(const QString& format) {
    qsizetype day = -1;
    qsizetype month = -1;
    qsizetype year = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == u'd' && day < 0) day = i;
            if (c == u'M' && month < 0) month = i;
            if (c == u'y' && year < 0) year = i;
        }
    }
    if (day < 0 || month < 0) return kDayMonthYear;
    if (year >= 0 && year < month && year < day) return kYearMonthDay;
    return month < day ? kMonthDayYear : kDayMonthYear;
}

Vocabulary VocabularyOf(const QLocale& locale) {
    Vocabulary vocabulary;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    // The locale's names first, so that English never overrides them.
    for (const QLocale& names : {locale, english}) {
        for (int month = 1; month <= 12; ++month) {
            for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
                for (const QString& name :
                     {names.monthName(month, type), names.standaloneMonthName(month, type)}) {
                    const QString squeezed = Squeezed(name);
                    if (!squeezed.isEmpty() && !vocabulary.months.contains(squeezed)) {
                        vocabulary.months.insert(squeezed, month);
                    }
                }
            }
        }
        for (int day = 1; day <= 7; ++day) {
            for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
                vocabulary.weekdays.insert(Squeezed(names.dayName(day, type)));
                vocabulary.weekdays.insert(Squeezed(names.standaloneDayName(day, type)));
            }
        }
    }
    vocabulary.months.insert(QStringLiteral("sept"), 9);
    vocabulary.weekdays.remove(QString());

    vocabulary.amDesignators = {QStringLiteral("am"), QStringLiteral("a")};
    vocabulary.pmDesignators = {QStringLiteral("pm"), QStringLiteral("p")};
    const QString am = Squeezed(locale.amText());
    const QString pm = Squeezed(locale.pmText());
    if (!am.isEmpty() && am != pm) {
        vocabulary.amDesignators.insert(am);
        vocabulary.pmDesignators.insert(pm);
    }
    vocabulary.order = OrderOf(locale.dateFormat(QLocale::ShortFormat));
    return vocabulary;
}

// Building a vocabulary asks the locale for some hundred names; a field is parsed on every
// check, so the last few locales' vocabularies are kept.
const Vocabulary& CachedVocabulary(const QLocale& locale) {
    constexpr std::size_t kCachedLocales = 8;
    thread_local std::vector<std::pair<QLocale, std::unique_ptr<const Vocabulary>>> cache;
    for (const auto& [cachedLocale, vocabulary] : cache) {
        if (cachedLocale == locale) return *vocabulary;
    }
    if (cache.size() == kCachedLocales) cache.erase(cache.begin());
    cache.emplace_back(locale, std::make_unique<const Vocabulary>(VocabularyOf(locale)));
    return *cache.back().second;
}

// ---------------------------------------------------------------------------------------------
// Tokens.

// Dates and times use numbers of at most four digits; longer ones only need their length.
constexpr int kKeptDigits = 9;

struct Token {
    enum class Kind { Number, Word, Mark, Blank };
    Kind kind = Kind::Blank;
    QChar mark;      // Mark: one of / - . , :
    int value = 0;   // Number: the value of its first kKeptDigits digits
    int digits = 0;  // Number: how many digits were written
    QString word;    // Word: case-folded
};

using Tokens = std::vector<Token>;

bool IsMark(QChar c) { return c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u':'; }

// The tokens of the text without leading and trailing blanks; false on any character that
// belongs to no token.
bool Tokenize(QStringView text, Tokens& tokens) {
    text = text.trimmed();
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        Token token;
        if (c.isSpace()) {
            while (i < text.size() && text[i].isSpace()) ++i;
        } else if (c.isDigit()) {
            token.kind = Token::Kind::Number;
            for (; i < text.size() && text[i].isDigit(); ++i) {
                if (++token.digits <= kKeptDigits) {
                    token.value = token.value * 10 + text[i].digitValue();
                }
            }
        } else if (c.isLetter()) {
            token.kind = Token::Kind::Word;
            const qsizetype begin = i;
            while (i < text.size() && (text[i].isLetter() || text[i].isMark())) ++i;
            token.word = text.mid(begin, i - begin).toString().toCaseFolded();
        } else if (IsMark(c)) {
            token.kind = Token::Kind::Mark;
            token.mark = c;
            ++i;
        } else {
            return false;
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The scanner.

class DateTimeScanner {
  public:
    DateTimeScanner(const Tokens& tokens, const Vocabulary& vocabulary)
        : tokens_(tokens), vocabulary_(vocabulary) {}

    std::optional<Serial> Scan() {
        if (tokens_.empty()) return std::nullopt;
        if (const std::optional<QDate> date = ReadDate()) {
            if (AtEnd()) return ToSerial(*date);
            if (!SkipDateTimeGap()) return std::nullopt;
            const std::optional<QTime> time = ReadTime();
            if (!time) return std::nullopt;
            return ToSerial(*date, *time);
        }
        next_ = 0;
        const std::optional<QTime> time = ReadTime();
        if (!time) return std::nullopt;
        return ToSerial(SerialEpoch(), *time);
    }

  private:
    struct Field {
        int value = 0;
        int digits = 0;
        int month = 0;  // 1-12 when the field is a month name
    };

    bool AtEnd() const { return next_ >= tokens_.size(); }

    bool NextIs(Token::Kind kind, std::size_t ahead = 0) const {
        return next_ + ahead < tokens_.size() && tokens_[next_ + ahead].kind == kind;
    }

    bool NextIsMark(QChar mark, std::size_t ahead = 0) const {
        return NextIs(Token::Kind::Mark, ahead) && tokens_[next_ + ahead].mark == mark;
    }

    // Blanks, one separator mark, blanks; at least one of them. The mark, or a null QChar for
    // blanks alone; nullopt when there is no gap.
    std::optional<QChar> ReadFieldGap() {
        const std::size_t start = next_;
        QChar mark;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (NextIs(Token::Kind::Mark) && tokens_[next_].mark != u':') mark = tokens_[next_++].mark;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (next_ == start) return std::nullopt;
        return mark;
    }

    std::optional<Field> ReadField() {
        if (AtEnd()) return std::nullopt;
        const Token& token = tokens_[next_];
        Field field;
        if (token.kind == Token::Kind::Number) {
            field.value = token.value;
            field.digits = token.digits;
        } else if (token.kind == Token::Kind::Word && vocabulary_.months.contains(token.word)) {
            field.month = vocabulary_.months.value(token.word);
        } else {
            return std::nullopt;
        }
        ++next_;
        return field;
    }

    std::optional<QDate> ReadDate() {
        if (NextIs(Token::Kind::Word) && vocabulary_.weekdays.contains(tokens_[next_].word)) {
            ++next_;
            const std::optional<QChar> gap = ReadFieldGap();
            if (!gap || !(gap->isNull() || *gap == u',' || *gap == u'.')) return std::nullopt;
        }
        Field fields[3];
        QChar gaps[2];
        for (int k = 0; k < 3; ++k) {
            if (k > 0) {
                const std::optional<QChar> gap = ReadFieldGap();
                if (!gap) return std::nullopt;
                gaps[k - 1] = *gap;
            }
            const std::optional<Field> field = ReadField();
            if (!field) return std::nullopt;
            fields[k] = *field;
        }
        // "2003. 09. 03." and "03.09.2003." end with a period.
        if (NextIsMark(u'.') && (next_ + 1 == tokens_.size() || NextIs(Token::Kind::Blank, 1))) {
            ++next_;
        }
        return DateOf(fields, gaps);
    }

    std::optional<QDate> DateOf(const Field (&fields)[3], const QChar (&gaps)[2]) const {
        FieldOrder at = vocabulary_.order;
        if (fields[0].month != 0) {
            at = kMonthDayYear;
        } else if (fields[1].month != 0) {
            at = fields[0].digits >= 3 ? kYearMonthDay : kDayMonthYear;
        } else {
            // A numeric date keeps one separator and does not use the comma: "9/3-2003" and
            // "1,5,2003" are more likely typing slips than dates.
            if (gaps[0] != gaps[1] || gaps[0] == u',') return std::nullopt;
            if (fields[0].digits >= 3) at = kYearMonthDay;
        }
        const Field& day = fields[at.day];
        const Field& month = fields[at.month];
        const Field& year = fields[at.year];
        if (day.month != 0 || year.month != 0) return std::nullopt;
        if (day.digits > 2 || (month.month == 0 && month.digits > 2)) return std::nullopt;
        if (year.digits < 2 || year.digits > 4) return std::nullopt;
        int fullYear = year.value;
        if (year.digits == 2) fullYear += year.value < 30 ? 2000 : 1900;
        if (fullYear < kEarliestYear || fullYear > kLatestYear) return std::nullopt;
        const QDate date(fullYear, month.month != 0 ? month.month : month.value, day.value);
        if (!date.isValid()) return std::nullopt;
        return date;
    }

    // Between a date and its time: blanks, a comma, or both; or the "T" of ISO 8601.
    bool SkipDateTimeGap() {
        if (NextIs(Token::Kind::Word) && tokens_[next_].word == u"t") {
            ++next_;
            return true;
        }
        const std::size_t start = next_;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (NextIsMark(u',')) ++next_;
        if (NextIs(Token::Kind::Blank)) ++next_;
        return next_ > start;
    }

    std::optional<QTime> ReadTime() {
        if (!NextIs(Token::Kind::Number)) return std::nullopt;
        const Token& hourToken = tokens_[next_++];
        int hour = hourToken.value;
        int minute = 0;
        int second = 0;
        int millisecond = 0;
        bool hasMinutes = false;
        bool shortFields = hourToken.digits <= 2;
        if (NextIsMark(u':') && NextIs(Token::Kind::Number, 1)) {
            minute = tokens_[next_ + 1].value;
            shortFields = shortFields && tokens_[next_ + 1].digits <= 2;
            next_ += 2;
            hasMinutes = true;
            if (NextIsMark(u':') && NextIs(Token::Kind::Number, 1)) {
                second = tokens_[next_ + 1].value;
                shortFields = shortFields && tokens_[next_ + 1].digits <= 2;
                next_ += 2;
                if (NextIsMark(u'.') && NextIs(Token::Kind::Number, 1)) {
                    millisecond = MillisecondsOf(tokens_[next_ + 1]);
                    next_ += 2;
                }
            }
        }
        if (!shortFields) return std::nullopt;

        // The rest of the text is the AM/PM designator, if anything.
        QString designator;
        bool onlyBlanks = true;
        for (; !AtEnd(); ++next_) {
            const Token& token = tokens_[next_];
            if (token.kind == Token::Kind::Word) {
                designator += token.word;
            } else if (token.kind == Token::Kind::Mark && token.mark == u'.') {
                onlyBlanks = false;
            } else if (token.kind != Token::Kind::Blank) {
                return std::nullopt;
            }
        }
        if (designator.isEmpty()) {
            if (!onlyBlanks || !hasMinutes) return std::nullopt;
        } else {
            const bool am = vocabulary_.amDesignators.contains(designator);
            const bool pm = vocabulary_.pmDesignators.contains(designator);
            if (am == pm || hour < 1 || hour > 12) return std::nullopt;
            hour = hour % 12 + (pm ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
        return QTime(hour, minute, second, millisecond);
    }

    // The digits after the decimal point of the seconds, cut to whole milliseconds.
    static int MillisecondsOf(const Token& fraction) {
        int value = fraction.value;
        int digits = std::min(fraction.digits, kKeptDigits);
        for (; digits > 3; --digits) value /= 10;
        for (; digits < 3; ++digits) value *= 10;
        return value;
    }

    const Tokens& tokens_;
    const Vocabulary& vocabulary_;
    std::size_t next_ = 0;
};

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

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

// ---------------------------------------------------------------------------------------------

std::optional<Serial> ParseDateTime(const QString& text, const QLocale& locale) {
    Tokens tokens;
    if (!Tokenize(text, tokens)) return std::nullopt;
    return DateTimeScanner(tokens, CachedVocabulary(locale)).Scan();
}

std::optional<double> ParseNumber(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
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
        for (skipBlanks(); i < size && IsAsciiDigit(text[i]); ++i, skipBlanks(), ++count) {
            number += static_cast<char>(text[i].unicode());
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
        if (i < size && IsAsciiDigit(text[i])) {
            for (; i < size && IsAsciiDigit(text[i]); ++i, skipBlanks()) {
                exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 1'000'000'000LL);
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
