#pragma once

#include <QLocale>
#include <QString>

#include <vector>

#include "readings/day_plan.h"
#include "readings/series.h"

// The combined answer of a series in words, as the readings window and its printout give it.
namespace series_summary {

// "11.4° W ± 0.2°, 3 readings" when decided; otherwise why not, with both candidates.
QString Answer(const kestramo::readings::SeriesResult& result, const QLocale& locale = QLocale());

// How well the readings agree with each other: their scatter against what the tolerances lead
// one to expect. Empty with fewer than two readings used.
QString Agreement(const kestramo::readings::SeriesResult& result,
                  const QLocale& locale = QLocale());

// What to do next: which readings were left out as outliers, and, while undecided, how long to
// wait before the next reading will decide. Empty when there is nothing to say.
QString Advice(const kestramo::readings::SeriesResult& result, const QLocale& locale = QLocale());

// When to measure next: "Best today: 14:20 to 15:40, about ±0.2°", "Best on 2003-09-03: ...", or
// "No reading is possible on 2003-09-03."; `today` decides between the two wordings. With a plan
// for each of two candidate walls, a line for each: "If the wall faces 100.1° E: ...".
QString BestTime(const std::vector<kestramo::readings::DayPlan>& plans,
                 const kestramo::readings::CalendarDate& today, const QLocale& locale = QLocale());

}  // namespace series_summary
