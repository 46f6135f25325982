#include "dial_files/template_sheets.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "product/product.h"
#include "report/paper_size.h"

namespace dial_files {
namespace {

constexpr double kRegistration = 3;  // millimetres: the registration mark's radius

QSizeF PaperMillimetres(const QPageSize& paper, bool landscape) {
    const QSizeF size = paper.size(QPageSize::Millimeter);
    return landscape ? size.transposed() : size;
}

int Tiles(double length, double printed) {
    return std::max(1, int(std::ceil((length - kSheetOverlap) / (printed - kSheetOverlap) - 1e-9)));
}

SheetPlan PlanFor(const PlateRect& bounds, const QPageSize& paper, bool landscape) {
    const QSizeF sheet = PaperMillimetres(paper, landscape);
    return {landscape, Tiles(bounds.Height(), sheet.height() - 2 * kSheetMargin),
            Tiles(bounds.Width(), sheet.width() - 2 * kSheetMargin)};
}

// Paints in millimetres on the page, y down, from the paper's top-left corner.
class SheetPainter {
  public:
    SheetPainter(QPainter& painter, double pixelsPerMm) : p_(painter), k_(pixelsPerMm) {}
    QPointF At(double x, double y) const { return {x * k_, y * k_}; }
    void Pen(const char* colour, double width, bool dashed = false) {
        QPen pen{QColor(QLatin1String(colour)), width * k_};
        pen.setCapStyle(Qt::FlatCap);  // a line, the scale bar too, ends where it ends
        pen.setJoinStyle(Qt::RoundJoin);
        if (dashed) pen.setDashPattern({4 / width, 2 / width});
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
    }
    void Line(double x1, double y1, double x2, double y2) { p_.drawLine(At(x1, y1), At(x2, y2)); }
    void Circle(double x, double y, double r) { p_.drawEllipse(At(x, y), r * k_, r * k_); }
    void Text(double x, double y, double size, const QString& text, Anchor anchor = Anchor::Start,
              const char* colour = "#000000") {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(std::max(1, int(std::lround(size * k_))));
        p_.setFont(font);
        p_.setPen(QColor(QLatin1String(colour)));
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        const double shift = anchor == Anchor::Start    ? 0
                             : anchor == Anchor::Middle ? width / 2
                                                        : width;
        p_.drawText(QPointF(x * k_ - shift, y * k_), text);
    }
    QPainter& Painter() { return p_; }

  private:
    QPainter& p_;
    double k_;
};

// One sheet's share of a drawing: the printed area shows the drawing from (left, top) on.
void PaintShare(SheetPainter& out, const Drawing& drawing, double left, double top,
                QSizeF printed) {
    QPainter& painter = out.Painter();
    painter.save();
    painter.setClipRect(
        QRectF(out.At(kSheetMargin, kSheetMargin),
               out.At(kSheetMargin + printed.width(), kSheetMargin + printed.height())));
    const auto x = [&](double v) { return kSheetMargin + v - left; };
    const auto y = [&](double v) { return kSheetMargin + top - v; };
    // What falls on this sheet, a millimetre around it: a sheet of a large plate carries only its
    // own runs of the lines, not every point of every line.
    const PlateRect window{left - 1, top - printed.height() - 1, left + printed.width() + 1,
                           top + 1};
    for (const Polyline& line : drawing.lines) {
        out.Pen(LayerColour(line.layer), StrokeWidth(line.stroke), line.stroke == Stroke::Dashed);
        const auto at = [&](TemplatePoint p) { return out.At(x(p.x), y(p.y)); };
        if (line.closed) {
            QPolygonF polygon;
            for (const TemplatePoint& p : line.points) polygon << at(p);
            if (QRectF(at({window.left, window.top}), at({window.right, window.bottom}))
                    .intersects(polygon.boundingRect())) {
                painter.drawPolygon(polygon);
            }
            continue;
        }
        QPolygonF run;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            if (kestramo::dial::ClipSegment(line.points[i - 1], line.points[i], window)) {
                if (run.isEmpty()) run << at(line.points[i - 1]);
                run << at(line.points[i]);
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
    painter.restore();
}

void PaintScaleBar(SheetPainter& out, double x, double y) {
    out.Pen("#000000", 0.4);
    out.Line(x, y, x + 100, y);
    for (int mm = 0; mm <= 100; mm += 10) out.Line(x + mm, y, x + mm, y - (mm % 50 ? 1.5 : 3));
    out.Text(x + 103, y + 1, 3, QStringLiteral("100 mm: measure it before you cut"));
}

// Crop marks at the printed area's corners, outside it.
void PaintCropMarks(SheetPainter& out, QSizeF printed) {
    out.Pen("#000000", 0.15);
    const double gap = 1, length = 6;
    for (const double cx : {kSheetMargin, kSheetMargin + printed.width()}) {
        for (const double cy : {kSheetMargin, kSheetMargin + printed.height()}) {
            const double sx = cx == kSheetMargin ? -1 : 1, sy = cy == kSheetMargin ? -1 : 1;
            out.Line(cx + sx * gap, cy, cx + sx * (gap + length), cy);
            out.Line(cx, cy + sy * gap, cx, cy + sy * (gap + length));
        }
    }
}

// Registration marks in the middle of each band two sheets share, near both ends of the band;
// each is painted on both sheets at the same place of the drawing.
void PaintRegistration(SheetPainter& out, const SheetPlan& plan, const PlateRect& bounds,
                       QSizeF step, double left, double top, QSizeF printed) {
    QPainter& painter = out.Painter();
    painter.save();
    painter.setClipRect(
        QRectF(out.At(kSheetMargin, kSheetMargin),
               out.At(kSheetMargin + printed.width(), kSheetMargin + printed.height())));
    out.Pen("#000000", 0.15);
    const auto mark = [&](double dx, double dy) {  // drawing millimetres from (left, top)
        const double px = kSheetMargin + dx - left, py = kSheetMargin + top - dy;
        out.Circle(px, py, kRegistration);
        out.Line(px - 1.6 * kRegistration, py, px + 1.6 * kRegistration, py);
        out.Line(px, py - 1.6 * kRegistration, px, py + 1.6 * kRegistration);
    };
    for (int c = 1; c < plan.columns; ++c) {
        const double bandX = bounds.left + c * step.width() + kSheetOverlap / 2;
        for (int r = 0; r < plan.rows; ++r) {
            const double sheetTop = bounds.top - r * step.height();
            mark(bandX, sheetTop - 3 * kRegistration);
            mark(bandX, sheetTop - printed.height() + 3 * kRegistration);
        }
    }
    for (int r = 1; r < plan.rows; ++r) {
        const double bandY = bounds.top - r * step.height() - kSheetOverlap / 2;
        for (int c = 0; c < plan.columns; ++c) {
            const double sheetLeft = bounds.left + c * step.width();
            mark(sheetLeft + 3 * kRegistration, bandY);
            mark(sheetLeft + printed.width() - 3 * kRegistration, bandY);
        }
    }
    painter.restore();
}

}  // namespace

std::optional<QPageSize::PageSizeId> PaperNamed(const QString& name) {
    const QString lower = name.toLower();
    if (lower == u"a4") return QPageSize::A4;
    if (lower == u"a3") return QPageSize::A3;
    if (lower == u"letter") return QPageSize::Letter;
    if (lower == u"legal") return QPageSize::Legal;
    return std::nullopt;
}

QPageSize::PageSizeId DefaultPaper() { return report::PaperFor(); }

SheetPlan PlanSheets(const PlateRect& bounds, const QPageSize& paper) {
    const SheetPlan portrait = PlanFor(bounds, paper, false);
    const SheetPlan landscape = PlanFor(bounds, paper, true);
    return landscape.Sheets() < portrait.Sheets() ? landscape : portrait;
}

int SheetCount(const TemplateDrawing& drawing, const QPageSize& paper) {
    return PlanSheets(drawing.plate.bounds, paper).Sheets() +
           PlanSheets(drawing.gnomon.bounds, paper).Sheets();
}

bool PaintSheets(QPagedPaintDevice& device, const TemplateDrawing& drawing,
                 const QPageSize& paper) {
    const struct {
        const Drawing* drawing;
        const char* title;
    } parts[] = {{&drawing.plate, "plate"}, {&drawing.gnomon, "gnomon and key"}};
    QPainter painter;
    bool first = true;
    for (const auto& part : parts) {
        const PlateRect& bounds = part.drawing->bounds;
        const SheetPlan plan = PlanSheets(bounds, paper);
        device.setPageSize(paper);
        device.setPageOrientation(plan.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        const QSizeF sheet = PaperMillimetres(paper, plan.landscape);
        const QSizeF printed(sheet.width() - 2 * kSheetMargin, sheet.height() - 2 * kSheetMargin);
        const QSizeF step(printed.width() - kSheetOverlap, printed.height() - kSheetOverlap);
        for (int r = 0; r < plan.rows; ++r) {
            for (int c = 0; c < plan.columns; ++c) {
                if (first) {
                    if (!painter.begin(&device)) return false;
                    first = false;
                } else if (!device.newPage()) {
                    return false;
                }
                SheetPainter out(painter, device.logicalDpiX() / 25.4);
                const double left = bounds.left + c * step.width();
                const double top = bounds.top - r * step.height();
                PaintShare(out, *part.drawing, left, top, printed);
                PaintRegistration(out, plan, bounds, step, left, top, printed);
                PaintCropMarks(out, printed);
                out.Text(kSheetMargin, kSheetMargin - 6.5, 3.2,
                         QStringLiteral("%1 dial template, %2: row %3, column %4 (of %5 rows, "
                                        "%6 columns)")
                             .arg(QLatin1String(product::kName), QLatin1String(part.title))
                             .arg(r + 1)
                             .arg(c + 1)
                             .arg(plan.rows)
                             .arg(plan.columns));
                out.Text(kSheetMargin, kSheetMargin - 2.5, 2.8,
                         QStringLiteral("Print at 100 %. Trim at the crop marks and lay the sheet "
                                        "over the next one's %1 mm band, marks on marks.")
                             .arg(kSheetOverlap));
                PaintScaleBar(out, kSheetMargin, sheet.height() - kSheetMargin + 7);
            }
        }
    }
    return painter.end();
}

}  // namespace dial_files
