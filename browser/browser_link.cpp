#include "browser/browser_link.h"

#include <QCoreApplication>
#include <QEventLoopLocker>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "browser/browser_protocol.h"

namespace {

constexpr int kGracePeriod = 1000;  // milliseconds a browser gets to end by itself

QString StatusWord(const char* word) { return QLatin1String(word) + QLatin1Char(' '); }

}  // namespace

BrowserLink::BrowserLink(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("browserLink"));
}

BrowserLink::~BrowserLink() {
    Close();
    // The program is ending; a browser that is still going gets its grace period here, where
    // no window waits on it.
    for (QProcess* ending : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        ending->disconnect(this);
        if (!ending->waitForFinished(kGracePeriod)) {
            ending->kill();
            ending->waitForFinished(kGracePeriod);
        }
    }
}

QString BrowserLink::browserProgram() {
    const QString chosen = qEnvironmentVariable("KESTRAMO_BROWSER");
    if (!chosen.isEmpty()) return chosen;
    const QString name = QLatin1String(browser_protocol::kProgramName);
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(name);
}

qint64 BrowserLink::processId() const { return process_ ? process_->processId() : 0; }

void BrowserLink::Navigate(const QUrl& address) {
    if (process_) {
        send(address);
    } else {
        start(address);
    }
}

void BrowserLink::start(const QUrl& address) {
    const QString program = browserProgram();
    if (program.isEmpty()) {
        emit cannotStart(address);
        return;
    }
    process_ = new QProcess(this);
    cameUp_ = false;
    unanswered_.clear();
    // The engine's own messages go where ours go; the status lines come to us.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process_, &QProcess::readyReadStandardOutput, this, &BrowserLink::readStatus);
    connect(process_, &QProcess::finished, this, &BrowserLink::processFinished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        const QUrl address = lastAddress_;
        process_->deleteLater();
        process_ = nullptr;
        keepAlive_.reset();
        emit cannotStart(address);
    });
    keepAlive_ = std::make_unique<QEventLoopLocker>();
    process_->start(program, {});
    // The input pipe exists once start() returns; what is written waits there until the
    // browser reads it.
    if (process_) send(address);
}

void BrowserLink::send(const QUrl& address) {
    unanswered_.append(address);
    lastAddress_ = address;
    process_->write(address.toEncoded() + '\n');
}

void BrowserLink::readStatus() {
    while (process_ && process_->canReadLine()) {
        const QString line = QString::fromUtf8(process_->readLine()).trimmed();
        if (line.startsWith(StatusWord(browser_protocol::kShown))) cameUp_ = true;
        if (line.startsWith(StatusWord(browser_protocol::kOpening)) && !unanswered_.isEmpty()) {
            unanswered_.removeFirst();
        }
        emit reported(line);
    }
}

void BrowserLink::processFinished() {
    readStatus();
    const bool cameUp = cameUp_;
    const QList<QUrl> unanswered = unanswered_;
    const QUrl lastAddress = lastAddress_;
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
    unanswered_.clear();
    if (!cameUp) {
        keepAlive_.reset();
        emit cannotStart(lastAddress);
        return;
    }
    // The user closed the window while a click was on its way: that click opens a new one.
    if (!unanswered.isEmpty()) {
        start(unanswered.last());
        return;
    }
    keepAlive_.reset();
}

void BrowserLink::Close() {
    if (!process_) return;
    letEnd();
}

void BrowserLink::letEnd() {
    QProcess* ending = process_;
    process_ = nullptr;
    unanswered_.clear();
    keepAlive_.reset();
    ending->disconnect(this);
    connect(ending, &QProcess::finished, ending, &QObject::deleteLater);
    QTimer::singleShot(kGracePeriod, ending, [ending] { ending->kill(); });
    ending->closeWriteChannel();
}
