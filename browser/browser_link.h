#pragma once

#include <QList>
#include <QObject>
#include <QUrl>
#include <memory>

class QEventLoopLocker;
class QProcess;

// The calculator's end of the web page window, which runs as the separate program
// kestramo-browser so that the calculator never loads the web engine. The first address
// starts the program; later ones go to the same window until the user closes it, after which
// the next address starts it again. Nothing here waits for a page, and nothing blocks.
class BrowserLink : public QObject {
    Q_OBJECT

  public:
    explicit BrowserLink(QObject* parent = nullptr);
    // Gives a browser that is still ending a moment to go, then kills it.
    ~BrowserLink() override;

    // Shows the web page window, starting it if need be, and sends it to the address.
    void Navigate(const QUrl& address);
    // Ends the web page window without waiting: closes its input, which ends it, and kills it
    // if it has not gone within a second. Does nothing when no browser runs.
    void Close();

    bool isRunning() const { return process_ != nullptr; }
    qint64 processId() const;

    // The browser program: $KESTRAMO_BROWSER if set, else the one beside this program, else
    // the one on the PATH; empty when there is none.
    static QString browserProgram();

  signals:
    // A status line of the running browser ("shown ...", "opening ...", "loaded ...").
    void reported(const QString& line);
    // The web page window cannot open at all: the program is missing, or it ended before its
    // window showed. The address is the one it was to show.
    void cannotStart(const QUrl& address);

  private:
    void start(const QUrl& address);
    void send(const QUrl& address);
    void readStatus();
    void processFinished();
    // Lets go of the running process, which is ending by itself; kills it after the grace
    // period.
    void letEnd();

    QProcess* process_ = nullptr;
    bool cameUp_ = false;  // the running browser has shown its window
    // Addresses sent to the running browser that it has not yet said it is opening, oldest
    // first; if it ends with any, it was already ending, and the newest goes to a new one.
    QList<QUrl> unanswered_;
    QUrl lastAddress_;  // what the running browser was last sent
    // Keeps the program alive while the web page window is open, even with the main
    // window closed.
    std::unique_ptr<QEventLoopLocker> keepAlive_;
};
