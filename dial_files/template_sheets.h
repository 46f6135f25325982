#pragma once

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QString>

#include <optional>

#include "dial_files/template_drawing.h"

// The template at full size on sheets of paper that tile: the plate over as many sheets as it
// needs, each with its row and column, crop marks where the printed area ends, registration
// marks in the 10 mm each sheet shares with the next, and a 100 mm scale bar; then the gnomon and
// the key on sheets of their own. Portrait or landscape, whichever takes fewer sheets.
namespace dial_files {

inline constexpr double kSheetMargin = 12;   // millimetres of paper around the printed area
inline constexpr double kSheetOverlap = 10;  // millimetres each sheet shares with the next

// The papers a template is printed on, by the name the command line takes: A4, A3, Letter or
// Legal (any case); empty for any other name.
std::optional<QPageSize::PageSizeId> PaperNamed(const QString& name);
// The paper of the user's locale, as the report takes: Letter where people use it, else A4.
QPageSize::PageSizeId DefaultPaper();

// How one drawing falls on sheets.
struct SheetPlan {
    bool landscape = false;
    int rows = 1;
    int columns = 1;
    int Sheets() const { return rows * columns; }
};
SheetPlan PlanSheets(const PlateRect& bounds, const QPageSize& paper);

// The number of sheets the whole template takes.
int SheetCount(const TemplateDrawing& drawing, const QPageSize& paper);

// Paints every sheet on the device, which must be freshly opened (a QPdfWriter, or a QPrinter
// set to its full page); the device's first page is the first sheet. False when the device
// cannot be painted on.
bool PaintSheets(QPagedPaintDevice& device, const TemplateDrawing& drawing, const QPageSize& paper);

}  // namespace dial_files
