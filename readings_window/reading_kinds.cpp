#include "readings_window/reading_kinds.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

using kestramo::series::Method;

namespace {

// The drawings are laid out on a 240 x 170 grid, scaled to fit the area.
constexpr QSizeF kGrid(240, 170);
constexpr double kRadiansPerDegree = std::numbers::pi / 180;
// The example shadow's angle in the declinometer's drawing, degrees right of the
// perpendicular, and the example bearing, degrees west of south.
constexpr double kExampleAngle = 30;
constexpr double kExampleBearing = 35;

const QColor kWall(0x80, 0x70, 0x60);
const QColor kTool(0x20, 0x40, 0x90);
const QColor kShadow(0x30, 0x30, 0x30);
const QColor kSun(0xd0, 0x90, 0x00);
const QColor kMeasure(0xb0, 0x20, 0x20);

QString Words(const char* text) { return QCoreApplication::translate("ReadingKinds", text); }

void Arrow(QPainter& painter, QPointF from, QPointF to) {
    painter.drawLine(from, to);
    const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF across(-along.y(), along.x());
    painter.drawLine(to, to - 7 * along + 3.5 * across);
    painter.drawLine(to, to - 7 * along - 3.5 * across);
}

// A wall's edge seen from the side or from above: a thick line with hatching on its far side.
void WallEdge(QPainter& painter, QPointF from, QPointF to, QPointF behind) {
    painter.setPen(QPen(kWall, 3));
    painter.drawLine(from, to);
    painter.setPen(QPen(kWall, 1));
    const double steps = std::hypot(to.x() - from.x(), to.y() - from.y()) / 10;
    for (int i = 0; i <= int(steps); ++i) {
        const QPointF at = from + (to - from) * (i / steps);
        painter.drawLine(at, at + behind);
    }
}

void Label(QPainter& painter, QPointF at, const QString& text, const QColor& colour,
           Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    painter.setPen(colour);
    QRectF box(at, QSizeF(0, 0));
    const double width = 200;
    const double height = 16;
    if (alignment & Qt::AlignRight)
        box.setLeft(at.x() - width), box.setRight(at.x());
    else if (alignment & Qt::AlignHCenter)
        box.setLeft(at.x() - width / 2), box.setWidth(width);
    else
        box.setWidth(width);
    box.setTop(at.y() - height / 2);
    box.setHeight(height);
    painter.drawText(box, int(alignment), text);
}

// Seen from the side: the square's one arm flat on the wall, the other held straight out, and
// the sun's ray past its end to the shadow's end on the wall.
void Square(QPainter& painter) {
    WallEdge(painter, {60, 10}, {60, 160}, {-8, 8});
    painter.setPen(QPen(kTool, 4));
    painter.drawLine(QPointF(60, 50), QPointF(150, 50));
    painter.drawLine(QPointF(60, 50), QPointF(60, 20));
    // The ray past the arm's end, (150, 50), to the shadow's end on the wall, (60, 135).
    painter.setPen(QPen(kSun, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(197.6, 5), QPointF(60, 135));
    painter.setPen(QPen(kMeasure, 1.5));
    Arrow(painter, {66, 92}, {66, 54});
    Arrow(painter, {66, 92}, {66, 131});
    Label(painter, {72, 112}, Words("shadow on the wall"), kMeasure);
    Label(painter, {105, 38}, Words("height"), kTool, Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, {203, 10}, Words("sun"), kSun);
}

// Face on: the board on the wall, its lower edge level, the pin's foot, the axes and the
// shadow of the pin's tip.
void Board(QPainter& painter) {
    painter.setPen(QPen(kTool, 2));
    painter.setBrush(QColor(0xf4, 0xec, 0xd8));
    painter.drawRect(QRectF(20, 10, 200, 150));
    painter.setBrush(Qt::NoBrush);
    const QPointF foot(130, 70);
    painter.setPen(QPen(Qt::gray, 1));
    Arrow(painter, {30, foot.y()}, {212, foot.y()});
    Arrow(painter, {foot.x(), 152}, {foot.x(), 18});
    Label(painter, {204, foot.y() - 10}, Words("x"), Qt::darkGray);
    Label(painter, {foot.x() + 6, 22}, Words("y"), Qt::darkGray);
    const QPointF tip(70, 120);
    painter.setPen(QPen(kShadow, 3));
    painter.drawLine(foot, tip);
    painter.setPen(QPen(kMeasure, 1.5, Qt::DashLine));
    painter.drawLine(tip, QPointF(tip.x(), foot.y()));
    painter.drawLine(tip, QPointF(foot.x(), tip.y()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTool);
    painter.drawEllipse(foot, 5, 5);
    painter.setBrush(kShadow);
    painter.drawEllipse(tip, 3, 3);
    painter.setBrush(Qt::NoBrush);
    Label(painter, foot + QPointF(8, 10), Words("pin"), kTool);
    Label(painter, tip + QPointF(-4, 14), Words("tip's shadow"), kShadow,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, {26, 150}, Words("lower edge level"), kTool);
}

// Seen from above: the wall, the level board square to it with the plumb pin, the
// perpendicular, and the pin's shadow falling toward the wall at the angle.
void Declinometer(QPainter& painter) {
    WallEdge(painter, {10, 30}, {230, 30}, {8, -8});
    painter.setPen(QPen(kTool, 2));
    painter.drawRect(QRectF(95, 32, 50, 100));
    const QPointF pin(120, 112);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(pin, QPointF(pin.x(), 32));
    const double radians = kExampleAngle * kRadiansPerDegree;
    const double reach = 72;
    const QPointF end = pin + QPointF(reach * std::sin(radians), -reach * std::cos(radians));
    painter.setPen(QPen(kShadow, 3));
    painter.drawLine(pin, end);
    painter.setPen(QPen(kMeasure, 1.5));
    const double arc = 45;
    painter.drawArc(QRectF(pin.x() - arc, pin.y() - arc, 2 * arc, 2 * arc), 90 * 16,
                    int(-kExampleAngle * 16));
    Label(painter, pin + QPointF(38, -22), Words("angle"), kMeasure);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTool);
    painter.drawEllipse(pin, 5, 5);
    painter.setBrush(Qt::NoBrush);
    Label(painter, {120, 146}, Words("plumb pin on a level board"), kTool,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, {120, 162}, Words("you stand here, facing the wall"), Qt::darkGray,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, {12, 12}, Words("the wall, seen from above"), kWall);
}

// Seen from above: a compass with south toward the viewer, the wall's face and its normal,
// and the bearing from south to the normal, west positive.
void Bearing(QPainter& painter) {
    const QPointF centre(120, 85);
    const double radius = 70;
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawEllipse(centre, radius, radius);
    Label(painter, centre + QPointF(0, -radius + 10), Words("N"), Qt::darkGray,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, centre + QPointF(0, radius - 10), Words("S"), Qt::darkGray,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, centre + QPointF(-radius + 10, 0), Words("W"), Qt::darkGray,
          Qt::AlignHCenter | Qt::AlignVCenter);
    Label(painter, centre + QPointF(radius - 10, 0), Words("E"), Qt::darkGray,
          Qt::AlignHCenter | Qt::AlignVCenter);
    // South is down the page and west to the left: the normal turns clockwise from south.
    const double radians = kExampleBearing * kRadiansPerDegree;
    const QPointF normal(-std::sin(radians), std::cos(radians));
    const QPointF along(normal.y(), -normal.x());
    WallEdge(painter, centre - 55 * along, centre + 55 * along, -8 * normal);
    painter.setPen(QPen(kTool, 2));
    Arrow(painter, centre, centre + (radius + 12) * normal);
    painter.setPen(QPen(kMeasure, 1.5));
    const double arc = 40;
    painter.drawArc(QRectF(centre.x() - arc, centre.y() - arc, 2 * arc, 2 * arc), -90 * 16,
                    int(-kExampleBearing * 16));
    Label(painter, centre + QPointF(-26, arc + 10), Words("bearing"), kMeasure,
          Qt::AlignRight | Qt::AlignVCenter);
}

constexpr ReadingKind kKinds[] = {
    {Method::Square, QT_TRANSLATE_NOOP("ReadingKinds", "Square held out from the wall"),
     QT_TRANSLATE_NOOP("ReadingKinds",
                       "A square held straight out from the sunlit wall; measure the height of its "
                       "arm and the length of its shadow on the wall, in the same unit."),
     Square},
    {Method::Board, QT_TRANSLATE_NOOP("ReadingKinds", "Board with a pin, on the wall"),
     QT_TRANSLATE_NOOP("ReadingKinds",
                       "A board laid flat on the wall, its lower edge level, with a pin square to "
                       "it; measure the pin's height and where the shadow of its tip falls from "
                       "the pin's foot: x to the right as you face the wall, y up the face, in "
                       "the pin's unit."),
     Board},
    {Method::Declinometer,
     QT_TRANSLATE_NOOP("ReadingKinds", "Declinometer, level, with a plumb pin"),
     QT_TRANSLATE_NOOP("ReadingKinds",
                       "A board held level and square to the wall, with a plumb pin or line on "
                       "it; measure the angle of the pin's shadow from the perpendicular to the "
                       "wall, in degrees, positive when it falls to the right as you face the "
                       "wall."),
     Declinometer},
    {Method::Bearing, QT_TRANSLATE_NOOP("ReadingKinds", "Bearing found by other means"),
     QT_TRANSLATE_NOOP("ReadingKinds",
                       "The wall's declination found by other means (a compass with the "
                       "variation applied, a map, a surveyor's instrument): degrees from south, "
                       "west positive, with its one standard deviation. Only the site counts; "
                       "the clock does not."),
     Bearing},
};

}  // namespace

std::span<const ReadingKind> ReadingKinds() { return kKinds; }

const ReadingKind& KindOf(Method method) {
    for (const ReadingKind& kind : kKinds) {
        if (kind.method == method) return kind;
    }
    return kKinds[0];
}

QString KindCaption(const ReadingKind& kind) { return Words(kind.caption); }

QString HowTakenText(const ReadingKind& kind) { return Words(kind.howTaken); }

void PaintHowTaken(QPainter& painter, const QRectF& area, const ReadingKind& kind) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(area.width() / kGrid.width(), area.height() / kGrid.height());
    painter.translate(area.center() - QPointF(kGrid.width(), kGrid.height()) * scale / 2);
    painter.scale(scale, scale);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    kind.paint(painter);
    painter.restore();
}
