#pragma once

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

#include "text/date_order.h"

namespace text_conversions {

// What the date and time scanner knows about a locale: its names, the words its date and
// time formats write between the numbers, and its numeric date order. Every word is kept
// squeezed (see Squeezed) so that "Sept." and "sept", "a. m." and "AM" meet.
struct Vocabulary {
    QHash<QString, int> months;  // names to month numbers 1-12, the locale's and English
    QSet<QString> weekdays;
    QSet<QString> amDesignators;
    QSet<QString> pmDesignators;
    // Designators that may also stand before the time, as in "午前11:00" and "오후 3:00".
    QSet<QString> leadingDesignators;
    // Words the long date format writes between or after the numbers: "de", "年", "г".
    QSet<QString> dateWords;
    // Words after the hour, the minutes and the seconds: "時" "分" "秒", "h" "min" "s".
    QSet<QString> hourWords;
    QSet<QString> minuteWords;
    QSet<QString> secondWords;
    // Words after a whole time: "Uhr".
    QSet<QString> timeSuffixes;
    // The local time zone as the locale's long time format writes it ("UTC", "CEST").
    QStringList zoneNames;
    // Words that are written straight after a number and before another word, as "日" in
    // "3日水曜日"; the longest first.
    QStringList gluedWords;
    DateOrder order = DateOrder::MonthDayYear;
};

// Case-folded, without periods, hyphens, blanks and invisible format characters.
QString Squeezed(const QString& text);

// The vocabulary of `locale`, built on first use and kept for the last few locales.
const Vocabulary& VocabularyFor(const QLocale& locale);

}  // namespace text_conversions
