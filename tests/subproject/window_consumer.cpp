#include <QApplication>

#include "main_window/Sundial_Input.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Sundial_Input window;
    return window.findChild<QObject*>("txtDate") ? 0 : 1;
}
