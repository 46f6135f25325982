#pragma once

#include <QRectF>

#include <vector>

#include "series/plan_view.h"

class QPainter;

// Draws the plan view, seen from above with north up, into `area` (the largest centred square
// of it): the wall as a line with its outward normal for the combined answer, each reading's two
// candidates as ticks on the circle (the chosen ones bunch, the mirrors spread), and the sun's
// azimuth at each reading on an outer ring. While undecided, every wall still open is dashed.
// The window and the printout draw with it.
void PaintPlanView(QPainter& painter, const QRectF& area, const kestramo::series::PlanView& view);
