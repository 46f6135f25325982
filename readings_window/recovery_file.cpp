#include "readings_window/recovery_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace recovery_file {
namespace {

// Every recovery file is named so; the names of earlier versions' files fit it too.
const QString kPattern = QStringLiteral("readings-*.csv");

// A lock is taken for stale only when the process that holds it has gone: a running copy
// keeps its lock however long it runs.
std::unique_ptr<QLockFile> LockOf(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

QString Folder() { return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation); }

SessionFile::SessionFile(QString folder) : folder_(std::move(folder)) {}

SessionFile::~SessionFile() = default;

bool SessionFile::claim() {
    if (!lock_) {
        if (!QDir().mkpath(folder_)) return false;
        // The moment and the process make the name; a number more if a file has it already.
        const QString stem =
            QStringLiteral("readings-%1-%2")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                .arg(QCoreApplication::applicationPid());
        for (int attempt = 0; attempt < 100 && !lock_; ++attempt) {
            const QString name = attempt == 0 ? stem : stem + QStringLiteral("-%1").arg(attempt);
            const QString path = QDir(folder_).filePath(name + QStringLiteral(".csv"));
            std::unique_ptr<QLockFile> lock = LockOf(path);
            if (QFile::exists(path) || !lock->tryLock(0)) continue;
            path_ = path;
            lock_ = std::move(lock);
        }
        if (!lock_) return false;
    }
    return true;
}

bool SessionFile::write(const QByteArray& bytes) {
    if (!claim()) return false;
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool SessionFile::append(const QByteArray& line, const QByteArray& header) {
    if (!claim()) return false;
    QFile file(path_);
    const bool fresh = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QByteArray bytes = fresh ? header + line : line;
    // A line cut short by a crash is one bad line, which reading names and leaves out; the
    // readings before it stay.
    return file.write(bytes) == bytes.size() && file.flush();
}

void SessionFile::remove() {
    if (!lock_) return;
    QFile::remove(path_);
    lock_.reset();  // unlocks, which deletes the lock file
    path_.clear();
}

EarlierFile::EarlierFile(QString path, std::unique_ptr<QLockFile> lock)
    : path_(std::move(path)), lock_(std::move(lock)) {}

EarlierFile::~EarlierFile() = default;
EarlierFile::EarlierFile(EarlierFile&&) noexcept = default;
EarlierFile& EarlierFile::operator=(EarlierFile&&) noexcept = default;

QDateTime EarlierFile::lastChanged() const { return QFileInfo(path_).lastModified(); }

void EarlierFile::remove() {
    QFile::remove(path_);
    lock_.reset();
}

std::vector<EarlierFile> ClaimEarlierFiles(const QString& folder) {
    QFileInfoList files = QDir(folder).entryInfoList({kPattern}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    std::vector<EarlierFile> earlier;
    for (const QFileInfo& file : files) {
        std::unique_ptr<QLockFile> lock = LockOf(file.filePath());
        if (lock->tryLock(0)) earlier.emplace_back(file.filePath(), std::move(lock));
    }
    return earlier;
}

}  // namespace recovery_file
