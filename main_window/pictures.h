#pragma once

#include <QPixmap>
#include <QString>

// Reads one of the program's pictures in the format named. Naming it, with Qt's guessing
// turned off, loads the one image plugin the format needs (PNG needs none) instead of every
// plugin installed, which start-up would otherwise pay for.
QPixmap LoadPicture(const QString& path, const char* format);
