#include "dial_files/template_sheets.h"

#include <QPainter>

#include <cmath>

#include "dial_files/drawing_painter.h"
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

// One sheet's share of a drawing: the printed area shows the drawing from (left, top) on; a
// sheet of a large plate carries only its own runs of the lines.
void PaintShare(MillimetrePainter& out, const Drawing& drawing, double left, double top,
                QSizeF printed) {
    QPainter& painter = out.Painter();
    painter.save();
    painter.setClipRect(
        QRectF(out.At(kSheetMargin, kSheetMargin),
               out.At(kSheetMargin + printed.width(), kSheetMargin + printed.height())));
    PaintDrawing(out, drawing, {left, top - printed.height(), left + printed.width(), top},
                 {kSheetMargin, kSheetMargin});
    painter.restore();
}

void PaintScaleBar(MillimetrePainter& out, double x, double y) {
    out.Pen("#000000", 0.4);
    out.Line(x, y, x + 100, y);
    for (int mm = 0; mm <= 100; mm += 10) out.Line(x + mm, y, x + mm, y - (mm % 50 ? 1.5 : 3));
    out.Text(x + 103, y + 1, 3, QStringLiteral("100 mm: measure it before you cut"));
}

// Crop marks at the printed area's corners, outside it.
void PaintCropMarks(MillimetrePainter& out, QSizeF printed) {
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
void PaintRegistration(MillimetrePainter& out, const SheetPlan& plan, const PlateRect& bounds,
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
                MillimetrePainter out(painter, device.logicalDpiX() / 25.4);
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
