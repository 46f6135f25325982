#include "text/date_order.h"

#include <QChar>

namespace text_conversions {
namespace {

constexpr auto kMonthFirstPattern = QLatin1StringView("mm/dd/yyyy");

// The fields of a short date format in their order ("M/d/yy" gives M, d, y) and the text
// between the first two, without quotes and invisible direction marks.
struct FormatFields {
    QString fields;
    QString separator;
};

FormatFields FieldsOf(const QString& format) {
    FormatFields found;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        const bool field = !quoted && (c == u'd' || c == u'M' || c == u'y');
        if (field) {
            if (!found.fields.endsWith(c)) found.fields += c;
        } else if (found.fields.size() == 1 && c.category() != QChar::Other_Format) {
            found.separator += c;
        }
    }
    return found;
}

}  // namespace

DateOrder NumericDateOrder(const QLocale& locale) {
    if (locale.language() == QLocale::C) return DateOrder::MonthDayYear;
    const QString fields = FieldsOf(locale.dateFormat(QLocale::ShortFormat)).fields;
    const qsizetype day = fields.indexOf(u'd');
    const qsizetype month = fields.indexOf(u'M');
    const qsizetype year = fields.indexOf(u'y');
    if (day < 0 || month < 0) return DateOrder::DayMonthYear;
    if (year >= 0 && year < month && year < day) return DateOrder::YearMonthDay;
    return month < day ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
}

QString NumericDatePattern(const QLocale& locale) {
    const DateOrder order = NumericDateOrder(locale);
    if (order == DateOrder::MonthDayYear) return kMonthFirstPattern;
    QString separator = FieldsOf(locale.dateFormat(QLocale::ShortFormat)).separator;
    // A separator the date reader would not take, or none at all, is shown as a slash.
    const QString plain = separator.trimmed();
    if (plain.size() != 1 || !QStringLiteral("/-.").contains(plain)) {
        separator = QStringLiteral("/");
    }
    const QString day = QStringLiteral("dd");
    const QString month = QStringLiteral("mm");
    const QString year = QStringLiteral("yyyy");
    if (order == DateOrder::YearMonthDay) return year + separator + month + separator + day;
    return day + separator + month + separator + year;
}

}  // namespace text_conversions
