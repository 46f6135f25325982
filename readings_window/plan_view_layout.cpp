#include "readings_window/plan_view_layout.h"

#include <QCoreApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

#include "readings/angle_text.h"

namespace rd = kestramo::series;

namespace plan_view_layout {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("PlanView", text); }

// Fractions of the circle's radius.
constexpr double kWallHalfLength = 0.95;
constexpr double kArrowLength = 0.55;
constexpr double kArrowHead = 0.09;
constexpr double kTickInner = 0.82;
constexpr double kSunRing = 1.08;
constexpr double kLetterRing = 1.26;
constexpr double kRoom = 1.38;  // the compass's half side, letters included
// Labels keep this many screen pixels from the middle of every line: half the widest pen and a
// gap.
constexpr double kClearance = 4.5;

QPointF At(const QPointF& centre, double radius, const rd::PlanDirection& direction,
           double fraction) {
    return centre + QPointF(direction.east, -direction.north) * (radius * fraction);
}

// The direction `degrees` clockwise of `direction`.
rd::PlanDirection Turned(const rd::PlanDirection& direction, double degrees) {
    return rd::DirectionOfBearing(std::fmod(direction.bearing + degrees + 720, 360));
}

bool Crosses(const QLineF& line, const QRectF& rect) {
    if (rect.contains(line.p1()) || rect.contains(line.p2())) return true;
    const QLineF edges[] = {{rect.topLeft(), rect.topRight()},
                            {rect.topRight(), rect.bottomRight()},
                            {rect.bottomRight(), rect.bottomLeft()},
                            {rect.bottomLeft(), rect.topLeft()}};
    return std::any_of(std::begin(edges), std::end(edges), [&](const QLineF& edge) {
        return line.intersects(edge, nullptr) == QLineF::BoundedIntersection;
    });
}

// How badly a label at `rect` sits: lines crossed, labels overlapped, and the circle crossed
// (or, `inside`, left); 0 when it is clear of everything.
int Trouble(const QRectF& rect, const Layout& layout, bool inside) {
    const double clear = kClearance * layout.pixel;
    const QRectF kept = rect.adjusted(-clear, -clear, clear, clear);
    int trouble = 0;
    for (const Line& line : layout.lines) trouble += Crosses(line.line, kept) ? 1 : 0;
    for (const Label& label : layout.labels) trouble += label.rect.intersects(kept) ? 1 : 0;
    if (inside) {
        for (const QPointF& corner :
             {kept.topLeft(), kept.topRight(), kept.bottomLeft(), kept.bottomRight()}) {
            if (QLineF(layout.centre, corner).length() > layout.radius) ++trouble;
        }
    } else {
        const QPointF nearest(std::clamp(layout.centre.x(), kept.left(), kept.right()),
                              std::clamp(layout.centre.y(), kept.top(), kept.bottom()));
        if (QLineF(layout.centre, nearest).length() <
            layout.radius * kSunRing + layout.sunDotRadius)
            ++trouble;
    }
    return trouble;
}

void AddWall(Layout& layout, const rd::PlanDirection& normal, bool decided) {
    const QPointF& c = layout.centre;
    const double r = layout.radius;
    const rd::PlanDirection along = Turned(normal, -90);
    layout.lines.push_back(
        {QLineF(At(c, r, along, kWallHalfLength), At(c, r, along, -kWallHalfLength)),
         decided ? Stroke::Wall : Stroke::OpenWall});
    const Stroke arrow = decided ? Stroke::Arrow : Stroke::OpenArrow;
    const QPointF tip = At(c, r, normal, kArrowLength);
    layout.lines.push_back({QLineF(c, tip), arrow});
    for (double side : {160.0, -160.0}) {
        layout.lines.push_back(
            {QLineF(tip, tip + QPointF(Turned(normal, side).east, -Turned(normal, side).north) *
                                   (r * kArrowHead)),
             arrow});
    }
}

// Beside the wall's arrow, in the first place clear of every line and label; in a picture too
// small for that, in the corner of the compass nearest the way the wall faces.
void AddWallLabel(Layout& layout, const rd::PlanDirection& normal, const QFontMetricsF& metrics) {
    double declination = std::remainder(normal.bearing - 180, 360);
    if (declination <= -180) declination += 360;  // due north is 180 W, as everywhere
    const QString text = angle_text::Declination(declination);
    const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
    QRectF best;
    int least = -1;
    const auto consider = [&](const QRectF& rect, bool inside) {
        const int trouble = Trouble(rect, layout, inside);
        if (least < 0 || trouble < least) {
            least = trouble;
            best = rect;
        }
        return trouble == 0;
    };
    const auto place = [&] {
        for (double offset : {35.0, -35.0, 55.0, -55.0, 20.0, -20.0, 75.0, -75.0, 100.0, -100.0,
                              125.0, -125.0, 150.0, -150.0, 180.0}) {
            for (double fraction : {0.45, 0.34, 0.57, 0.25, 0.68}) {
                const QPointF at =
                    At(layout.centre, layout.radius, Turned(normal, offset), fraction);
                if (consider(QRectF(at - QPointF(size.width() / 2, size.height() / 2), size),
                             true)) {
                    return;
                }
            }
        }
        const double half = layout.radius * kRoom;
        const QPointF toward(normal.east, -normal.north);
        std::vector<QPointF> corners = {QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1),
                                        QPointF(-1, -1)};
        std::sort(corners.begin(), corners.end(), [&](const QPointF& a, const QPointF& b) {
            return QPointF::dotProduct(a, toward) > QPointF::dotProduct(b, toward);
        });
        for (const QPointF& corner : corners) {
            const QPointF at = layout.centre + corner * (half - layout.pixel);
            const QPointF topLeft(corner.x() > 0 ? at.x() - size.width() : at.x(),
                                  corner.y() > 0 ? at.y() - size.height() : at.y());
            if (consider(QRectF(topLeft, size), false)) return;
        }
    };
    place();
    layout.labels.push_back({best, text, false});
}

// The stroke of the answer that fits: red or pale when the reading is left out, and grey
// while no wall is decided.
Stroke FittingStroke(const rd::PlanViewReading& reading, bool decided) {
    switch (reading.state) {
        case rd::ReadingState::Outlier:
        case rd::ReadingState::Implausible:
            return Stroke::LeftOut;
        case rd::ReadingState::LeftOutByUser:
            return Stroke::LeftOutByUser;
        default:
            return decided ? Stroke::Chosen : Stroke::Undecided;
    }
}

// A square's two answers: the one chosen once decided, and its mirror.
Stroke TickStroke(const rd::PlanViewReading& reading, rd::Candidate candidate) {
    if (reading.chosen == rd::Candidate::None) return Stroke::Undecided;
    if (reading.chosen != candidate) return Stroke::Mirror;
    return FittingStroke(reading, true);
}

// A kind with one answer has no mirror, and fits the wall once decided.
Stroke OneAnswerStroke(const rd::PlanViewReading& reading, bool decided) {
    return FittingStroke(reading, decided);
}

}  // namespace

std::vector<KeyEntry> KeyOf(const rd::PlanView& view) {
    std::vector<KeyEntry> key;
    if (view.normal) {
        key.push_back({Stroke::Wall, false, tr("the wall, seen from above")});
        key.push_back({Stroke::Arrow, false, tr("the way its face looks")});
    } else if (!view.alternatives.empty()) {
        key.push_back({Stroke::OpenWall, false,
                       view.alternatives.size() == 1 ? tr("the wall the readings allow")
                                                     : tr("a wall the readings still allow")});
        key.push_back({Stroke::OpenArrow, false, tr("the way its face would look")});
    }
    bool seen[int(Stroke::LeftOutByUser) + 1] = {};
    bool sun = false;
    for (const rd::PlanViewReading& reading : view.readings) {
        if (!reading.solved) continue;
        if (reading.method == rd::Method::Square) {
            sun = true;
            for (rd::Candidate candidate : {rd::Candidate::First, rd::Candidate::Second}) {
                seen[int(TickStroke(reading, candidate))] = true;
            }
        } else {
            sun = sun || reading.method != rd::Method::Bearing;
            seen[int(OneAnswerStroke(reading, view.normal.has_value()))] = true;
        }
    }
    const struct {
        Stroke stroke;
        const char* text;
    } ticks[] = {
        {Stroke::Chosen, "a reading's answer that fits the wall"},
        {Stroke::Mirror, "its other answer, a mirror image"},
        {Stroke::Undecided, "each reading's two answers"},
        {Stroke::LeftOut, "a reading left out: it does not fit"},
        {Stroke::LeftOutByUser, "a reading you left out"},
    };
    for (const auto& tick : ticks) {
        if (seen[int(tick.stroke)]) key.push_back({tick.stroke, false, tr(tick.text)});
    }
    bool kinds[int(rd::Method::Bearing) + 1] = {};
    for (const rd::PlanViewReading& reading : view.readings) {
        if (reading.solved) kinds[int(reading.method)] = true;
    }
    const struct {
        rd::Method method;
        const char* text;
    } marks[] = {
        {rd::Method::Board, "a board reading's answer"},
        {rd::Method::Declinometer, "a declinometer reading's answer"},
        {rd::Method::Bearing, "a bearing, with its spread"},
    };
    for (const auto& mark : marks) {
        if (kinds[int(mark.method)]) {
            key.push_back({Stroke::Chosen, false, tr(mark.text), 0, mark.method});
        }
    }
    if (sun) key.push_back({Stroke::Chosen, true, tr("the sun's direction at each reading")});
    return key;
}

Layout LayOut(const QRectF& area, const rd::PlanView& view, const QFontMetricsF& metrics,
              const QString& lean, double pixel) {
    Layout layout;
    layout.pixel = pixel;
    layout.key = KeyOf(view);
    layout.caption = lean.isEmpty() ? tr("Seen from above, north up.")
                                    : tr("Seen from above, north up. %1").arg(lean);
    // The key beside the compass in a wide picture, below it in a tall one, and left out when
    // the compass would keep too little room.
    const double row = metrics.height();
    double keyWidth = 0;
    for (const KeyEntry& entry : layout.key) {
        keyWidth = std::max(keyWidth, metrics.horizontalAdvance(entry.text));
    }
    const double sample = row * 2.2;  // the sample and the gaps
    keyWidth += sample;
    // Each entry wrapped to the width, and the caption.
    const auto wrapped = [&](const QString& text, double width) {
        return std::max(
            row, metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height());
    };
    const auto keyHeight = [&](double width) {
        double height = row / 3 + wrapped(layout.caption, width);
        for (KeyEntry& entry : layout.key) {
            entry.height = wrapped(entry.text, width - sample);
            height += entry.height;
        }
        return height;
    };
    const double least = std::min(area.width(), area.height()) * 0.55;
    QRectF compass = area;
    if (area.width() - keyWidth >= area.height() * 0.9 && keyHeight(keyWidth) <= area.height()) {
        const double height = keyHeight(keyWidth);
        layout.keyArea =
            QRectF(area.right() - keyWidth, area.center().y() - height / 2, keyWidth, height);
        compass.setRight(layout.keyArea.left());
    } else if (area.height() - keyHeight(area.width()) >= least) {
        const double height = keyHeight(area.width());
        layout.keyArea = QRectF(area.left(), area.bottom() - height, area.width(), height);
        compass.setBottom(layout.keyArea.top());
    } else {
        layout.key.clear();
        layout.caption.clear();
    }
    const double side = std::min(compass.width(), compass.height());
    layout.centre = compass.center();
    layout.radius =
        std::min(side / 2 / kRoom, (side / 2 - metrics.height() / 2 - pixel) / kLetterRing);
    const QPointF& c = layout.centre;
    const double r = layout.radius;

    const struct {
        const char* name;
        double bearing;
    } points[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
    for (const auto& point : points) {
        const QString name = QLatin1String(point.name);
        const QSizeF size(metrics.horizontalAdvance(name), metrics.height());
        const QPointF at = At(c, r, rd::DirectionOfBearing(point.bearing), kLetterRing);
        layout.labels.push_back(
            {QRectF(at - QPointF(size.width() / 2, size.height() / 2), size), name, true});
    }

    if (view.normal) {
        AddWall(layout, *view.normal, true);
    } else {
        for (const rd::PlanDirection& normal : view.alternatives) AddWall(layout, normal, false);
    }
    layout.sunDotRadius = r * 0.025 + 1.5 * pixel;
    for (const rd::PlanViewReading& reading : view.readings) {
        if (!reading.solved) continue;
        const bool square = reading.method == rd::Method::Square;
        if (reading.method != rd::Method::Bearing) {
            layout.sunDots.push_back(At(c, r, reading.sun, kSunRing));
        }
        if (!square) {
            // One answer: the first, marked by its kind.
            const Stroke stroke = OneAnswerStroke(reading, view.normal.has_value());
            layout.lines.push_back(
                {QLineF(At(c, r, reading.first, kTickInner), At(c, r, reading.first, 1.0)),
                 stroke});
            if (reading.method == rd::Method::Bearing) {
                layout.spreads.push_back(
                    {reading.first.bearing - reading.spread, 2 * reading.spread, stroke});
            } else {
                layout.kindMarks.push_back(
                    {At(c, r, reading.first, kTickInner), reading.method, stroke});
            }
            continue;
        }
        for (rd::Candidate candidate : {rd::Candidate::First, rd::Candidate::Second}) {
            const rd::PlanDirection& direction =
                candidate == rd::Candidate::First ? reading.first : reading.second;
            layout.lines.push_back(
                {QLineF(At(c, r, direction, kTickInner), At(c, r, direction, 1.0)),
                 TickStroke(reading, candidate)});
        }
    }
    if (view.normal) {
        AddWallLabel(layout, *view.normal, metrics);
    } else {
        for (const rd::PlanDirection& normal : view.alternatives) {
            AddWallLabel(layout, normal, metrics);
        }
    }
    return layout;
}

}  // namespace plan_view_layout
