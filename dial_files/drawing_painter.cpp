#include "dial_files/drawing_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace dial_files {

void MillimetrePainter::Pen(const char* colour, double width, bool dashed) {
    // The heaviest line (0.5 mm) no thinner than the thinnest pen, the others in proportion.
    QPen pen{QColor(QLatin1String(colour)), std::max(width * k_, thinnestPen_ * width / 0.5)};
    pen.setCapStyle(Qt::FlatCap);  // a line, the scale bar too, ends where it ends
    pen.setJoinStyle(Qt::RoundJoin);
    if (dashed) pen.setDashPattern({4 / width, 2 / width});
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
}

void MillimetrePainter::Text(double x, double y, double size, const QString& text, Anchor anchor,
                             const char* colour) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(int(smallestText_), int(std::lround(size * k_))));
    p_.setFont(font);
    p_.setPen(QColor(QLatin1String(colour)));
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    const double shift = anchor == Anchor::Start ? 0 : anchor == Anchor::Middle ? width / 2 : width;
    p_.drawText(QPointF(x * k_ - shift, y * k_), text);
}

void PaintDrawing(MillimetrePainter& out, const Drawing& drawing, const PlateRect& window,
                  TemplatePoint at) {
    QPainter& painter = out.Painter();
    const auto x = [&](double v) { return at.x + v - window.left; };
    const auto y = [&](double v) { return at.y + window.top - v; };
    const auto point = [&](TemplatePoint p) { return out.At(x(p.x), y(p.y)); };
    const PlateRect near{window.left - 1, window.bottom - 1, window.right + 1, window.top + 1};
    const QRectF nearOnPage(point({near.left, near.top}), point({near.right, near.bottom}));
    for (const Polyline& line : drawing.lines) {
        out.Pen(LayerColour(line.layer), StrokeWidth(line.stroke), line.stroke == Stroke::Dashed);
        if (line.closed) {
            QPolygonF polygon;
            for (const TemplatePoint& p : line.points) polygon << point(p);
            if (nearOnPage.intersects(polygon.boundingRect())) painter.drawPolygon(polygon);
            continue;
        }
        QPolygonF run;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            if (kestramo::dial::ClipSegment(line.points[i - 1], line.points[i], near)) {
                if (run.isEmpty()) run << point(line.points[i - 1]);
                run << point(line.points[i]);
            } else if (!run.isEmpty()) {
                painter.drawPolyline(run);
                run.clear();
            }
        }
        if (!run.isEmpty()) painter.drawPolyline(run);
    }
    for (const Label& label : drawing.labels) {
        out.Text(x(label.at.x), y(label.at.y), label.size, label.text, label.anchor,
                 LayerColour(label.layer));
    }
}

}  // namespace dial_files
