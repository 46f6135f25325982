#pragma once

#include <QObject>
#include <QUrl>
#include <memory>

class QEventLoopLocker;
class QProcess;
class QWidget;

// The main window's end of the web page window, which runs as the separate program
// kestramo-browser so that the calculator never loads the web engine. The first address
// starts the program; later ones go to the same window until the user closes it, after which
// the next address starts it again. Nothing here waits for a page.
class BrowserLink : public QObject {
    Q_OBJECT

  public:
    // Message boxes about a browser that cannot start are modal to `window`.
    explicit BrowserLink(QWidget* window);
    ~BrowserLink() override;

    // Shows the web page window, starting it if need be, and sends it to the address.
    void Navigate(const QUrl& address);
    // Ends the web page window: closes its input, which ends it, and kills it if it has not
    // gone within a second. Does nothing when no browser runs.
    void Close();

    bool isRunning() const { return process_ != nullptr; }
    qint64 processId() const;

    // The browser program: $KESTRAMO_BROWSER if set, else the one beside this program, else
    // the one on the PATH; empty when there is none.
    static QString browserProgram();

  signals:
    // A status line of the running browser ("shown ...", "loaded <address> ok|failed").
    void reported(const QString& line);

  private:
    void start(const QUrl& address);
    void send(const QUrl& address);
    void readStatus();
    // Forgets the process, which has ended or never started.
    void forgetProcess();
    // Tells the user that the web page window cannot open and offers the desktop's browser.
    void offerDesktopBrowser(const QUrl& address);

    QWidget* window_;
    QProcess* process_ = nullptr;
    bool cameUp_ = false;  // the running browser has shown its window
    QUrl lastAddress_;     // what the running browser was last sent
    // Keeps the program alive while the web page window is open, even with the main
    // window closed.
    std::unique_ptr<QEventLoopLocker> keepAlive_;
};
