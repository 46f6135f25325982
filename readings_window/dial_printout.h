#pragma once

#include <QRectF>

#include "dial/dial_layout.h"

class QPainter;

// The dial on the readings printout, in `area` from its top: how good it is and its quantities
// in words, the hour lines as a table (time, hour angle, line angle, minutes it may read off) in
// as many blocks side by side as it takes, and the dial's face beside them at a size to read.
// `points` is the device's units per point. Returns the height used.
double PrintDial(QPainter& painter, const QRectF& area, double points,
                 const kestramo::dial::DialLayout& dial);
