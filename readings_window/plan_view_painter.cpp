#include "readings_window/plan_view_painter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

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

// A board's answer ends in a small square, a declinometer's in a small triangle.
void DrawKindMark(QPainter& painter, const QPointF& at, rd::Method method, const QPen& pen,
                  double size) {
    painter.setPen(pen);
    painter.setBrush(Qt::white);
    if (method == rd::Method::Board) {
        painter.drawRect(QRectF(at - QPointF(size, size), at + QPointF(size, size)));
    } else {
        const QPointF corners[] = {at + QPointF(0, -size * 1.2),
                                   at + QPointF(size * 1.1, size * 0.8),
                                   at + QPointF(-size * 1.1, size * 0.8)};
        painter.drawPolygon(corners, 3);
    }
    painter.setBrush(Qt::NoBrush);
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
        } else if (entry.kind == rd::Method::Bearing) {
            painter.setPen(PenOf(entry.stroke, layout.pixel));
            painter.drawArc(QRectF(left + 2 * layout.pixel, middle - row * 0.1,
                                   sample - 4 * layout.pixel, row * 0.9),
                            30 * 16, 120 * 16);
        } else if (entry.kind != rd::Method::Square) {
            DrawKindMark(painter, QPointF(left + sample / 2, middle), entry.kind,
                         PenOf(entry.stroke, layout.pixel), row * 0.22);
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
    // A bearing's spread along the circle; Qt's angles run counterclockwise from three o'clock
    // in sixteenths of a degree, bearings clockwise from north.
    const QRectF circle(layout.centre - QPointF(layout.radius, layout.radius),
                        layout.centre + QPointF(layout.radius, layout.radius));
    for (const plan_view_layout::Spread& spread : layout.spreads) {
        QPen pen = PenOf(spread.stroke, layout.pixel);
        pen.setWidthF(pen.widthF() * 1.6);
        painter.setPen(pen);
        painter.drawArc(circle, int(std::lround((90 - spread.from - spread.span) * 16)),
                        int(std::lround(spread.span * 16)));
    }
    for (const plan_view_layout::KindMark& mark : layout.kindMarks) {
        DrawKindMark(painter, mark.at, mark.method, PenOf(mark.stroke, layout.pixel),
                     layout.sunDotRadius);
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
