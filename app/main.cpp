#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "main_window/Sundial_Input.h"
#include "product/product.h"

namespace {

// For start-up measurements (bench/startup_bench): says "shown" on the standard output as
// soon as the window has first been painted, and ends the program.
class ExitWhenShown : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

// Prints a line, its breaks made " / ", on the standard output at once.
void PrintLine(const char* kind, QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    std::printf("%s: %s\n", kind, text.toUtf8().constData());
    std::fflush(stdout);
}

// For tests that drive the program with real key presses: prints the text of every message
// box as it is shown ("message: ..."), in any window of the program.
class PrintMessages : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) PrintLine("message", box->text());
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(product::kName));
    QApplication::setDesktopFileName(QLatin1String(product::kDesktopId));
    Sundial_Input window;
    if (qEnvironmentVariableIsSet("KESTRAMO_EXIT_WHEN_SHOWN")) {
        window.installEventFilter(new ExitWhenShown(&window));
    }
    if (qEnvironmentVariableIsSet("KESTRAMO_PRINT_RESULTS")) {
        QObject::connect(&window, &Sundial_Input::resultShown,
                         [](const QString& caption) { PrintLine("result", caption); });
        app.installEventFilter(new PrintMessages(&app));
    }
    window.show();
    return QApplication::exec();
}
