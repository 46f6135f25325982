#pragma once

#include <QRectF>

#include <vector>

#include "readings/plan_view.h"
#include "readings/series.h"

class QPainter;

// Draws the plan view, seen from above with north up, into `area` (the largest centred square
// of it): the wall as a line with its outward normal for the combined answer, each reading's two
// candidates as ticks on the circle (the chosen ones bunch, the mirrors spread), and the sun's
// azimuth at each reading on an outer ring. While undecided, both candidate walls are dashed.
// The window and the printout draw with it.
void PaintPlanView(QPainter& painter, const QRectF& area, const kestramo::readings::PlanView& view,
                   const std::vector<kestramo::readings::WallCandidate>& candidates);
