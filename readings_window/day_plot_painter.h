#pragma once

#include <QRectF>

#include <vector>

#include "readings/day_plan.h"

class QPainter;

// Draws the day of the measuring plan into `area`: along the clock hours, where the sun lights
// the wall's face and stands high enough (shaded), the shadow's length in square heights (grey,
// right scale), the uncertainty a reading then would have (blue, left scale) and the best window
// (green). Two plans, one per candidate wall while undecided, draw the second dashed.
// `squareHeight` is the height the plans were made for.
void PaintDayPlot(QPainter& painter, const QRectF& area,
                  const std::vector<kestramo::readings::DayPlan>& plans, double squareHeight);
