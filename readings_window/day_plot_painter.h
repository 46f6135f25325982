#pragma once

#include <QRectF>

#include <vector>

#include "series/day_plan.h"

class QPainter;

// Draws the day of the measuring plan into `area`: along the clock hours, where the sun lights
// the wall's face and stands high enough (shaded), the shadow's length in square heights (grey,
// right scale), the uncertainty a reading then would have (blue, left scale) and the best window
// (green). Several plans, one per wall still open, draw all but the first dashed.
void PaintDayPlot(QPainter& painter, const QRectF& area,
                  const std::vector<kestramo::series::DayPlan>& plans);
