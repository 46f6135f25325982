#pragma once

#include <QRectF>
#include <QString>

#include <vector>

#include "series/day_plan.h"

class QFontMetricsF;

// Where each part of the day plot goes: the plot itself, its three axis titles, and below them
// the legend, which never covers a curve.
namespace day_plot_layout {

// What the sample of a legend entry shows.
enum class Swatch {
    Dark,         // the sun is down or behind the wall: white
    Lit,          // the sun on the face and high enough: a reading can be taken
    Best,         // the best stretch
    TooLow,       // the sun on the face but too low: hatched grey
    TooLong,      // high enough, but the shadow longer than the user can measure: hatched
    Uncertainty,  // the wall's uncertainty with one more reading then
    Shadow,       // the shadow's length
};

// The kind of shading a sample of the plan gets.
Swatch ShadeOf(const kestramo::series::PlanSample& sample);

struct LegendEntry {
    Swatch swatch;
    bool dashed = false;  // the curve of a wall other than the likeliest
    QString text;
    QRectF rect;  // sample and text
};

struct Layout {
    QRectF plot;
    QRectF timeTitle;         // below the hours
    QRectF uncertaintyTitle;  // left of the degrees, written upward
    QRectF shadowTitle;       // right of the square heights, written upward
    QString timeText;
    QString uncertaintyText;
    QString shadowText;
    std::vector<LegendEntry> legend;
    QRectF legendArea;
};

// The width a legend entry's sample takes, for a font of `metrics`.
double SampleWidth(const QFontMetricsF& metrics);

// Lays the plot out in `area`. `clock` names the clock of the readings ("UTC\u22125, daylight
// time"). With several plans, one per wall still open, each has its own curves in the legend.
Layout LayOut(const QRectF& area, const std::vector<kestramo::series::DayPlan>& plans,
              const QFontMetricsF& metrics, const QString& clock);

}  // namespace day_plot_layout
