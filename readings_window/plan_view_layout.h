#pragma once

#include <QLineF>
#include <QRectF>
#include <QString>

#include <vector>

#include "series/plan_view.h"

class QFontMetricsF;

// Where each mark of the plan view goes, worked out before anything is drawn so that labels can
// be kept clear of every line: the compass circle and its letters, the wall (or every wall still
// open) with its arrow and label, each reading's two answers as ticks (one, with its kind's
// mark, for a board or a declinometer; a bearing's with its spread along the circle) and the sun
// at each reading as a dot, and below them the key.
namespace plan_view_layout {

enum class Stroke {
    Wall,           // the fitted wall, seen from above
    OpenWall,       // a wall still possible while undecided, dashed
    Arrow,          // the way the fitted wall's face looks (its outward normal), and its head
    OpenArrow,      // the same for a wall still possible
    Chosen,         // a reading's answer nearer the fitted wall
    Mirror,         // the other answer: the wall's mirror image about the sun
    Undecided,      // either answer while no wall is decided
    LeftOut,        // the chosen answer of a reading the series left out
    LeftOutByUser,  // the chosen answer of a reading the user left out
};

struct Line {
    QLineF line;
    Stroke stroke;
};

struct Label {
    QRectF rect;
    QString text;
    bool compassPoint = false;  // N, E, S or W; else a wall's declination
};

// The mark at the outer end of the answer of a reading taken otherwise than with a square.
struct KindMark {
    QPointF at;
    kestramo::series::Method method;
    Stroke stroke;
};

// A bearing's spread, an arc along the circle: its bearing less one standard deviation, and
// how far it runs clockwise, both degrees.
struct Spread {
    double from = 0;
    double span = 0;
    Stroke stroke;
};

struct KeyEntry {
    Stroke stroke;  // what its sample shows; the sun's dot has none
    bool sun = false;
    QString text;
    double height = 0;  // its text's, wrapped to the key's width
    // A kind's mark for its sample instead of a tick; Square for none.
    kestramo::series::Method kind = kestramo::series::Method::Square;
};

struct Layout {
    QPointF centre;
    double radius = 0;             // of the circle the ticks end on
    std::vector<Line> lines;       // every straight line drawn, in drawing order
    std::vector<QPointF> sunDots;  // the sun's azimuth at each solved reading
    std::vector<KindMark> kindMarks;
    std::vector<Spread> spreads;
    double sunDotRadius = 0;
    double pixel = 1;           // device pixels per screen pixel
    std::vector<Label> labels;  // compass letters and wall labels, never crossed
    QRectF keyArea;             // below the compass; empty when there is no room
    std::vector<KeyEntry> key;  // what the marks drawn mean, one line each
    QString caption;            // below the key: north up, and the wall's lean
};

// Lays the view out in `area` for a font of `metrics`. `lean` is the wall's lean in words
// (series_words::LeanBrief), shown with the key.
// `pixel` is the device's pixels per screen pixel (PixelScale), by which the gaps kept grow.
Layout LayOut(const QRectF& area, const kestramo::series::PlanView& view,
              const QFontMetricsF& metrics, const QString& lean, double pixel = 1);

// The rows the key takes for a view: one per kind of mark it draws.
std::vector<KeyEntry> KeyOf(const kestramo::series::PlanView& view);

}  // namespace plan_view_layout
