#include "dial_files/template_drawing.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "product/product.h"
#include "readings/angle_text.h"
#include "readings/wall_conventions.h"

namespace dial_files {
namespace {

namespace kd = kestramo::dial;

const QLocale kC = QLocale::c();
constexpr double kHourLabel = 5;    // millimetres, whole hours' numbers
constexpr double kDateLabel = 3.5;  // millimetres, the date lines' dates
constexpr double kMarkLabel = 3;    // millimetres, the root's and the foot's names
constexpr double kKeyText = 3.5;    // millimetres
constexpr double kKeyLeading = 6;   // millimetres from one key line to the next
constexpr double kInset = 8;        // millimetres from the plate's edge to a line's label

std::vector<TemplatePoint> Circle(TemplatePoint centre, double radius) {
    std::vector<TemplatePoint> points;
    for (int i = 0; i < 32; ++i) {
        const double a = i * 2 * kestramo::kPi / 32;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return points;
}

void AddMark(Drawing& drawing, TemplatePoint at, double radius, const QString& name) {
    drawing.lines.push_back({Layer::Style, Stroke::Normal, Circle(at, radius), true});
    const double arm = 2 * radius;
    drawing.lines.push_back(
        {Layer::Style, Stroke::Light, {{at.x - arm, at.y}, {at.x + arm, at.y}}, false});
    drawing.lines.push_back(
        {Layer::Style, Stroke::Light, {{at.x, at.y - arm}, {at.x, at.y + arm}}, false});
    drawing.labels.push_back(
        {Layer::Text, name, {at.x + arm + 1, at.y - arm - kMarkLabel}, kMarkLabel, Anchor::Start});
}

QString Zone(double hours) {
    const int minutes = int(std::lround(std::fabs(hours) * 60));
    QString text = QStringLiteral("UTC") +
                   (hours < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) +
                   QString::number(minutes / 60);
    if (minutes % 60) text += QStringLiteral(":%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}

QString HoursRead(const kd::DialTemplate& dial, const TemplateSite& site) {
    switch (dial.request.hours) {
        case kd::TemplateHours::Apparent:
            return QStringLiteral("Reads local apparent time (the sun's own time).");
        case kd::TemplateHours::Standard:
            return QStringLiteral(
                       "Reads the standard time of %1 plus the equation of time: up to 16 "
                       "minutes fast in early November, 14 slow in mid-February.")
                .arg(Zone(site.zoneOffset));
        case kd::TemplateHours::Mean:
            return QStringLiteral(
                       "Reads the standard time of %1: each time is the curve the nodus's "
                       "shadow traces through %2 (the equation of time included).")
                .arg(Zone(site.zoneOffset))
                .arg(dial.request.year);
    }
    return QString();
}

QString HourText(const kd::TemplateHourLine& line, bool summerTime) {
    const int hour = (line.minuteOfDay / 60) % 24;
    QString text = QString::number(hour);
    if (summerTime) text += QStringLiteral(" (%1)").arg((hour + 1) % 24);
    return text;
}

const kd::TemplatePath* Longest(const std::vector<kd::TemplatePath>& pieces) {
    const kd::TemplatePath* best = nullptr;
    double bestLength = -1;
    for (const kd::TemplatePath& piece : pieces) {
        double length = 0;
        for (std::size_t i = 1; i < piece.size(); ++i) {
            length += std::hypot(piece[i].x - piece[i - 1].x, piece[i].y - piece[i - 1].y);
        }
        if (length > bestLength) {
            bestLength = length;
            best = &piece;
        }
    }
    return best;
}

TemplatePoint Inside(TemplatePoint p, const PlateRect& plate, double inset) {
    return {std::clamp(p.x, plate.left + inset, plate.right - inset),
            std::clamp(p.y, plate.bottom + inset, plate.top - inset)};
}

void AddHourLines(Drawing& drawing, const kd::DialTemplate& dial, const TemplateSite& site) {
    for (const kd::TemplateHourLine& line : dial.hourLines) {
        const bool whole = line.minuteOfDay % 60 == 0;
        const Stroke stroke = whole                        ? Stroke::Heavy
                              : line.minuteOfDay % 30 == 0 ? Stroke::Normal
                                                           : Stroke::Light;
        for (const kd::TemplatePath& piece : line.pieces) {
            drawing.lines.push_back({Layer::Hours, stroke, piece, false});
        }
        for (const auto* pieces : {&line.earlyPieces, &line.latePieces}) {
            for (const kd::TemplatePath& piece : *pieces) {
                drawing.lines.push_back({Layer::Errors, Stroke::Hair, piece, false});
            }
        }
        const kd::TemplatePath* longest = Longest(line.pieces);
        if (!whole || !longest || longest->size() < 2) continue;
        TemplatePoint at;
        if (line.hourAngle) {  // at the far end, back from the edge along the line
            const TemplatePoint a = longest->front(), b = longest->back();
            const bool outward = std::hypot(b.x, b.y) >= std::hypot(a.x, a.y);
            const TemplatePoint end = outward ? b : a, other = outward ? a : b;
            const double length = std::hypot(end.x - other.x, end.y - other.y);
            const double back = std::min(kInset, length / 2) / length;
            at = {end.x + back * (other.x - end.x), end.y + back * (other.y - end.y)};
        } else {  // above the curve's highest point
            at = *std::max_element(longest->begin(), longest->end(),
                                   [](TemplatePoint a, TemplatePoint b) { return a.y < b.y; });
            at.y += 2;
        }
        at = Inside(at, dial.plate, kInset / 2);
        drawing.labels.push_back({Layer::Text,
                                  HourText(line, site.summerTime),
                                  {at.x, at.y - kHourLabel / 2},
                                  kHourLabel,
                                  Anchor::Middle});
    }
}

void AddDateLines(Drawing& drawing, const kd::DialTemplate& dial) {
    for (const kd::TemplateDateLine& line : dial.dateLines) {
        for (const kd::TemplatePath& piece : line.pieces) {
            drawing.lines.push_back({Layer::Dates, Stroke::Normal, piece, false});
        }
        const kd::TemplatePath* longest = Longest(line.pieces);
        if (!longest || longest->size() < 2) continue;
        // At the end that meets the plate's right or left edge (the right preferred), so that
        // the labels of neighbouring lines stand apart; else at the right-hand end.
        const PlateRect& p = dial.plate;
        const auto onEdge = [&](TemplatePoint q, double edge) {
            return std::fabs(q.x - edge) < 1e-6;
        };
        const TemplatePoint a = longest->front(), b = longest->back();
        TemplatePoint end = a.x > b.x ? a : b;
        if (onEdge(a, p.right) || onEdge(b, p.right)) {
            end = onEdge(a, p.right) ? a : b;
        } else if (onEdge(a, p.left) || onEdge(b, p.left)) {
            end = onEdge(a, p.left) ? a : b;
        }
        const bool right = end.x > (p.left + p.right) / 2;
        const TemplatePoint at = Inside({end.x + (right ? -1 : 1), end.y + 1.5}, p, 1);
        QStringList dates;
        for (const std::string& date : line.dates) dates << QString::fromStdString(date);
        drawing.labels.push_back(
            {Layer::Text,
             dates.join(u", ") +
                 QStringLiteral(" (%1)").arg(angle_text::Degrees(line.declination, 2, kC)),
             at, kDateLabel, right ? Anchor::End : Anchor::Start});
    }
}

Drawing PlateDrawing(const kd::DialTemplate& dial, const TemplateSite& site) {
    Drawing drawing;
    const PlateRect& p = dial.plate;
    drawing.bounds = p;
    drawing.lines.push_back(
        {Layer::Plate,
         Stroke::Heavy,
         {{p.left, p.bottom}, {p.right, p.bottom}, {p.right, p.top}, {p.left, p.top}},
         true});
    for (const kd::TemplatePath& piece : dial.substyle) {
        drawing.lines.push_back({Layer::Style, Stroke::Dashed, piece, false});
    }
    AddDateLines(drawing, dial);
    AddHourLines(drawing, dial, site);
    const auto marked = [&](TemplatePoint at) {
        return at.x >= p.left && at.x <= p.right && at.y >= p.bottom && at.y <= p.top;
    };
    if (marked({0, 0})) AddMark(drawing, {0, 0}, 1.5, QStringLiteral("root"));
    if (marked(dial.nodusFoot)) AddMark(drawing, dial.nodusFoot, 2.5, QStringLiteral("nodus foot"));
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("\u2191 top: up the face \u2191"),
                              {(p.left + p.right) / 2, p.top - 6},
                              4,
                              Anchor::Middle});
    return drawing;
}

// The key's lines broken between words to fit a sheet's width.
QStringList Wrapped(const QStringList& lines) {
    constexpr int kWidest = 84;  // characters
    QStringList wrapped;
    for (const QString& line : lines) {
        QString current;
        for (const QString& word : line.split(u' ')) {
            if (!current.isEmpty() && current.size() + 1 + word.size() > kWidest) {
                wrapped << current;
                current = QStringLiteral("    ");
            }
            if (!current.trimmed().isEmpty()) current += u' ';
            current += word;
        }
        wrapped << current;
    }
    return wrapped;
}

Drawing GnomonDrawing(const kd::DialTemplate& dial, const QStringList& key) {
    Drawing drawing;
    const kd::Gnomon& g = dial.gnomon;
    drawing.lines.push_back({Layer::Gnomon, Stroke::Heavy, {g.root, g.foot, g.nodus}, true});
    drawing.labels.push_back(
        {Layer::Text, QStringLiteral("root"), {g.root.x, g.root.y - 5}, kMarkLabel, Anchor::Start});
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("nodus"),
                              {g.nodus.x + 2, g.nodus.y},
                              kMarkLabel,
                              Anchor::Start});
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("base on the face, along the substyle"),
                              {(g.root.x + g.foot.x) / 2, g.root.y - 5},
                              kMarkLabel,
                              Anchor::Middle});
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("square to the face,"),
                              {g.foot.x + 2, g.nodus.y / 2 + 2},
                              kMarkLabel,
                              Anchor::Start});
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("over the nodus foot"),
                              {g.foot.x + 2, g.nodus.y / 2 - 2.5},
                              kMarkLabel,
                              Anchor::Start});
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("style, %1 above the face")
                                  .arg(angle_text::Degrees(dial.layout.styleHeight, 2, kC)),
                              {(g.root.x + g.nodus.x) / 2 - 4, g.nodus.y / 2 + 4},
                              kMarkLabel,
                              Anchor::End});
    double y = -15;
    for (const QString& line : Wrapped(key)) {
        drawing.labels.push_back({Layer::Text, line, {0, y}, kKeyText, Anchor::Start});
        y -= kKeyLeading;
    }
    AddScaleBar(drawing, {0, y - 4});
    PlateRect bounds{0, y - 14, std::max(g.foot.x, 100.0), std::max(g.nodus.y, 0.0) + 2};
    for (const Label& label : drawing.labels) {
        const double width = TextWidth(label);
        const double left = label.anchor == Anchor::Start    ? label.at.x
                            : label.anchor == Anchor::Middle ? label.at.x - width / 2
                                                             : label.at.x - width;
        bounds.left = std::min(bounds.left, left);
        bounds.right = std::max(bounds.right, left + width);
        bounds.top = std::max(bounds.top, label.at.y + label.size);
    }
    bounds.left -= 2;
    bounds.right += 2;
    drawing.bounds = bounds;
    return drawing;
}

}  // namespace

const char* LayerName(Layer layer) {
    switch (layer) {
        case Layer::Plate:
            return "PLATE";
        case Layer::Hours:
            return "HOURS";
        case Layer::Dates:
            return "DATES";
        case Layer::Errors:
            return "ERRORS";
        case Layer::Style:
            return "STYLE";
        case Layer::Gnomon:
            return "GNOMON";
        case Layer::Text:
            return "TEXT";
    }
    return "TEXT";
}

double StrokeWidth(Stroke stroke) {
    switch (stroke) {
        case Stroke::Heavy:
            return 0.5;
        case Stroke::Normal:
        case Stroke::Dashed:
            return 0.3;
        case Stroke::Light:
            return 0.2;
        case Stroke::Hair:
            return 0.12;
    }
    return 0.3;
}

double TextWidth(const Label& label) { return 0.55 * label.size * label.text.size(); }

void AddScaleBar(Drawing& drawing, TemplatePoint at) {
    drawing.lines.push_back({Layer::Text, Stroke::Heavy, {at, {at.x + 100, at.y}}, false});
    for (int mm = 0; mm <= 100; mm += 10) {
        const double tick = mm % 50 == 0 ? 3 : 1.5;
        drawing.lines.push_back(
            {Layer::Text, Stroke::Light, {{at.x + mm, at.y}, {at.x + mm, at.y + tick}}, false});
    }
    drawing.labels.push_back({Layer::Text,
                              QStringLiteral("100 mm: print at 100 %, then measure this bar"),
                              {at.x, at.y - 5},
                              3,
                              Anchor::Start});
}

Canvas CanvasOf(const TemplateDrawing& drawing) {
    const PlateRect& p = drawing.plate.bounds;
    const PlateRect& g = drawing.gnomon.bounds;
    Canvas canvas;
    canvas.plateOrigin = {kCanvasMargin, kCanvasMargin};
    canvas.gnomonOrigin = {kCanvasMargin + p.Width() + kCanvasGap, kCanvasMargin};
    canvas.width = canvas.gnomonOrigin.x + g.Width() + kCanvasMargin;
    canvas.height = 2 * kCanvasMargin + std::max(p.Height(), g.Height());
    return canvas;
}

const char* LayerColour(Layer layer) {
    switch (layer) {
        case Layer::Dates:
            return "#1f5fbf";
        case Layer::Errors:
            return "#d02020";
        case Layer::Style:
            return "#208a20";
        case Layer::Plate:
        case Layer::Hours:
        case Layer::Gnomon:
        case Layer::Text:
            break;
    }
    return "#000000";
}

QStringList KeyLines(const kd::DialTemplate& dial, const TemplateSite& site) {
    const double latitude = dial.request.latitude;
    QStringList key;
    key << QStringLiteral("%1 dial template, made %2")
               .arg(QLatin1String(product::kName), site.made.toString(Qt::ISODate));
    key << QStringLiteral("Site: latitude %1 %2, longitude %3 %4, zone %5")
               .arg(angle_text::Degrees(std::fabs(latitude), 3, kC))
               .arg(latitude >= 0 ? QStringLiteral("N") : QStringLiteral("S"))
               .arg(angle_text::Degrees(std::fabs(site.longitude), 3, kC))
               .arg(site.longitude >= 0 ? QStringLiteral("E") : QStringLiteral("W"))
               .arg(Zone(site.zoneOffset));
    const auto conventions = wall_conventions::Conventions(site.declination, site.lean, kC);
    for (std::size_t i = 0; i < conventions.size(); ++i) {
        const double sigma = i < 3 ? site.declinationSigma : site.leanSigma;
        key << QStringLiteral("Wall: %1: %2 %3")
                   .arg(conventions[i].first, conventions[i].second,
                        angle_text::Uncertainty(sigma, kC));
    }
    key << HoursRead(dial, site);
    if (site.summerTime) key << QStringLiteral("Hours in brackets: daylight-saving time.");
    for (const auto& [label, value] : wall_conventions::DialQuantities(dial.layout, kC)) {
        key << label + QStringLiteral(": ") + value;
    }
    key << QStringLiteral(
               "Nodus %1 mm from the face, square to it, over the nodus foot mark; the style "
               "runs %2 mm from the root to the nodus.")
               .arg(kC.toString(dial.request.nodusHeight, 'f', 1),
                    kC.toString(dial.styleLength, 'f', 1));
    key << QStringLiteral(
        "Mount the gnomon upright on the dashed substyle: its sharp corner at the root, its "
        "square corner on the nodus foot mark, the sloping edge (the style) rising from the root "
        "to the nodus.");
    key << wall_conventions::AnglesMeasured(dial.layout, kC);
    key << QStringLiteral(
        "Thin red lines beside each hour line: one standard deviation of the time the dial may "
        "read off, from the wall's uncertainty; the true line lies between them with a chance "
        "of two in three.");
    return key;
}

TemplateDrawing DrawTemplate(const kd::DialTemplate& dial, const TemplateSite& site) {
    TemplateDrawing drawing;
    drawing.key = KeyLines(dial, site);
    drawing.plate = PlateDrawing(dial, site);
    drawing.gnomon = GnomonDrawing(dial, drawing.key);
    return drawing;
}

}  // namespace dial_files
