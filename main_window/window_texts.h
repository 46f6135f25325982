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
// The 24 entries of the time-zone list, from GMT-11 at index 0 to GMT+12 at index 23.
const QStringList& TimeZones();

}  // namespace window_texts
