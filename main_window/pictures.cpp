#include "main_window/pictures.h"

#include <QImageReader>

QPixmap LoadPicture(const QString& path, const char* format) {
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
