#pragma once

#include <QLocale>
#include <QString>

#include <optional>

#include "text/text_conversions.h"

namespace text_conversions {

// Which reading wins where a text could be either: "23.04.05" is 23 April 2005 in a date box
// and 23:04:05 in a time box.
enum class Reading { DateFirst, TimeFirst };

// Reads a date, a time, or a date followed by a time, as people write them in `locale`, into
// a serial date-time; nullopt unless the whole text is one. The forms accepted are listed at
// the top of the .cpp.
std::optional<Serial> ScanDateTime(const QString& text, const QLocale& locale,
                                   Reading first = Reading::DateFirst);

}  // namespace text_conversions
