#include "readings_window/recovery_file.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace recovery_file {
namespace {

QString Folder() { return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation); }

}  // namespace

QString CurrentPath() { return QDir(Folder()).filePath(QStringLiteral("readings-recovery.csv")); }

QString PreviousPath() {
    return QDir(Folder()).filePath(QStringLiteral("readings-earlier-session.csv"));
}

void SetAsideEarlierSession() {
    QDir().mkpath(Folder());
    if (!QFile::exists(CurrentPath())) return;
    QFile::remove(PreviousPath());
    QFile::rename(CurrentPath(), PreviousPath());
}

}  // namespace recovery_file
