#include "main_window/printed_results.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

#include "main_window/Sundial_Input.h"

namespace {

void PrintLine(const char* kind, QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    std::printf("%s: %s\n", kind, text.toUtf8().constData());
    std::fflush(stdout);
}

class MessagePrinter : public QObject {
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

void PrintResultsWhenAsked(Sundial_Input* window) {
    if (!qEnvironmentVariableIsSet("KESTRAMO_PRINT_RESULTS")) return;
    QObject::connect(window, &Sundial_Input::resultShown,
                     [](const QString& caption) { PrintLine("result", caption); });
    qApp->installEventFilter(new MessagePrinter(window));
}
