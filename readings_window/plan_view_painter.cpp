#include "readings_window/plan_view_painter.h"

#include <QFontMetricsF>
#include <QPainter>

#include "readings_window/picture_widgets.h"
#include "readings_window/plan_view_layout.h"

namespace rd = kestramo::series;
using plan_view_layout::Stroke;

namespace {

const QColor kWall(0x5a, 0x3a, 0x1a);
const QColor kChosen(0x1f, 0x4e, 0xa0);
const QColor kMirror(0xb8, 0xb8, 0xb8);
const QColor kUndecided(0x70, 0x70, 0x70);
const QColor kOutlier(0xc0, 0x30, 0x30);
const QColor kLeftOutByUser(0x9c, 0xb4, 0xdc);
const QColor kSun(0xe8, 0x9a, 0x10);

QPen PenOf(Stroke stroke, double pixel) {
    QPen pen = [&] {
        switch (stroke) {
            case Stroke::Wall:
                return QPen(kWall, 4, Qt::SolidLine, Qt::RoundCap);
            case Stroke::OpenWall:
                return QPen(kUndecided, 2, Qt::DashLine, Qt::FlatCap);
            case Stroke::Arrow:
                return QPen(kWall, 2, Qt::SolidLine, Qt::RoundCap);
            case Stroke::OpenArrow:
                return QPen(kUndecided, 1.5, Qt::SolidLine, Qt::RoundCap);
            case Stroke::Chosen:
                return QPen(kChosen, 2.5, Qt::SolidLine, Qt::RoundCap);
            case Stroke::Mirror:
                return QPen(kMirror, 1.5, Qt::SolidLine, Qt::RoundCap);
            case Stroke::Undecided:
                return QPen(kUndecided, 1.5, Qt::SolidLine, Qt::RoundCap);
            case Stroke::LeftOut:
                return QPen(kOutlier, 2.5, Qt::SolidLine, Qt::RoundCap);
            case Stroke::LeftOutByUser:
                return QPen(kLeftOutByUser, 2.5, Qt::SolidLine, Qt::RoundCap);
        }
        return QPen();
    }();
    pen.setWidthF(pen.widthF() * pixel);
    return pen;
}

void DrawSun(QPainter& painter, const QPointF& at, double radius) {
    painter.setPen(QPen(kSun.darker(130), PixelScale(painter)));
    painter.setBrush(kSun);
    painter.drawEllipse(at, radius, radius);
}

void DrawKey(QPainter& painter, const plan_view_layout::Layout& layout) {
    const QFontMetricsF metrics(painter.font());
    const double row = metrics.height();
    const double sample = row * 1.6;  // and a gap of row * 0.6 to the text
    double y = layout.keyArea.top() + row / 3;
    for (const plan_view_layout::KeyEntry& entry : layout.key) {
        const double middle = y + row / 2;
        const double left = layout.keyArea.left();
        if (entry.sun) {
            DrawSun(painter, QPointF(left + sample / 2, middle), row * 0.25);
        } else if (entry.stroke == Stroke::Chosen || entry.stroke == Stroke::Mirror ||
                   entry.stroke == Stroke::Undecided || entry.stroke == Stroke::LeftOut ||
                   entry.stroke == Stroke::LeftOutByUser) {
            painter.setPen(PenOf(entry.stroke, layout.pixel));
            painter.drawLine(QPointF(left + sample / 2, y + row * 0.15),
                             QPointF(left + sample / 2, y + row * 0.85));
        } else {
            painter.setPen(PenOf(entry.stroke, layout.pixel));
            painter.drawLine(QPointF(left + 2 * layout.pixel, middle),
                             QPointF(left + sample - 2 * layout.pixel, middle));
        }
        const QRectF text(left + sample + row * 0.6, y, layout.keyArea.width() - sample - row * 0.6,
                          entry.height);
        painter.setPen(QColor(0x30, 0x30, 0x30));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, entry.text);
        y += entry.height;
    }
    painter.drawText(
        QRectF(layout.keyArea.left(), y, layout.keyArea.width(), layout.keyArea.bottom() - y),
        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, layout.caption);
}

}  // namespace

void PaintPlanView(QPainter& painter, const QRectF& area, const rd::PlanView& view,
                   const QString& lean) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const plan_view_layout::Layout layout = plan_view_layout::LayOut(
        area, view, QFontMetricsF(painter.font()), lean, PixelScale(painter));

    painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), layout.pixel));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(layout.centre, layout.radius, layout.radius);
    for (const plan_view_layout::Line& line : layout.lines) {
        painter.setPen(PenOf(line.stroke, layout.pixel));
        painter.drawLine(line.line);
    }
    for (const QPointF& sun : layout.sunDots) DrawSun(painter, sun, layout.sunDotRadius);
    for (const plan_view_layout::Label& label : layout.labels) {
        painter.setPen(label.compassPoint ? QColor(0x60, 0x60, 0x60)
                                          : (view.normal ? kWall : kUndecided.darker(130)));
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
    }
    if (!layout.keyArea.isEmpty()) DrawKey(painter, layout);
    painter.restore();
}
