#include "main_window/browser_link.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoopLocker>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "main_window/window_texts.h"

namespace {

constexpr int kGracePeriod = 1000;  // milliseconds the browser gets to end by itself

}  // namespace

BrowserLink::BrowserLink(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("browserLink"));
}

BrowserLink::~BrowserLink() { Close(); }

QString BrowserLink::browserProgram() {
    const QString chosen = qEnvironmentVariable("KESTRAMO_BROWSER");
    if (!chosen.isEmpty()) return chosen;
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QLatin1String(KESTRAMO_BROWSER_NAME);
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(QStringLiteral(KESTRAMO_BROWSER_NAME));
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
        offerDesktopBrowser(address);
        return;
    }
    process_ = new QProcess(this);
    cameUp_ = false;
    // The engine's own messages go where ours go; the status lines come to us.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process_, &QProcess::readyReadStandardOutput, this, &BrowserLink::readStatus);
    connect(process_, &QProcess::finished, this, [this] {
        const bool cameUp = cameUp_;
        const QUrl address = lastAddress_;
        forgetProcess();
        if (!cameUp) offerDesktopBrowser(address);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        const QUrl address = lastAddress_;
        forgetProcess();
        offerDesktopBrowser(address);
    });
    keepAlive_ = std::make_unique<QEventLoopLocker>();
    lastAddress_ = address;
    process_->start(program, {});
    // The input pipe exists once start() returns; what is written waits there until the
    // browser reads it.
    if (process_) send(address);
}

void BrowserLink::send(const QUrl& address) {
    lastAddress_ = address;
    process_->write(address.toEncoded() + '\n');
}

void BrowserLink::readStatus() {
    while (process_ && process_->canReadLine()) {
        const QString line = QString::fromUtf8(process_->readLine()).trimmed();
        if (line.startsWith(QLatin1String("shown "))) cameUp_ = true;
        emit reported(line);
    }
}

void BrowserLink::forgetProcess() {
    if (!process_) return;
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
    keepAlive_.reset();
}

void BrowserLink::Close() {
    if (!process_) return;
    process_->disconnect(this);
    process_->closeWriteChannel();
    if (!process_->waitForFinished(kGracePeriod)) {
        process_->kill();
        process_->waitForFinished(kGracePeriod);
    }
    delete process_;
    process_ = nullptr;
    keepAlive_.reset();
}

void BrowserLink::offerDesktopBrowser(const QUrl& address) {
    QMessageBox box(QMessageBox::NoIcon, window_texts::kCaption,
                    QStringLiteral("The web page window could not be opened: %1 is not "
                                   "installed or cannot run.\n\nOpen %2 in your default web "
                                   "browser instead?")
                        .arg(QLatin1String(KESTRAMO_BROWSER_NAME), address.toString()),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() == QMessageBox::Yes) QDesktopServices::openUrl(address);
}
