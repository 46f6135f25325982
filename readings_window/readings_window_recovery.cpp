// Earlier sessions' readings offered back: each recovery file that no running copy holds is
// named with its date, time and count, and the user adds its readings to this list, discards
// them, or leaves them to be asked about later (Esc, or closing the question).

#include <QAbstractButton>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

#include "product/product.h"
#include "readings/readings_csv.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_window.h"
#include "readings_window/recovery_file.h"

namespace rd = kestramo::readings;

void ReadingsWindow::offerEarlierSessions() {
    const QString folder = list_->recoveryFolder();
    if (folder.isEmpty()) return;
    for (recovery_file::EarlierFile& earlier : recovery_file::ClaimEarlierFiles(folder)) {
        const rd::CsvReadResult read = rd::ReadReadingsCsvFile(earlier.path(), list_->tolerances());
        // A file that cannot be read is left for the user to look at.
        if (read.notReadingsFile) continue;
        if (read.readings.empty()) {
            earlier.remove();
            continue;
        }
        const QString fileName = QFileInfo(earlier.path()).fileName();
        const QDateTime when = earlier.lastChanged();
        const int count = int(read.readings.size());
        QMessageBox box(
            QMessageBox::Question, QLatin1String(product::kName),
            (count == 1 ? tr("An earlier session left 1 reading in its recovery file; its last "
                             "change was on %1 at %2.")
                        : tr("An earlier session left %3 readings in its recovery file; its last "
                             "change was on %1 at %2."))
                    .arg(QLocale().toString(when.date(), QLocale::LongFormat),
                         QLocale().toString(when.time(), QLocale::ShortFormat))
                    .arg(count) +
                tr("\n\nAdd them to this session's list of readings? Discard deletes them for "
                   "good; Ask Later keeps them in their file (%1) to be offered again.")
                    .arg(fileName),
            QMessageBox::Yes | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.button(QMessageBox::Yes)->setText(tr("&Add to This List"));
        box.button(QMessageBox::Discard)->setText(tr("&Discard"));
        box.button(QMessageBox::Cancel)->setText(tr("Ask &Later"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        comeBack();
        if (answer == QMessageBox::Yes) {
            addFromFile(read, fileName, tr("Add Earlier Session's Readings"));
            // Its readings are safe in this session's own file now.
            if (list_->recoveryFileIsCurrent()) earlier.remove();
        } else if (answer == QMessageBox::Discard) {
            earlier.remove();
        }
        // Any other answer, Esc and closing the question too, asks again later: the file
        // stays where it is.
    }
}
