#pragma once

#include <QPainter>
#include <QString>

#include "dial_files/template_drawing.h"

// A template's drawing on a QPainter in millimetres: the PDF's sheets, the printer's and the
// window's preview.
namespace dial_files {

// Paints in millimetres, y down, from the painter's origin, at a given number of device pixels
// a millimetre; a preview shrunk below true size keeps its text and its lines at least as large
// as given, in device pixels.
class MillimetrePainter {
  public:
    MillimetrePainter(QPainter& painter, double pixelsPerMm, double smallestTextPixels = 1,
                      double thinnestPenPixels = 0)
        : p_(painter),
          k_(pixelsPerMm),
          smallestText_(smallestTextPixels),
          thinnestPen_(thinnestPenPixels) {}
    QPointF At(double x, double y) const { return {x * k_, y * k_}; }
    void Pen(const char* colour, double width, bool dashed = false);
    void Line(double x1, double y1, double x2, double y2) { p_.drawLine(At(x1, y1), At(x2, y2)); }
    void Circle(double x, double y, double r) { p_.drawEllipse(At(x, y), r * k_, r * k_); }
    // Text whose baseline's start, middle or end is at (x, y); `size` the font's em, millimetres.
    void Text(double x, double y, double size, const QString& text, Anchor anchor = Anchor::Start,
              const char* colour = "#000000");
    QPainter& Painter() { return p_; }

  private:
    QPainter& p_;
    double k_;
    double smallestText_;
    double thinnestPen_;
};

// The part of a drawing within `window` (the drawing's millimetres, y up), its top-left corner
// at `at` (the painter's millimetres, y down). Lines are drawn only in their runs that cross the
// window, a millimetre around it.
void PaintDrawing(MillimetrePainter& out, const Drawing& drawing, const PlateRect& window,
                  TemplatePoint at);

}  // namespace dial_files
