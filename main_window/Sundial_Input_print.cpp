// Print: the same calculation as Calculate, then the report on the default printer. When the
// report cannot be printed, the user may keep it as a PDF file instead.

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStandardPaths>

#include "main_window/Sundial_Input.h"
#include "main_window/window_texts.h"
#include "report/report.h"
#include "report/report_printer.h"

namespace {

// Asks where to save the report; an empty name when the user cancels.
QString AskPdfFileName(QWidget* parent) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString name =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Save Report as PDF"),
                                     QDir(folder).filePath(QStringLiteral("Kestramo report.pdf")),
                                     QStringLiteral("PDF files (*.pdf)"));
    if (!name.isEmpty() &&
        QFileInfo(name).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0) {
        name += QStringLiteral(".pdf");
    }
    return name;
}

// The printer failed; offers the same page as a PDF file. The window itself is left alone.
void OfferPdfInstead(QWidget* parent, const report::Report& page, const QString& reason) {
    QMessageBox offer(QMessageBox::Warning, window_texts::kCaption,
                      QStringLiteral("The report could not be printed. ") + reason +
                          QStringLiteral("\r\n\r\nDo you want to save the report as a PDF file "
                                         "instead?"),
                      QMessageBox::Yes | QMessageBox::No, parent);
    offer.setDefaultButton(QMessageBox::Yes);
    if (offer.exec() != QMessageBox::Yes) return;

    const QString fileName = AskPdfFileName(parent);
    if (fileName.isEmpty() || report::SaveAsPdf(page, fileName)) return;
    QMessageBox failed(QMessageBox::Warning, window_texts::kCaption,
                       QStringLiteral("The report could not be saved as %1.")
                           .arg(QDir::toNativeSeparators(fileName)),
                       QMessageBox::Ok, parent);
    failed.exec();
}

}  // namespace

void Sundial_Input::cmdPrint_Click() {
    if (!calculate()) return;

    const kestramo::Observation& observation = checked_->reading.observation;
    const report::Report page = report::Build({
        .latitude = observation.latitude,
        .longitude = observation.longitude,
        .west = checked_->west,
        .clockTime = observation.clockTime,
        .standard = !observation.daylightSaving,
        .heightText = QString::fromStdString(checked_->reading.heightText.value_or("")),
        .lengthText = QString::fromStdString(checked_->reading.lengthText.value_or("")),
        .result = resultCaption_,
    });
    if (const std::optional<QString> failure = report::PrintOnDefaultPrinter(page)) {
        OfferPdfInstead(this, page, *failure);
        comeBack();
    }
}
