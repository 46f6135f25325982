#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

#include "dial/dial_template.h"

// What a dial template shows, once, for every file and printer to draw: lines and labels in the
// template's millimetres (y up), each on a layer, in two drawings: the plate, and the gnomon with
// the key and a 100 mm scale bar.
namespace dial_files {

using kestramo::dial::PlateRect;
using kestramo::dial::TemplatePoint;

// The layers a CAD program or a cutter sees; the file writers name them in upper case.
enum class Layer { Plate, Hours, Dates, Errors, Style, Gnomon, Text };
inline constexpr Layer kLayers[] = {Layer::Plate, Layer::Hours,  Layer::Dates, Layer::Errors,
                                    Layer::Style, Layer::Gnomon, Layer::Text};
const char* LayerName(Layer layer);  // "PLATE", "HOURS", ...

enum class Stroke {
    Heavy,   // whole hours, the plate's and the gnomon's outline: 0.5 mm
    Normal,  // half hours, date lines: 0.3 mm
    Light,   // quarter hours: 0.2 mm
    Hair,    // the error lines: 0.12 mm
    Dashed,  // the substyle: 0.3 mm, dashed
};
double StrokeWidth(Stroke stroke);  // millimetres

struct Polyline {
    Layer layer = Layer::Plate;
    Stroke stroke = Stroke::Normal;
    std::vector<TemplatePoint> points;
    bool closed = false;
};

enum class Anchor { Start, Middle, End };

struct Label {
    Layer layer = Layer::Text;
    QString text;
    TemplatePoint at;  // the baseline's start, middle or end, as `anchor` says
    double size = 4;   // the font's size (its em), millimetres
    Anchor anchor = Anchor::Start;
};

struct Drawing {
    PlateRect bounds;  // everything drawn lies within
    std::vector<Polyline> lines;
    std::vector<Label> labels;
};

// The site and the wall as the key names them.
struct TemplateSite {
    double longitude = 0;   // degrees, east positive
    double zoneOffset = 0;  // hours ahead of UTC
    double declination = 0;
    double declinationSigma = 0;  // degrees, one standard deviation
    double lean = 0;              // degrees, positive leaning back
    double leanSigma = 0;
    bool summerTime = false;  // label each line with its daylight-saving hour too
    QDate made;               // the day the template was made
};

struct TemplateDrawing {
    Drawing plate;   // in the template's coordinates, origin at the style's root
    Drawing gnomon;  // the gnomon from its root, the key below it, the scale bar
    QStringList key;
};

// The text of the key: the site, the wall in the dial programs' conventions with its
// uncertainty, the hours the dial reads, the nodus height, how to mount the gnomon, what the
// error lines mean, the date and the program.
QStringList KeyLines(const kestramo::dial::DialTemplate& dial, const TemplateSite& site);

TemplateDrawing DrawTemplate(const kestramo::dial::DialTemplate& dial, const TemplateSite& site);

// The width of a label's text, millimetres, as the writers' sans-serif font sets it (about).
double TextWidth(const Label& label);

// A 100 mm scale bar with its ticks and caption, its left end at `at`.
void AddScaleBar(Drawing& drawing, TemplatePoint at);

// Where a writer that puts both drawings on one canvas (y down, millimetres) places them: the
// plate at the left, the gnomon and key to its right, tops aligned, `kCanvasMargin` around.
inline constexpr double kCanvasMargin = 10;
inline constexpr double kCanvasGap = 20;
struct Canvas {
    double width = 0;
    double height = 0;
    TemplatePoint plateOrigin;   // the canvas point of the plate drawing's (left, top)
    TemplatePoint gnomonOrigin;  // the canvas point of the gnomon drawing's (left, top)
};
Canvas CanvasOf(const TemplateDrawing& drawing);

// The colour a layer is drawn in, "#rrggbb".
const char* LayerColour(Layer layer);

}  // namespace dial_files
