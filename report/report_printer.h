#pragma once

#include <QLocale>
#include <QString>

#include <optional>

#include "report/report.h"

class QPagedPaintDevice;

// Puts a report on paper, or on the same page in a PDF file. The page is the printer's own:
// its default paper and margins, with the report starting at the top-left corner of the
// printable area.
namespace report {

// Paints the report as one page of `device`, each line one line spacing of its font below the
// one before; a line wider than the printable area wraps between words. False when the device
// cannot be painted on or reports an error at the end.
bool Paint(const Report& page, QPagedPaintDevice& device);

// Sends the report to the system's default printer as one job, with no dialog. nullopt when
// the job went out, otherwise why it did not, in words for the user.
std::optional<QString> PrintOnDefaultPrinter(const Report& page);

// Writes the page to a PDF file on the paper of the user's locale (Letter in the US, A4 in
// most other places). False when the file cannot be written.
bool SaveAsPdf(const Report& page, const QString& fileName, const QLocale& locale = QLocale());

}  // namespace report
