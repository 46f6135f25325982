#pragma once

#include <QString>
#include <QStringList>

// The main window's fixed texts. Line breaks are carriage-return/line-feed pairs.
namespace window_texts {

inline const QString kCaption = QStringLiteral("Kestramo");
inline const QString kMakerAddress = QStringLiteral("www.brontile.com");

// The three paragraphs that tell the user what to enter.
QString Instructions();
// The two paragraphs that explain how to take the measurement.
QString MeasuringMethod();
// The 24 entries of the time-zone list, from GMT-11 at index 0 to GMT+12 at index 23.
const QStringList& TimeZones();

}  // namespace window_texts
