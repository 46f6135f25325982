#pragma once

#include <QLocale>
#include <QString>

#include <optional>

#include "text/text_conversions.h"

namespace text_conversions {

// Reads a date, a time, or a date followed by a time, as people write them in `locale`, into
// a serial date-time; nullopt unless the whole text is one. The forms accepted are listed at
// the top of the .cpp.
std::optional<Serial> ScanDateTime(const QString& text, const QLocale& locale);

}  // namespace text_conversions
