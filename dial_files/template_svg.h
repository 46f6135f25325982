#pragma once

#include <QByteArray>

#include "dial_files/template_drawing.h"

// The template as one SVG drawing at true size: width and height in millimetres and a viewBox
// in millimetres, a group for each layer (its id the layer's name), the plate at the left and
// the gnomon with the key and the scale bar at its right.
namespace dial_files {

QByteArray TemplateSvg(const TemplateDrawing& drawing);

}  // namespace dial_files
