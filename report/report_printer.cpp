#include "report/report_printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

#include "product/product.h"
#include "report/paper_size.h"

namespace report {

namespace {

// The job's title: the spooler and a PDF printer name the output after it.
void SetUp(QPrinter& printer) {
    printer.setDocName(QLatin1String(product::kName));
    printer.setCreator(QLatin1String(product::kName));
}

}  // namespace

bool Paint(const Report& page, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double width = device.width();  // device pixels across the printable area
    double top = 0;                       // device pixels below the top of the printable area
    for (const Line& line : page.lines) {
        QFont font(line.family);
        font.setPointSizeF(line.pointSize);
        painter.setFont(font);
        const QFontMetricsF metrics(painter.font(), &device);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF room(0, top, width, metrics.lineSpacing());
        const QRectF used = painter.boundingRect(room, flags, line.text);
        painter.drawText(used, flags, line.text);
        top += std::max(used.height(), metrics.lineSpacing());
    }
    return painter.end();
}

std::optional<QString> PrintOnDefaultPrinter(const Report& page) {
    // Without a default printer Qt quietly falls back to a PDF writer with no file, which
    // refuses to begin; say why in the user's terms instead.
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        return QStringLiteral(
            "No default printer is set up, or the printing service (CUPS) is not running.");
    }
    QPrinter printer(target, QPrinter::HighResolution);
    SetUp(printer);
    if (!Paint(page, printer) || printer.printerState() == QPrinter::Error) {
        return QStringLiteral("The printer \"%1\" did not accept the job.")
            .arg(target.description().isEmpty() ? target.printerName() : target.description());
    }
    return std::nullopt;
}

bool SaveAsPdf(const Report& page, const QString& fileName, const QLocale& locale) {
    QPrinter printer(QPrinter::HighResolution);
    SetUp(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    // Without a printer Qt writes A4 wherever the user is; the file is printed at home.
    printer.setPageSize(QPageSize(PaperFor(locale)));
    return Paint(page, printer);
}

}  // namespace report
