#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <span>
#include <vector>

#include <QByteArray>

class QLockFile;

// Recovery files keep the readings of every running copy of the program against a crash: one
// readings file per copy, in the user's data folder, each locked while its copy runs. A file
// whose lock no running copy holds was left by an earlier session, and is kept until the user
// has taken its readings in or discarded them. Each is an ordinary readings file.
namespace recovery_file {

// Where the recovery files are: the program's folder in the user's data location.
QString Folder();

// This session's recovery file, made and locked when the session first writes it.
class SessionFile {
  public:
    explicit SessionFile(QString folder);
    // Unlocks the file and leaves it for a later session to offer.
    ~SessionFile();
    SessionFile(const SessionFile&) = delete;
    SessionFile& operator=(const SessionFile&) = delete;

    // Writes the whole file, atomically; the first call makes the folder, a name of this
    // session's own and its lock. False when the file cannot be written.
    bool write(const QByteArray& bytes);
    // Adds a line at the end of the file that `write` wrote; a file not yet written starts with
    // `header`. False when it cannot: then `write` the whole file.
    bool append(const QByteArray& line, const QByteArray& header);
    // Deletes the file: the session has ended with nothing in it that is not saved elsewhere.
    void remove();
    // Empty until the file is first written.
    const QString& path() const { return path_; }

  private:
    // Makes the folder, a name of this session's own and its lock, once.
    bool claim();

    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// An earlier session's recovery file, locked by this session while it is being offered, so
// that no other copy offers it at the same time.
class EarlierFile {
  public:
    EarlierFile(QString path, std::unique_ptr<QLockFile> lock);
    // Unlocks the file and leaves it where it is, to be offered again later.
    ~EarlierFile();
    EarlierFile(EarlierFile&&) noexcept;
    EarlierFile& operator=(EarlierFile&&) noexcept;

    const QString& path() const { return path_; }
    // When its session last wrote it.
    QDateTime lastChanged() const;
    // Deletes the file: its readings are in this session's file now, or the user discarded
    // them.
    void remove();

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// The recovery files in `folder` that no running copy holds, the oldest first, each locked for
// this session until its EarlierFile goes.
std::vector<EarlierFile> ClaimEarlierFiles(const QString& folder);

}  // namespace recovery_file
