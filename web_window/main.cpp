// kestramo-browser: the calculator's web page window, run as a process of its own so that
// the calculator itself never loads the web engine and a crashing page cannot take the
// user's inputs with it.
//
// Input: addresses on the standard input, one a line; each brings the window to the front
// and opens the address. The program ends when its window is closed or its input ends.
// Output: one status line for each of these events on the standard output:
//   shown <caption> <control> <left>,<top> <width>x<height> window <width>x<height>
//       the window was first shown; the browser control's place and the window's size
//   loaded <address> ok|failed
//       a page finished loading (a failed page shows the engine's own error page)

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QUrl>
#include <cstdio>

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
    QObject::connect(
        &input, &AddressReader::addressArrived, &window,
        [&window](const QString& address) { window.Navigate(QUrl::fromUserInput(address)); });
    QObject::connect(&input, &AddressReader::inputEnded, &app, &QApplication::quit);

    return QApplication::exec();
}
