#include "main_window/window_texts.h"

#include <QFile>

#include <cstddef>

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

QString Instructions() {
    return ParagraphsFromResource(QStringLiteral(":/texts/instructions.txt"));
}

QString MeasuringMethod() { return ParagraphsFromResource(QStringLiteral(":/texts/method.txt")); }

namespace {

struct TimeZone {
    const char16_t* text;
    double offsetHours;  // east of Greenwich
};

// Spacing as the list has always shown it, trailing blanks included. The zones after GMT+12
// came later and keep the first 24 where they always were.
constexpr TimeZone kTimeZones[] = {
    {u"GMT-11hrs  Midway, Samoa", -11},
    {u"GMT-10hrs  Hawaii", -10},
    {u"GMT-9hrs   Alaska", -9},
    {u"GMT-8hrs   US Pacific Time, Seattle, Los Angeles", -8},
    {u"GMT-7hrs   US Mountain Time, Denver, Phoenix", -7},
    {u"GMT-6hrs   US Central Time, Chicago, New Orleans", -6},
    {u"GMT-5hrs   US Eastern Time, Montreal, New York", -5},
    {u"GMT-4hrs   Atlantic, Nova Scotia", -4},
    {u"GMT-3hrs   Greenland", -3},
    {u"GMT-2hrs  ", -2},
    {u"GMT-1hrs  ", -1},
    {u"GMT 0hrs   Western European Time, Greenwich", 0},
    {u"GMT+1hrs   Middle European Time", 1},
    {u"GMT+2hrs   Eastern European Time", 2},
    {u"GMT+3hrs   Moscow", 3},
    {u"GMT+4hrs   Gorki", 4},
    {u"GMT+5hrs   ", 5},
    {u"GMT+6hrs", 6},
    {u"GMT+7hrs", 7},
    {u"GMT+8hrs   China", 8},
    {u"GMT+9hrs   Japan, Korea", 9},
    {u"GMT+10hrs", 10},
    {u"GMT+11", 11},
    {u"GMT+12", 12},
    {u"GMT-12hrs  Baker Island, Howland Island", -12},
    {u"GMT-9:30hrs  Marquesas Islands", -9.5},
    {u"GMT-3:30hrs  Newfoundland", -3.5},
    {u"GMT+3:30hrs  Iran", 3.5},
    {u"GMT+4:30hrs  Afghanistan", 4.5},
    {u"GMT+5:30hrs  India, Sri Lanka", 5.5},
    {u"GMT+5:45hrs  Nepal", 5.75},
    {u"GMT+6:30hrs  Myanmar", 6.5},
    {u"GMT+9:30hrs  Central Australia, Adelaide, Darwin", 9.5},
    {u"GMT+10:30hrs  Lord Howe Island", 10.5},
    {u"GMT+12:45hrs  Chatham Islands", 12.75},
    {u"GMT+13hrs  Tonga, Samoa", 13},
    {u"GMT+14hrs  Line Islands, Kiribati", 14},
};

}  // namespace

const QStringList& TimeZones() {
    static const QStringList zones = [] {
        QStringList texts;
        for (const TimeZone& zone : kTimeZones) texts << QString::fromUtf16(zone.text);
        return texts;
    }();
    return zones;
}

double ZoneOffsetHours(int index) {
    return kTimeZones[static_cast<std::size_t>(index)].offsetHours;
}

}  // namespace window_texts
