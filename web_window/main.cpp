// kestramo-browser: the calculator's web page window, run as a process of its own so that
// the calculator itself never loads the web engine and a crashing page cannot take the
// user's inputs with it.
//
// It speaks the protocol of browser/browser_protocol.h.

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QUrl>
#include <cstdio>

#include "browser/browser_protocol.h"
#include "web_window/address_reader.h"
#include "web_window/frmBrowser.h"

namespace {

void WriteStatus(const QString& line) {
    const QByteArray text = line.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    // The engine's sandbox refuses to run as root and ends the process at the first page;
    // ordinary users keep it.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Whoever reads the status lines may be gone; the end of the input ends us instead.
    signal(SIGPIPE, SIG_IGN);
    // The engine draws through OpenGL contexts shared with the window's.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestramo-browser"));

    frmBrowser window;
    QObject::connect(&window, &frmBrowser::statusLine, &WriteStatus);

    AddressReader input;
    QObject::connect(&input, &AddressReader::addressArrived, &window,
                     [&window](const QString& text) {
                         const QUrl address = QUrl::fromUserInput(text);
                         WriteStatus(QLatin1String(browser_protocol::kOpening) + QLatin1Char(' ') +
                                     address.toString(QUrl::FullyEncoded));
                         window.Navigate(address);
                     });
    QObject::connect(&input, &AddressReader::inputEnded, &app, &QApplication::quit);

    return QApplication::exec();
}
