#include "readings_window/plan_view_painter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "engine/angles.h"

#include "readings/angle_text.h"

namespace rd = kestramo::series;

namespace {

const QColor kWall(0x5a, 0x3a, 0x1a);
const QColor kChosen(0x1f, 0x4e, 0xa0);
const QColor kMirror(0xb8, 0xb8, 0xb8);
const QColor kUndecided(0x70, 0x70, 0x70);
const QColor kOutlier(0xc0, 0x30, 0x30);
const QColor kSun(0xe8, 0x9a, 0x10);

// The point at `fraction` of the radius in a direction; screen y grows downward.
QPointF At(const QPointF& centre, double radius, const rd::PlanDirection& direction,
           double fraction) {
    return centre + QPointF(direction.east, -direction.north) * (radius * fraction);
}

void DrawCompass(QPainter& painter, const QPointF& centre, double radius) {
    painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60)));
    const struct {
        const char* name;
        double bearing;
    } points[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
    const QFontMetricsF metrics(painter.font());
    for (const auto& point : points) {
        const double radians = point.bearing * kestramo::kDegToRad;
        const QPointF at =
            centre + QPointF(std::sin(radians), -std::cos(radians)) * (radius * 1.22);
        const QString name = QLatin1String(point.name);
        const QSizeF size(metrics.horizontalAdvance(name), metrics.height());
        painter.drawText(QRectF(at - QPointF(size.width() / 2, size.height() / 2), size),
                         Qt::AlignCenter, name);
    }
}

void DrawWall(QPainter& painter, const QPointF& centre, double radius,
              const rd::PlanDirection& normal, const QPen& pen, bool label) {
    const rd::PlanDirection along{0, normal.north, -normal.east};  // a quarter turn
    painter.setPen(pen);
    painter.drawLine(At(centre, radius, along, 0.95), At(centre, radius, along, -0.95));
    QPen arrow = pen;
    arrow.setWidthF(std::max(1.0, pen.widthF() / 2));
    painter.setPen(arrow);
    const QPointF tip = At(centre, radius, normal, 0.62);
    painter.drawLine(centre, tip);
    const rd::PlanDirection left{0, normal.east * 0.94 - normal.north * 0.34,
                                 normal.north * 0.94 + normal.east * 0.34};
    const rd::PlanDirection right{0, normal.east * 0.94 + normal.north * 0.34,
                                  normal.north * 0.94 - normal.east * 0.34};
    painter.drawLine(tip, tip - QPointF(left.east, -left.north) * (radius * 0.08));
    painter.drawLine(tip, tip - QPointF(right.east, -right.north) * (radius * 0.08));
    if (label) {
        const double declination = std::remainder(normal.bearing - 180, 360);
        painter.drawText(At(centre, radius, normal, 0.7) + QPointF(4, 4),
                         angle_text::Declination(declination));
    }
}

}  // namespace

void PaintPlanView(QPainter& painter, const QRectF& area, const rd::PlanView& view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(area.width(), area.height());
    const QPointF centre = area.center();
    const double radius = side / 2 / 1.35;  // room for the compass letters and the sun ring
    DrawCompass(painter, centre, radius);

    if (view.normal) {
        DrawWall(painter, centre, radius, *view.normal, QPen(kWall, 4, Qt::SolidLine, Qt::RoundCap),
                 true);
    } else {
        for (const rd::PlanDirection& normal : view.alternatives) {
            DrawWall(painter, centre, radius, normal,
                     QPen(kUndecided, 2, Qt::DashLine, Qt::RoundCap), true);
        }
    }

    for (size_t index = 0; index < view.readings.size(); ++index) {
        const rd::PlanViewReading& reading = view.readings[index];
        if (!reading.solved) continue;
        // The sun's azimuth on the outer ring, with the reading's number.
        painter.setPen(QPen(kSun.darker(130), 1));
        painter.setBrush(kSun);
        const QPointF sun = At(centre, radius, reading.sun, 1.08);
        painter.drawEllipse(sun, radius * 0.025 + 1.5, radius * 0.025 + 1.5);
        // The two candidates as ticks on the circle.
        for (rd::Candidate candidate : {rd::Candidate::First, rd::Candidate::Second}) {
            const rd::PlanDirection& direction =
                candidate == rd::Candidate::First ? reading.first : reading.second;
            QColor colour = kUndecided;
            double width = 1.5;
            const bool outlier = reading.state == rd::ReadingState::Outlier ||
                                 reading.state == rd::ReadingState::Implausible;
            if (reading.chosen != rd::Candidate::None) {
                const bool chosen = reading.chosen == candidate;
                colour = chosen ? (outlier ? kOutlier : kChosen) : kMirror;
                width = chosen ? 2.5 : 1.5;
            }
            if (reading.state == rd::ReadingState::LeftOutByUser && reading.chosen == candidate) {
                colour = kMirror;
            }
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(At(centre, radius, direction, 0.82),
                             At(centre, radius, direction, 1.0));
        }
    }
    painter.restore();
}
