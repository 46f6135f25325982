#include "readings_window/picture_widgets.h"

#include <QPainter>

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
