// The yardstick of startup_bench: a bare Qt Widgets window of the calculator's size that
// says "shown" and ends as soon as it has first been painted, as the calculator does with
// KESTRAMO_EXIT_WHEN_SHOWN set.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (shown_) return;
        shown_ = true;
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

  private:
    bool shown_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(816, 568);  // pixels, the calculator's content area
    window.show();
    return QApplication::exec();
}
