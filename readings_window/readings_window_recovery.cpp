// Earlier sessions' readings offered back: each recovery file that no running copy holds is
// named with its date, time and count, and the user adds its readings to this list, discards
// them, or leaves them to be asked about later (Esc, or closing the question).

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
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
        const QString kept = count == 1 ? tr("1 reading") : tr("%1 readings").arg(count);
        QMessageBox box(
            QMessageBox::Question, QLatin1String(product::kName),
            tr("An earlier session left %1 in its recovery file; its last change was on %2 at "
               "%3.\n\n")
                    .arg(kept, QLocale().toString(when.date(), QLocale::LongFormat),
                         QLocale().toString(when.time(), QLocale::ShortFormat)) +
                (count == 1 ? tr("Add it to this session's list of readings?")
                            : tr("Add them to this session's list of readings?")) +
                tr(" Discard deletes %1 for good; Ask Later keeps %1 in %2 to be offered again.")
                    .arg(count == 1 ? tr("it") : tr("them"), fileName),
            QMessageBox::Yes | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.button(QMessageBox::Yes)->setText(tr("&Add to This List"));
        box.button(QMessageBox::Discard)->setText(tr("&Discard"));
        box.button(QMessageBox::Cancel)->setText(tr("Ask &Later"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        comeBack();
        if (answer == QMessageBox::Yes) {
            const Added added = addFromFile(read, fileName, tr("Add Earlier Session's Readings"));
            statusLabel->setText(
                added.readings == 1
                    ? tr("1 reading of an earlier session added.")
                    : tr("%1 readings of an earlier session added.").arg(added.readings));
            // Its readings are safe in this session's own file now, whatever is undone.
            list_->keepSafe(read.readings, read.inclusion, read.geometry);
            if (list_->recoveryFileIsCurrent()) earlier.remove();
        } else if (answer == QMessageBox::Discard) {
            earlier.remove();
        }
        // Any other answer, Esc and closing the question too, asks again later: the file
        // stays where it is.
    }
}
