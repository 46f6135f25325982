#include "text/date_time_vocabulary.h"

#include <QChar>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace text_conversions {
namespace {

bool IsPatternLetter(QChar c) { return QStringView(u"dMyHhmszaApPt").contains(c); }

bool IsLatinLetter(QChar c) { return c.isLetter() && c.script() == QChar::Script_Latin; }

// The words a date or time format writes around its fields, each with the pattern letter of
// the field before it (a null QChar before the first field): "yyyy年M月d日" gives 年 after y,
// 月 after M and 日 after d; "d 'de' MMMM" gives "de" after d.
std::vector<std::pair<QChar, QString>> WordsOf(const QString& format) {
    std::vector<std::pair<QChar, QString>> words;
    QChar field;
    QString word;
    const auto endWord = [&] {
        const QString squeezed = Squeezed(word);
        if (std::any_of(squeezed.begin(), squeezed.end(), [](QChar c) { return c.isLetter(); })) {
            words.emplace_back(field, squeezed);
        }
        word.clear();
    };
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && IsPatternLetter(c)) {
            endWord();
            field = c;
        } else if (c.isLetter() || c.isMark()) {
            word += c;
        } else {
            endWord();
        }
    }
    endWord();
    return words;
}

void AddDateWords(const QString& format, Vocabulary& vocabulary) {
    for (const auto& [field, word] : WordsOf(format)) {
        if (!field.isNull()) vocabulary.dateWords.insert(word);
    }
}

void AddTimeWords(const QString& format, Vocabulary& vocabulary) {
    for (const auto& [field, word] : WordsOf(format)) {
        if (field == u'H' || field == u'h') vocabulary.hourWords.insert(word);
        if (field == u'm') vocabulary.minuteWords.insert(word);
        if (field == u's') vocabulary.secondWords.insert(word);
    }
}

// Forms in everyday use that the locale's formats do not write.
void AddEverydayForms(const QLocale& locale, Vocabulary& vocabulary) {
    switch (locale.language()) {
        case QLocale::French:  // 11h00, 11 h 00, 11h
            vocabulary.hourWords.insert(QStringLiteral("h"));
            break;
        case QLocale::German:  // 11:00 Uhr, 11 Uhr, 11 Uhr 30
            vocabulary.hourWords.insert(QStringLiteral("uhr"));
            vocabulary.timeSuffixes.insert(QStringLiteral("uhr"));
            break;
        case QLocale::Hindi:  // as other systems write the day's halves in Hindi
            vocabulary.amDesignators.insert(Squeezed(QStringLiteral("पूर्वाह्न")));
            vocabulary.pmDesignators.insert(Squeezed(QStringLiteral("अपराह्न")));
            break;
        default:
            break;
    }
}

void AddNames(const QLocale& names, Vocabulary& vocabulary) {
    for (int month = 1; month <= 12; ++month) {
        for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (const QString& name :
                 {names.monthName(month, type), names.standaloneMonthName(month, type)}) {
                const QString squeezed = Squeezed(name);
                if (!squeezed.isEmpty() && !vocabulary.months.contains(squeezed)) {
                    vocabulary.months.insert(squeezed, month);
                }
                // Names that are the month's number and a word ("9월", "9月") make that word
                // one written after a month number.
                const QString number = names.toString(month);
                if (squeezed.startsWith(number) && squeezed.size() > number.size()) {
                    vocabulary.dateWords.insert(squeezed.mid(number.size()));
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

void AddDesignators(const QLocale& locale, Vocabulary& vocabulary) {
    const QSet<QString> english = {QStringLiteral("am"), QStringLiteral("pm"), QStringLiteral("a"),
                                   QStringLiteral("p")};
    const QString am = Squeezed(locale.amText());
    const QString pm = Squeezed(locale.pmText());
    if (!am.isEmpty() && am != pm) {
        vocabulary.amDesignators.insert(am);
        vocabulary.pmDesignators.insert(pm);
    }
    AddEverydayForms(locale, vocabulary);
    // A designator of the locale's own that is not in Latin letters, or any of its own where
    // its format puts the designator first, may also stand before the time.
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype designator = format.indexOf(u'A', 0, Qt::CaseInsensitive);
    const qsizetype hour = format.indexOf(u'H', 0, Qt::CaseInsensitive);
    const bool designatorFirst = designator >= 0 && designator < hour;
    for (const QSet<QString>* own : {&vocabulary.amDesignators, &vocabulary.pmDesignators}) {
        for (const QString& word : *own) {
            if (english.contains(word)) continue;
            if (designatorFirst || std::none_of(word.begin(), word.end(), IsLatinLetter)) {
                vocabulary.leadingDesignators.insert(word);
            }
        }
    }
    vocabulary.amDesignators.unite({QStringLiteral("am"), QStringLiteral("a")});
    vocabulary.pmDesignators.unite({QStringLiteral("pm"), QStringLiteral("p")});
}

void AddZoneNames(const QLocale& locale, Vocabulary& vocabulary) {
    const int year = QDate::currentDate().year();
    const QString zoneField = QStringLiteral("t");
    for (const QString& name :
         {locale.toString(QTime(12, 0), zoneField),
          locale.toString(QDateTime(QDate(year, 1, 1), QTime(12, 0)), zoneField),
          locale.toString(QDateTime(QDate(year, 7, 1), QTime(12, 0)), zoneField)}) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty() && !vocabulary.zoneNames.contains(trimmed)) {
            vocabulary.zoneNames << trimmed;
        }
    }
}

Vocabulary VocabularyOf(const QLocale& locale) {
    Vocabulary vocabulary;
    // The locale's names first, so that English never overrides them.
    AddNames(locale, vocabulary);
    AddNames(QLocale(QLocale::English, QLocale::UnitedStates), vocabulary);
    vocabulary.months.insert(QStringLiteral("sept"), 9);
    vocabulary.weekdays.remove(QString());
    AddDesignators(locale, vocabulary);

    AddDateWords(locale.dateFormat(QLocale::LongFormat), vocabulary);
    AddDateWords(locale.dateFormat(QLocale::ShortFormat), vocabulary);
    AddTimeWords(locale.timeFormat(QLocale::LongFormat), vocabulary);
    AddTimeWords(locale.timeFormat(QLocale::ShortFormat), vocabulary);
    // Month names and designators are read as such, never as words between numbers. Weekday
    // names may be both: "日" is Sunday, and also what "3日" writes after the day.
    for (QSet<QString>* words : {&vocabulary.dateWords, &vocabulary.hourWords,
                                 &vocabulary.minuteWords, &vocabulary.secondWords}) {
        for (auto word = words->begin(); word != words->end();) {
            const bool name = vocabulary.months.contains(*word) ||
                              vocabulary.amDesignators.contains(*word) ||
                              vocabulary.pmDesignators.contains(*word);
            word = name ? words->erase(word) : std::next(word);
        }
        for (const QString& word : *words) {
            if (!vocabulary.gluedWords.contains(word)) vocabulary.gluedWords << word;
        }
    }
    std::sort(vocabulary.gluedWords.begin(), vocabulary.gluedWords.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    AddZoneNames(locale, vocabulary);
    vocabulary.order = NumericDateOrder(locale);
    return vocabulary;
}

}  // namespace

QString Squeezed(const QString& text) {
    QString squeezed;
    for (const QChar c : text.toCaseFolded()) {
        if (c != u'.' && c != u'-' && !c.isSpace() && c.category() != QChar::Other_Format) {
            squeezed += c;
        }
    }
    return squeezed;
}

const Vocabulary& VocabularyFor(const QLocale& locale) {
    // Building a vocabulary asks the locale for some hundred names; a field is read on every
    // check, so the last few locales' vocabularies are kept.
    constexpr std::size_t kCachedLocales = 8;
    thread_local std::vector<std::pair<QLocale, std::unique_ptr<const Vocabulary>>> cache;
    for (const auto& [cachedLocale, vocabulary] : cache) {
        if (cachedLocale == locale) return *vocabulary;
    }
    if (cache.size() == kCachedLocales) cache.erase(cache.begin());
    cache.emplace_back(locale, std::make_unique<const Vocabulary>(VocabularyOf(locale)));
    return *cache.back().second;
}

}  // namespace text_conversions
