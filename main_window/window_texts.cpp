#include "main_window/window_texts.h"

#include <QFile>

namespace window_texts {
namespace {

// Reads a text kept as paragraphs on lines of their own, separated by an empty line, and
// joins them with CR LF pairs, with no break at the end.
QString ParagraphsFromResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r'));
    while (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace

QString Instructions() { return ParagraphsFromResource(QStringLiteral(":/texts/instructions.txt")); }

QString MeasuringMethod() { return ParagraphsFromResource(QStringLiteral(":/texts/method.txt")); }

const QStringList& TimeZones() {
    // Spacing as the list has always shown it, trailing blanks included.
    static const QStringList zones = {
        QStringLiteral("GMT-11hrs  Midway, Samoa"),
        QStringLiteral("GMT-10hrs  Hawaii"),
        QStringLiteral("GMT-9hrs   Alaska"),
        QStringLiteral("GMT-8hrs   US Pacific Time, Seattle, Los Angeles"),
        QStringLiteral("GMT-7hrs   US Mountain Time, Denver, Phoenix"),
        QStringLiteral("GMT-6hrs   US Central Time, Chicago, New Orleans"),
        QStringLiteral("GMT-5hrs   US Eastern Time, Montreal, New York"),
        QStringLiteral("GMT-4hrs   Atlantic, Nova Scotia"),
        QStringLiteral("GMT-3hrs   Greenland"),
        QStringLiteral("GMT-2hrs  "),
        QStringLiteral("GMT-1hrs  "),
        QStringLiteral("GMT 0hrs   Western European Time, Greenwich"),
        QStringLiteral("GMT+1hrs   Middle European Time"),
        QStringLiteral("GMT+2hrs   Eastern European Time"),
        QStringLiteral("GMT+3hrs   Moscow"),
        QStringLiteral("GMT+4hrs   Gorki"),
        QStringLiteral("GMT+5hrs   "),
        QStringLiteral("GMT+6hrs"),
        QStringLiteral("GMT+7hrs"),
        QStringLiteral("GMT+8hrs   China"),
        QStringLiteral("GMT+9hrs   Japan, Korea"),
        QStringLiteral("GMT+10hrs"),
        QStringLiteral("GMT+11"),
        QStringLiteral("GMT+12"),
    };
    return zones;
}

}  // namespace window_texts
