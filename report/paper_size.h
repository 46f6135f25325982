#pragma once

#include <QLocale>
#include <QPageSize>

namespace report {

// The paper people use where `locale` is at home: Letter in the United States, Canada and the
// other countries that kept it, A4 everywhere else and where the locale names no country.
QPageSize::PageSizeId PaperFor(const QLocale& locale = QLocale());

}  // namespace report
