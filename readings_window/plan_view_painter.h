#pragma once

#include <QRectF>
#include <QString>

#include "series/plan_view.h"

class QPainter;

// Draws the plan view, seen from above with north up, into `area`: the wall as a line with its
// outward normal for the combined answer, each reading's two answers as ticks on the circle (the
// chosen ones bunch, the mirrors spread), and the sun's azimuth at each reading on an outer ring.
// While undecided, every wall still open is dashed and labelled. Below it, a key to every mark
// drawn and `lean` (the wall's lean in words). The window and the printout draw with it.
void PaintPlanView(QPainter& painter, const QRectF& area, const kestramo::series::PlanView& view,
                   const QString& lean = QString());
