#include "readings_window/picture_widgets.h"

#include <QPaintDevice>
#include <QPainter>

double PixelScale(const QPainter& painter) {
    return painter.device() ? painter.device()->logicalDpiX() / 96.0 : 1.0;
}

PictureWidget::PictureWidget(const QString& objectName, const QString& accessibleName, QSize hint,
                             QWidget* parent)
    : QWidget(parent), hint_(hint) {
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setMinimumSize(hint / 2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureWidget::setPaint(Paint paint) {
    paint_ = std::move(paint);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (paint_) paint_(painter, QRectF(rect()).adjusted(4, 4, -4, -4));
}
