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

#include "text/date_time_scanner.h"

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

constexpr int kEarliestYear = 100;
constexpr int kLatestYear = 9999;

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

}  // namespace

std::optional<Serial> ScanDateTime(const QString& text, const QLocale& locale) {
    Tokens tokens;
    if (!Tokenize(text, tokens)) return std::nullopt;
    return DateTimeScanner(tokens, CachedVocabulary(locale)).Scan();
}

}  // namespace text_conversions
