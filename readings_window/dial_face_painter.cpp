#include "readings_window/dial_face_painter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "readings/angle_text.h"
#include "readings_window/picture_widgets.h"

namespace kd = kestramo::dial;

namespace {

const QColor kLine(0x30, 0x30, 0x30);
const QColor kHalf(0x90, 0x90, 0x90);
const QColor kStyle(0x5a, 0x3a, 0x1a);
const QColor kPlate(0xfa, 0xf6, 0xec);

constexpr double kHalfHour = 0.7;     // a half-hour line's length, of a whole hour's
constexpr double kStyleLength = 0.6;  // the style's foot drawn along the substyle
constexpr double kFarthest = 3.5;     // a polar dial's lines farther out, in style heights, go

QString tr(const char* text) { return QCoreApplication::translate("DialFace", text); }

// The direction of an angle on the face, on a screen with y down: 0 straight down, positive to
// the right as one faces the wall.
QPointF Toward(double degrees) {
    const double radians = degrees * kestramo::kDegToRad;
    return QPointF(std::sin(radians), std::cos(radians));
}

bool WholeHour(const kd::HourLine& line) { return std::fmod(line.hourAngle, 15.0) == 0; }

QString HourNumber(const kd::HourLine& line) {
    const int hour = (int(std::lround(12 + line.hourAngle / 15)) + 24) % 24;
    return QString::number(hour);
}

// A line from `from` with its number at `labelAt`.
void DrawHour(QPainter& painter, const QLineF& line, const kd::HourLine& hour,
              const QPointF& labelAt) {
    const bool whole = WholeHour(hour);
    painter.setPen(QPen(whole ? kLine : kHalf, (whole ? 1.4 : 0.8) * PixelScale(painter)));
    painter.drawLine(line);
    if (!whole) return;
    const QFontMetricsF metrics(painter.font());
    const QString text = HourNumber(hour);
    const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
    painter.drawText(QRectF(labelAt - QPointF(size.width() / 2, size.height() / 2), size),
                     Qt::AlignCenter, text);
}

void DrawRadiating(QPainter& painter, const QRectF& room, const kd::DialLayout& layout) {
    const QFontMetricsF metrics(painter.font());
    const double labelRoom = 1.15;  // a line and its number, in line lengths
    // The figure in units of a whole hour's length, the root at 0, to fit the room.
    double left = 0, right = 0, top = 0, bottom = 0;
    const auto take = [&](const QPointF& point) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
    };
    for (const kd::HourLine& line : layout.hourLines) take(Toward(line.angle) * labelRoom);
    take(Toward(layout.substyleAngle) * kStyleLength);
    const QRectF extent(QPointF(left, top), QPointF(right, bottom));
    const double margin = metrics.height();
    const double length = std::min((room.width() - 2 * margin) / std::max(extent.width(), 0.2),
                                   (room.height() - 2 * margin) / std::max(extent.height(), 0.2));
    const QPointF figure(extent.width() * length, extent.height() * length);
    const QPointF root = room.center() - figure / 2 - extent.topLeft() * length;
    // The plate: the figure and a margin round it.
    const QRectF plate(root + extent.topLeft() * length - QPointF(margin, margin),
                       QSizeF(figure.x() + 2 * margin, figure.y() + 2 * margin));
    painter.fillRect(plate, kPlate);
    const double pixel = PixelScale(painter);
    painter.setPen(QPen(QColor(0xc0, 0xb8, 0xa0), pixel));
    painter.drawRect(plate);
    painter.save();
    painter.setClipRect(room);
    painter.setPen(QPen(kStyle, pixel, Qt::DashLine));
    painter.drawLine(root, root + Toward(layout.substyleAngle) * length);
    for (const kd::HourLine& line : layout.hourLines) {
        const QPointF toward = Toward(line.angle);
        const double reach = WholeHour(line) ? 1.0 : kHalfHour;
        DrawHour(painter, QLineF(root, root + toward * (length * reach)), line,
                 root + toward * (length + metrics.height() * 0.8));
    }
    if (layout.kind == kd::DialKind::Ordinary) {
        painter.setPen(QPen(kStyle, 4 * pixel, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(root, root + Toward(layout.substyleAngle) * (length * kStyleLength));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kStyle);
    painter.drawEllipse(root, 3 * pixel, 3 * pixel);
    painter.restore();
}

void DrawParallel(QPainter& painter, const QRectF& room, const kd::DialLayout& layout) {
    const QFontMetricsF metrics(painter.font());
    const QPointF along = Toward(layout.substyleAngle);
    const QPointF across = Toward(layout.substyleAngle + 90);
    double widest = 0.5;
    for (const kd::HourLine& line : layout.hourLines) {
        if (std::fabs(line.distance) <= kFarthest)
            widest = std::max(widest, std::fabs(line.distance));
    }
    const double half = std::min(room.width(), room.height()) / 2 - metrics.height() * 1.5;
    const double unit = half / widest;  // pixels a style height
    const QPointF middle = room.center();
    painter.fillRect(room, kPlate);
    painter.setPen(QPen(kStyle, 4 * PixelScale(painter), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(middle - along * half, middle + along * half);
    for (const kd::HourLine& line : layout.hourLines) {
        if (std::fabs(line.distance) > kFarthest) continue;
        const QPointF foot = middle + across * (line.distance * unit);
        const double reach = WholeHour(line) ? half : half * kHalfHour;
        DrawHour(painter, QLineF(foot - along * reach, foot + along * reach), line,
                 foot + along * (reach + metrics.height() * 0.8));
    }
}

}  // namespace

void PaintDialFace(QPainter& painter, const QRectF& area, const kd::DialLayout& layout) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const QString caption =
        layout.kind == kd::DialKind::Polar
            ? tr("Drawn as you face the wall, its top up. The style runs parallel to the face, "
                 "over the thick line.")
            : tr("Drawn as you face the wall, its top up. The style rises %1 from the face "
                 "over the thick line, along the dashed substyle.")
                  .arg(angle_text::Degrees(layout.styleHeight, 1, QLocale()));
    const QRectF captionRect =
        metrics.boundingRect(QRectF(0, 0, area.width(), 1000), Qt::TextWordWrap, caption);
    const QRectF room(area.left(), area.top(), area.width(),
                      area.height() - captionRect.height() - metrics.height() / 3);
    if (layout.hourLines.empty()) {
        painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap,
                         tr("The sun never reaches this face at a whole or half hour."));
    } else if (layout.kind == kd::DialKind::Polar) {
        DrawParallel(painter, room, layout);
    } else {
        DrawRadiating(painter, room, layout);
    }
    painter.setPen(kLine);
    painter.drawText(QRectF(area.left(), area.bottom() - captionRect.height(), area.width(),
                            captionRect.height()),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, caption);
    painter.restore();
}
