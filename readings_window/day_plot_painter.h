#pragma once

#include <QRectF>
#include <QString>

#include <vector>

#include "series/day_plan.h"

class QPainter;

// Draws the day of the measuring plan into `area`: along the clock hours, where the sun lights
// the wall's face high enough (shaded), too low or with a shadow too long to measure (hatched),
// the best stretch (green), the shadow's length in square heights (grey, right scale) and the
// uncertainty the wall would have with one more reading then (blue, left scale); axis titles,
// and a legend below the plot. Several plans, one per wall still open, draw all but the first
// dashed. `clock` names the readings' clock ("UTC\u22125, daylight time").
void PaintDayPlot(QPainter& painter, const QRectF& area,
                  const std::vector<kestramo::series::DayPlan>& plans,
                  const QString& clock = QString());
