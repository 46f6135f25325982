#include <QApplication>
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(product::kName));
    QApplication::setDesktopFileName(QLatin1String(product::kDesktopId));
    Sundial_Input window;
    if (qEnvironmentVariableIsSet("KESTRAMO_EXIT_WHEN_SHOWN")) {
        window.installEventFilter(new ExitWhenShown(&window));
    }
    window.show();
    return QApplication::exec();
}
