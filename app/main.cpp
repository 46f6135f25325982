#include <QApplication>

#include "main_window/Sundial_Input.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestramo");
    Sundial_Input window;
    window.show();
    return QApplication::exec();
}
