#pragma once

#include <QByteArray>

#include "dial_files/template_drawing.h"

// The template as a DXF drawing of release 12 (AC1009), ASCII, for CAD programs, plotters and the
// software of laser and water-jet cutters: the template's own coordinates (origin at the style's
// root, x right, y up the face, 1 unit = 1 mm, $INSUNITS 4 although release 12 predates it), a
// layer for each of PLATE, HOURS, DATES, ERRORS, STYLE, GNOMON and TEXT, straight lines as LINE,
// date lines and curves as POLYLINE. The gnomon and the key lie to the right of the plate.
namespace dial_files {

QByteArray TemplateDxf(const TemplateDrawing& drawing);

}  // namespace dial_files
