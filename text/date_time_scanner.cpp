// Dates and times are read by a small scanner rather than by QLocale::toDate: Qt 6.4 reads
// "9/3/03" as 1903 and "9/3/2003" not at all in en_US, and its formats are all-or-nothing. The
// scanner splits the text into numbers (in any script's digits), words, separator marks and
// blanks, and accepts:
//   date            three fields separated by / - . , or blanks, optionally after a weekday
//                   name: all numbers in the locale's day/month/year order (a first field of
//                   three or four digits means year-month-day, as in 2003-09-03), or one
//                   month name (the locale's or English, full or abbreviated, any case) with
//                   the day and the year around it: "September 3, 2003", "3 Sep 2003",
//                   "3. September 2003", "2003 Sep 3". The words the locale's own date formats
//                   write between and after the fields count as separators ("3 de septiembre
//                   de 2003", "2003年9月3日"); a trailing period, and a weekday name after the
//                   date when none stands before it, are allowed.
//   time            H:M or H:M:S (optionally with a decimal fraction of a second), H.MM or
//                   H.MM.SS, or the hour, minutes and seconds each followed by the locale's
//                   word for them ("11時00分", "11 h 00", "11 Uhr"), in 24-hour form or with an
//                   AM/PM designator (the locale's, AM/PM, A/P, any case, periods and blanks
//                   ignored: "a.m.") when the hour runs from 1 to 12; an hour with a
//                   designator alone ("3 PM") is a time too. The locale's own designator may
//                   also stand first ("午前11:00"). The name of the local time zone that
//                   the locale's long time format writes may stand before or after the time.
//   date and time   the date, then blanks and/or a comma (or an ISO "T"), then the time.
// Two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999; years must lie in 100-9999.
// A year-less date, an English designator before the time and any other character are
// refused, so that what is accepted stays predictable. Invisible direction marks are ignored.

#include "text/date_time_scanner.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <utility>
#include <vector>

#include "text/date_time_vocabulary.h"

namespace text_conversions {
namespace {

constexpr int kEarliestYear = 100;
constexpr int kLatestYear = 9999;

QDate SerialEpoch() { return QDate(1899, 12, 30); }

// Where the day, the month and the year stand among a date's three fields.
struct FieldOrder {
    int day, month, year;
};
constexpr FieldOrder kMonthDayYear{1, 0, 2};
constexpr FieldOrder kDayMonthYear{0, 1, 2};
constexpr FieldOrder kYearMonthDay{2, 1, 0};

FieldOrder FieldOrderOf(DateOrder order) {
    switch (order) {
        case DateOrder::MonthDayYear:
            return kMonthDayYear;
        case DateOrder::YearMonthDay:
            return kYearMonthDay;
        case DateOrder::DayMonthYear:
            break;
    }
    return kDayMonthYear;
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

bool IsInvisible(QChar c) { return c.category() == QChar::Other_Format; }

// Full-width forms as their ASCII twins, the Arabic comma as a comma.
QChar Plain(QChar c) {
    constexpr char16_t kFirstFullWidth = 0xFF01;
    constexpr char16_t kLastFullWidth = 0xFF5E;
    constexpr char16_t kFullWidthOffset = 0xFEE0;
    if (c.unicode() >= kFirstFullWidth && c.unicode() <= kLastFullWidth) {
        return QChar(static_cast<char16_t>(c.unicode() - kFullWidthOffset));
    }
    if (c == u'\u060C') return u',';
    return c;
}

// The tokens of the text without leading and trailing blanks; false on any character that
// belongs to no token. A word written straight after a number that starts with one of the
// vocabulary's glued words ("日水曜日" after "3") is two words.
bool Tokenize(QStringView text, const Vocabulary& vocabulary, Tokens& tokens) {
    text = text.trimmed();
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return Plain(text[k]); };
    while (i < text.size()) {
        const QChar c = at(i);
        Token token;
        if (IsInvisible(c)) {
            ++i;
            continue;
        }
        if (c.isSpace()) {
            while (i < text.size() && (at(i).isSpace() || IsInvisible(at(i)))) ++i;
            if (tokens.empty() || tokens.back().kind == Token::Kind::Blank) continue;
        } else if (c.isDigit()) {
            token.kind = Token::Kind::Number;
            for (; i < text.size() && (at(i).isDigit() || IsInvisible(at(i))); ++i) {
                if (IsInvisible(at(i))) continue;
                if (++token.digits <= kKeptDigits) {
                    token.value = token.value * 10 + at(i).digitValue();
                }
            }
        } else if (c.isLetter()) {
            token.kind = Token::Kind::Word;
            QString word;
            // An apostrophe inside a word belongs to it: "মে’" is May in Assamese.
            const auto inWord = [&](QChar w) {
                return w.isLetter() || w.isMark() || IsInvisible(w) || w == u'\u2019' || w == u'\'';
            };
            for (; i < text.size() && inWord(at(i)); ++i) {
                if (!IsInvisible(at(i))) word += at(i);
            }
            word = word.toCaseFolded();
            if (!tokens.empty() && tokens.back().kind == Token::Kind::Number) {
                for (const QString& glued : vocabulary.gluedWords) {
                    if (word.size() > glued.size() && word.startsWith(glued)) {
                        Token first;
                        first.kind = Token::Kind::Word;
                        first.word = glued;
                        tokens.push_back(std::move(first));
                        word.remove(0, glued.size());
                        break;
                    }
                }
            }
            token.word = std::move(word);
        } else if (IsMark(c)) {
            token.kind = Token::Kind::Mark;
            token.mark = c;
            ++i;
        } else {
            return false;
        }
        tokens.push_back(std::move(token));
    }
    if (!tokens.empty() && tokens.back().kind == Token::Kind::Blank) tokens.pop_back();
    return true;
}

// The text without the local zone's name where the locale's long time format writes it:
// "11:00:00 AM UTC", "23:04:05 (UTC)", "UTC 23:04:05". Sets `removed` when it was there.
QStringView WithoutZoneName(QStringView text, const Vocabulary& vocabulary, bool& removed) {
    text = text.trimmed();
    for (const QString& zone : vocabulary.zoneNames) {
        for (const QString& written : {zone, QLatin1Char('(') + zone + QLatin1Char(')'),
                                       QLatin1Char('[') + zone + QLatin1Char(']')}) {
            if (text.size() > written.size() && text.endsWith(written, Qt::CaseInsensitive) &&
                (text[text.size() - written.size() - 1].isSpace() ||
                 text[text.size() - written.size() - 1] == u',')) {
                removed = true;
                QStringView rest = text.chopped(written.size()).trimmed();
                if (rest.endsWith(u',')) rest.chop(1);
                return rest;
            }
            if (text.size() > written.size() && text.startsWith(written, Qt::CaseInsensitive) &&
                text[written.size()].isSpace()) {
                removed = true;
                return text.sliced(written.size());
            }
        }
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// The scanner.

struct Scanned {
    Serial serial = 0;
    bool hasTime = false;
};

class DateTimeScanner {
  public:
    DateTimeScanner(const Tokens& tokens, const Vocabulary& vocabulary)
        : tokens_(tokens), vocabulary_(vocabulary) {}

    std::optional<Scanned> Scan(Reading first) {
        if (tokens_.empty()) return std::nullopt;
        if (first == Reading::TimeFirst) {
            if (const std::optional<QTime> time = ReadTime()) {
                return Scanned{ToSerial(SerialEpoch(), *time), true};
            }
            next_ = 0;
        }
        if (const std::optional<QDate> date = ReadDate()) {
            if (AtEnd()) return Scanned{ToSerial(*date), false};
            if (!SkipDateTimeGap()) return std::nullopt;
            const std::optional<QTime> time = ReadTime();
            if (!time) return std::nullopt;
            return Scanned{ToSerial(*date, *time), true};
        }
        if (first == Reading::TimeFirst) return std::nullopt;
        next_ = 0;
        const std::optional<QTime> time = ReadTime();
        if (!time) return std::nullopt;
        return Scanned{ToSerial(SerialEpoch(), *time), true};
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

    bool NextIsWordIn(const QSet<QString>& words, std::size_t ahead = 0) const {
        return NextIs(Token::Kind::Word, ahead) && words.contains(tokens_[next_ + ahead].word);
    }

    // How many tokens from the next one spell a weekday name: one word, or up to three joined
    // by blanks or hyphens ("quarta-feira", "יום רביעי"), perhaps with a word of the date
    // format glued to its end ("วันพุธที่"); the longest that does. 0 when none.
    std::size_t WeekdayTokens() const {
        constexpr int kMostWords = 3;
        std::size_t longest = 0;
        QString joined;
        std::size_t end = next_;
        for (int words = 0; words < kMostWords && end < tokens_.size(); ++words) {
            if (words > 0) {
                const Token& joint = tokens_[end];
                if (joint.kind != Token::Kind::Blank &&
                    !(joint.kind == Token::Kind::Mark && joint.mark == u'-')) {
                    break;
                }
                ++end;
            }
            if (end >= tokens_.size() || tokens_[end].kind != Token::Kind::Word) break;
            joined += tokens_[end++].word;
            if (IsWeekday(joined)) longest = end - next_;
        }
        return longest;
    }

    bool IsWeekday(const QString& word) const {
        if (vocabulary_.weekdays.contains(word)) return true;
        for (const QString& glued : vocabulary_.dateWords) {
            if (word.size() > glued.size() && word.endsWith(glued) &&
                vocabulary_.weekdays.contains(word.chopped(glued.size()))) {
                return true;
            }
        }
        return false;
    }

    // A month name, perhaps after a word of the date format glued to its front ("בינואר").
    int MonthOf(const QString& word) const {
        if (const auto month = vocabulary_.months.constFind(word);
            month != vocabulary_.months.constEnd()) {
            return *month;
        }
        for (const QString& glued : vocabulary_.dateWords) {
            if (word.size() > glued.size() && word.startsWith(glued)) {
                if (const int month = vocabulary_.months.value(word.sliced(glued.size()))) {
                    return month;
                }
            }
        }
        return 0;
    }

    // A number of at most two digits (exactly two when `twoDigits`), taken when it is next.
    std::optional<int> ReadShortNumber(bool twoDigits = false) {
        if (!NextIs(Token::Kind::Number)) return std::nullopt;
        const Token& token = tokens_[next_];
        if (token.digits > 2 || (twoDigits && token.digits != 2)) return std::nullopt;
        ++next_;
        return token.value;
    }

    // An optional blank, then one of `words` with the period of its abbreviation; nothing is
    // taken unless the word is there.
    bool SkipWordIn(const QSet<QString>& words) {
        const std::size_t start = next_;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (!NextIsWordIn(words)) {
            next_ = start;
            return false;
        }
        ++next_;
        if (NextIsMark(u'.') && !NextIs(Token::Kind::Number, 1)) ++next_;
        return true;
    }

    // Blanks, at most one separator mark and the date format's own words, at least one of
    // them. The mark, or a null QChar for blanks and words alone; nullopt when there is no
    // gap.
    std::optional<QChar> ReadFieldGap() {
        const std::size_t start = next_;
        QChar mark;
        while (!AtEnd()) {
            const Token& token = tokens_[next_];
            if (token.kind == Token::Kind::Blank) {
                ++next_;
            } else if (token.kind == Token::Kind::Mark && token.mark != u':' && mark.isNull()) {
                mark = token.mark;
                ++next_;
            } else if (!SkipWordIn(vocabulary_.dateWords)) {
                break;
            }
        }
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
        } else if (token.kind == Token::Kind::Word && MonthOf(token.word) != 0) {
            field.month = MonthOf(token.word);
        } else {
            return std::nullopt;
        }
        ++next_;
        return field;
    }

    std::optional<QDate> ReadDate() {
        const std::size_t weekday = WeekdayTokens();
        const bool weekdayFirst = weekday > 0;
        if (weekdayFirst) {
            next_ += weekday;
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
        SkipDateEnd(weekdayFirst);
        return DateOf(fields, gaps);
    }

    // What may follow the last field: a period ("03.09.2003.", "3., szerda"), the format's
    // words ("2003 г.", "3日"), and a weekday name when none came first ("3日水曜日",
    // "3 Eylül 2003 Çarşamba"). What does not fit is left for the time.
    void SkipDateEnd(bool weekdayFirst) {
        if (NextIsMark(u'.') &&
            (next_ + 1 == tokens_.size() || NextIs(Token::Kind::Blank, 1) || NextIsMark(u',', 1))) {
            ++next_;
        }
        while (SkipWordIn(vocabulary_.dateWords)) {
        }
        if (weekdayFirst) return;
        const std::size_t start = next_;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (NextIsMark(u',')) ++next_;
        if (NextIs(Token::Kind::Blank)) ++next_;
        if (const std::size_t weekday = WeekdayTokens()) {
            next_ += weekday;
        } else {
            next_ = start;
        }
    }

    std::optional<QDate> DateOf(const Field (&fields)[3], const QChar (&gaps)[2]) const {
        FieldOrder at = FieldOrderOf(vocabulary_.order);
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

    // The clock fields, the rest of the text being the designator and the words after a time.
    std::optional<QTime> ReadTime() {
        QString designator;
        const bool designatorFirst = NextIsWordIn(vocabulary_.leadingDesignators);
        if (designatorFirst) {
            designator = tokens_[next_++].word;
            if (NextIs(Token::Kind::Blank)) ++next_;
        }
        const std::optional<int> hour = ReadShortNumber();
        if (!hour) return std::nullopt;
        int minute = 0;
        int second = 0;
        int millisecond = 0;
        bool complete = false;  // minutes, or the word for the hour, were written

        QChar separator;
        if (NextIsMark(u':') || NextIsMark(u'.')) {
            separator = tokens_[next_].mark;
            ++next_;
            const std::optional<int> minutes = ReadShortNumber(separator == u'.');
            if (!minutes) return std::nullopt;
            minute = *minutes;
            complete = true;
        } else if (SkipWordIn(vocabulary_.hourWords)) {
            complete = true;
            const std::size_t start = next_;
            if (NextIs(Token::Kind::Blank)) ++next_;
            if (const std::optional<int> minutes = ReadShortNumber()) {
                minute = *minutes;
                separator = u'h';
            } else {
                next_ = start;
            }
        }

        if (!separator.isNull()) {
            if (SkipWordIn(vocabulary_.minuteWords)) {
                const std::size_t start = next_;
                if (NextIs(Token::Kind::Blank)) ++next_;
                const std::optional<int> seconds = ReadShortNumber();
                if (seconds && SkipWordIn(vocabulary_.secondWords)) {
                    second = *seconds;
                } else {
                    next_ = start;
                }
            } else if ((separator == u':' || separator == u'.') && NextIsMark(separator) &&
                       NextIs(Token::Kind::Number, 1)) {
                ++next_;
                const std::optional<int> seconds = ReadShortNumber(separator == u'.');
                if (!seconds) return std::nullopt;
                second = *seconds;
                if (separator == u':' && NextIsMark(u'.') && NextIs(Token::Kind::Number, 1)) {
                    millisecond = MillisecondsOf(tokens_[next_ + 1]);
                    next_ += 2;
                }
                SkipWordIn(vocabulary_.secondWords);
            }
        }

        // The rest of the text is the AM/PM designator, if anything, and words such as "Uhr".
        bool onlyBlanks = true;
        for (; !AtEnd(); ++next_) {
            const Token& token = tokens_[next_];
            if (token.kind == Token::Kind::Word) {
                if (vocabulary_.timeSuffixes.contains(token.word) && designator.isEmpty()) {
                    continue;
                }
                if (designatorFirst) return std::nullopt;
                designator += token.word;
            } else if (token.kind == Token::Kind::Mark && token.mark == u'.') {
                onlyBlanks = false;
            } else if (token.kind != Token::Kind::Blank) {
                return std::nullopt;
            }
        }
        int clockHour = *hour;
        if (designator.isEmpty()) {
            if (!onlyBlanks || !complete) return std::nullopt;
        } else {
            const bool am = vocabulary_.amDesignators.contains(designator);
            const bool pm = vocabulary_.pmDesignators.contains(designator);
            if (am == pm || clockHour < 1 || clockHour > 12) return std::nullopt;
            clockHour = clockHour % 12 + (pm ? 12 : 0);
        }
        if (clockHour > 23 || minute > 59 || second > 59) return std::nullopt;
        return QTime(clockHour, minute, second, millisecond);
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

std::optional<Serial> ScanDateTime(const QString& text, const QLocale& locale, Reading first) {
    const Vocabulary& vocabulary = VocabularyFor(locale);
    bool zoneNamed = false;
    const QStringView clock = WithoutZoneName(text, vocabulary, zoneNamed);
    Tokens tokens;
    if (!Tokenize(clock, vocabulary, tokens)) return std::nullopt;
    const std::optional<Scanned> scanned = DateTimeScanner(tokens, vocabulary).Scan(first);
    // A zone belongs to a time; after a date alone it is not one.
    if (!scanned || (zoneNamed && !scanned->hasTime)) return std::nullopt;
    return scanned->serial;
}

}  // namespace text_conversions
