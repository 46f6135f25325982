// The readings window's files and dialogs: opening and saving readings files, printing the
// series, and what the window says about each.

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "dial_files/template_sheets.h"
#include "product/product.h"
#include "readings/readings_csv.h"
#include "readings_window/dial_panel.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/readings_window.h"
#include "readings_window/series_printout.h"
#include "readings_window/template_box.h"
#include "readings_window/tolerance_fields.h"
#include "report/paper_size.h"

namespace rd = kestramo::readings;

namespace {

constexpr int kProblemsShown = 12;  // lines named in a message; the rest are counted

QString ProblemsText(const rd::CsvReadResult& read) {
    QStringList lines;
    for (size_t index = 0; index < read.problems.size() && int(index) < kProblemsShown; ++index) {
        lines << read.problems[index].message;
    }
    if (int(read.problems.size()) > kProblemsShown) {
        lines << QObject::tr("... and %1 more.").arg(int(read.problems.size()) - kProblemsShown);
    }
    return lines.join(QLatin1Char('\n'));
}

int RejectedLines(const rd::CsvReadResult& read) {
    return int(std::count_if(read.problems.begin(), read.problems.end(),
                             [](const rd::CsvProblem& problem) { return problem.lineRejected; }));
}

QString Readings(int count) {
    return count == 1 ? QObject::tr("1 reading") : QObject::tr("%1 readings").arg(count);
}

// What opening a file did to the list, in one or two sentences.
QString OpenedText(const QString& name, const rd::CsvReadResult& read, int added,
                   bool tolerancesTaken) {
    const int known = int(read.readings.size()) - added;
    QString text;
    if (read.readings.empty()) {
        text = QObject::tr("%1 has no readings.").arg(name);
    } else if (added == 0) {
        text = read.readings.size() == 1
                   ? QObject::tr("%1: no reading added, it was already in the list.").arg(name)
                   : QObject::tr("%1: no reading added, all %2 were already in the list.")
                         .arg(name)
                         .arg(known);
    } else if (known == 0) {
        text = QObject::tr("%1: %2 added.").arg(name, Readings(added));
    } else {
        text = QObject::tr("%1: %2 added, %3 already in the list.")
                   .arg(name, Readings(added),
                        known == 1 ? QObject::tr("1 was") : QObject::tr("%1 were").arg(known));
    }
    if (const int rejected = RejectedLines(read)) {
        text += rejected == 1 ? QObject::tr(" 1 line could not be read.")
                              : QObject::tr(" %1 lines could not be read.").arg(rejected);
    }
    if (tolerancesTaken) {
        text += QObject::tr(" The list now uses the file's tolerances.");
    }
    if (!read.unknownColumns.isEmpty()) {
        text +=
            QObject::tr(" Columns it has that %1 does not know were left out: %2.")
                .arg(QLatin1String(product::kName), read.unknownColumns.join(QStringLiteral(", ")));
    }
    return text;
}

}  // namespace

int ReadingsWindow::ask(const QString& text, int icon, int buttons, int defaultButton) {
    QMessageBox box(QMessageBox::Icon(icon), QLatin1String(product::kName), text,
                    QMessageBox::StandardButtons(buttons), this);
    if (defaultButton != 0) box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
    const int answer = box.exec();
    comeBack();
    return answer;
}

void ReadingsWindow::tell(const QString& text, bool warning) {
    ask(text, warning ? QMessageBox::Warning : QMessageBox::Information, QMessageBox::Ok, 0);
}

ReadingsWindow::Added ReadingsWindow::addFromFile(const rd::CsvReadResult& read,
                                                  const QString& name, const QString& why) {
    std::optional<rd::Tolerances> tolerances;
    if (read.tolerances && !read.readings.empty() && *read.tolerances != list_->tolerances()) {
        const int answer =
            list_->size() == 0
                ? QMessageBox::Yes
                : ask(tr("The readings of %1 were evaluated with other tolerances (%2) than this "
                         "list's (%3).\n\nUse the file's tolerances for the whole list?")
                          .arg(name, tolerance_fields::Text(*read.tolerances, &list_->tolerances()),
                               tolerance_fields::Text(list_->tolerances(), &*read.tolerances)),
                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) tolerances = read.tolerances;
    }
    return {list_->addAll(read.readings, read.inclusion, read.geometry, why, tolerances),
            tolerances.has_value()};
}

bool ReadingsWindow::openFile(const QString& path) {
    const rd::CsvReadResult read = rd::ReadReadingsCsvFile(path, list_->tolerances());
    const QString name = QDir::toNativeSeparators(path);
    const QString fileName = QFileInfo(path).fileName();
    if (read.notReadingsFile || (read.readings.empty() && !read.problems.empty())) {
        statusLabel->setText(tr("%1 could not be read as a readings file.").arg(fileName));
        tell(tr("%1 could not be read as a readings file.\n\n%2").arg(name, ProblemsText(read)),
             true);
        return false;
    }
    const Added added = addFromFile(read, fileName, tr("Open %1").arg(fileName));
    list_->markFiled(read.readings);
    lastFolder_ = QFileInfo(path).absolutePath();
    statusLabel->setText(OpenedText(fileName, read, added.readings, added.tolerancesTaken));
    showFileName(path);
    if (!read.problems.empty()) {
        tell(tr("%1: %2 of its readings were added. These lines were not read as they "
                "stand:\n\n%3")
                 .arg(name)
                 .arg(added.readings)
                 .arg(ProblemsText(read)),
             true);
    }
    return true;
}

bool ReadingsWindow::saveFile(const QString& path) {
    const QString failure =
        rd::SaveReadingsCsv(path, list_->readings(), list_->inclusions(), list_->series(),
                            list_->tolerances(), rd::CsvContent::WithSeries);
    if (!failure.isEmpty()) {
        statusLabel->setText(tr("The readings could not be saved."));
        tell(tr("The readings could not be saved as %1: %2")
                 .arg(QDir::toNativeSeparators(path), failure),
             true);
        return false;
    }
    list_->markFiled(list_->readings());
    lastFolder_ = QFileInfo(path).absolutePath();
    statusLabel->setText(
        tr("%1 saved as %2.").arg(Readings(list_->size()), QDir::toNativeSeparators(path)));
    showFileName(path);
    return true;
}

void ReadingsWindow::showFileName(const QString& path) {
    const QString title = tr("%1 \u2013 Readings").arg(QLatin1String(product::kName));
    setWindowTitle(
        path.isEmpty() ? title : title + QStringLiteral(" \u2013 ") + QFileInfo(path).fileName());
}

QString ReadingsWindow::startFolder() const {
    for (const QString& folder :
         {lastFolder_, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    }
    return QDir::homePath();
}

bool ReadingsWindow::printTo(QPagedPaintDevice& device) const {
    return PrintSeries(device, *list_, *model_, dayPlans_, bestTimeLabel->text());
}

void ReadingsWindow::askOpen() {
    // A folder alone leaves the name box empty.
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Readings"), startFolder(),
                                                      tr("Readings files (*.csv *.txt);;All "
                                                         "files (*)"));
    comeBack();
    if (!path.isEmpty()) openFile(path);
}

void ReadingsWindow::askSave() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Readings"),
                                                QDir(startFolder()).filePath(tr("readings.csv")),
                                                tr("Readings files (*.csv)"));
    comeBack();
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    saveFile(path);
}

void ReadingsWindow::askSaveTemplate() {
    const std::optional<dial_files::TemplateDrawing>& drawing = dialPanel->templateBox->drawing();
    if (!drawing) return;
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save Template"), QDir(startFolder()).filePath(tr("dial-template.svg")),
        tr("SVG drawing (*.svg);;DXF drawing for CAD and cutters (*.dxf);;PDF sheets to print "
           "(*.pdf)"));
    comeBack();
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".svg");
    const std::optional<QString> failed =
        dial_files::WriteTemplateFile(path, *drawing, QPageSize(report::PaperFor()));
    if (failed) {
        statusLabel->setText(tr("The template could not be saved."));
        tell(tr("The template could not be saved: %1").arg(*failed), true);
        return;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    statusLabel->setText(tr("Template saved as %1.").arg(QDir::toNativeSeparators(path)));
}

void ReadingsWindow::askPrintTemplate() {
    const std::optional<dial_files::TemplateDrawing>& drawing = dialPanel->templateBox->drawing();
    if (!drawing) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(tr("%1 dial template").arg(QLatin1String(product::kName)));
    printer.setPageSize(QPageSize(report::PaperFor()));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Template"));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    comeBack();
    if (!accepted) return;
    // The sheets are laid out on the paper chosen, from its corner, at full size.
    printer.setFullPage(true);
    if (!dial_files::PaintSheets(printer, *drawing, printer.pageLayout().pageSize())) {
        tell(tr("The template could not be printed."), true);
    }
}

void ReadingsWindow::askPrint() {
    QPrinter printer;
    printer.setDocName(tr("%1 readings").arg(QLatin1String(product::kName)));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Readings"));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    comeBack();
    if (accepted && !printTo(printer)) tell(tr("The readings could not be printed."), true);
}
