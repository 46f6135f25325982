#pragma once

#include <QString>
#include <QStringList>

#include "product/product.h"

// The main window's fixed texts. Line breaks are carriage-return/line-feed pairs.
namespace window_texts {

inline const QString kCaption = QLatin1String(product::kName);
inline const QString kMakerAddress = QLatin1String(product::kMakerAddress);

// The three paragraphs that tell the user what to enter.
QString Instructions();
// The two paragraphs that explain how to take the measurement.
QString MeasuringMethod();
// The entries of the time-zone list: the 24 whole-hour zones from GMT-11 at index 0 to GMT+12
// at index 23, then the zones that are not whole hours and those past the date line.
const QStringList& TimeZones();
// Hours east of Greenwich of the time-zone list's entry `index` (5.75 for Nepal).
double ZoneOffsetHours(int index);

}  // namespace window_texts
